// The calendar the program counts days in: the Julian rule before 1800 (1752 has 355
// days and a September of 19 days, numbered 1-19, the weekdays running on without a
// gap), the Gregorian rule from 1800. Plain values and functions: nothing here keeps
// state between calls.
#pragma once

namespace nelo {

/// A day of the calendar; valid when IsValidDate says so.
struct CalDate {
    int year = 0;   ///< Western year, no offset
    int month = 0;  ///< 1-12
    int day = 0;    ///< 1-based

    friend bool operator==(const CalDate& a, const CalDate& b) {
        return a.year == b.year && a.month == b.month && a.day == b.day;
    }
    friend bool operator<(const CalDate& a, const CalDate& b) {
        if (a.year != b.year) return a.year < b.year;
        if (a.month != b.month) return a.month < b.month;
        return a.day < b.day;
    }
    friend bool operator<=(const CalDate& a, const CalDate& b) { return !(b < a); }
};

/// 365, 366, or 355 for 1752 (Julian leap years before 1800).
int DaysInYear(int year);
/// Weekday of 1 January of the year, 0 = Sunday.
int FirstWeekday(int year);
/// Days of the month (1-12) in that year: February 29 in a leap year and in 1752,
/// September 19 in 1752.
int MonthLength(int year, int month);
/// True for a month 1-12 and a day that month has, in a year from 0 on.
bool IsValidDate(const CalDate& d);
/// 1 for 1 January (months beyond 12 count as 12).
int DayOfYear(const CalDate& d);
/// 0 = Sunday ... 6 = Saturday.
int WeekdayOf(const CalDate& d);
/// Days of the years 0 .. year-1 (negative below year 0).
long long DaysBeforeYear(long long year);
/// A number that goes up by one from each day to the next (day 0 is 1 January of year 0).
long long DayNumber(const CalDate& d);
/// The day of a day number.
CalDate FromDayNumber(long long n);
/// The day n days later (earlier for a negative n).
CalDate AddDays(const CalDate& d, long long n);
/// The same day n months later, or the last day of that month when it is shorter.
CalDate AddMonths(const CalDate& d, long long n);
/// The same day n years later; 29 February becomes the 28th in a common year.
CalDate AddYears(const CalDate& d, long long n);
/// True for a year the program keeps dates in (1-9999).
inline bool IsYearInRange(long long year) { return year >= 1 && year <= 9999; }

/// One-character weekday names, index 0 = Sunday ("日" ... "土", code page 932).
extern const char* const kWeekdayNames[7];

}  // namespace nelo
