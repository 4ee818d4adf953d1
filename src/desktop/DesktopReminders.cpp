#include "desktop/DesktopReminders.h"

#include "app/NotebookSession.h"
#include "desktop/DesktopNotifier.h"
#include "desktop/MainWindow.h"
#include "desktop/QtText.h"
#include "notebook/NotebookListener.h"
#include "platform/Clock.h"
#include "schedule/ScheduleEntry.h"

#include <QApplication>
#include <QSocketNotifier>

using namespace nelo;

namespace {

// How long after a change of the schedule list its reminders are looked at.
constexpr int kChangeDelayMs = 200;

long long FloorSeconds(long long ms) { return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000); }

}  // namespace

DesktopReminders::DesktopReminders(NotebookSession& session, MainWindow& frame)
    : QObject(&frame), m_session(session), m_frame(frame), m_notifier(new DesktopNotifier(frame)) {
    m_changeDelay.setSingleShot(true);
    m_changeDelay.setInterval(kChangeDelayMs);
    connect(&m_changeDelay, &QTimer::timeout, this, &DesktopReminders::Check);
    if (m_timer.IsValid()) {
        m_timerNotifier = new QSocketNotifier(m_timer.GetFd(), QSocketNotifier::Read, this);
        connect(m_timerNotifier, &QSocketNotifier::activated, this, &DesktopReminders::OnTimerReadable);
    }
    connect(&frame, &MainWindow::DataChanged, this, [this](unsigned what) {
        // Not restarted by every change: a long run of changes is looked at as it goes.
        if ((what & SchedulesPart) && !m_changeDelay.isActive()) m_changeDelay.start();
    });
    connect(m_notifier, &DesktopNotifier::Activated, this, &DesktopReminders::OnActivated);
    m_plan.SetSettings(ReminderSettings::Read(session.GetProfile()));
}

DesktopReminders::~DesktopReminders() = default;

void DesktopReminders::Start() {
    const auto& entries = m_session.GetNotebook().GetScheduleBook().GetSchedules();
    if (std::optional<Reminder> summary = m_plan.TodaySummary(entries, CurrentClock().Now())) Notify(*summary);
    Check();
}

void DesktopReminders::ReloadSettings() {
    m_plan.SetSettings(ReminderSettings::Read(m_session.GetProfile()));
    Check();
}

void DesktopReminders::Check() {
    m_changeDelay.stop();
    const Clock& clock = CurrentClock();
    const long long nowMs = clock.NowMs();
    const std::time_t now = static_cast<std::time_t>(FloorSeconds(nowMs));
    const auto& entries = m_session.GetNotebook().GetScheduleBook().GetSchedules();
    for (const Reminder& reminder : m_plan.TakeDue(entries, now)) Notify(reminder);

    m_armedFor = clock.Advances() ? m_plan.NextDue(entries, now) : std::nullopt;
    if (m_armedFor) {
        // The program's clock may run apart from the system's (NELO_CLOCK=running): the
        // timer waits on the system's clock for the moment the program's reaches the time.
        m_timer.ArmAt(SystemTimeMs() + (static_cast<long long>(*m_armedFor) * 1000 - nowMs));
    } else {
        m_timer.Disarm();
    }
}

void DesktopReminders::OnTimerReadable() {
    // Expired, or the system time was set (which disarms it): either way, look again.
    if (m_timer.Take() != WallTimer::Event::Nothing) Check();
}

void DesktopReminders::Notify(const Reminder& reminder) {
    const int tag = static_cast<int>(m_tagEntries.size());
    // The start-up summary is about no one entry.
    if (reminder.key == ReminderKey{})
        m_tagEntries.push_back(std::nullopt);
    else
        m_tagEntries.push_back(reminder.key);
    m_notifier->Show(ToQString(reminder.summary), ToQString(reminder.body), tag);
}

void DesktopReminders::OnActivated(int tag) {
    if (m_frame.isMinimized()) m_frame.showNormal();
    m_frame.raise();
    m_frame.activateWindow();
    // A dialog already open stays in front: the list does not open over it.
    if (QApplication::activeModalWidget()) return;
    if (tag < 0 || static_cast<std::size_t>(tag) >= m_tagEntries.size()) return;
    const std::optional<ReminderKey> key = m_tagEntries[static_cast<std::size_t>(tag)];
    // Out of the notification's signal first: the list is a modal dialog.
    QTimer::singleShot(0, &m_frame, [this, key] {
        if (QApplication::activeModalWidget()) return;
        m_frame.OpenScheduleList([key](const ScheduleEntry& entry) { return key && key->Matches(entry); });
    });
}
