#include "cli/CliSignals.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

using namespace nelo;

namespace {

volatile std::sig_atomic_t g_interrupt = 0;
volatile std::sig_atomic_t g_termination = 0;
int g_wakePipe[2] = {-1, -1};

void OnSignal(int signo) {
    const int savedErrno = errno;
    if (signo == SIGINT)
        g_interrupt = 1;
    else if (g_termination == 0)
        g_termination = signo;
    if (g_wakePipe[1] >= 0) {
        const char byte = 0;
        // A full pipe already wakes the reader.
        [[maybe_unused]] ssize_t n = write(g_wakePipe[1], &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace

void InstallCliSignalHandlers(bool interactive) {
    if (g_wakePipe[0] < 0 && pipe2(g_wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) g_wakePipe[0] = g_wakePipe[1] = -1;
    // No SA_RESTART: a blocking read returns, so the reader sees the signal at once.
    InstallSignalHandler(SIGHUP, OnSignal, false);
    InstallSignalHandler(SIGTERM, OnSignal, false);
    InstallSignalHandler(SIGPIPE, OnSignal, false);
    if (interactive) InstallSignalHandler(SIGINT, OnSignal, false);
}

int SignalWakeFd() { return g_wakePipe[0]; }

void DrainSignalWake() {
    if (g_wakePipe[0] < 0) return;
    char buf[64];
    while (read(g_wakePipe[0], buf, sizeof buf) > 0) {
    }
}

bool InterruptPending() { return g_interrupt != 0; }

bool TakeInterrupt() {
    if (!g_interrupt) return false;
    g_interrupt = 0;
    DrainSignalWake();
    return true;
}

int PendingTermination() { return g_termination; }

void NoteOutputClosed() {
    if (g_termination == 0) g_termination = SIGPIPE;
}
