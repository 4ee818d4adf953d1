#include "desktop/SessionEnd.h"

#include "app/RecoveryCopy.h"
#include "app/NotebookSession.h"
#include "platform/Clock.h"
#include "platform/Signals.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/socket.h>
#include <unistd.h>

using namespace nelo;

namespace {

/// A signal handler and an exit handler reach only static storage: this is all they
/// share with the window, the signal noted and the socket that wakes the event loop, and
/// the object watching the session (cleared when it is destroyed, which a normal end,
/// returning from main, always does before the exit handlers run).
struct EndNotes {
    int wakeSockets[2] = {-1, -1};
    volatile std::sig_atomic_t signal = 0;
    SessionEnd* watching = nullptr;
};
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): written by the handlers
EndNotes g_notes;

void OnSignalCaught(int signo) {
    const int savedErrno = errno;
    if (g_notes.signal == 0) g_notes.signal = signo;
    const char byte = static_cast<char>(signo);
    // A full socket already wakes the event loop.
    [[maybe_unused]] ssize_t n = write(g_notes.wakeSockets[1], &byte, 1);
    errno = savedErrno;
}

}  // namespace

SessionEnd::SessionEnd(NotebookSession& session, QWidget* window) : m_session(session), m_window(window) {
    session.GetNotebook().AddListener(this);
    // Qt ends the program with exit(1) when the display connection breaks, from inside
    // the event loop: nothing returns to main. The exit handler keeps the changes then.
    // (The clock the copy's name needs is set up first, so that it outlives the handler.)
    CurrentClock();
    static const bool kExitHandlerInstalled = std::atexit(&SessionEnd::OnExitWhileWatching) == 0;
    if (kExitHandlerInstalled) g_notes.watching = this;
    if (g_notes.wakeSockets[0] < 0 &&
        socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_notes.wakeSockets) != 0)
        g_notes.wakeSockets[0] = g_notes.wakeSockets[1] = -1;
    if (g_notes.wakeSockets[0] >= 0) {
        m_notifier = new QSocketNotifier(g_notes.wakeSockets[0], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &SessionEnd::OnSignal);
        InstallSignalHandler(SIGTERM, OnSignalCaught, true);
        InstallSignalHandler(SIGHUP, OnSignalCaught, true);
        // Ctrl-C in the terminal that started the window ends it the same way.
        InstallSignalHandler(SIGINT, OnSignalCaught, true);
    }
    if (auto* guiApp = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(guiApp, &QGuiApplication::commitDataRequest, this, &SessionEnd::OnCommitData, Qt::DirectConnection);
        connect(guiApp, &QCoreApplication::aboutToQuit, this, &SessionEnd::OnAboutToQuit);
    }
}

SessionEnd::~SessionEnd() {
    if (g_notes.watching == this) g_notes.watching = nullptr;
    m_session.GetNotebook().RemoveListener(this);
    // The handlers stay (they only write to the socket); what they wake is gone.
    delete m_notifier;
    m_notifier = nullptr;
}

bool SessionEnd::SaveRecoveryCopy() {
    Notebook& doc = m_session.GetNotebook();
    if (!doc.IsModified() || m_copyCurrent) return false;
    std::string path, error;
    if (!WriteRecoveryCopy(doc, m_session.GetPathName(), path, error)) {
        std::fprintf(stderr, "nelo: 復元用のコピーを保存できませんでした（%s）。変更は失われます。\n", error.c_str());
        return false;
    }
    m_copyCurrent = true;
    std::fprintf(stderr, "nelo: 保存されていない変更を復元用のコピーに保存しました: %s\n", path.c_str());
    std::fflush(stderr);
    return true;
}

void SessionEnd::EndOutOfMemory() {
    std::fputs("nelo: メモリが足りなくなったため終了します。\n", stderr);
    SaveRecoveryCopy();
    std::fflush(stderr);
    // Nothing else is safe to run now: no exit handlers, no destructors.
    std::_Exit(1);
}

void SessionEnd::OnExitWhileWatching() {
    if (g_notes.watching) g_notes.watching->SaveRecoveryCopy();
}

void SessionEnd::OnModifiedChanged(bool /*modified*/) { m_copyCurrent = false; }

void SessionEnd::OnDataChanged(unsigned /*what*/) { m_copyCurrent = false; }

void SessionEnd::OnSignal() {
    char buffer[16];
    while (read(g_notes.wakeSockets[0], buffer, sizeof buffer) > 0) {
    }
    const int signo = g_notes.signal;
    if (signo == 0) return;
    SaveRecoveryCopy();
    EndBySignal(signo);
}

void SessionEnd::OnCommitData(QSessionManager& /*manager*/) {
    // The session may end without asking again: the changes go to a copy now, and the
    // user still decides about the notebook itself if the logout is cancelled.
    SaveRecoveryCopy();
}

void SessionEnd::OnAboutToQuit() {
    // Quitting while the window still shows means the window never asked.
    if (m_window && m_window->isVisible()) SaveRecoveryCopy();
}
