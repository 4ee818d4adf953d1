#include "dates/EverydayPhrases.h"

#include "dates/DateTimeRec.h"
#include "dates/DateWords.h"
#include "text/JText.h"
#include "text/Sjis.h"

#include <cstring>

namespace {

// Beyond these a move leaves the years 1-9999 from any today; refusing them early keeps
// the day walk of AddDays short.
constexpr long long kMaxDays = 3700000;
constexpr long long kMaxMonths = 12 * 10000;
constexpr long long kMaxYears = 10000;

bool StartsWithAt(const std::string& text, std::size_t pos, const char* word) {
    return text.compare(pos, std::strlen(word), word) == 0;
}

bool IsWeekdayChar(const std::string& text, std::size_t pos) {
    static const char* const kDays[] = {"日"_sj, "月"_sj, "火"_sj, "水"_sj, "木"_sj, "金"_sj, "土"_sj};
    for (const char* d : kDays)
        if (StartsWithAt(text, pos, d)) return true;
    return false;
}

}  // namespace

bool ReadRelativeDate(const std::string& phrase, RelativeDate& rel) {
    std::size_t i = 0;
    long long count = 0;
    while (i + 1 < phrase.size() && IsLeadByte(static_cast<unsigned char>(phrase[i])) &&
           IsFullDigitCode(DbcsCode(phrase.data() + i))) {
        count = count * 10 + (DbcsCode(phrase.data() + i) - 0x824F);
        if (count > 999999999) count = 999999999;
        i += 2;
    }
    if (i == 0) return false;

    static const struct {
        const char* word;
        RelativeDate::Unit unit;
    } kUnits[] = {
        {"日"_sj, RelativeDate::Days},     {"週間"_sj, RelativeDate::Weeks},  {"週"_sj, RelativeDate::Weeks},
        {"ヶ月"_sj, RelativeDate::Months}, {"ヵ月"_sj, RelativeDate::Months}, {"か月"_sj, RelativeDate::Months},
        {"カ月"_sj, RelativeDate::Months}, {"ケ月"_sj, RelativeDate::Months}, {"年"_sj, RelativeDate::Years},
    };
    for (const auto& u : kUnits) {
        if (!StartsWithAt(phrase, i, u.word)) continue;
        const std::size_t at = i + std::strlen(u.word);
        const bool bAfter = StartsWithAt(phrase, at, "後"_sj);
        if (!bAfter && !StartsWithAt(phrase, at, "前"_sj)) return false;
        rel.nCount = static_cast<int>(count);
        rel.unit = u.unit;
        rel.bBefore = !bAfter;
        rel.nLength = at + 2;
        return true;
    }
    return false;
}

bool MoveByRelativeDate(const RelativeDate& rel) {
    SetToday();
    const long long n = rel.bBefore ? -static_cast<long long>(rel.nCount) : rel.nCount;
    switch (rel.unit) {
    case RelativeDate::Days:
    case RelativeDate::Weeks: {
        const long long days = rel.unit == RelativeDate::Weeks ? 7 * n : n;
        if (days > kMaxDays || days < -kMaxDays) return false;
        AddDays(static_cast<int>(days));
        break;
    }
    case RelativeDate::Months:
        if (n > kMaxMonths || n < -kMaxMonths) return false;
        AddMonths(static_cast<int>(n));
        break;
    case RelativeDate::Years:
        if (n > kMaxYears || n < -kMaxYears) return false;
        g_dtWork.year += static_cast<int>(n);
        // 29 February of a common year becomes the 28th.
        Recompute();
        break;
    }
    if (IsYearInRange(g_dtWork.year)) return true;
    SetToday();
    return false;
}

void NormalizeWeekdayWords(std::string& phrase) {
    static const char* const kYou = "曜"_sj;
    if (FindWord(phrase, kYou) == std::string::npos) return;
    std::string out;
    out.reserve(phrase.size() + 4);
    bool bWeekdayBefore = false;  // the character just copied names a weekday
    bool bWeekBefore = false;     // the character just copied is 週
    for (std::size_t i = 0; i < phrase.size();) {
        const bool dbcs = IsLeadByte(static_cast<unsigned char>(phrase[i])) && i + 1 < phrase.size();
        if (!dbcs) {
            out.push_back(phrase[i++]);
            bWeekdayBefore = bWeekBefore = false;
            continue;
        }
        // 「週の金曜」: the の goes when a weekday follows it.
        if (bWeekBefore && StartsWithAt(phrase, i, "の"_sj) && IsWeekdayChar(phrase, i + 2) &&
            StartsWithAt(phrase, i + 4, kYou)) {
            i += 2;
            continue;
        }
        out.append(phrase, i, 2);
        // 「金曜」 not followed by 日 is 「金曜日」.
        if (bWeekdayBefore && StartsWithAt(phrase, i, kYou) && !StartsWithAt(phrase, i + 2, "日"_sj)) out += "日"_sj;
        bWeekdayBefore = IsWeekdayChar(phrase, i);
        bWeekBefore = StartsWithAt(phrase, i, "週"_sj);
        i += 2;
    }
    phrase.swap(out);
}
