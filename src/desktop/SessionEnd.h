// The end of the desktop session from outside: logout, SIGTERM (shutdown, kill),
// SIGHUP and SIGINT (Ctrl-C in the terminal that started it). Unsaved changes are then
// written to a recovery copy instead of being lost, its path goes to stderr, and the
// program ends as the signal would have ended it. The signal handler only writes a byte
// to a socket; the rest runs in the event loop. The same copy is written when the
// program is ended with exit() while the window still shows (Qt does so when the
// connection to the display breaks) and when memory runs out.
#pragma once

#include "notebook/NotebookListener.h"

#include <QObject>

namespace nelo {
class NotebookSession;
}  // namespace nelo
class QSessionManager;
class QSocketNotifier;
class QWidget;

class SessionEnd : public QObject, public nelo::NotebookListener {
    Q_OBJECT
public:
    /// Watches for the session's end while the object lives; window is the main window
    /// (its closing is the user's own end, which asks instead).
    SessionEnd(nelo::NotebookSession& session, QWidget* window);
    ~SessionEnd() override;

    /// Writes the recovery copy when the notebook has unsaved changes that no copy holds
    /// yet; says on stderr where it went. True when a copy was written.
    bool SaveRecoveryCopy();
    /// Memory ran out: says so on stderr, writes the recovery copy and ends the program.
    [[noreturn]] void EndOutOfMemory();

    // NotebookListener: a change after a copy needs a copy of its own.
    void OnModifiedChanged(bool modified) override;
    void OnDataChanged(unsigned what) override;

private:
    void OnSignal();
    void OnCommitData(QSessionManager& manager);
    void OnAboutToQuit();
    /// The exit handler: the program ends with exit() while this object still watches.
    static void OnExitWhileWatching();

    nelo::NotebookSession& m_session;
    QWidget* m_window;
    QSocketNotifier* m_notifier = nullptr;
    /// The last recovery copy holds the notebook as it is now.
    bool m_copyCurrent = false;
};
