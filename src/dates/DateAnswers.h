// The answers of the date questions and of the calculator's date arithmetic. Sentences
// carry ASCII digits; the caller turns them into full-width text.
#pragma once

#include "dates/Calendar.h"

#include <string>

namespace nelo {

class WorkingDate;

/// "%d年%d月%d日は%s曜日です。"
void WeekdayAnswer(std::string& out, const CalDate& d);
/// The same sentence already in full width, as AppendFullWidth would make it.
void FullWidthWeekdayAnswer(std::string& out, const CalDate& d);
/// "%d歳%dヶ月%d日です。" from the birth date to today; 0 with "わかりません。" for a
/// birth date after today.
int AgeAnswer(std::string& out, const CalDate& birth);
/// "基準日は%d年%d月%d日です。"
void BaseDateAnswer(std::string& out, const CalDate& d);
/// Days (and whole months, years) between the base date and another date, in either
/// direction.
void DayCountAnswer(std::string& out, const CalDate& base, const CalDate& other);
/// Converts a year word between the Western calendar and the Japanese eras.
void AnswerEra(std::string& out, const std::string& word);

/// Moves the base date by n days: "%d年%d月%d日です。"; 0 (date unchanged) when the
/// moved date would leave the years 1-9999.
int AddDaysAnswer(WorkingDate& date, std::string& out, int n);
/// As AddDaysAnswer, by n weeks.
int AddWeeksAnswer(WorkingDate& date, std::string& out, int n);
/// As AddDaysAnswer, by n months (the day clamped to the new month).
int AddMonthsAnswer(WorkingDate& date, std::string& out, int n);
/// As AddDaysAnswer, by n years (29 February becomes the 28th in a common year).
int AddYearsAnswer(WorkingDate& date, std::string& out, int n);

}  // namespace nelo
