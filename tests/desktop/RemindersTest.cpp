// Reminders in the window: without a notification service they show in the status bar
// and open the schedule list on their entry; the one timer follows the list and the
// settings; the settings dialog stores its fields and writes the autostart entry. With
// NELO_TEST_DUNST=1 (tests/reminders/run_dunst.sh, a private session bus with dunst)
// reminders reach a real notification service at their second.
#include "DesktopTestSupport.h"
#include "desktop/DesktopNotifier.h"
#include "desktop/DesktopReminders.h"
#include "desktop/InputPane.h"
#include "desktop/RowListView.h"
#include "desktop/NotificationSettingsDialog.h"
#include "desktop/ScheduleListDialog.h"
#include "models/RowList.h"
#include "reminders/LoginStart.h"
#include "reminders/ReminderSettings.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

using namespace nelo;

namespace {

/// A clock that waits for the test to move it, yet counts as one that advances, so
/// that the reminders arm their timer.
class SteppedClock : public Clock {
public:
    explicit SteppedClock(std::time_t t) : m_t(t) {}
    std::time_t Now() const override { return m_t; }
    bool Advances() const override { return true; }

private:
    std::time_t m_t;
};

std::time_t At(int hour, int minute) { return MakeLocalTime(2026, 12, 8, hour, minute, 0); }

/// The notifications dunst received (closed first, so that all are in its history):
/// each as "summary|body|appname|icon file name".
QStringList DunstHistory() {
    QProcess::execute(QStringLiteral("dunstctl"), {QStringLiteral("close-all")});
    QTest::qWait(300);
    QProcess history;
    history.start(QStringLiteral("dunstctl"), {QStringLiteral("history")});
    history.waitForFinished(5000);
    QStringList out;
    const QJsonArray all = QJsonDocument::fromJson(history.readAllStandardOutput())
                               .object()
                               .value(QStringLiteral("data"))
                               .toArray()
                               .at(0)
                               .toArray();
    for (const QJsonValue& v : all) {
        const QJsonObject n = v.toObject();
        auto field = [&](const char* name) {
            return n.value(QString::fromLatin1(name)).toObject().value(QStringLiteral("data")).toString();
        };
        out << field("summary") + QLatin1Char('|') + field("body") + QLatin1Char('|') + field("appname") +
                   QLatin1Char('|') + field("icon_path").section(QLatin1Char('/'), -1);
    }
    return out;
}

}  // namespace

class RemindersTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<WindowFixture> m_fix;
    bool m_dunst = false;

    MainWindow* Frame() { return m_fix->m_window.get(); }
    DesktopReminders* Reminders() { return Frame()->GetReminders(); }
    void Type(const QString& lines) { TypeText(Frame()->GetInputPane(), lines); }

private Q_SLOTS:
    void initTestCase() {
        m_dunst = qgetenv("NELO_TEST_DUNST") == "1";
        // No notification service unless the test brings one: a bus that is not there.
        if (!m_dunst) qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/nelo-test-bus");
    }
    void init() {
        m_env = std::make_unique<TestEnvironment>("2026-12-08 09:55:00");
        m_fix = std::make_unique<WindowFixture>();
        Frame()->show();
    }
    void cleanup() {
        m_fix.reset();
        m_env.reset();
    }

    void withoutAServiceTheStatusBarShowsTheReminderAndOpensItsEntry() {
        if (m_dunst) QSKIP("a notification service is there");
        Frame()->StartReminders();
        // Registered after the start: 朝会 has begun, 会議 is within its ten minutes.
        Type(QStringLiteral("１２月８日９時 朝会\n１２月８日１０時 会議\n"));
        DesktopNotifier& notifier = Reminders()->GetNotifier();
        QTRY_VERIFY(notifier.GetNotice() && notifier.GetNotice()->isVisible());
        QCOMPARE(notifier.GetLastRoute(), DesktopNotifier::Route::StatusBar);
        QCOMPARE(notifier.GetNotice()->text(), QStringLiteral("10:00 会議　12/08(火) 10:00"));
        QCOMPARE(notifier.GetNotice()->accessibleName(), QStringLiteral("通知"));
        QCOMPARE(notifier.GetNotice()->parentWidget(), static_cast<QWidget*>(Frame()->statusBar()));

        ModalWatchdog watchdog;
        int selectedRow = -2;
        watchdog.Expect([&](QWidget* widget) {
            auto* dialog = qobject_cast<ScheduleListDialog*>(widget);
            QVERIFY(dialog);
            selectedRow = dialog->GetList()->GetList().GetCurSel();
            dialog->accept();
        });
        notifier.GetNotice()->click();
        QTRY_COMPARE(selectedRow, 1);
        QVERIFY(!notifier.GetNotice()->isVisible());
    }

    void theOneTimerWaitsForTheNextReminderAndFollowsChanges() {
        if (m_dunst) QSKIP("a notification service is there");
        SteppedClock clock(At(9, 0));
        SetCurrentClock(&clock);
        Type(QStringLiteral("１２月８日１０時 会議\n１２月８日１１時 来客\n"));
        Frame()->StartReminders();
        QCOMPARE(Reminders()->GetArmedFor(), std::optional<std::time_t>(At(9, 50)));
        // Thirty minutes before, from the settings.
        Profile& profile = m_fix->m_app.GetProfile();
        ReminderSettings settings = ReminderSettings::Read(profile);
        settings.minutesBefore = 30;
        QVERIFY(settings.Write(profile));
        Reminders()->ReloadSettings();
        QCOMPARE(Reminders()->GetArmedFor(), std::optional<std::time_t>(At(9, 30)));
        // The meeting deleted in the schedule list: the timer waits for the visitor.
        ModalWatchdog watchdog;
        m_fix->m_messageBox.m_answers.push_back(MbAnswer::Ok);
        watchdog.Expect([](QWidget* widget) {
            auto* dialog = qobject_cast<ScheduleListDialog*>(widget);
            QVERIFY(dialog);
            dialog->GetList()->GetList().SetCurSel(0);
            dialog->findChild<QPushButton*>(QStringLiteral("deleteButton"))->click();
            dialog->accept();
        });
        Frame()->findChild<QAction*>(QStringLiteral("actionSchedules"))->trigger();
        QTRY_COMPARE(Reminders()->GetArmedFor(), std::optional<std::time_t>(At(10, 30)));
        // Turned off, it waits for nothing.
        settings.enabled = false;
        QVERIFY(settings.Write(profile));
        Reminders()->ReloadSettings();
        QCOMPARE(Reminders()->GetArmedFor(), std::nullopt);
        SetCurrentClock(nullptr);
    }

    void theSettingsDialogStoresItsFieldsAndTheAutostartEntry() {
        if (m_dunst) QSKIP("a notification service is there");
        auto run = [&](const std::function<void(NotificationSettingsDialog*)>& fill) {
            ModalWatchdog watchdog;
            watchdog.Expect([&](QWidget* widget) {
                auto* dialog = qobject_cast<NotificationSettingsDialog*>(widget);
                QVERIFY(dialog);
                fill(dialog);
                dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
            });
            Frame()->findChild<QAction*>(QStringLiteral("actionNotifySettings"))->trigger();
            QVERIFY(watchdog.AllAnswered());
        };
        run([](NotificationSettingsDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("通知"));
            QVERIFY(UnnamedControls(dialog).isEmpty());
            auto* minutes = dialog->findChild<QSpinBox*>(QStringLiteral("minutesBefore"));
            QCOMPARE(minutes->value(), 10);
            QCOMPARE(minutes->maximum(), 1440);
            minutes->setValue(15);
            dialog->findChild<QTimeEdit*>(QStringLiteral("allDayTime"))->setTime(QTime(7, 30));
            dialog->findChild<QCheckBox*>(QStringLiteral("startupSummary"))->setChecked(false);
            auto* login = dialog->findChild<QCheckBox*>(QStringLiteral("loginStart"));
            QCOMPARE(login->text(), QStringLiteral("ログイン時に起動"));
            login->setChecked(true);
        });
        QCOMPARE(ReminderSettings::Read(Profile(m_fix->m_app.GetProfile().GetPath())),
                 (ReminderSettings{true, 15, 7 * 60 + 30, false}));
        const QString entry = QString::fromStdString(LoginStartPath());
        QVERIFY(QFile::exists(entry));
        if (QProcess::execute(QStringLiteral("sh"),
                              {QStringLiteral("-c"), QStringLiteral("command -v desktop-file-validate > /dev/null")}) ==
            0)
            QCOMPARE(QProcess::execute(QStringLiteral("desktop-file-validate"), {entry}), 0);
        run([](NotificationSettingsDialog* dialog) {
            auto* login = dialog->findChild<QCheckBox*>(QStringLiteral("loginStart"));
            QVERIFY(login->isChecked());
            login->setChecked(false);
        });
        QVERIFY(!QFile::exists(entry));
    }

    void aRealServiceGetsEachReminderAtItsSecond() {
        if (!m_dunst) QSKIP("needs NELO_TEST_DUNST=1 and dunst (tests/reminders/run_dunst.sh)");
        // Three seconds before 09:50:00, the clock running.
        qputenv("NELO_NOW", "2026-12-08 09:49:57");
        qputenv("NELO_CLOCK", "running");
        SystemClock clock;
        SetCurrentClock(&clock);
        Frame()->StartReminders();
        Type(QStringLiteral("１２月８日１０時 定例会\n１２月８日１０時 定例会\n１２月８日１０時 面談\n"));
        // 面談 is cancelled before its reminder.
        ModalWatchdog watchdog;
        m_fix->m_messageBox.m_answers.push_back(MbAnswer::Ok);
        watchdog.Expect([](QWidget* widget) {
            auto* dialog = qobject_cast<ScheduleListDialog*>(widget);
            QVERIFY(dialog);
            RowList& list = dialog->GetList()->GetList();
            for (int i = 0; i < list.GetCount(); ++i)
                if (Q(list.GetText(i)).endsWith(QStringLiteral("面談"))) list.SetCurSel(i);
            dialog->findChild<QPushButton*>(QStringLiteral("deleteButton"))->click();
            dialog->accept();
        });
        Frame()->findChild<QAction*>(QStringLiteral("actionSchedules"))->trigger();
        QVERIFY(watchdog.AllAnswered());
        QVERIFY(clock.Now() < At(9, 50));
        QTRY_COMPARE(Reminders()->GetArmedFor(), std::optional<std::time_t>(At(9, 50)));
        QTRY_VERIFY_WITH_TIMEOUT(clock.Now() >= At(9, 50) + 2, 10000);
        QCOMPARE(Reminders()->GetNotifier().GetLastRoute(), DesktopNotifier::Route::Service);
        const QStringList got =
            DunstHistory().filter(QStringLiteral("定例会")) + DunstHistory().filter(QStringLiteral("面談"));
        const QString one = QStringLiteral("10:00 定例会|12/08(火) 10:00|ＮＥＬＯ|com.vantor.Nelo.png");
        QCOMPARE(got, (QStringList{one, one}));
        SetCurrentClock(nullptr);
        qunsetenv("NELO_CLOCK");
    }
};

QTEST_MAIN(RemindersTest)
#include "RemindersTest.moc"
