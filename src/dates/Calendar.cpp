#include "dates/Calendar.h"

#include "text/Sjis.h"

namespace nelo {

const char* const kWeekdayNames[7] = {"日"_sj, "月"_sj, "火"_sj, "水"_sj, "木"_sj, "金"_sj, "土"_sj};

namespace {

// Floor division and a non-negative remainder, so that years before 1 stay on the cycle.
long long FloorDiv(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

int PositiveMod(long long a, int b) {
    int r = static_cast<int>(a % b);
    return r < 0 ? r + b : r;
}

constexpr int kCommonLength[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr int kCommonBefore[13] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

}  // namespace

int DaysInYear(int year) {
    if (year < 1800) {
        if (year == 1752) return 355;
        return year % 4 == 0 ? 366 : 365;
    }
    return ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0) ? 366 : 365;
}

int FirstWeekday(int year) {
    long long y = year;
    long long v = y + 4 + FloorDiv(y + 3, 4);
    if (year > 1800) v = v - FloorDiv(y - 1701, 100) + FloorDiv(y - 1601, 400);
    if (year > 1752) v = v + 3;
    return PositiveMod(v, 7);
}

int MonthLength(int year, int month) {
    if (month == 2) {
        const int days = DaysInYear(year);
        return (days == 366 || days == 355) ? 29 : 28;
    }
    if (month == 9 && year == 1752) return 19;
    return month >= 1 && month <= 12 ? kCommonLength[month] : 0;
}

bool IsValidDate(const CalDate& d) {
    return d.year >= 0 && d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= MonthLength(d.year, d.month);
}

int DayOfYear(const CalDate& d) {
    const int month = d.month < 1 ? 1 : d.month > 12 ? 12 : d.month;
    int n = d.day + kCommonBefore[month];
    if (month > 2) n += MonthLength(d.year, 2) - 28;
    if (month > 9) n += MonthLength(d.year, 9) - 30;
    return n;
}

int WeekdayOf(const CalDate& d) { return PositiveMod(FirstWeekday(d.year) - 1LL + DayOfYear(d), 7); }

long long DaysBeforeYear(long long year) {
    const long long julianEnd = year < 1800 ? year : 1800;
    long long days = 365 * year + FloorDiv(julianEnd + 3, 4);
    // From 1800 on the Gregorian rule; 1752 lost eleven days.
    if (year > 1800) {
        auto leapsBefore = [](long long y) {
            return FloorDiv(y + 3, 4) - FloorDiv(y + 99, 100) + FloorDiv(y + 399, 400);
        };
        days += leapsBefore(year) - leapsBefore(1800);
    }
    if (year > 1752) days -= 11;
    return days;
}

long long DayNumber(const CalDate& d) { return DaysBeforeYear(d.year) + DayOfYear(d) - 1; }

CalDate FromDayNumber(long long n) {
    // An estimate from the mean year, then at most a step or two either way.
    long long year = FloorDiv(n * 400, 146097);
    while (DaysBeforeYear(year) > n) --year;
    while (DaysBeforeYear(year + 1) <= n) ++year;
    CalDate d;
    d.year = static_cast<int>(year);
    int left = static_cast<int>(n - DaysBeforeYear(year)) + 1;
    int month = 1;
    while (month < 12 && left > MonthLength(d.year, month)) {
        left -= MonthLength(d.year, month);
        ++month;
    }
    d.month = month;
    d.day = left;
    return d;
}

CalDate AddDays(const CalDate& d, long long n) { return FromDayNumber(DayNumber(d) + n); }

CalDate AddMonths(const CalDate& d, long long n) {
    const long long months = d.year * 12LL + (d.month - 1) + n;
    CalDate r;
    r.year = static_cast<int>(FloorDiv(months, 12));
    r.month = static_cast<int>(months - r.year * 12LL) + 1;
    const int length = MonthLength(r.year, r.month);
    r.day = d.day > length ? length : d.day;
    return r;
}

CalDate AddYears(const CalDate& d, long long n) {
    CalDate r = d;
    r.year = static_cast<int>(d.year + n);
    const int length = MonthLength(r.year, r.month);
    if (r.day > length) r.day = length;
    return r;
}

}  // namespace nelo
