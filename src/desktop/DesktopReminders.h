// The reminders while the desktop program runs: the core's ReminderPlan decides which
// entry is due when and what its notification says; this object shows them through
// DesktopNotifier and waits for the next one with a single wall-clock timer (no
// polling). The timer is armed afresh when the schedule list or the settings change and
// when the system time is set; a reminder whose time passed while the machine slept
// comes at resume. Clicking a reminder opens the schedule list on its entry.
#pragma once

#include "platform/WallTimer.h"
#include "reminders/ReminderPlan.h"

#include <QObject>
#include <QTimer>
#include <ctime>
#include <optional>
#include <vector>

class DesktopNotifier;
class MainWindow;
namespace nelo {
class NotebookSession;
}  // namespace nelo
class QSocketNotifier;

class DesktopReminders : public QObject {
    Q_OBJECT
public:
    DesktopReminders(nelo::NotebookSession& session, MainWindow& frame);
    ~DesktopReminders() override;

    /// The start: today's summary, the reminders due now, the timer for the next one.
    void Start();
    /// The settings in the profile changed (the notification settings dialog).
    void ReloadSettings();
    /// Shows what is due and arms the timer for what comes next.
    void Check();

    DesktopNotifier& GetNotifier() { return *m_notifier; }
    /// The clock time (seconds) the timer waits for; none while it waits for nothing.
    std::optional<std::time_t> GetArmedFor() const { return m_armedFor; }

private:
    void OnTimerReadable();
    void OnActivated(int tag);
    void Notify(const nelo::Reminder& reminder);

    nelo::NotebookSession& m_session;
    MainWindow& m_frame;
    nelo::ReminderPlan m_plan;
    nelo::WallTimer m_timer;
    QSocketNotifier* m_timerNotifier = nullptr;
    /// Gathers the changes of the schedule list (a text file of entries read line by
    /// line changes it many times a second) into one check.
    QTimer m_changeDelay;
    DesktopNotifier* m_notifier = nullptr;
    /// The entry of each notification's tag; none for the start-up summary.
    std::vector<std::optional<nelo::ReminderKey>> m_tagEntries;
    std::optional<std::time_t> m_armedFor;
};
