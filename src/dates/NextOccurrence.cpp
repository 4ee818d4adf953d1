#include "dates/NextOccurrence.h"

#include "dates/DateTimeRec.h"
#include "dates/DateWords.h"

int MoveToNextOccurrence(std::string& result, DateFill fill) {
    if (fill == DateFill::None) return 0;
    const std::tm today = Today();
    const long long todayKey = (today.tm_year + 1900LL) * 10000 + (today.tm_mon + 1) * 100 + today.tm_mday;
    const DateTimeRec& d = g_dtWork;
    if (d.year * 10000LL + d.month * 100 + d.day >= todayKey) return 0;

    // A 29 February comes back within eight years; a day of 29-31 skips February.
    int year = d.year, month = d.month;
    const int day = d.day;
    for (int step = 0; step < 12; ++step) {
        if (fill == DateFill::Year) {
            ++year;
        } else if (++month > 12) {
            month = 1;
            ++year;
        }
        AdjustMonthTable(year);
        if (day > g_monthDays[month]) continue;
        SetDate(day, month, year);
        result = FormatDateResult(d);
        return 1;
    }
    AdjustMonthTable(d.year);
    return 0;
}
