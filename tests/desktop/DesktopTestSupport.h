// What the desktop tests share: a private profile and state folder with a frozen clock,
// a main window over a scripted message box, typing Japanese one key event per
// character, and a watchdog that answers modal dialogs or fails the test instead of
// letting it hang.
#pragma once

#include "app/NotebookSession.h"
#include "desktop/MainWindow.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"

#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

/// Points XDG_CONFIG_HOME and XDG_STATE_HOME at a fresh temporary folder and freezes the
/// clock at now (local time; NELO_NOW for child processes) for the life of the object.
class TestEnvironment {
public:
    explicit TestEnvironment(const char* now = "2026-12-08 09:00:00");
    ~TestEnvironment();
    QString Path() const { return m_dir.path(); }
    /// A file name inside the temporary folder.
    QString File(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    // The program reads NELO_NOW once; a test that freezes another time installs it.
    std::unique_ptr<nelo::FixedClock> m_clock;
};

/// Message boxes answered from a script; every box shown is recorded (UTF-8 text).
class ScriptedMessageBox : public nelo::MessageBox {
public:
    nelo::MbAnswer Show(const std::string& text, const std::string& caption, nelo::MbButtons buttons,
                        nelo::MbIcon icon = nelo::MbIcon::None) override;
    /// The answers for the next boxes, in order; without one a box is answered with its
    /// safe button (Cancel, No, OK) and recorded.
    std::deque<nelo::MbAnswer> m_answers;
    std::vector<std::string> m_shown;
};

/// Answers modal widgets (file dialogs, font dialogs, the settings dialog, and the
/// text-file progress, which keeps its window busy without being modal) as they open:
/// each handler takes the next one. A modal widget nobody answers within the time limit
/// is closed and counted, so the test fails instead of hanging.
class ModalWatchdog : public QObject {
public:
    explicit ModalWatchdog(int limitMs = 5000);
    ~ModalWatchdog() override;
    void Expect(std::function<void(QWidget*)> handler) { m_handlers.push_back(std::move(handler)); }
    int Unanswered() const { return m_unanswered; }
    bool AllAnswered() const { return m_handlers.empty(); }

private:
    void Poll();

    QTimer m_timer;
    std::deque<std::function<void(QWidget*)>> m_handlers;
    QWidget* m_seen = nullptr;
    int m_seenMs = 0;
    int m_limitMs;
    int m_unanswered = 0;
};

/// A main window on its own profile and a scripted message box.
struct WindowFixture {
    WindowFixture();
    ~WindowFixture();
    nelo::Profile m_profile;
    ScriptedMessageBox m_messageBox;
    nelo::NotebookSession m_app;
    std::unique_ptr<MainWindow> m_window;
};

/// Types text into the widget with one key event per character (Qt Test's keyClicks
/// cannot send Japanese); "\n" is the Enter key.
void TypeText(QWidget* widget, const QString& text);
/// The visible controls under top (buttons, fields, lists, text panes) that a screen
/// reader could not name: each as "Class objectName".
QStringList UnnamedControls(QWidget* top);
/// The core's code page 932 text as a QString (for comparing pane contents).
QString Q(const std::string& cp932);
