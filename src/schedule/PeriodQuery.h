// The period a schedule query asks about: 「今日の予定」, 「来週の予定」, 「予定　１２／２５」,
// 「予定　３月」, 「今年の予定」, 「予定　６／１　６／３０」, 「６／１～６／３０の予定」.
#pragma once

#include "dates/DateReader.h"

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace nelo {

/// The first and last second of a day, a week, a month, a year or a range of them.
struct SchedulePeriod {
    std::time_t fromTime = 0;
    std::time_t toTime = 0;
};

/// Reads the words of a schedule query after 「予定」 (or before 「の予定」): a day, week,
/// month or year (a date without its year is its next occurrence, as registration has
/// it), or two of them as a range, in one word with a range mark or in two words. 1 with
/// the period; 0 when the first word is no date at all; -1 with the answer that refuses
/// the words.
int ReadQueryPeriod(const std::vector<std::string_view>& words, const PhraseContext& now, SchedulePeriod& period,
                    std::string& answer);

/// The answer to a query word that is neither a date nor a period.
std::string NotAPeriodText(std::string_view word);

/// True for the words that ask for every entry (「予定　一覧」).
bool IsWholeListWord(std::string_view word);

/// The word before 「の予定」 (「今日の予定」 gives 「今日」); false when the word is not of
/// that form.
bool SplitPeriodQuery(std::string_view word, std::string_view& period);

/// For the routing of a line that ended in は: the text (full width, the は removed) is
/// a schedule query: 「予定」 alone, 「Ｘの予定」 or 「予定　Ｘ」 (「予定　Ｘ　Ｙ」) where the
/// words read as dates or periods, or 「予定　一覧」.
bool IsScheduleQueryText(const std::string& text);

}  // namespace nelo
