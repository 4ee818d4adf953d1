#include "cli/CliSignals.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

using namespace nelo;

namespace {

/// What the handlers have noted. A signal handler reaches only static storage, so this is
/// the program's one place of signal state; the functions below read and clear it.
struct SignalNotes {
    volatile std::sig_atomic_t interrupt = 0;
    volatile std::sig_atomic_t termination = 0;
    int wakePipe[2] = {-1, -1};
};
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): written by the handler
SignalNotes g_notes;

void OnSignal(int signo) {
    const int savedErrno = errno;
    if (signo == SIGINT)
        g_notes.interrupt = 1;
    else if (g_notes.termination == 0)
        g_notes.termination = signo;
    if (g_notes.wakePipe[1] >= 0) {
        const char byte = 0;
        // A full pipe already wakes the reader.
        [[maybe_unused]] ssize_t n = write(g_notes.wakePipe[1], &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace

void InstallCliSignalHandlers(bool interactive) {
    if (g_notes.wakePipe[0] < 0 && pipe2(g_notes.wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        g_notes.wakePipe[0] = g_notes.wakePipe[1] = -1;
    // No SA_RESTART: a blocking read returns, so the reader sees the signal at once.
    InstallSignalHandler(SIGHUP, OnSignal, false);
    InstallSignalHandler(SIGTERM, OnSignal, false);
    InstallSignalHandler(SIGPIPE, OnSignal, false);
    if (interactive) InstallSignalHandler(SIGINT, OnSignal, false);
}

int SignalWakeFd() { return g_notes.wakePipe[0]; }

void DrainSignalWake() {
    if (g_notes.wakePipe[0] < 0) return;
    char buf[64];
    while (read(g_notes.wakePipe[0], buf, sizeof buf) > 0) {
    }
}

bool InterruptPending() { return g_notes.interrupt != 0; }

bool TakeInterrupt() {
    if (!g_notes.interrupt) return false;
    g_notes.interrupt = 0;
    DrainSignalWake();
    return true;
}

int PendingTermination() { return g_notes.termination; }

void NoteOutputClosed() {
    if (g_notes.termination == 0) g_notes.termination = SIGPIPE;
}
