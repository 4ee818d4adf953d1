#include "dates/DateText.h"

#include "dates/DateTimeRec.h"
#include "dates/DateWords.h"
#include "platform/Clock.h"

#include <cstdio>

int FormatEntryDate(std::string& display, const std::string& result, std::time_t& time) {
    EnsureWorkingDate();
    const DateTimeRec& d = g_dtWork;
    const char* weekday = g_weekdayNames[d.weekday >= 0 && d.weekday < 7 ? d.weekday : 0];
    char buf[96];
    int hour = 0, minute = 0;
    // "2003/06/02" has 10 characters; a result text with a time of day is longer.
    if (result.size() < 12) {
        std::snprintf(buf, sizeof buf, "%d/%02d/%02d(%s)", d.year, d.month, d.day, weekday);
    } else {
        hour = d.hour;
        minute = d.minute;
        std::snprintf(buf, sizeof buf, "%d/%02d/%02d(%s) %02d:%02d", d.year, d.month, d.day, weekday, hour, minute);
    }
    display = buf;

    const int thisYear = Today().tm_year + 1900;
    if (!(thisYear - 11 < d.year && d.year < thisYear + 11)) return 0;
    time = MakeLocalTime(d.year, d.month, d.day, hour, minute, 0);
    return 1;
}
