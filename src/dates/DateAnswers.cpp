#include "dates/DateAnswers.h"

#include "dates/DatePattern.h"
#include "dates/DateWords.h"
#include "dates/WorkingDate.h"
#include "strings/StringTable.h"
#include "text/Decimal.h"
#include "text/Sjis.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string_view>

namespace nelo {

namespace {

const char* DontKnow() { return LoadStringId(AnswerDontKnow); }

std::string Sentence(const char* format, int a, int b, int c) {
    char buf[160];
    std::snprintf(buf, sizeof buf, format, a, b, c);
    return buf;
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

long long Key(const CalDate& d) { return d.year * 10000LL + d.month * 100 + d.day; }

int MovedAnswer(const WorkingDate& date, std::string& out) {
    const CalDate d = date.Date();
    out = Sentence("%d年%d月%d日です。"_sj, d.year, d.month, d.day);
    return 1;
}

// An era name and the western year before its first year.
struct EraName {
    const char* name;
    int offset;
};

// Blanks out the first era name found in pattern (「元年」 after it becomes year 1) and
// returns it; nullptr when the pattern names no era.
const EraName* TakeEraName(std::string& pattern) {
    static const EraName kEras[] = {
        {"平成"_sj, 1988}, {"昭和"_sj, 1925}, {"大正"_sj, 1911}, {"明治"_sj, 1867}, {"令和"_sj, 2018},
    };
    for (const EraName& e : kEras) {
        const std::string::size_type pos = FindWord(pattern, e.name);
        if (pos == std::string::npos) continue;
        BlankOut(pattern, pos, 4);
        if (pattern.compare(pos + 4, 4, "元年"_sj) == 0) pattern.replace(pos + 4, 4, "1Y/ ");
        return &e;
    }
    return nullptr;
}

// The most digits a year may have: longer numbers are not read (they would be cut).
constexpr std::size_t kMaxYearDigits = 9;

// The number of the last year token of pattern (one ending in 'Y'); -1 when there is none
// or its number is too long to read.
long long LastYearNumber(const std::string& pattern) {
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
            std::size_t e = k;
            while (e < j && pattern[e] >= '0' && pattern[e] <= '9') ++e;
            year = e - k <= kMaxYearDigits ? ReadNumber(pattern.substr(k, j - k)) : -1;
        }
        i = j;
    }
    return year;
}

// The era a western year falls in, named as the answer starts ("平成", or both names for
// the year an era changed), with year made a year of that era; the refusal when the year
// lies before the eras, year left as it is.
std::string EraOfWesternYear(long long& year) {
    static const struct {
        long long firstYear;
        const char* name;
        const char* sharedName;  // the year the era began, still the last of the one before
    } kFromNewest[] = {
        {2019, "令和"_sj, "平成31年、または令和"_sj},
        {1989, "平成"_sj, "昭和64年、または平成"_sj},
        {1926, "昭和"_sj, "大正15年、または昭和"_sj},
        {1912, "大正"_sj, "明治45年、または大正"_sj},
        {1868, "明治"_sj, "明治"_sj},  // no era before it here
    };
    for (const auto& era : kFromNewest) {
        if (year < era.firstYear) continue;
        const char* name = year == era.firstYear ? era.sharedName : era.name;
        year -= era.firstYear - 1;
        return name;
    }
    return "変換できません。"_sj;
}

// Writes v at o as "%d" would, in ASCII or in full width ("－", "０" to "９").
template <bool fullWidth>
char* PutDecimal(char* o, long long v) {
    char digits[24];
    int n = 0;
    unsigned long long u = v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    do {
        digits[n++] = static_cast<char>(u % 10);
        u /= 10;
    } while (u);
    if (v < 0) {
        if (fullWidth) *o++ = '\x81';
        *o++ = fullWidth ? '\x7C' : '-';
    }
    while (n) {
        const char digit = digits[--n];
        if (fullWidth) *o++ = '\x82';
        *o++ = static_cast<char>(fullWidth ? 0x4F + digit : '0' + digit);
    }
    return o;
}

char* PutText(char* o, std::string_view text) {
    std::memcpy(o, text.data(), text.size());
    return o + text.size();
}

// "%d年%d月%d日は%s曜日です。" with ASCII digits, or in full width, written once.
template <bool fullWidth>
void PutWeekdayAnswer(std::string& out, const CalDate& d) {
    static constexpr std::string_view kYear = "年"_sj, kMonth = "月"_sj, kDay = "日は"_sj, kEnd = "曜日です。"_sj;
    char buf[128];  // three numbers of at most 24 bytes and 20 bytes of words
    char* o = PutDecimal<fullWidth>(buf, d.year);
    o = PutText(o, kYear);
    o = PutDecimal<fullWidth>(o, d.month);
    o = PutText(o, kMonth);
    o = PutDecimal<fullWidth>(o, d.day);
    o = PutText(o, kDay);
    o = PutText(o, std::string_view(kWeekdayNames[WeekdayOf(d)], 2));
    o = PutText(o, kEnd);
    out.assign(buf, static_cast<std::size_t>(o - buf));
}

}  // namespace

void WeekdayAnswer(std::string& out, const CalDate& d) { PutWeekdayAnswer<false>(out, d); }

void FullWidthWeekdayAnswer(std::string& out, const CalDate& d) { PutWeekdayAnswer<true>(out, d); }

void BaseDateAnswer(std::string& out, const CalDate& d) {
    out = Sentence("基準日は%d年%d月%d日です。"_sj, d.year, d.month, d.day);
}

int AgeAnswer(std::string& out, const CalDate& birth) {
    const int by = birth.year, bm = birth.month, bd = birth.day;
    const std::tm today = Today();
    const int year = today.tm_year + 1900, month = today.tm_mon + 1, day = today.tm_mday;
    // "Now is at or after 00:00 of a day" is "today is that day or later".
    const long long todayKey = year * 10000LL + month * 100 + day;
    // Nobody is born after today: no age to give.
    if (Key(birth) > todayKey) {
        out = DontKnow();
        return 0;
    }

    int years = year - by - 1;
    int months, days;
    if (todayKey >= NormalisedDateKey(year, bm, bd)) {
        years += 1;
        months = month - bm - 1;
    } else {
        months = month - bm + 11;
    }
    // This month's birthday as mktime normalises it (31 June is 1 July).
    if (todayKey >= NormalisedDateKey(year, month, bd)) {
        months += 1;
        days = day - bd;
    } else {
        const int length = month == 1 ? 31 : MonthLength(year, month - 1);
        days = length - bd < 0 ? day : length - bd + day;
    }
    out = Sentence("%d歳%dヶ月%d日です。"_sj, years, months, days);
    return 1;
}

void DayCountAnswer(std::string& out, const CalDate& base, const CalDate& other) {
    const CalDate& earlier = Key(base) < Key(other) ? base : other;
    const CalDate& later = Key(base) < Key(other) ? other : base;

    long long days, rest, months;
    int years, monthsInPart = 0;
    if (earlier.year == later.year) {
        years = 0;
        days = DayOfYear(later) - DayOfYear(earlier);
        months = later.month - earlier.month - 1;
        if (months < 0) months = 0;
        long long between = 0;
        for (int m = earlier.month + 1; m < later.month && m <= 12; ++m) between += MonthLength(earlier.year, m);
        rest = days - between;
    } else {
        years = later.year - earlier.year - 1;
        days = DayNumber(later) - DayNumber(earlier);
        monthsInPart = (12 - earlier.month) + later.month - 1;
        months = monthsInPart + 12LL * years;
        rest = (MonthLength(earlier.year, earlier.month) - earlier.day) + later.day;
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
}

void AnswerEra(std::string& out, const std::string& word) {
    std::string pattern = ToDatePattern(word);
    const EraName* era = TakeEraName(pattern);
    long long year = LastYearNumber(pattern);
    if (year < 0) {
        // No year number (「来年」, 「平成年」) or one too long to read: nothing to convert.
        out = LoadStringId(AnswerBadNumber);
        return;
    }
    std::string name;
    if (era) {
        name = "西暦"_sj;
        year += era->offset;
    } else {
        name = EraOfWesternYear(year);
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%lld", year);
    out = name + buf + "年です。"_sj;
}

int AddDaysAnswer(WorkingDate& date, std::string& out, int n) { return date.MoveDays(n) ? MovedAnswer(date, out) : 0; }

int AddWeeksAnswer(WorkingDate& date, std::string& out, int n) {
    return date.MoveDays(7LL * n) ? MovedAnswer(date, out) : 0;
}

int AddMonthsAnswer(WorkingDate& date, std::string& out, int n) {
    return date.MoveMonths(n) ? MovedAnswer(date, out) : 0;
}

int AddYearsAnswer(WorkingDate& date, std::string& out, int n) {
    return date.MoveYears(n) ? MovedAnswer(date, out) : 0;
}

}  // namespace nelo
