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

std::time_t LocalMidnight(std::time_t t, int nDays) {
    const std::tm tm = LocalTime(t);
    return MakeLocalTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday + nDays, 0, 0, 0);
}

EntryTimes TimesOf(const ScheduleEntry& entry) {
    EntryTimes times;
    times.bAllDay = !HasTimeOfDay(entry.m_startText);
    times.tFirst = times.bAllDay ? LocalMidnight(entry.m_startTime) : entry.m_startTime;
    if (entry.m_endText.empty() || entry.m_endTime < entry.m_startTime) {
        // An end before the start (a damaged file) counts as no end.
        times.bMoment = !times.bAllDay;
        times.tLast = times.bAllDay ? LocalMidnight(entry.m_startTime, 1) : times.tFirst;
    } else {
        times.tLast = HasTimeOfDay(entry.m_endText) ? static_cast<std::time_t>(entry.m_endTime)
                                                    : LocalMidnight(entry.m_endTime, 1);
        times.bMoment = !times.bAllDay && times.tLast == times.tFirst;
    }
    return times;
}

std::vector<const ScheduleEntry*> AgendaEntries(const std::vector<std::unique_ptr<ScheduleEntry>>& entries,
                                                std::time_t now, int nDays) {
    const std::time_t tEnd = LocalMidnight(now, nDays + 1);
    std::vector<const ScheduleEntry*> result;
    for (const auto& pEntry : entries) {
        const EntryTimes times = TimesOf(*pEntry);
        if (times.IsAheadOrUnderWay(now) && times.tFirst < tEnd) result.push_back(pEntry.get());
    }
    std::stable_sort(result.begin(), result.end(),
                     [](const ScheduleEntry* a, const ScheduleEntry* b) { return a->m_startTime < b->m_startTime; });
    return result;
}

}  // namespace nelo
