#include "schedule/PhraseParts.h"

#include "dates/DateParser.h"
#include "dates/DatePattern.h"
#include "dates/EverydayPhrases.h"

#include "text/JText.h"
#include "text/Sjis.h"

#include <cstring>

namespace {

// Position of a word at a character boundary of text; npos when absent.
std::string::size_type FindWordAt(const std::string& text, const char* word) {
    const std::size_t n = std::strlen(word);
    for (std::size_t i = 0; i + n <= text.size();) {
        if (text.compare(i, n, word) == 0) return i;
        i += IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
    return std::string::npos;
}

bool HasAnyWord(const std::string& text, const char* const* words, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (FindWordAt(text, words[i]) != std::string::npos) return true;
    return false;
}

// Leading ASCII digits as a number that stops growing far above any date.
int LeadingNumber(const std::string& token, std::size_t from = 0) {
    int value = 0;
    for (std::size_t i = from; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i)
        value = value > 100000 ? value : value * 10 + (token[i] - '0');
    return value;
}

}  // namespace

PhraseParts AnalyzePhraseParts(const std::string& phrase) {
    PhraseParts parts;
    if (!phrase.empty() && IsDigitText(phrase)) {
        parts.bDigitsOnly = true;
        parts.bDay = true;
        parts.nDay = LeadingNumber(ToAsciiForm(phrase));
        return parts;
    }

    // A count of days, weeks, months or years from today names the whole date.
    RelativeDate rel;
    if (ReadRelativeDate(phrase, rel)) {
        parts.bYear = parts.bMonth = parts.bDay = true;
        return parts;
    }

    // Words that name a whole date: a day relative to today, a weekday, a month.
    static const char* const kWholeDate[] = {
        "今日"_sj, "本日"_sj, "明日"_sj, "昨日"_sj,   "明後日"_sj, "曜日"_sj, "再来週"_sj, "先々週"_sj,
        "先週"_sj, "今週"_sj, "来週"_sj, "先々月"_sj, "再来月"_sj, "先月"_sj, "今月"_sj,   "来月"_sj,
    };
    static const char* const kYearWords[] = {"一昨年"_sj, "再来年"_sj, "去年"_sj, "昨年"_sj,
                                             "今年"_sj,   "本年"_sj,   "来年"_sj};
    std::string copy = phrase;
    NormalizeWeekdayWords(copy);  // 「金曜」 is 「金曜日」
    bool bYearWord = false;
    for (const char* w : kYearWords) {
        std::string::size_type pos = FindWordAt(copy, w);
        if (pos == std::string::npos) continue;
        // A day word found earlier by the parser outranks the year word.
        if (HasAnyWord(copy, kWholeDate, 5)) break;
        copy.replace(pos, std::strlen(w), std::strlen(w), ' ');
        bYearWord = true;
        break;
    }
    if (!bYearWord && HasAnyWord(copy, kWholeDate, sizeof kWholeDate / sizeof kWholeDate[0])) {
        parts.bYear = parts.bMonth = parts.bDay = true;
        return parts;
    }

    // The token stage of the phrase parser tells which parts the phrase writes out.
    const DatePatternFields f = ReadDatePatternFields(ToDatePattern(copy));
    parts.bYear = bYearWord || f.bEra || f.year >= 0;
    parts.bMonth = f.month >= 1;
    parts.bDay = f.day >= 1;
    if (parts.bMonth) parts.nMonth = f.month;
    if (parts.bDay) parts.nDay = f.day;
    return parts;
}
