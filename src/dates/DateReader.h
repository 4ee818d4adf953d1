// Reading a date phrase against the clock: 「来月の第２金曜」 on 2024-02-25 is 2024-03-08.
// What a phrase names is settled by its grammar (PhraseGrammar.h); this resolves the
// parts on the calendar (weeks run Sunday to Saturday) and says what came of it: a day
// (with or without a time of day), a week, month or year, an impossible date, a refusal
// with its reason, or no date at all.
#pragma once

#include "dates/Calendar.h"
#include "dates/PhraseGrammar.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace nelo {

/// What a phrase is read against.
struct PhraseContext {
    CalDate today;
    int nowMinutes = 0;        ///< minutes since today's midnight (Ｎ時間後, Ｎ分後)
    CalDate timeDay;           ///< the day a time of day alone falls on
    bool hasPrevious = false;  ///< the line named a date before this phrase
    CalDate previous;          ///< that date (翌日; and an end's weekday, day or month and day)
    bool hasAhead = false;     ///< a date without its year is the first such date on or after `ahead`
    CalDate ahead;             ///< (else a year left out is today's, a month left out today's)
    bool hasEnd = false;       ///< the phrase ends a range: weekdays and days count from `previous`
    int previousMinutes = -1;  ///< the previous date's time of day (a length in hours ends there)

    /// Today and now from the program's clock; a time alone falls on today; a year left
    /// out is this year's.
    static PhraseContext Now();
};

enum class ReadOutcome : std::uint8_t {
    NotADate,    ///< the phrase is something else
    Read,        ///< see the fields
    Impossible,  ///< a date's shape but no such date (２／３０, 第５金曜 of a month with four)
    Refused,     ///< see refusal
};

enum class ReadPrecision : std::uint8_t { Day, Week, Month, Year };

struct DateReading {
    ReadOutcome outcome = ReadOutcome::NotADate;
    PhraseRefusal refusal = PhraseRefusal::None;
    ReadPrecision precision = ReadPrecision::Day;
    CalDate date;   ///< the day, or the first day of the week, month or year
    CalDate last;   ///< the last day of the period (the day itself for a day)
    int hour = -1;  ///< the time of day (hours may run past 23: 「２５時」); -1 when none
    int minute = 0;
    bool yearless = false;      ///< a month and day (or a month) without a year: next occurrence applies
    bool dayOnly = false;       ///< a day of the month alone (「１５日」, 「１５」)
    int annotatedWeekday = -1;  ///< WeekdayDiffers: the weekday written

    bool IsDay() const { return outcome == ReadOutcome::Read && precision == ReadPrecision::Day; }
    bool HasTime() const { return hour >= 0; }
};

/// Resolves the parts of a phrase.
DateReading ResolvePhrase(const PhraseForm& form, const PhraseContext& ctx);
/// Lexes, parses and resolves one phrase (no range mark is looked for).
DateReading ReadDatePhrase(std::string_view phrase, const PhraseContext& ctx, bool bareIsDay = false);

/// How an answer refusing a phrase is worded.
enum class PhraseUse : std::uint8_t { Schedule, Question };

/// The sentence that refuses a phrase (code page 932, full width): names the phrase as
/// written and says why. For a reading of a week, month or year where a day is needed,
/// it says that the day is missing.
std::string RefusalText(const DateReading& reading, std::string_view phrase, PhraseUse use);
/// The sentence for an end before its start: 「終わりの「３／１」が始まりの「３／８」より前です。」
std::string EndBeforeStartText(std::string_view endPhrase, std::string_view startPhrase);

}  // namespace nelo
