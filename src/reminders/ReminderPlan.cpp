#include "reminders/ReminderPlan.h"

#include "platform/Clock.h"
#include "reminders/EntryTimes.h"
#include "schedule/ScheduleEntry.h"
#include "text/Sjis.h"

#include <algorithm>
#include <functional>

namespace nelo {

namespace {

// The summary lists this many entries; more are counted in its last line.
constexpr std::size_t kSummaryLines = 20;

// The entry's display form without its business: the date, the time and the end.
std::string DateAndEnd(const ScheduleEntry& entry, const std::string& year) {
    std::string text;
    entry.Format(text, year);
    // Format ends with a full-width blank and the business.
    const std::size_t tail = entry.GetBusiness().size() + 2;
    if (text.size() >= tail) text.resize(text.size() - tail);
    return text;
}

}  // namespace

bool ReminderKey::Matches(const ScheduleEntry& entry) const {
    return startTime == entry.GetStartTime() && endTime == entry.GetEndTime() && startText == entry.GetStartText() &&
           endText == entry.GetEndText() && business == entry.GetBusiness();
}

ReminderKey ReminderKey::Of(const ScheduleEntry& entry) {
    return ReminderKey{entry.GetStartTime(), entry.GetEndTime(), entry.GetStartText(), entry.GetEndText(),
                       entry.GetBusiness()};
}

std::size_t ReminderKeyHash::operator()(const ReminderKey& key) const {
    std::size_t h = std::hash<long long>()(key.startTime);
    for (std::size_t part : {std::hash<long long>()(key.endTime), std::hash<std::string>()(key.startText),
                             std::hash<std::string>()(key.endText), std::hash<std::string>()(key.business)})
        h = h * 1000003u ^ part;
    return h;
}

std::time_t ReminderPlan::DueTime(const ScheduleEntry& entry) const {
    if (HasTimeOfDay(entry.GetStartText()))
        return static_cast<std::time_t>(entry.GetStartTime()) - static_cast<std::time_t>(m_settings.minutesBefore) * 60;
    const std::tm day = LocalTime(entry.GetStartTime());
    return MakeLocalTime(day.tm_year + 1900, day.tm_mon + 1, day.tm_mday, m_settings.allDayMinute / 60,
                         m_settings.allDayMinute % 60, 0);
}

std::time_t ReminderPlan::LateTime(const ScheduleEntry& entry) const {
    if (HasTimeOfDay(entry.GetStartText())) return static_cast<std::time_t>(entry.GetStartTime()) + kGraceSeconds;
    return LocalMidnight(entry.GetStartTime(), 1);
}

Reminder ReminderPlan::ReminderOf(const ScheduleEntry& entry) {
    Reminder r;
    r.key = ReminderKey::Of(entry);
    if (HasTimeOfDay(entry.GetStartText())) {
        const std::tm tm = LocalTime(entry.GetStartTime());
        r.summary = MinuteOfDayText(tm.tm_hour * 60 + tm.tm_min) + " ";
    } else {
        r.summary = "終日 "_sj;
    }
    r.summary += entry.GetBusiness();
    r.body = DateAndEnd(entry, CurrentYearText());
    return r;
}

std::vector<Reminder> ReminderPlan::TakeDue(const Entries& entries, std::time_t now) {
    std::vector<Reminder> due;
    if (!m_settings.enabled) return due;
    std::vector<const ScheduleEntry*> candidates;
    for (const auto& entry : entries)
        if (DueTime(*entry) <= now && now < LateTime(*entry)) candidates.push_back(entry.get());
    std::stable_sort(candidates.begin(), candidates.end(), [](const ScheduleEntry* a, const ScheduleEntry* b) {
        return a->GetStartTime() < b->GetStartTime();
    });
    // The n-th entry of a key is reminded of when fewer than n of its key were shown.
    std::unordered_map<ReminderKey, int, ReminderKeyHash> seen;
    for (const ScheduleEntry* entry : candidates) {
        ReminderKey key = ReminderKey::Of(*entry);
        int& shownCount = m_shown[key];
        if (++seen[key] <= shownCount) continue;
        ++shownCount;
        due.push_back(ReminderOf(*entry));
    }
    return due;
}

std::optional<std::time_t> ReminderPlan::NextDue(const Entries& entries, std::time_t now) const {
    std::optional<std::time_t> next;
    if (!m_settings.enabled) return next;
    for (const auto& entry : entries) {
        const std::time_t t = DueTime(*entry);
        if (t > now && (!next || t < *next)) next = t;
    }
    return next;
}

std::optional<Reminder> ReminderPlan::TodaySummary(const Entries& entries, std::time_t now) const {
    if (!m_settings.startupSummary) return std::nullopt;
    const std::vector<const ScheduleEntry*> today = AgendaEntries(entries, now, 0);
    if (today.empty()) return std::nullopt;
    Reminder r;
    r.summary = "今日の予定 "_sj + std::to_string(today.size()) + " 件"_sj;
    const std::string year = CurrentYearText();
    std::string line;
    for (std::size_t i = 0; i < today.size() && i < kSummaryLines; ++i) {
        today[i]->Format(line, year);
        if (i > 0) r.body += '\n';
        r.body += line;
    }
    if (today.size() > kSummaryLines) r.body += "\nほか "_sj + std::to_string(today.size() - kSummaryLines) + " 件"_sj;
    return r;
}

}  // namespace nelo
