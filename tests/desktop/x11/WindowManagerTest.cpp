// The window on a real X server under a window manager (run_x11.sh: Xvfb and openbox):
// the lock panes follow real key presses, the frame comes where it was left with its
// title bar on the screen, the help window opens whole on the screen, a second window
// does not hide the first, and the window manager's close button stops a long read.
#include "DesktopTestSupport.h"
#include "desktop/HelpWindow.h"
#include "desktop/InputPane.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <xcb/xcb.h>

using namespace nelo;

namespace {

/// Presses and releases keys as the keyboard does (xdotool, through the X server).
void PressKey(const char* key) {
    QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QString::fromLatin1(key)}), 0);
}

/// Asks the window manager to close the window, as its close button does
/// (_NET_CLOSE_WINDOW to the root window).
void CloseThroughTheWindowManager(QWidget* window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    QVERIFY(x11);
    xcb_connection_t* c = x11->connection();
    const char name[] = "_NET_CLOSE_WINDOW";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
    QVERIFY(atom);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_client_message_event_t event = {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = static_cast<xcb_window_t>(window->winId());
    event.type = atom->atom;
    event.data.data32[0] = XCB_CURRENT_TIME;
    event.data.data32[1] = 2;  // from a pager or a taskbar, as a user's own request
    std::free(atom);
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(c);
}

QRect Available() { return QGuiApplication::primaryScreen()->availableGeometry(); }

/// The window manager has put its frame around the window.
bool Decorated(QWidget* window) { return window->frameGeometry().top() < window->geometry().top(); }

}  // namespace

class WindowManagerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<WindowFixture> m_fix;

    MainWindow* Frame() { return m_fix->m_window.get(); }
    void Start() {
        m_fix.reset();
        m_fix = std::make_unique<WindowFixture>();
        QVERIFY(QTest::qWaitForWindowExposed(Frame()));
        QTRY_VERIFY(Decorated(Frame()));
    }
    static void SetRect(const char* rect) {
        QVERIFY(Profile(Profile::DefaultPath()).WriteProfileString("Window size", "Rect", rect));
    }
    static QString SavedRect() {
        return QString::fromStdString(Profile(Profile::DefaultPath()).GetProfileString("Window size", "Rect"));
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY2(QGuiApplication::platformName() == QLatin1String("xcb"), "run under run_x11.sh");
        QApplication::setQuitOnLastWindowClosed(false);
    }
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() {
        m_fix.reset();
        m_env.reset();
    }

    void theLockPanesFollowTheKeys_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("pane");
        QTest::addColumn<QString>("text");
        QTest::newRow("Caps Lock") << "Caps_Lock"
                                   << "indicatorCaps"
                                   << "CAP";
        QTest::newRow("Num Lock") << "Num_Lock"
                                  << "indicatorNum"
                                  << "NUM";
    }
    void theLockPanesFollowTheKeys() {
        QFETCH(QString, key);
        QFETCH(QString, pane);
        QFETCH(QString, text);
        Start();
        auto* labelWidget = Frame()->statusBar()->findChild<QLabel*>(pane);
        QVERIFY(labelWidget);
        // The X server knows the state: never grey for "not known".
        QVERIFY(labelWidget->accessibleDescription() != QStringLiteral("不明"));
        const bool before = labelWidget->isEnabled();
        for (bool isOn : {!before, before}) {
            PressKey(key.toLatin1().constData());
            QTRY_COMPARE(labelWidget->isEnabled(), isOn);
            QCOMPARE(labelWidget->text(), isOn ? text : QString());
            QCOMPARE(labelWidget->accessibleDescription(), isOn ? QStringLiteral("オン") : QStringLiteral("オフ"));
        }
        // Typed with Caps Lock on, "a" is "A" (the key really locked).
        if (key == QLatin1String("Caps_Lock")) {
            Frame()->activateWindow();
            Frame()->GetInputPane()->setFocus();
            QTRY_VERIFY(Frame()->GetInputPane()->hasFocus());
            PressKey("Caps_Lock");
            QTRY_VERIFY(labelWidget->isEnabled());
            PressKey("a");
            PressKey("Caps_Lock");
            QTRY_VERIFY(!labelWidget->isEnabled());
            QTRY_COMPARE(Frame()->GetInputPane()->toPlainText(), QStringLiteral("A"));
        }
    }

    void theFirstStartShowsTheTitleBar() {
        Start();
        if (qEnvironmentVariableIsSet("NELO_GRAB_DIR")) {
            QTest::qWait(300);
            QGuiApplication::primaryScreen()
                ->grabWindow(0, 0, 0, 640, 480)
                .save(qEnvironmentVariable("NELO_GRAB_DIR") + QStringLiteral("/first-start.png"));
        }
        // The default rectangle is the frame's: its title bar at (10, 10), on the screen.
        QTRY_COMPARE(Frame()->frameGeometry(), QRect(10, 10, 490, 390));
        QVERIFY(Frame()->geometry().top() > 10 + 10);
        Frame()->close();
        QCOMPARE(SavedRect(), QStringLiteral("0010 0010 0500 0400"));
    }

    void theFrameComesBackWhereItWasLeft_data() {
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QRect>("frame");
        QTest::newRow("as left") << "0200 0150 0840 0630" << QRect(200, 150, 640, 480);
        QTest::newRow("title bar above the screen") << "0100 -050 0600 0350" << QRect(100, 0, 500, 400);
        QTest::newRow("title bar below the screen") << "0100 1010 0600 1410" << QRect(390, 312, 500, 400);
        QTest::newRow("left of the screen") << "-900 0100 -300 0500" << QRect(340, 312, 600, 400);
        QTest::newRow("maximised at -8, -8") << "-008 -008 1288 1032" << QRect(0, 0, 1280, 1024);
    }
    void theFrameComesBackWhereItWasLeft() {
        QFETCH(QString, saved);
        QFETCH(QRect, frame);
        SetRect(saved.toLatin1().constData());
        Start();
        QTRY_COMPARE(Frame()->frameGeometry(), frame);
        QVERIFY(Available().contains(Frame()->frameGeometry().topLeft()));
        Frame()->close();
        // Written back as it is now: the same rectangle comes again.
        const QString written = SavedRect();
        Start();
        QTRY_COMPARE(Frame()->frameGeometry(), frame);
        Frame()->close();
        QCOMPARE(SavedRect(), written);
    }

    void theHelpWindowOpensWholeOnTheScreen_data() {
        QTest::addColumn<QString>("saved");
        QTest::newRow("window at the bottom right") << "0660 0477 1260 1000";
        QTest::newRow("window at the left") << "0000 0000 0500 0400";
        QTest::newRow("window filling the screen") << "0000 0000 1280 1024";
    }
    void theHelpWindowOpensWholeOnTheScreen() {
        QFETCH(QString, saved);
        SetRect(saved.toLatin1().constData());
        Start();
        Frame()->findChild<QAction*>(QStringLiteral("actionHelp"))->trigger();
        auto* help = Frame()->findChild<HelpWindow*>(QStringLiteral("helpWindow"));
        QVERIFY(help);
        QVERIFY(QTest::qWaitForWindowExposed(help));
        QTRY_VERIFY(Decorated(help));
        QTRY_VERIFY2(Available().contains(help->frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                                 .arg(help->frameGeometry().x())
                                                                                 .arg(help->frameGeometry().y())
                                                                                 .arg(help->frameGeometry().width())
                                                                                 .arg(help->frameGeometry().height())));
        if (qEnvironmentVariableIsSet("NELO_GRAB_DIR") && saved.startsWith(QLatin1String("0660"))) {
            QTest::qWait(300);
            QGuiApplication::primaryScreen()->grabWindow(0).save(qEnvironmentVariable("NELO_GRAB_DIR") +
                                                                 QStringLiteral("/help.png"));
        }
    }

    void aSecondWindowDoesNotHideTheFirst() {
        SetRect("0100 0100 0600 0500");
        Start();
        WindowFixture second;
        QVERIFY(QTest::qWaitForWindowExposed(second.m_window.get()));
        QTRY_COMPARE(Frame()->frameGeometry().topLeft(), QPoint(100, 100));
        QTRY_COMPARE(second.m_window->frameGeometry().topLeft(), QPoint(132, 132));
        // Closed where it was put, the second window leaves the first one's place saved.
        second.m_window->close();
        QCOMPARE(SavedRect(), QStringLiteral("0100 0100 0600 0500"));
    }

    void closingDuringALongReadStopsItThenAsks() {
        Start();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("long.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const int lines = 300000;
        file.write(QByteArray("x=1\n").repeated(lines));  // each line changes the notebook
        file.close();
        ScriptedMessageBox& boxes = m_fix->m_messageBox;
        boxes.m_answers = {MbAnswer::No};  // do not save
        QTimer::singleShot(400, Frame(), [this] { CloseThroughTheWindowManager(Frame()); });
        Frame()->ReadTextFile(path, 0);
        // The reading stopped before its end, the save question came, the window closed.
        const int done = int(Frame()->GetInputPane()->document()->blockCount()) - 1;
        QVERIFY2(done > 0 && done < lines, qPrintable(QString::number(done)));
        QCOMPARE(boxes.m_shown.size(), std::size_t(1));
        QVERIFY2(QString::fromStdString(boxes.m_shown[0]).contains(QStringLiteral("への変更を保存しますか")),
                 boxes.m_shown[0].c_str());
        QTRY_VERIFY(!Frame()->isVisible());
    }
};

QTEST_MAIN(WindowManagerTest)
#include "WindowManagerTest.moc"
