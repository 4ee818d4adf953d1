// The period a schedule query asks about: 「今日の予定」, 「来週の予定」, 「予定　１２／２５」.
#pragma once

#include <ctime>
#include <string>

/// The first and last second of a day, a week or a month.
struct SchedulePeriod {
    std::time_t tFrom = 0;
    std::time_t tTo = 0;
};

/// Reads the word of a schedule query: a week or month word (「来週」, 「今月」) gives that
/// week (Sunday to Saturday) or month; a date phrase (「今日」, 「１２／２５」, 「３日後」) its
/// day from 00:00 to 23:59. 1 with the period; 0 when the word names none; -1 when it is
/// an impossible date. The working date is left as it was.
int ReadSchedulePeriod(const std::string& word, SchedulePeriod& period);

/// The word before 「の予定」 (「今日の予定」 gives 「今日」); false when the word is not of
/// that form.
bool SplitPeriodQuery(const std::string& word, std::string& period);

/// For the routing of a line that ended in は: the text (full width, the は removed) is
/// a schedule query, 「予定」 alone, 「Ｘの予定」 with a day, week or month word, or
/// 「予定　Ｘ」 with such a word or a phrase with digits.
bool IsScheduleQueryText(const std::string& text);
