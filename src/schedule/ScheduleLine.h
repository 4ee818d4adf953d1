// The date words at the start of a schedule line, and the order of a start and an end.
//
// A line is a start, then optionally a time of day (when the start gave a day without
// one: 「１２／２５ １８：００ 忘年会」), an end (「明日１０時 １２時 会議」, 「３日後 ５日後
// 帰省」, or in the start's word: 「１０時から１２時」), and the end's time of day; the
// first word that does not read wholly as a date or time begins the business.
#pragma once

#include "dates/DateReader.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace nelo {

/// A start and an end read the way a schedule reads them: a start without its year (or
/// month) is its next occurrence on or after today; an end without its year the first
/// such date on or after the start (a later year only while the entry stays shorter
/// than half a year); a start whose next occurrence lies ahead while the same day this
/// year has passed and the end has not is an entry under way, kept in this year.
struct ScheduleSpan {
    DateReading start;
    DateReading end;
    bool hasEnd = false;
    /// Set when the end lies before the start (or a year on from it).
    bool endBeforeStart = false;
};
/// endForm may be null (no end). The end's time of day may come from a word of its own
/// (endTime, null when none), as may the start's (startTime).
ScheduleSpan ResolveSpan(const PhraseForm& startForm, const PhraseForm* startTime, const PhraseForm* endForm,
                         const PhraseForm* endTime, const PhraseContext& now);

/// What the date words of a schedule line come to.
struct ScheduleWhen {
    enum Outcome { NotASchedule, Refused, Read };
    Outcome outcome = NotASchedule;
    std::string answer;     ///< Refused: the whole answer
    std::string startText;  ///< Read: the display texts ("2003/06/02(月) 10:00"), the end's empty
    std::string endText;    ///< when there is none
    std::int32_t startTime = 0;
    std::int32_t endTime = 0;      ///< startTime when there is no end
    std::size_t businessWord = 0;  ///< the first word of the business
};

/// True when a word can start a schedule line: it names a day or a time of day, with
/// or without a range, or it is a date phrase refused in words (「毎週月曜」).
bool IsScheduleStartWord(std::string_view word);

/// Reads the words of a schedule line (code page 932, full width). datesOnly: every
/// word is a date word and the business comes from elsewhere (a calendar file's event).
ScheduleWhen ReadScheduleWhen(const std::vector<std::string_view>& words, const PhraseContext& now,
                              bool datesOnly = false);

}  // namespace nelo
