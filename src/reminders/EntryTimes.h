// When a schedule entry begins and ends as a reader of its display text means it: an
// entry without a time of day lasts its whole day (or days), an entry with a start time
// and no end is a moment.
#pragma once

#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace nelo {

class ScheduleEntry;

struct EntryTimes {
    std::time_t firstTime = 0;  ///< the start time, or the midnight that begins the first day
    std::time_t lastTime = 0;   ///< the end time, the midnight after the last day, or firstTime for a moment
    bool allDay = false;        ///< the start has no time of day
    bool moment = false;        ///< a start time without an end

    /// True while the entry is still to come or under way at now.
    bool IsAheadOrUnderWay(std::time_t now) const { return moment ? firstTime >= now : lastTime > now; }
};

/// True when a display text ("2003/06/02(月) 10:00" or "2003/06/02(月)") holds a time of day.
bool HasTimeOfDay(const std::string& display);
/// The local midnight that begins the day of t, or the day days after it.
std::time_t LocalMidnight(std::time_t t, int days = 0);
/// The times of an entry.
EntryTimes TimesOf(const ScheduleEntry& entry);

/// The agenda: the entries from now through the end of the day days days after today
/// (0: the rest of today), still to come or under way, in start order (equal starts in
/// list order).
std::vector<const ScheduleEntry*> AgendaEntries(const std::vector<std::unique_ptr<ScheduleEntry>>& entries,
                                                std::time_t now, int days);

}  // namespace nelo
