// The answers of the date questions and of the calculator's date arithmetic. Sentences
// carry ASCII digits; the caller turns them into full-width text.
#pragma once

#include <string>

/// "%d年%d月%d日は%s曜日です。" for the phrase's date; 0 with "わかりません。" when it is none.
int AnswerWeekday(std::string& out, const std::string& phrase);
/// "%d歳%dヶ月%d日です。" from the birth date of the phrase to today; 0 with
/// "わかりません。" when the phrase is no date or a birth date after today.
int AnswerAge(std::string& out, const std::string& phrase);
/// Sets the working date to the phrase's date: "基準日は%d年%d月%d日です。".
int AnswerBaseDate(std::string& out, const std::string& phrase);
/// The answers above for the date a successful parse has just left in the working date.
int WeekdayOfWorkingDate(std::string& out);
int AgeAtWorkingDate(std::string& out);
int BaseDateOfWorkingDate(std::string& out);
/// Days (and whole months, years) between the working date and the phrase's date; the
/// working date is left as it was.
int AnswerDayCount(std::string& out, const std::string& phrase);
/// Converts a year word between the Western calendar and the Japanese eras; always 1.
int AnswerEra(std::string& out, const std::string& word);

/// Moves the working date by n days: "%d年%d月%d日です。"; 0 (date unchanged) when the
/// moved date would leave the years 1-9999.
int AddDaysAnswer(std::string& out, int n);
/// As AddDaysAnswer, by n weeks.
int AddWeeksAnswer(std::string& out, int n);
/// As AddDaysAnswer, by n months (the day clamped to the new month).
int AddMonthsAnswer(std::string& out, int n);
/// As AddDaysAnswer, by n years (29 February becomes the 28th in a common year).
int AddYearsAnswer(std::string& out, int n);
