// The working date of the program and the calendar arithmetic on it.
//
// One record, g_dtWork, is shared by the phrase parser, the date questions, schedule
// registration and the calculator's date offsets: a phrase that gives only a time keeps
// the date the previous phrase left behind. Years before 1800 follow the Julian rule;
// 1752 has 355 days and a September of 19 days.
#pragma once

#include <string>

/// A date and time of day as the parser leaves it; weekday and dayOfYear are derived.
struct DateTimeRec {
    short hour;     ///< hour as given (not limited to 0-23), or NO_TIME
    short minute;   ///< minute as given, 99 together with NO_TIME
    short second;   ///< kept but never shown
    short day;      ///< day of month, 1-based
    short month;    ///< 1-12
    int year;       ///< Western year, no offset
    short weekday;  ///< 0 = Sunday ... 6 = Saturday
    int dayOfYear;  ///< 1 for 1 January
};

/// The hour (and minute) of a phrase that gave no time of day.
constexpr short NO_TIME = 99;

/// The working date: the base of every date question and date offset.
extern DateTimeRec g_dtWork;
/// Month lengths by month (index 0 unused), adjusted in place by AdjustMonthTable.
extern short g_monthDays[13];
/// One-character weekday names, index 0 = Sunday ("日" ... "土", code page 932).
extern const char* const g_weekdayNames[7];

/// Stores the date, then Recompute; returns its validity (1 valid, 0 corrected).
int SetDate(int day, int month, int year);
/// Stores the time of day, then Recompute; returns the date's validity.
int SetTime(int hour, int minute, int second);
/// True when ValidateDate would find nothing to correct (the record is left as it is).
bool IsWorkingDateValid();
/// ValidateDate, then derives dayOfYear and weekday; returns the validity.
int Recompute();
/// Corrects the first problem of the working date only; 1 when nothing was corrected.
int ValidateDate();
/// 365, 366, or 355 for 1752 (Julian leap years before 1800).
int DaysInYear(int year);
/// Weekday of 1 January of the year, 0 = Sunday.
int FirstWeekday(int year);
/// February and September of g_monthDays for the year.
void AdjustMonthTable(int year);
/// Working date := the n-th day counted from 1 January of the working year (n may be
/// below 1 or beyond the year's end).
void SetDayOfYear(int n);
/// Moves the working date by n days.
void AddDays(int n);
/// Moves the working date by n months, clamping the day to the new month.
void AddMonths(int n);
/// Finds the first weekday name ("日曜日" ... "土曜日", tested in that order) in text;
/// index 0-6 and its byte position; 0 when none occurs.
int FindWeekday(const std::string& text, int& index, std::string::size_type& pos);
int FindWeekday(const class CWordSearch& text, int& index, std::string::size_type& pos);
/// Replaces count bytes from pos by ASCII blanks (clipped to the text).
void BlankOut(std::string& text, std::string::size_type pos, std::string::size_type count);

/// Working date := today, without a time of day.
void ResetWorkingDate();
/// Sets the working date to today unless it has been set already in this run.
void EnsureWorkingDate();
/// True for a year the working date may move to by date arithmetic (1-9999).
inline bool IsYearInRange(long long year) { return year >= 1 && year <= 9999; }
