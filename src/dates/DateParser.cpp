#include "dates/DateParser.h"

#include "dates/DatePattern.h"
#include "dates/EverydayPhrases.h"
#include "dates/DateTimeRec.h"
#include "dates/DateWords.h"
#include "res/StringTable.h"
#include "text/Decimal.h"
#include "text/JText.h"
#include "text/Sjis.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

constexpr int kNoYear = -1;

// While a year word (「来年」 ...) parses its phrase for the first time, the date parts the
// phrase leaves out are checked against this year instead of today's.
int g_nYearOverride = kNoYear;

// Which date parts the last pattern took from today's calendar.
DateFill g_lastPatternFill = DateFill::None;

struct OffsetWord {
    const char* word;
    int offset;
};

std::string FormatBound(int hour, int minute) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d/%02d/%02d %02d:%02d", g_dtWork.year, g_dtWork.month, g_dtWork.day, hour, minute);
    return buf;
}

// 「正午」 closes the phrase, as in 「明日正午」.
bool EndsWithNoon(const std::string& phrase) {
    static constexpr std::string_view kNoon = "正午"_sj;
    return phrase.size() >= kNoon.size() && phrase.compare(phrase.size() - kNoon.size(), kNoon.size(), kNoon) == 0;
}

// The last character is "日", "時", "分" or a full-width digit, or the phrase ends in 「正午」
// or in 「時半」.
bool HasDateEnding(const std::string& phrase) {
    if (EndsWithDbcs(phrase, "日"_sj) || EndsWithDbcs(phrase, "時"_sj) || EndsWithDbcs(phrase, "分"_sj)) return true;
    if (EndsWithDbcs(phrase, "午"_sj)) return EndsWithNoon(phrase);
    if (EndsWithDbcs(phrase, "半"_sj))
        return phrase.size() >= 4 && EndsWithDbcs(std::string_view(phrase).substr(0, phrase.size() - 2), "時"_sj);
    if (phrase.size() < 2) return false;
    unsigned code = DbcsCode(phrase.data() + phrase.size() - 2);
    return IsFullDigitCode(code);
}

bool IsAllBlanks(const std::string& text) {
    for (char c : text)
        if (c != ' ') return false;
    return true;
}

bool HasAsciiDigit(const std::string& token) {
    for (char c : token)
        if (c >= '0' && c <= '9') return true;
    return false;
}

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// "12:00" as a rebuilt result text carries it: digits, a colon, digits.
bool IsClockToken(const std::string& token, std::string::size_type& colon) {
    colon = token.find(':');
    return colon != std::string::npos && colon > 0 && IsAsciiDigit(token[0]) && colon + 1 < token.size() &&
           IsAsciiDigit(token[colon + 1]);
}

// One of "/", "／", "．", "ー", "－", "・", "年", "月", "日", "：", ":", "時", "分" at a
// character boundary of the text.
bool HasShapeMark(const std::string& text) {
    static const unsigned kMarks[] = {
        DbcsCode("／"_sj), DbcsCode("．"_sj), DbcsCode("ー"_sj), DbcsCode("－"_sj),
        DbcsCode("・"_sj), DbcsCode("年"_sj), DbcsCode("月"_sj), DbcsCode("日"_sj),
        DbcsCode("："_sj), DbcsCode("時"_sj), DbcsCode("分"_sj),
    };
    const char* s = text.data();
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        if (s[i] == '/' || s[i] == ':') return true;
        if (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < n) {
            const unsigned code = DbcsCode(s + i);
            for (unsigned mark : kMarks)
                if (code == mark) return true;
            i += 2;
        } else {
            ++i;
        }
    }
    return false;
}

// The first word of the list that occurs in text; its index or -1, and its position.
int FindFirstWord(const CWordSearch& text, const char* const* words, int count, std::string::size_type& pos) {
    for (int i = 0; i < count; ++i) {
        pos = text.Find(words[i]);
        if (pos != std::string::npos) return i;
    }
    return -1;
}

// Blanks the keyword at pos, moves the working date by days from today and parses the rest.
int ParseFromToday(std::string& out, std::string& copy, std::string::size_type pos, std::size_t length, int days) {
    BlankOut(copy, pos, length);
    SetToday();
    if (days) AddDays(days);
    return ParseDateRest(out, copy);
}

// 「来年…」: today moved by whole years, then the rest of the phrase in that year.
int ParseWithYearWord(std::string& out, const std::string& copy, int offset) {
    SetToday();
    g_dtWork.year += offset;
    const int year = g_dtWork.year;
    char head[24];
    std::snprintf(head, sizeof head, "%d/", year);

    std::string first;
    g_nYearOverride = year;
    int ok = ParseDateRest(first, copy);
    g_nYearOverride = kNoYear;
    if (!ok) {
        out = first;
        return 0;
    }
    std::string rebuilt = head;
    if (first.size() > 5) rebuilt.append(first, 5, std::string::npos);
    g_dtWork.year = year;
    return ParseDateRest(out, rebuilt);
}

// Working date := today, then the Sunday of the week that the first `length` bytes of
// the phrase name ("来週" ...); the time of day is left as it was.
void MoveToWeekStart(const std::string& phrase, std::string::size_type length) {
    std::string start, end;
    short hour = g_dtWork.hour, minute = g_dtWork.minute, second = g_dtWork.second;
    if (GetPeriodRange(start, end, phrase.substr(0, length))) AddDays(-6);  // Saturday back to Sunday
    g_dtWork.hour = hour;
    g_dtWork.minute = minute;
    g_dtWork.second = second;
}

// 「３日後」, 「２週間後１５時」: today moved, then at most a time of day. -1 when the rest of
// the phrase is no time of day (the phrase is then read as before).
int ParseRelativeDate(std::string& out, const std::string& copy, const RelativeDate& rel) {
    const std::string rest = copy.substr(rel.nLength);
    if (!rest.empty()) {
        if (!HasDateEnding(rest)) return -1;
        const DatePatternFields f = ReadDatePatternFields(ToDatePattern(rest));
        if (f.year >= 0 || f.month >= 0 || f.day >= 0 || f.bEra) return -1;
        if (f.hour < 0 && f.minute < 0 && !f.bNoon) return -1;
    }
    if (!MoveByRelativeDate(rel)) {
        out = BadPeriodText();
        return 0;
    }
    if (!rest.empty()) return ParseDateRest(out, rest);
    g_dtWork.hour = NO_TIME;
    g_dtWork.minute = NO_TIME;
    g_dtWork.second = NO_TIME;
    out = FormatDateResult(g_dtWork);
    return 1;
}

}  // namespace

std::string FormatDateResult(const DateTimeRec& d) {
    std::string text;
    AppendDecimal(text, d.year);
    text.push_back('/');
    AppendDecimal2(text, d.month);
    text.push_back('/');
    AppendDecimal2(text, d.day);
    if (d.hour != NO_TIME) {
        text.push_back(' ');
        AppendDecimal2(text, d.hour);
        text.push_back(':');
        AppendDecimal2(text, d.minute);
    }
    return text;
}

const char* BadPeriodText() { return LoadStringId(IDS_BAD_PERIOD); }

int ParseDatePhrase(std::string& out, const std::string& phrase) {
    DateFill fill;
    return ParseDatePhrase(out, phrase, fill);
}

int ParseDatePhrase(std::string& out, const std::string& phrase, DateFill& fill) {
    fill = DateFill::None;
    EnsureWorkingDate();
    // The working copy keeps its buffer from phrase to phrase (the parser is never
    // entered again while it runs).
    static std::string s_strCopy;
    std::string& copy = s_strCopy;
    copy.assign(phrase);
    NormalizeWeekdayWords(copy);
    RelativeDate rel;
    if (ReadRelativeDate(copy, rel)) {
        const int relative = ParseRelativeDate(out, copy, rel);
        if (relative >= 0) return relative;
    }
    if (!HasDateEnding(copy)) return 0;
    const CWordSearch words(copy);
    std::string::size_type pos;

    // Most phrases are digits and marks: one test settles that no keyword below occurs.
    static const CWordSearch::Chars kKeywordChars = CWordSearch::FirstCharsOf({
        "今日"_sj, "本日"_sj, "明日"_sj, "昨日"_sj,   "一昨日"_sj, "明後日"_sj, "一昨年"_sj, "再来年"_sj,
        "去年"_sj, "昨年"_sj, "今年"_sj, "本年"_sj,   "来年"_sj,   "再来週"_sj, "先々週"_sj, "先週"_sj,
        "今週"_sj, "来週"_sj, "曜日"_sj, "先々月"_sj, "再来月"_sj, "先月"_sj,   "今月"_sj,   "来月"_sj,
    });
    if (words.MayHoldAny(kKeywordChars)) {
        if ((pos = words.Find("今日"_sj)) != std::string::npos || (pos = words.Find("本日"_sj)) != std::string::npos)
            return ParseFromToday(out, copy, pos, 4, 0);
        if ((pos = words.Find("明日"_sj)) != std::string::npos) return ParseFromToday(out, copy, pos, 4, 1);
        if ((pos = words.Find("昨日"_sj)) != std::string::npos) {
            std::string::size_type before = words.Find("一昨日"_sj);
            if (before != std::string::npos) return ParseFromToday(out, copy, before, 6, -2);
            return ParseFromToday(out, copy, pos, 4, -1);
        }
        if ((pos = words.Find("明後日"_sj)) != std::string::npos) return ParseFromToday(out, copy, pos, 6, 2);

        static const OffsetWord kYearWords[] = {
            {"一昨年"_sj, -2}, {"再来年"_sj, 2}, {"去年"_sj, -1}, {"昨年"_sj, -1},
            {"今年"_sj, 0},    {"本年"_sj, 0},   {"来年"_sj, 1},
        };
        for (const OffsetWord& w : kYearWords) {
            pos = words.Find(w.word);
            if (pos == std::string::npos) continue;
            BlankOut(copy, pos, std::strlen(w.word));
            return ParseWithYearWord(out, copy, w.offset);
        }

        static const char* const kWeekWords[] = {"再来週"_sj, "先々週"_sj, "先週"_sj, "今週"_sj, "来週"_sj};
        int found = FindFirstWord(words, kWeekWords, 5, pos);
        if (found >= 0) {
            std::size_t length = std::strlen(kWeekWords[found]);
            MoveToWeekStart(copy, length);
            BlankOut(copy, pos, length);
            if (!words.Has("曜日"_sj)) {
                out = copy;
                return 0;
            }
            int index;
            std::string::size_type at;
            if (!FindWeekday(words, index, at)) return 0;
            BlankOut(copy, at, 6);
            AddDays(index);
            return ParseDateRest(out, copy);
        }

        if (words.Has("曜日"_sj)) {
            int index;
            std::string::size_type at;
            if (!FindWeekday(words, index, at)) return 0;
            // The next such weekday on or after today.
            const std::string week = index < Today().tm_wday ? "来週"_sj : "今週"_sj;
            MoveToWeekStart(week, week.size());
            BlankOut(copy, at, 6);
            AddDays(index);
            return ParseDateRest(out, copy);
        }

        static const char* const kMonthWords[] = {"先々月"_sj, "再来月"_sj, "先月"_sj, "今月"_sj, "来月"_sj};
        found = FindFirstWord(words, kMonthWords, 5, pos);
        if (found >= 0) {
            std::size_t length = std::strlen(kMonthWords[found]);
            std::string start, end;
            GetPeriodRange(start, end, kMonthWords[found]);
            BlankOut(copy, pos, length);
            std::string text = start.substr(0, 8);
            if (copy.size() > length) text.append(copy, length, std::string::npos);
            return ParseDateRest(out, text);
        }
    }

    // A mark of a date's or time's shape: every mark leads to the same test. 「正午」 alone
    // is a time of day as 「１２時」 is.
    if ((HasShapeMark(copy) && HasFullDigit(copy)) || copy == "正午"_sj) {
        const int ok = ParseDateRest(out, copy);
        if (ok) fill = g_lastPatternFill;
        return ok;
    }
    out = copy;
    return 0;
}

int ParseDateRest(std::string& out, const std::string& text) {
    EnsureWorkingDate();
    const std::size_t n = text.size();
    int valid;
    if ((n == 4 || n == 6 || n == 10 || n == 12) && IsAllBlanks(text)) {
        // Only blanked keywords: the keyword stage has set the date already.
        g_dtWork.hour = NO_TIME;
        g_dtWork.minute = NO_TIME;
        g_dtWork.second = NO_TIME;
        valid = 1;
    } else {
        valid = ParseDatePattern(ToDatePattern(text));
    }
    if (!valid) {
        out = BadPeriodText();
        return 0;
    }
    out = FormatDateResult(g_dtWork);
    return 1;
}

DatePatternFields ReadDatePatternFields(const std::string& patternIn) {
    std::string pattern = patternIn;
    std::string::size_type pos;

    enum { kMorning, kAfternoon, kDaytime, kNoon };
    static const OffsetWord kTimeWords[] = {
        {"午後"_sj, kAfternoon}, {"午前"_sj, kMorning}, {"朝"_sj, kMorning}, {"昼"_sj, kDaytime},
        {"夕方"_sj, kAfternoon}, {"夜"_sj, kAfternoon}, {"正午"_sj, kNoon},
    };
    const CWordSearch words(pattern);
    DatePatternFields f;
    bool& afternoon = f.afternoon;
    int &hour = f.hour, &minute = f.minute, &second = f.second;
    static const CWordSearch::Chars kTimeChars =
        CWordSearch::FirstCharsOf({"午後"_sj, "午前"_sj, "朝"_sj, "昼"_sj, "夕方"_sj, "夜"_sj, "正午"_sj});
    for (const OffsetWord& w : kTimeWords) {
        if (!words.MayHoldAny(kTimeChars)) break;
        pos = words.Find(w.word);
        if (pos == std::string::npos) continue;
        BlankOut(pattern, pos, std::strlen(w.word));
        if (w.offset == kAfternoon || w.offset == kDaytime) afternoon = true;
        f.bDaytime = w.offset == kDaytime;
        if (w.offset == kNoon) {
            hour = 12;
            f.bNoon = true;
        }
        break;
    }

    static const OffsetWord kEras[] = {
        {"平成"_sj, 1988}, {"昭和"_sj, 1925}, {"大正"_sj, 1911}, {"明治"_sj, 1867}, {"令和"_sj, 2018},
    };
    static const CWordSearch::Chars kEraChars =
        CWordSearch::FirstCharsOf({"平成"_sj, "昭和"_sj, "大正"_sj, "明治"_sj, "令和"_sj});
    for (const OffsetWord& e : kEras) {
        if (!words.MayHoldAny(kEraChars)) break;
        pos = words.Find(e.word);
        if (pos == std::string::npos) continue;
        BlankOut(pattern, pos, 4);
        // 「元年」 right after the era name is its first year.
        if (pattern.compare(pos + 4, 4, "元年"_sj) == 0) pattern.replace(pos + 4, 4, "1Y/ ");
        f.bEra = true;
        f.nEraOffset = e.offset;
        break;
    }

    int &year = f.year, &month = f.month, &day = f.day;
    int dateCount = 0, colonCount = 0;
    int& tokensRead = f.tokensRead;
    bool separator = false, hourRead = false, monthRead = false;
    bool bHourJustRead = false;  // the last token with a digit was an hour (「１０時」)
    const std::size_t size = pattern.size();
    for (std::size_t i = 0; i < size;) {
        char c = pattern[i];
        if (c == ' ' || c == '/' || c == '.') {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < size && pattern[j] != ' ' && pattern[j] != '/' && pattern[j] != '.') ++j;
        const std::string token = pattern.substr(i, j - i);
        i = j;
        // A token without a digit (a kanji left over from 「今夜」 or 「（水）」) fills nothing,
        // except 半 right after an hour: half past.
        if (!HasAsciiDigit(token)) {
            if (bHourJustRead && minute < 0 && token == "半"_sj) minute = 30;
            bHourJustRead = false;
            continue;
        }
        ++tokensRead;
        bHourJustRead = token.back() == 'H';
        const int number = ReadNumber(token);
        std::string::size_type colon;
        if (IsClockToken(token, colon)) {
            hour = number;
            minute = ReadNumber(token, colon + 1);
            colonCount = 2;
            hourRead = true;
            continue;
        }
        switch (token.back()) {
        case 'Y': year = number; break;
        case 'M':
            month = number;
            monthRead = true;
            break;
        case 'D': day = number; break;
        case 'H':
            hour = number;
            hourRead = true;
            break;
        case 'm': minute = number; break;
        case 's': second = number; break;
        case 't':
            if (colonCount == 0) {
                hour = number;
                colonCount = 1;
                hourRead = true;
            }
            break;
        case 'd':
            // After an hour a separated number is its minute, never a date part.
            if (hourRead) {
                if (minute < 0) minute = number;
                break;
            }
            if (dateCount == 0)
                year = number;
            else if (dateCount == 1)
                month = number;
            if (dateCount < 3) ++dateCount;
            separator = true;
            break;
        default:
            if (hourRead) {
                if (minute < 0) {
                    minute = number;
                    colonCount = 2;
                }
                break;
            }
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
    return f;
}

int ParseDatePattern(const std::string& patternIn) {
    EnsureWorkingDate();
    DatePatternFields f = ReadDatePatternFields(patternIn);
    int year = f.year, month = f.month, day = f.day, hour = f.hour, minute = f.minute, second = f.second;

    // 昼 is daytime: 「昼１時」 is 13:00 but 「昼１２時」 is noon. 「午後１２時」 stays 24:00.
    if (f.afternoon && hour >= 0 && !(f.bDaytime && hour >= 12)) hour += 12;
    if (hour < 0 && minute < 0 && second < 0)
        SetTime(NO_TIME, NO_TIME, NO_TIME);
    else
        SetTime(hour < 0 ? 0 : hour, minute < 0 ? 0 : minute, second < 0 ? 0 : second);

    if (f.bEra) {
        if (year == 0) return 0;
        year += f.nEraOffset;
    }
    const std::tm today = Today();
    const int todayYear = today.tm_year + 1900;
    if (year >= 0 && year < 100) year += (todayYear / 100) * 100;

    const int baseYear = g_nYearOverride != kNoYear ? g_nYearOverride : todayYear;
    // A month or day of 0 counts as given, so that SetDate rejects it.
    const bool hasYear = year >= 0, hasMonth = month >= 0, hasDay = day >= 0;
    g_lastPatternFill = DateFill::None;
    if (!hasYear && !hasMonth && hasDay) {
        g_lastPatternFill = DateFill::YearAndMonth;
        return SetDate(day, today.tm_mon + 1, baseYear);
    }
    if (!hasYear && hasMonth) g_lastPatternFill = DateFill::Year;
    if (!hasYear && hasMonth && hasDay) return SetDate(day, month, baseYear);
    if (hasYear && hasMonth && hasDay) return SetDate(day, month, year);
    if (!hasYear && hasMonth && !hasDay) return SetDate(1, month, baseYear);
    g_lastPatternFill = DateFill::None;
    if (hasYear && !hasMonth && !hasDay) return SetDate(1, 1, year);
    return f.tokensRead > 0 || f.bNoon ? 1 : 0;
}

int GetPeriodRange(std::string& start, std::string& end, const std::string& word) {
    start.clear();
    end.clear();
    SetToday();
    const int w = Today().tm_wday + 1;  // 1 = Sunday

    static const OffsetWord kWeeks[] = {
        {"再来週"_sj, 14}, {"先々週"_sj, -14}, {"今週"_sj, 0}, {"来週"_sj, 7}, {"先週"_sj, -7},
    };
    for (const OffsetWord& k : kWeeks) {
        if (word != k.word) continue;
        AddDays(k.offset - (w - 1));
        start = FormatBound(0, 0);
        AddDays(6);
        end = FormatBound(23, 59);
        return 1;
    }

    static const OffsetWord kMonths[] = {
        {"先々月"_sj, -2}, {"再来月"_sj, 2}, {"今月"_sj, 0}, {"来月"_sj, 1}, {"先月"_sj, -1},
    };
    for (const OffsetWord& k : kMonths) {
        if (word != k.word) continue;
        if (k.offset) AddMonths(k.offset);
        char buf[64];
        std::snprintf(buf, sizeof buf, "%d/%02d/01 00:00", g_dtWork.year, g_dtWork.month);
        start = buf;
        AdjustMonthTable(g_dtWork.year);
        std::snprintf(buf, sizeof buf, "%d/%02d/%02d 23:59", g_dtWork.year, g_dtWork.month,
                      g_monthDays[g_dtWork.month]);
        end = buf;
        return 1;
    }
    return 0;
}
