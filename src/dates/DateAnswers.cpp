#include "dates/DateAnswers.h"

#include "dates/DateParser.h"
#include "dates/DatePattern.h"
#include "dates/DateTimeRec.h"
#include "dates/DateWords.h"
#include "platform/Clock.h"
#include "res/StringTable.h"
#include "text/Decimal.h"
#include "text/JText.h"
#include "text/Sjis.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

const char* DontKnow() { return LoadStringId(IDS_DONT_KNOW); }

// Parses the phrase into the working date; "わかりません。" when it is no date.
bool ParseOrDontKnow(std::string& out, const std::string& phrase) {
    std::string result;
    if (ParseDatePhrase(result, phrase)) return true;
    out = DontKnow();
    return false;
}

std::string Sentence(const char* format, int a, int b, int c) {
    char buf[160];
    std::snprintf(buf, sizeof buf, format, a, b, c);
    return buf;
}

// Outside the template: clang 14 leaves a literal operator call in a template unevaluated.
constexpr const char* kMovedDateText = "%d年%d月%d日です。"_sj;

// The moved date must stay within the years 1-9999, else the working date is restored.
template <class Move>
int MoveAnswer(std::string& out, Move move) {
    const DateTimeRec saved = g_dtWork;
    move();
    if (!IsYearInRange(g_dtWork.year)) {
        g_dtWork = saved;
        AdjustMonthTable(g_dtWork.year);
        return 0;
    }
    out = Sentence(kMovedDateText, g_dtWork.year, g_dtWork.month, g_dtWork.day);
    return 1;
}

// The date (y, m, d) with its fields carried over as mktime does (31 June is 1 July), as
// one number that orders dates. Plain UTC arithmetic: no time-zone file is consulted.
long long NormalisedDateKey(int y, int m, int d) {
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = m - 1;
    tm.tm_mday = d;
    tm.tm_hour = 12;
    std::time_t t = timegm(&tm);
    std::tm n{};
    gmtime_r(&t, &n);
    return (n.tm_year + 1900LL) * 10000 + (n.tm_mon + 1) * 100 + n.tm_mday;
}

// Days of the years 0 .. year-1 (negative below year 0), the sum of DaysInYear without a
// loop: a working date left at year 999,999,999 by a refused phrase must not take seconds.
long long DaysBeforeYear(long long year) {
    auto floorDiv = [](long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); };
    const long long julianEnd = year < 1800 ? year : 1800;
    long long days = 365 * year + floorDiv(julianEnd + 3, 4);
    // From 1800 on the Gregorian rule; 1752 lost eleven days.
    if (year > 1800) {
        auto leapsBefore = [&](long long y) {
            return floorDiv(y + 3, 4) - floorDiv(y + 99, 100) + floorDiv(y + 399, 400);
        };
        days += leapsBefore(year) - leapsBefore(1800);
    }
    if (year > 1752) days -= 11;
    return days;
}

// More days than the years 1-9999 hold: such a move leaves the range whatever the base.
constexpr long long kMaxDaySpan = 3700000;

}  // namespace

int AnswerWeekday(std::string& out, const std::string& phrase) {
    if (!ParseOrDontKnow(out, phrase)) return 0;
    return WeekdayOfWorkingDate(out);
}

int WeekdayOfWorkingDate(std::string& out) {
    const DateTimeRec& d = g_dtWork;
    // "%d年%d月%d日は%s曜日です。"
    static constexpr std::string_view kYear = "年"_sj, kMonth = "月"_sj, kDay = "日は"_sj, kEnd = "曜日です。"_sj;
    out.clear();
    AppendDecimal(out, d.year);
    out += kYear;
    AppendDecimal(out, d.month);
    out += kMonth;
    AppendDecimal(out, d.day);
    out += kDay;
    out.append(g_weekdayNames[d.weekday >= 0 && d.weekday < 7 ? d.weekday : 0], 2);
    out += kEnd;
    return 1;
}

int AnswerBaseDate(std::string& out, const std::string& phrase) {
    if (!ParseOrDontKnow(out, phrase)) return 0;
    return BaseDateOfWorkingDate(out);
}

int BaseDateOfWorkingDate(std::string& out) {
    out = Sentence("基準日は%d年%d月%d日です。"_sj, g_dtWork.year, g_dtWork.month, g_dtWork.day);
    return 1;
}

int AnswerAge(std::string& out, const std::string& phrase) {
    if (!ParseOrDontKnow(out, phrase)) return 0;
    return AgeAtWorkingDate(out);
}

int AgeAtWorkingDate(std::string& out) {
    const int by = g_dtWork.year, bm = g_dtWork.month, bd = g_dtWork.day;
    const std::tm today = Today();
    const int Y = today.tm_year + 1900, M = today.tm_mon + 1, D = today.tm_mday;
    // "Now is at or after 00:00 of a day" is "today is that day or later".
    const long long todayKey = Y * 10000LL + M * 100 + D;
    // Nobody is born after today: no age to give.
    if (by * 10000LL + bm * 100 + bd > todayKey) {
        out = DontKnow();
        return 0;
    }

    int years = Y - by - 1;
    int months, days;
    if (todayKey >= NormalisedDateKey(Y, bm, bd)) {
        years += 1;
        months = M - bm - 1;
    } else {
        months = M - bm + 11;
    }
    // This month's birthday as mktime normalises it (31 June is 1 July).
    if (todayKey >= NormalisedDateKey(Y, M, bd)) {
        months += 1;
        days = D - bd;
    } else {
        int length;
        if (M == 1) {
            length = 31;
        } else {
            AdjustMonthTable(Y);
            length = g_monthDays[M - 1];
            AdjustMonthTable(g_dtWork.year);
        }
        days = length - bd < 0 ? D : length - bd + D;
    }
    out = Sentence("%d歳%dヶ月%d日です。"_sj, years, months, days);
    return 1;
}

int AnswerDayCount(std::string& out, const std::string& phrase) {
    EnsureWorkingDate();
    const DateTimeRec base = g_dtWork;
    std::string result;
    if (!ParseDatePhrase(result, phrase)) {
        g_dtWork = base;
        AdjustMonthTable(base.year);
        out = DontKnow();
        return 0;
    }
    const DateTimeRec other = g_dtWork;
    auto key = [](const DateTimeRec& d) { return d.year * 10000LL + d.month * 100 + d.day; };
    const DateTimeRec& E = key(base) < key(other) ? base : other;
    const DateTimeRec& L = key(base) < key(other) ? other : base;

    long long days, rest, months;
    int years, monthsInPart = 0;
    if (E.year == L.year) {
        years = 0;
        days = L.dayOfYear - E.dayOfYear;
        months = L.month - E.month - 1;
        if (months < 0) months = 0;
        AdjustMonthTable(E.year);
        long long between = 0;
        for (int m = E.month + 1; m < L.month && m <= 12; ++m) between += g_monthDays[m];
        rest = days - between;
    } else {
        years = L.year - E.year - 1;
        days = DaysInYear(E.year) - E.dayOfYear;
        days += DaysBeforeYear(L.year) - DaysBeforeYear(E.year + 1LL);
        days += L.dayOfYear;
        monthsInPart = (12 - E.month) + L.month - 1;
        months = monthsInPart + 12LL * years;
        AdjustMonthTable(E.year);
        rest = (g_monthDays[E.month >= 1 && E.month <= 12 ? E.month : 1] - E.day) + L.day;
    }

    char buf[200];
    if (years == 0 && months == 0)
        std::snprintf(buf, sizeof buf, "%lld日です。"_sj, days);
    else if (years == 0)
        std::snprintf(buf, sizeof buf, "%lld日(%lldヶ月%lld日)です。"_sj, days, months, rest);
    else
        std::snprintf(buf, sizeof buf, "%lld日(%lldヶ月%lld日、%d年%dヶ月%lld日)です。"_sj, days, months, rest, years,
                      monthsInPart, rest);
    out = buf;
    g_dtWork = base;
    AdjustMonthTable(base.year);
    return 1;
}

int AnswerEra(std::string& out, const std::string& word) {
    struct Era {
        const char* name;
        int offset;
    };
    static const Era kEras[] = {
        {"平成"_sj, 1988}, {"昭和"_sj, 1925}, {"大正"_sj, 1911}, {"明治"_sj, 1867}, {"令和"_sj, 2018},
    };
    std::string pattern = ToDatePattern(word);
    const Era* era = nullptr;
    for (const Era& e : kEras) {
        std::string::size_type pos = FindWord(pattern, e.name);
        if (pos == std::string::npos) continue;
        BlankOut(pattern, pos, 4);
        if (pattern.compare(pos + 4, 4, "元年"_sj) == 0) pattern.replace(pos + 4, 4, "1Y/ ");
        era = &e;
        break;
    }

    long long year = -1;
    for (std::size_t i = 0; i < pattern.size();) {
        if (pattern[i] == ' ' || pattern[i] == '/') {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < pattern.size() && pattern[j] != ' ' && pattern[j] != '/') ++j;
        if (pattern[j - 1] == 'Y') {
            // The number starts at the token's first digit (「西暦２０００年」 is 2000).
            std::size_t k = i;
            while (k < j && !(pattern[k] >= '0' && pattern[k] <= '9')) ++k;
            year = ReadNumber(pattern.substr(k, j - k));
        }
        i = j;
    }

    std::string name;
    if (era) {
        name = "西暦"_sj;
        year += era->offset;
    } else if (year >= 2019) {
        name = year == 2019 ? "平成31年、または令和"_sj : "令和"_sj;
        year -= 2018;
    } else if (year >= 1989) {
        name = year == 1989 ? "昭和64年、または平成"_sj : "平成"_sj;
        year -= 1988;
    } else if (year >= 1926) {
        name = year == 1926 ? "大正15年、または昭和"_sj : "昭和"_sj;
        year -= 1925;
    } else if (year >= 1912) {
        name = year == 1912 ? "明治45年、または大正"_sj : "大正"_sj;
        year -= 1911;
    } else if (year >= 1868) {
        name = "明治"_sj;
        year -= 1867;
    } else {
        name = "変換できません。"_sj;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%lld", year);
    out = name + buf + "年です。"_sj;
    return 1;
}

int AddDaysAnswer(std::string& out, int n) {
    EnsureWorkingDate();
    if (n > kMaxDaySpan || n < -kMaxDaySpan) return 0;
    return MoveAnswer(out, [n] { AddDays(n); });
}

int AddWeeksAnswer(std::string& out, int n) {
    EnsureWorkingDate();
    const long long days = 7LL * n;
    if (days > kMaxDaySpan || days < -kMaxDaySpan) return 0;
    return MoveAnswer(out, [days] { AddDays(static_cast<int>(days)); });
}

int AddMonthsAnswer(std::string& out, int n) {
    EnsureWorkingDate();
    if (n > 12 * 10000 || n < -12 * 10000) return 0;
    return MoveAnswer(out, [n] { AddMonths(n); });
}

int AddYearsAnswer(std::string& out, int n) {
    EnsureWorkingDate();
    const long long year = static_cast<long long>(g_dtWork.year) + n;
    if (!IsYearInRange(year)) return 0;
    return MoveAnswer(out, [year] {
        g_dtWork.year = static_cast<int>(year);
        Recompute();
    });
}
