#include "dates/PhraseLexer.h"

#include "text/JText.h"
#include "text/Sjis.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace nelo {

namespace {

struct Word {
    const char* text;
    PTok kind;
    int value;
};

// The words that may follow a number directly (its unit). 時間 before 時 and 週間 before
// 週: the longer word is tried first within one first byte.
const Word kUnits[] = {
    {"年"_sj, PTok::Year, 0},     {"月"_sj, PTok::Month, 0},    {"日間"_sj, PTok::DayCount, 0},
    {"日"_sj, PTok::Day, 0},      {"分間"_sj, PTok::Minute, 0}, {"時間"_sj, PTok::Hours, 0},
    {"時"_sj, PTok::Hour, 0},     {"分"_sj, PTok::Minute, 0},   {"秒"_sj, PTok::Second, 0},
    {"週間"_sj, PTok::Weeks, 0},  {"週"_sj, PTok::Weeks, 0},    {"ヶ月"_sj, PTok::Months, 0},
    {"ヵ月"_sj, PTok::Months, 0}, {"か月"_sj, PTok::Months, 0}, {"カ月"_sj, PTok::Months, 0},
    {"ケ月"_sj, PTok::Months, 0}, {"箇月"_sj, PTok::Months, 0},
};

// Every other word.
const Word kWords[] = {
    {"今日"_sj, PTok::DayWord, 0},
    {"本日"_sj, PTok::DayWord, 0},
    {"きょう"_sj, PTok::DayWord, 0},
    {"明日"_sj, PTok::DayWord, 1},
    {"あした"_sj, PTok::DayWord, 1},
    {"あす"_sj, PTok::DayWord, 1},
    {"明後日"_sj, PTok::DayWord, 2},
    {"あさって"_sj, PTok::DayWord, 2},
    {"明々後日"_sj, PTok::DayWord, 3},
    {"明明後日"_sj, PTok::DayWord, 3},
    {"しあさって"_sj, PTok::DayWord, 3},
    {"昨日"_sj, PTok::DayWord, -1},
    {"きのう"_sj, PTok::DayWord, -1},
    {"一昨日"_sj, PTok::DayWord, -2},
    {"おととい"_sj, PTok::DayWord, -2},
    {"おとつい"_sj, PTok::DayWord, -2},
    {"翌日"_sj, PTok::Following, 1},
    {"翌々日"_sj, PTok::Following, 2},
    {"今週"_sj, PTok::WeekWord, 0},
    {"来週"_sj, PTok::WeekWord, 1},
    {"再来週"_sj, PTok::WeekWord, 2},
    {"先週"_sj, PTok::WeekWord, -1},
    {"先々週"_sj, PTok::WeekWord, -2},
    {"今月"_sj, PTok::MonthWord, 0},
    {"来月"_sj, PTok::MonthWord, 1},
    {"再来月"_sj, PTok::MonthWord, 2},
    {"先月"_sj, PTok::MonthWord, -1},
    {"先々月"_sj, PTok::MonthWord, -2},
    {"今年"_sj, PTok::YearWord, 0},
    {"本年"_sj, PTok::YearWord, 0},
    {"来年"_sj, PTok::YearWord, 1},
    {"再来年"_sj, PTok::YearWord, 2},
    {"去年"_sj, PTok::YearWord, -1},
    {"昨年"_sj, PTok::YearWord, -1},
    {"一昨年"_sj, PTok::YearWord, -2},
    {"平成"_sj, PTok::Era, 1988},
    {"昭和"_sj, PTok::Era, 1925},
    {"大正"_sj, PTok::Era, 1911},
    {"明治"_sj, PTok::Era, 1867},
    {"令和"_sj, PTok::Era, 2018},
    {"元年"_sj, PTok::FirstYear, 1},
    {"日曜日"_sj, PTok::Weekday, 0},
    {"月曜日"_sj, PTok::Weekday, 1},
    {"火曜日"_sj, PTok::Weekday, 2},
    {"水曜日"_sj, PTok::Weekday, 3},
    {"木曜日"_sj, PTok::Weekday, 4},
    {"金曜日"_sj, PTok::Weekday, 5},
    {"土曜日"_sj, PTok::Weekday, 6},
    {"日曜"_sj, PTok::Weekday, 0},
    {"月曜"_sj, PTok::Weekday, 1},
    {"火曜"_sj, PTok::Weekday, 2},
    {"水曜"_sj, PTok::Weekday, 3},
    {"木曜"_sj, PTok::Weekday, 4},
    {"金曜"_sj, PTok::Weekday, 5},
    {"土曜"_sj, PTok::Weekday, 6},
    {"午前"_sj, PTok::TimeWord, Morning},
    {"朝"_sj, PTok::TimeWord, Morning},
    {"午後"_sj, PTok::TimeWord, Afternoon},
    {"夕方"_sj, PTok::TimeWord, Afternoon},
    {"夜"_sj, PTok::TimeWord, Afternoon},
    {"昼"_sj, PTok::TimeWord, Daytime},
    {"正午"_sj, PTok::Noon, 12},
    {"今夜"_sj, PTok::Tonight, 0},
    {"今晩"_sj, PTok::Tonight, 0},
    {"週末"_sj, PTok::WeekEnd, 0},
    {"月末"_sj, PTok::MonthEnd, 0},
    {"末"_sj, PTok::End, 0},
    {"後"_sj, PTok::After, 0},
    {"前"_sj, PTok::Before, 0},
    {"の"_sj, PTok::Of, 0},
    {"次の"_sj, PTok::Next, 0},
    {"今度の"_sj, PTok::Next, 0},
    {"第"_sj, PTok::Ordinal, 0},
    {"ごろ"_sj, PTok::About, 0},
    {"頃"_sj, PTok::About, 0},
    {"から"_sj, PTok::From, 0},
    {"まで"_sj, PTok::Until, 0},
    {"毎日"_sj, PTok::Every, 0},
    {"毎週"_sj, PTok::Every, 0},
    {"毎月"_sj, PTok::Every, 0},
    {"毎年"_sj, PTok::Every, 0},
    {"毎朝"_sj, PTok::Every, 0},
    {"毎晩"_sj, PTok::Every, 0},
    {"毎夜"_sj, PTok::Every, 0},
    {"隔週"_sj, PTok::Every, 0},
    {"隔日"_sj, PTok::Every, 0},
    {"隔月"_sj, PTok::Every, 0},
    {"平日"_sj, PTok::Every, 0},
    {"半年"_sj, PTok::HalfYear, 0},
    {"元日"_sj, PTok::NamedDay, 101},
    {"元旦"_sj, PTok::NamedDay, 101},
    {"大晦日"_sj, PTok::NamedDay, 1231},
    {"年末"_sj, PTok::Vague, 0},
    {"年始"_sj, PTok::Vague, 0},
    {"年明け"_sj, PTok::Vague, 0},
    {"上旬"_sj, PTok::Vague, 0},
    {"中旬"_sj, PTok::Vague, 0},
    {"下旬"_sj, PTok::Vague, 0},
    {"月初め"_sj, PTok::Vague, 0},
    {"月初"_sj, PTok::Vague, 0},
    {"近日"_sj, PTok::Vague, 0},
    {"後日"_sj, PTok::Vague, 0},
    {"／"_sj, PTok::DateMark, 0},
    {"．"_sj, PTok::DateMark, 0},
    {"・"_sj, PTok::DateMark, 0},
    {"ー"_sj, PTok::DateMark, 0},
    {"/", PTok::DateMark, 0},
    {".", PTok::DateMark, 0},
    {"－"_sj, PTok::Minus, 0},
    {"\x81\x5D", PTok::Minus, 0},  // ‐
    {"-", PTok::Minus, 0},
    {"："_sj, PTok::Colon, 0},
    {":", PTok::Colon, 0},
    {"\x81\x60", PTok::Wave, 0},  // ～ and 〜
    {"\x81\x50", PTok::Wave, 0},  // ￣, what "~" becomes in full width
    {"~", PTok::Wave, 0},
    {"（"_sj, PTok::Open, 0},
    {"("_sj, PTok::Open, 0},
    {"）"_sj, PTok::Close, 0},
    {")"_sj, PTok::Close, 0},
};

// The words of a table by their first byte, longest first: a phrase byte finds its
// few candidates at once, with their lengths counted once.
struct WordIndex {
    struct Entry {
        const Word* word;
        std::string_view text;
    };
    std::array<std::vector<Entry>, 256> byFirst;
    template <std::size_t N>
    explicit WordIndex(const Word (&words)[N]) {
        for (const Word& w : words) byFirst[static_cast<unsigned char>(w.text[0])].push_back({&w, w.text});
        // Longer words first; words of one length keep the table's order.
        for (auto& list : byFirst)
            std::sort(list.begin(), list.end(), [](const Entry& a, const Entry& b) {
                return a.text.size() != b.text.size() ? a.text.size() > b.text.size() : a.word < b.word;
            });
    }
    const Word* Match(std::string_view s, std::size_t i) const {
        const std::string_view rest = s.substr(i);
        for (const Entry& e : byFirst[static_cast<unsigned char>(s[i])]) {
            // Most candidates differ in their second byte: no call to compare them.
            if (rest.size() < e.text.size() || (e.text.size() > 1 && rest[1] != e.text[1])) continue;
            if (rest.compare(0, e.text.size(), e.text) == 0) return e.word;
        }
        return nullptr;
    }
};

const WordIndex& Units() {
    static const WordIndex kIndex(kUnits);
    return kIndex;
}

const WordIndex& Words() {
    static const WordIndex kIndex(kWords);
    return kIndex;
}

constexpr int kSaturate = 999999999;

int AddDigit(int value, int digit) {
    const long long v = value * 10LL + digit;
    return v > kSaturate ? kSaturate : static_cast<int>(v);
}

// The digit (0-9) of a kanji numeral, 10, 100 or 1000 for 十 百 千, or -1.
int KanjiNumeral(std::string_view s, std::size_t i) {
    static const char* const kDigits[] = {"〇"_sj, "一"_sj, "二"_sj, "三"_sj, "四"_sj,
                                          "五"_sj, "六"_sj, "七"_sj, "八"_sj, "九"_sj};
    if (s.size() - i < 2) return -1;
    for (int d = 0; d < 10; ++d)
        if (s.compare(i, 2, kDigits[d]) == 0) return d;
    if (s.compare(i, 2, "十"_sj) == 0) return 10;
    if (s.compare(i, 2, "百"_sj) == 0) return 100;
    if (s.compare(i, 2, "千"_sj) == 0) return 1000;
    return -1;
}

// A run of kanji numerals from i: 二〇二四 digit by digit, 二十五 and 百二十 by their
// tens and hundreds. Returns the bytes read (0 when none).
std::size_t ReadKanjiNumber(std::string_view s, std::size_t i, int& value) {
    std::size_t j = i;
    bool places = false;
    while (j < s.size()) {
        const int k = KanjiNumeral(s, j);
        if (k < 0) break;
        places |= k >= 10;
        j += 2;
    }
    if (j == i) return 0;
    long long total = 0, digits = 0, pending = -1;
    for (std::size_t p = i; p < j; p += 2) {
        const int k = KanjiNumeral(s, p);
        if (!places) {
            digits = digits * 10 + k;
            if (digits > kSaturate) digits = kSaturate;
        } else if (k >= 10) {
            total += (pending < 0 ? 1 : pending) * k;
            pending = -1;
        } else {
            pending = pending < 0 ? k : pending * 10 + k;
        }
    }
    if (places) total += pending < 0 ? 0 : pending;
    value = static_cast<int>(places ? (total > kSaturate ? kSaturate : total) : digits);
    return j - i;
}

bool IsWeekdayCharAt(std::string_view s, std::size_t i, int& weekday) {
    static const char* const kChars[] = {"日"_sj, "月"_sj, "火"_sj, "水"_sj, "木"_sj, "金"_sj, "土"_sj};
    if (s.size() - i < 2) return false;
    for (int d = 0; d < 7; ++d)
        if (s.compare(i, 2, kChars[d]) == 0) {
            weekday = d;
            return true;
        }
    return false;
}

// True when 「曜」 follows the character at i: 「月曜」 names a weekday, not a month.
bool WeekdayMarkFollows(std::string_view s, std::size_t i) {
    return s.size() - i >= 4 && s.compare(i + 2, 2, "曜"_sj) == 0;
}

// The unit word at i right after a number (「年」, 「時間」), unless it starts a
// weekday's name (「月曜」 and 「日曜」 name weekdays even after a number).
const Word* UnitAfterNumber(std::string_view s, std::size_t i) {
    const Word* w = Units().Match(s, i);
    if (w && (w->kind == PTok::Month || w->kind == PTok::Day) && WeekdayMarkFollows(s, i)) return nullptr;
    return w;
}

// Makes t the word w found at i; returns the position after it.
std::size_t TakeWord(const Word& w, std::size_t i, PhraseToken& t) {
    t.kind = w.kind;
    t.value = w.value;
    return i + std::strlen(w.text);
}

// Reads the ASCII digits from i into value; returns the position after them.
std::size_t ReadAsciiDigits(std::string_view s, std::size_t i, int& value) {
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') value = AddDigit(value, s[i++] - '0');
    return i;
}

// Reads the full-width digits from i into value; returns the position after them.
std::size_t ReadFullDigits(std::string_view s, std::size_t i, int& value) {
    while (i + 1 < s.size() && IsFullDigitCode(DbcsCode(s.data() + i))) {
        value = AddDigit(value, static_cast<int>(DbcsCode(s.data() + i) - 0x824F));
        i += 2;
    }
    return i;
}

// Reads the token at i of s, which follows a token of kind prev, into t (a number unless
// it says otherwise); returns the position after it, or i when no token starts there.
std::size_t LexToken(std::string_view s, std::size_t i, PTok prev, PhraseToken& t) {
    const Word* unit = prev == PTok::Number ? UnitAfterNumber(s, i) : nullptr;
    if (unit) return TakeWord(*unit, i, t);
    if ((prev == PTok::Hour || prev == PTok::Hours) && s.compare(i, 2, "半"_sj) == 0) {
        t.kind = PTok::Half;
        return i + 2;
    }
    if (s[i] >= '0' && s[i] <= '9') return ReadAsciiDigits(s, i, t.value);
    const bool isDbcs = DbcsAt(s, i);
    if (isDbcs && IsFullDigitCode(DbcsCode(s.data() + i))) return ReadFullDigits(s, i, t.value);
    int weekday = 0;
    if (prev == PTok::Open && isDbcs && IsWeekdayCharAt(s, i, weekday) && !WeekdayMarkFollows(s, i)) {
        t.kind = PTok::WeekdayChar;
        t.value = weekday;
        return i + 2;
    }
    if (const Word* w = Words().Match(s, i)) return TakeWord(*w, i, t);
    if (isDbcs) return i + ReadKanjiNumber(s, i, t.value);
    return i;
}

}  // namespace

bool LexPhrase(std::string_view s, PhraseTokens& out) {
    out.n = 0;
    if (s.size() > 0xFFFF) return false;
    std::size_t i = 0;
    while (i < s.size()) {
        if (out.n == PhraseTokens::kMaxTokens) return false;
        const PTok prev = out.n ? out.tok[out.n - 1].kind : PTok::Of;
        PhraseToken t{PTok::Number, 0, static_cast<std::uint16_t>(i), 0};
        const std::size_t next = LexToken(s, i, prev, t);
        if (next == i) return false;
        t.end = static_cast<std::uint16_t>(next);
        out.tok[out.n++] = t;
        i = next;
    }
    return true;
}

}  // namespace nelo
