// The words of a date phrase: 「来月の第２金曜１０時」 is 来月, の, 第, ２, 金曜, １０, 時. A
// phrase with a character that is none of these words is no date phrase at all.
#pragma once

#include <cstdint>
#include <string_view>

namespace nelo {

enum class PTok : std::uint8_t {
    Number,       ///< digits (full width, ASCII) or kanji numerals (三, 十五, 二〇二四)
    Year,         ///< 年 after a number
    Month,        ///< 月 after a number
    Day,          ///< 日 after a number
    Hour,         ///< 時 after a number
    Minute,       ///< 分 after a number
    Second,       ///< 秒 after a number
    Half,         ///< 半 after 時 or 時間
    Weeks,        ///< 週間, 週 after a number
    Months,       ///< ヶ月 (ヵ月, か月, カ月, ケ月, 箇月) after a number
    Hours,        ///< 時間 after a number
    DayCount,     ///< 日間 after a number (「３日間」)
    After,        ///< 後
    Before,       ///< 前
    DateMark,     ///< ／ ． ・ ー (/ .)
    Minus,        ///< － ‐ (-): a date mark, or a range mark between two times of day
    Colon,        ///< ： (:)
    Wave,         ///< ～ 〜 ￣ (~)
    From,         ///< から
    Until,        ///< まで
    DayWord,      ///< value: days from today (今日 0, 明日 1, 明後日 2, 昨日 -1, 一昨日 -2)
    Following,    ///< value: days after the line's previous date (翌日 1, 翌々日 2)
    WeekWord,     ///< value: weeks from this one (今週 0, 来週 1, 再来週 2, 先週 -1, 先々週 -2)
    MonthWord,    ///< value: months from this one
    YearWord,     ///< value: years from this one
    Era,          ///< value: added to the era year (平成 1988 ...)
    FirstYear,    ///< 元年
    Weekday,      ///< value 0-6: 日曜日, 日曜 ... 土曜
    WeekdayChar,  ///< value 0-6: 日 月 火 水 木 金 土 alone, after an opening parenthesis
    TimeWord,     ///< value: Morning, Afternoon or Daytime
    Noon,         ///< 正午
    Tonight,      ///< 今夜, 今晩: today, in the evening
    End,          ///< 末
    WeekEnd,      ///< 週末
    MonthEnd,     ///< 月末
    Of,           ///< の
    Next,         ///< 次の, 今度の
    Ordinal,      ///< 第
    About,        ///< ごろ, 頃
    Every,        ///< 毎日, 毎週, 毎月, 毎年, 毎朝, 毎晩, 毎夜, 隔週, 隔日, 隔月, 平日
    HalfYear,     ///< 半年
    NamedDay,     ///< value month × 100 + day: 元日, 元旦 (1/1), 大晦日 (12/31)
    Vague,        ///< 年末, 年始, 年明け, 上旬, 中旬, 下旬, 月初め, 近日, 後日: no single day
    Open,         ///< （ (
    Close,        ///< ） )
};

/// The values of PTok::TimeWord.
enum : int { Morning = 0, Afternoon = 1, Daytime = 2 };

struct PhraseToken {
    PTok kind;
    int value;            ///< see PTok; a number saturates at 999,999,999
    std::uint16_t begin;  ///< byte offsets of the word in the phrase
    std::uint16_t end;
};

/// The words of one phrase, at most kMaxTokens of them (no date needs more).
struct PhraseTokens {
    static constexpr int kMaxTokens = 40;
    PhraseToken tok[kMaxTokens];
    int n = 0;
};

/// Splits a phrase (code page 932, no blanks) into its words; false when a character
/// belongs to none, or when there are more words than a date has.
bool LexPhrase(std::string_view phrase, PhraseTokens& out);

}  // namespace nelo
