// The grammar of a date phrase: its words become the parts that name a day (an anchor
// such as 今日 or 来週, a count from today, a weekday, the n-th weekday of a month, the
// end of a week or month, a date as written) and a time of day, before anything is
// looked up on a calendar. A phrase whose words fit no form is refused here, with the
// reason, when it is plainly meant as a date; otherwise it is no date at all.
#pragma once

#include "dates/PhraseLexer.h"

#include <cstdint>

namespace nelo {

enum class PhraseStatus : std::uint8_t {
    NotADate,  ///< the phrase is something else (another interpreter's line)
    Date,      ///< the parts below hold what it names
    Refused,   ///< meant as a date, but not read: see PhraseRefusal
};

enum class PhraseRefusal : std::uint8_t {
    None,
    Repeating,       ///< 毎週月曜, 毎日: no single date
    WhichWeekday,    ///< 来月の金曜: a month and a weekday, but which one
    WhichMonth,      ///< 第２金曜: the n-th weekday of no month
    NoTimeOfDay,     ///< 明日の朝, 今夜: a part of the day without its hour
    NoStart,         ///< 金曜まで, ～１２時: the end of a range without its start
    Unread,          ///< date words in an order no form has (明日の３日後, 来週５日)
    Vague,           ///< 年末, 上旬: a part of a year or month, no single day
    WeekdayDiffers,  ///< 12/3（木） when 12/3 is another weekday (found when resolved)
    EndBeforeStart,  ///< a range whose end lies before its start (found by the caller)
};

enum class DayForm : std::uint8_t {
    None,       ///< no day is named: a time of day alone, or a time counted from now
    FromToday,  ///< 今日, 明日, 昨日 ...: count days from today
    Following,  ///< 翌日: count days after the line's previous date (else after today)
    Offset,     ///< Ｎ日後, Ｎ週間前, Ｎヶ月後, Ｎ年後, 半年後: count units from today
    Week,       ///< 来週 alone: the week count weeks from this one (a period)
    WeekDay,    ///< 来週の金曜, 来週末: weekday of the week count weeks from this one
    Weekday,    ///< 金曜: the first such day on or after today; 次の金曜: after today
    Calendar,   ///< a year, month and day as written or named (the fields below)
    Duration,   ///< 「３日間」, 「２時間」 after a range mark: count days, or minutes
};

enum class OffsetUnit : std::uint8_t { Days, Weeks, Months, Years };

enum class PartSource : std::uint8_t {
    None,    ///< not given
    Word,    ///< a word counted from today (来年, 来月): year / month is the count
    Number,  ///< written as a number
    Era,     ///< an era year: year is the era year, era its offset
};

enum class DayPart : std::uint8_t {
    None,     ///< no day: the phrase names a month or a year
    Number,   ///< the day of the month as written
    Bare,     ///< digits alone (「１５」), read as a day only where a day is expected
    Ordinal,  ///< 第Ｎ曜日: dayNumber is N, weekday the weekday
    Last,     ///< 末: the month's last day
};

struct PhraseForm {
    PhraseStatus status = PhraseStatus::NotADate;
    PhraseRefusal refusal = PhraseRefusal::None;

    DayForm day = DayForm::None;
    long long count = 0;  ///< FromToday, Following, Offset (signed), Week, WeekDay
    OffsetUnit unit = OffsetUnit::Days;
    int weekday = -1;     ///< the weekday asked for (WeekDay, Weekday, Offset の金曜, Ordinal)
    bool strict = false;  ///< 次の金曜: after the day counted from, never on it

    PartSource yearSource = PartSource::None;
    int year = 0;
    int era = 0;
    PartSource monthSource = PartSource::None;
    int month = 0;
    DayPart dayPart = DayPart::None;
    int dayNumber = 0;
    int annotatedWeekday = -1;  ///< 「（水）」 after a date: the weekday it must have
    bool namedDay = false;      ///< the day was named (元日, 大晦日): after a date, a label

    bool hasTime = false;  ///< a time of day was given
    int hour = 0, minute = 0;
    int timeWord = -1;           ///< Morning, Afternoon, Daytime, or -1
    bool hasTimeOffset = false;  ///< Ｎ時間後, Ｎ分前: minutes from now
    long long minutes = 0;
};

/// A word of a schedule line or a question: one phrase, or two around a range mark
/// (～, から, まで, or － between two times of day).
struct RangeForm {
    PhraseForm start;
    PhraseForm end;
    bool isRange = false;  ///< the word held a range mark
    bool isOpen = false;   ///< it ended in the mark (「１０時から」): a start without an end
    /// Byte ranges of the two phrases in the word, for answers that quote them.
    std::uint16_t startEnd = 0, endBegin = 0;
};

/// Parses the tokens [from, to) of a phrase. bareIsDay: digits alone are a day of the
/// month (an end such as 「１５」), else they are no date.
PhraseForm ParsePhraseTokens(const PhraseTokens& tokens, int from, int to, bool bareIsDay);

/// Lexes and parses a word that may hold a range.
RangeForm ParseRangeWord(std::string_view word, bool bareIsDay);

}  // namespace nelo
