#include "dates/DateTimeRec.h"

#include "dates/DateWords.h"
#include "platform/Clock.h"
#include "text/Sjis.h"

#include <climits>

DateTimeRec g_dtWork = {};
short g_monthDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
const char* const g_weekdayNames[7] = {"日"_sj, "月"_sj, "火"_sj, "水"_sj, "木"_sj, "金"_sj, "土"_sj};

namespace {

bool g_bWorkDateSet = false;

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

short ToShort(long long v) {
    if (v > SHRT_MAX) return SHRT_MAX;
    if (v < SHRT_MIN) return SHRT_MIN;
    return static_cast<short>(v);
}

// Day of year of the working date; months outside 1-12 add what the table holds. The
// months before it are summed from the common table plus what February and September
// of the adjusted table differ by.
int DayOfYearOfWork() {
    static constexpr int kCommonBefore[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};
    const int before = g_dtWork.month < 1 ? 0 : g_dtWork.month > 13 ? 12 : g_dtWork.month - 1;
    int n = g_dtWork.day + kCommonBefore[before];
    if (before >= 2) n += g_monthDays[2] - 28;
    if (before >= 9) n += g_monthDays[9] - 30;
    return n;
}

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

namespace {

// The two months whose length depends on the year.
short FebruaryDays(int year) {
    const int days = DaysInYear(year);
    return (days == 366 || days == 355) ? 29 : 28;
}
short SeptemberDays(int year) { return year == 1752 ? 19 : 30; }

}  // namespace

void AdjustMonthTable(int year) {
    g_monthDays[2] = FebruaryDays(year);
    g_monthDays[9] = SeptemberDays(year);
}

int ValidateDate() {
    DateTimeRec& w = g_dtWork;
    if (w.year < 0) {
        w.year = 0;
        AdjustMonthTable(w.year);
        return 0;
    }
    AdjustMonthTable(w.year);
    if (w.month < 1) {
        w.month = 1;
        return 0;
    }
    if (w.month > 12) {
        w.month = 12;
        return 0;
    }
    if (w.day < 1) {
        w.day = 1;
        return 0;
    }
    if (w.day > g_monthDays[w.month]) {
        w.day = g_monthDays[w.month];
        return 0;
    }
    return 1;
}

bool IsWorkingDateValid() {
    const DateTimeRec& w = g_dtWork;
    if (w.year < 0 || w.month < 1 || w.month > 12 || w.day < 1) return false;
    const int length = w.month == 2   ? FebruaryDays(w.year)
                       : w.month == 9 ? SeptemberDays(w.year)
                                      : g_monthDays[w.month];
    return w.day <= length;
}

int Recompute() {
    int valid = ValidateDate();
    g_dtWork.dayOfYear = DayOfYearOfWork();
    g_dtWork.weekday = static_cast<short>(PositiveMod(FirstWeekday(g_dtWork.year) - 1LL + g_dtWork.dayOfYear, 7));
    return valid;
}

int SetDate(int day, int month, int year) {
    g_dtWork.day = ToShort(day);
    g_dtWork.month = ToShort(month);
    g_dtWork.year = year;
    g_bWorkDateSet = true;
    return Recompute();
}

int SetTime(int hour, int minute, int second) {
    g_dtWork.hour = ToShort(hour);
    g_dtWork.minute = ToShort(minute);
    g_dtWork.second = ToShort(second);
    return Recompute();
}

void SetDayOfYear(int n) {
    DateTimeRec& w = g_dtWork;
    long long left = n;
    while (left < 1) {
        w.year -= 1;
        left += DaysInYear(w.year);
    }
    while (left > DaysInYear(w.year)) {
        left -= DaysInYear(w.year);
        w.year += 1;
    }
    w.dayOfYear = static_cast<int>(left);
    AdjustMonthTable(w.year);
    int month = 1;
    while (month < 12 && left > g_monthDays[month]) {
        left -= g_monthDays[month];
        ++month;
    }
    w.month = static_cast<short>(month);
    w.day = static_cast<short>(left);
    w.weekday = static_cast<short>(PositiveMod(FirstWeekday(w.year) - 1LL + w.dayOfYear, 7));
    g_bWorkDateSet = true;
}

void AddDays(int n) {
    long long target = static_cast<long long>(g_dtWork.dayOfYear) + n;
    // Steps of whole years keep the day number within int for any n.
    while (target > INT_MAX) {
        target -= DaysInYear(g_dtWork.year);
        g_dtWork.year += 1;
    }
    while (target < INT_MIN + 400) {
        g_dtWork.year -= 1;
        target += DaysInYear(g_dtWork.year);
    }
    SetDayOfYear(static_cast<int>(target));
}

void AddMonths(int n) {
    long long month = static_cast<long long>(g_dtWork.month) + n;
    long long years = 0;
    if (month < 1) {
        years = -((12 - month) / 12);
        month += -years * 12;
    } else if (month > 12) {
        years = (month - 1) / 12;
        month -= years * 12;
    }
    g_dtWork.month = static_cast<short>(month);
    g_dtWork.year = static_cast<int>(g_dtWork.year + years);
    Recompute();
}

int FindWeekday(const std::string& text, int& index, std::string::size_type& pos) {
    return FindWeekday(CWordSearch(text), index, pos);
}

int FindWeekday(const CWordSearch& text, int& index, std::string::size_type& pos) {
    static const char* const kNames[7] = {"日曜日"_sj, "月曜日"_sj, "火曜日"_sj, "水曜日"_sj,
                                          "木曜日"_sj, "金曜日"_sj, "土曜日"_sj};
    for (int i = 0; i < 7; ++i) {
        std::string::size_type at = text.Find(kNames[i]);
        if (at != std::string::npos) {
            index = i;
            pos = at;
            return 1;
        }
    }
    return 0;
}

void BlankOut(std::string& text, std::string::size_type pos, std::string::size_type count) {
    if (pos >= text.size()) return;
    if (count > text.size() - pos) count = text.size() - pos;
    text.replace(pos, count, count, ' ');
}

void SetToday() {
    std::tm now = LocalNow();
    SetDate(now.tm_mday, now.tm_mon + 1, now.tm_year + 1900);
}

void ResetWorkingDate() {
    SetToday();
    g_dtWork.hour = NO_TIME;
    g_dtWork.minute = NO_TIME;
    g_dtWork.second = NO_TIME;
    g_bWorkDateSet = true;
}

void EnsureWorkingDate() {
    if (!g_bWorkDateSet) ResetWorkingDate();
}
