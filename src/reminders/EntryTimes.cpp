#include "reminders/EntryTimes.h"

#include "platform/Clock.h"
#include "schedule/ScheduleEntry.h"

#include <algorithm>

namespace nelo {

bool HasTimeOfDay(const std::string& display) {
    // ')' is never the second byte of a double-byte character; " HH:MM" follows it.
    const std::size_t close = display.find(')');
    return close != std::string::npos && display.find(':', close) != std::string::npos;
}

std::time_t LocalMidnight(std::time_t t, int days) {
    const std::tm tm = LocalTime(t);
    return MakeLocalTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday + days, 0, 0, 0);
}

EntryTimes TimesOf(const ScheduleEntry& entry) {
    EntryTimes times;
    times.allDay = !HasTimeOfDay(entry.GetStartText());
    times.firstTime = times.allDay ? LocalMidnight(entry.GetStartTime()) : entry.GetStartTime();
    if (entry.GetEndText().empty() || entry.GetEndTime() < entry.GetStartTime()) {
        // An end before the start (a damaged file) counts as no end.
        times.moment = !times.allDay;
        times.lastTime = times.allDay ? LocalMidnight(entry.GetStartTime(), 1) : times.firstTime;
    } else {
        times.lastTime = HasTimeOfDay(entry.GetEndText()) ? static_cast<std::time_t>(entry.GetEndTime())
                                                          : LocalMidnight(entry.GetEndTime(), 1);
        times.moment = !times.allDay && times.lastTime == times.firstTime;
    }
    return times;
}

std::vector<const ScheduleEntry*> AgendaEntries(const std::vector<std::unique_ptr<ScheduleEntry>>& entries,
                                                std::time_t now, int days) {
    const std::time_t endTime = LocalMidnight(now, days + 1);
    std::vector<const ScheduleEntry*> result;
    for (const auto& entry : entries) {
        const EntryTimes times = TimesOf(*entry);
        if (times.IsAheadOrUnderWay(now) && times.firstTime < endTime) result.push_back(entry.get());
    }
    std::stable_sort(result.begin(), result.end(), [](const ScheduleEntry* a, const ScheduleEntry* b) {
        return a->GetStartTime() < b->GetStartTime();
    });
    return result;
}

}  // namespace nelo
