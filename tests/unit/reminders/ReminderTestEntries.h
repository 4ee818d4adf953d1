// Schedule entries as registration stores them, for the reminder and agenda tests:
// times from local dates, display texts with the weekday.
#pragma once

#include "platform/Clock.h"
#include "schedule/ScheduleEntry.h"
#include "text/Sjis.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace reminders_test {

using namespace nelo;

/// A local date, with a time of day unless hour is negative.
struct When {
    int year, month, day, hour = -1, minute = 0;
};

inline std::time_t TimeOf(const When& w) {
    return nelo::MakeLocalTime(w.year, w.month, w.day, w.hour < 0 ? 0 : w.hour, w.minute, 0);
}

inline std::string DisplayOf(const When& w) {
    static const char* const kWeekdays[] = {"日"_sj, "月"_sj, "火"_sj, "水"_sj, "木"_sj, "金"_sj, "土"_sj};
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d/%02d/%02d(", w.year, w.month, w.day);
    std::string text = buf + std::string(kWeekdays[nelo::LocalTime(TimeOf(w)).tm_wday]) + ")";
    if (w.hour >= 0) {
        std::snprintf(buf, sizeof buf, " %02d:%02d", w.hour, w.minute);
        text += buf;
    }
    return text;
}

/// An entry from start to end (end.year 0: none) for business (code page 932).
inline std::unique_ptr<nelo::ScheduleEntry> Entry(const When& start, const When& end, const std::string& business) {
    const auto startTime = static_cast<std::int32_t>(TimeOf(start));
    if (end.year == 0)
        return std::make_unique<nelo::ScheduleEntry>(startTime, startTime, DisplayOf(start), "", business);
    return std::make_unique<nelo::ScheduleEntry>(startTime, static_cast<std::int32_t>(TimeOf(end)), DisplayOf(start),
                                                 DisplayOf(end), business);
}

inline std::unique_ptr<nelo::ScheduleEntry> Entry(const When& start, const std::string& business) {
    return Entry(start, When{0, 0, 0}, business);
}

}  // namespace reminders_test
