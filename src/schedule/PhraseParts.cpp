#include "schedule/PhraseParts.h"

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

bool HasAsciiDigit(const std::string& token) {
    for (char c : token)
        if (c >= '0' && c <= '9') return true;
    return false;
}

// The token stage: year, month and day as the tokens of the pattern give them (-1 absent).
void ReadPatternParts(std::string pattern, int& year, int& month, int& day, bool& bEra) {
    static const char* const kTimeWords[] = {"午後"_sj, "午前"_sj, "朝"_sj, "昼"_sj, "夕方"_sj, "夜"_sj, "正午"_sj};
    for (const char* w : kTimeWords) {
        std::string::size_type pos = FindWordAt(pattern, w);
        if (pos == std::string::npos) continue;
        pattern.replace(pos, std::strlen(w), std::strlen(w), ' ');
        break;
    }
    static const char* const kEras[] = {"平成"_sj, "昭和"_sj, "大正"_sj, "明治"_sj, "令和"_sj};
    bEra = HasAnyWord(pattern, kEras, sizeof kEras / sizeof kEras[0]);

    year = month = day = -1;
    int dateCount = 0, colonCount = 0;
    bool separator = false, hourRead = false, monthRead = false;
    for (std::size_t i = 0; i < pattern.size();) {
        char c = pattern[i];
        if (c == ' ' || c == '/' || c == '.') {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < pattern.size() && pattern[j] != ' ' && pattern[j] != '/' && pattern[j] != '.') ++j;
        const std::string token = pattern.substr(i, j - i);
        i = j;
        if (!HasAsciiDigit(token)) continue;
        const int number = LeadingNumber(token);
        if (token.find(':') != std::string::npos) {
            hourRead = true;
            colonCount = 2;
            continue;
        }
        switch (token.back()) {
        case 'Y': year = number; break;
        case 'M':
            month = number;
            monthRead = true;
            break;
        case 'D': day = number; break;
        case 'H': hourRead = true; break;
        case 'm':
        case 's': break;
        case 't':
            if (colonCount == 0) {
                colonCount = 1;
                hourRead = true;
            }
            break;
        case 'd':
            if (hourRead) break;
            if (dateCount == 0)
                year = number;
            else if (dateCount == 1)
                month = number;
            if (dateCount < 3) ++dateCount;
            separator = true;
            break;
        default:
            if (hourRead) break;
            if (monthRead && day < 0) {
                day = number;
                break;
            }
            if (dateCount == 0) {
                year = number;
            } else if (dateCount == 1) {
                if (!separator) {
                    month = number;
                } else {
                    month = year;
                    year = -1;
                    day = number;
                }
            } else if (dateCount == 2) {
                day = number;
            } else {
                break;
            }
            ++dateCount;
            break;
        }
    }
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

    // Words that name a whole date: a day relative to today, a weekday, a month.
    static const char* const kWholeDate[] = {
        "今日"_sj, "本日"_sj, "明日"_sj, "昨日"_sj, "明後日"_sj, "曜日"_sj, "再来週"_sj, "先々週"_sj,
        "先週"_sj, "今週"_sj, "来週"_sj, "先々月"_sj, "再来月"_sj, "先月"_sj, "今月"_sj, "来月"_sj,
    };
    static const char* const kYearWords[] = {"一昨年"_sj, "再来年"_sj, "去年"_sj, "昨年"_sj,
                                             "今年"_sj,   "本年"_sj,   "来年"_sj};
    std::string copy = phrase;
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

    int year, month, day;
    bool bEra;
    ReadPatternParts(ToDatePattern(copy), year, month, day, bEra);
    parts.bYear = bYearWord || bEra || year >= 0;
    parts.bMonth = month >= 1;
    parts.bDay = day >= 1;
    if (parts.bMonth) parts.nMonth = month;
    if (parts.bDay) parts.nDay = day;
    return parts;
}
