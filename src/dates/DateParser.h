// The date and time phrase parser: 「明日」, 「来週月曜日」, 「平成１５年１月１日」,
// 「１０：００」 ... become "2003/06/02" or "2003/06/02 15:00" and the working date.
#pragma once

#include <string>

struct DateTimeRec;

/// Parses one phrase (no blanks, full-width digits). 1 and the result text when it is a
/// date. 0 otherwise, in three ways: out untouched (not a date phrase), out = the phrase
/// with its keywords blanked (no date shape), or out = "時期が不正です。" (impossible date).
int ParseDatePhrase(std::string& out, const std::string& phrase);

/// The date parts a phrase left out and took from today's calendar.
enum class DateFill {
    None,          ///< the phrase fixes its date, or names it by a word (「明日」, 「来月５日」)
    Year,          ///< month and day without a year (「３／２」, 「２月３日」)
    YearAndMonth,  ///< a day alone (「３日」)
};
/// ParseDatePhrase, also telling what a phrase of digits and marks left out.
int ParseDatePhrase(std::string& out, const std::string& phrase, DateFill& fill);
/// The result text of a date: "2004/01/03", or "2004/01/03 12:00" with its time of day.
std::string FormatDateResult(const DateTimeRec& d);
/// Second stage: parses a text whose keywords have been blanked, or a rebuilt result
/// text such as "2004/01/03 12:00"; 1 with the result text, else 0 with "時期が不正です。".
int ParseDateRest(std::string& out, const std::string& text);
/// Token stage over a date pattern ("2003Y/1M/1D/"); sets the working date; 1 when valid.
int ParseDatePattern(const std::string& pattern);

/// What the token stage reads from a date pattern, before anything is applied: -1 for
/// a part the pattern does not give.
struct DatePatternFields {
    int year = -1, month = -1, day = -1;
    int hour = -1, minute = -1, second = -1;
    bool afternoon = false;  ///< an afternoon word (午後, 昼, 夕方, 夜) was found
    bool bDaytime = false;   ///< that word was 昼, which leaves hours from 12 on as they are
    bool bNoon = false;      ///< 「正午」 gave the hour
    bool bEra = false;       ///< an era name was found
    int nEraOffset = 0;      ///< added to the era year to give the Western year
    int tokensRead = 0;      ///< tokens that held a digit
};
/// Reads the fields of a date pattern without touching the working date.
DatePatternFields ReadDatePatternFields(const std::string& pattern);
/// First and last minute ("YYYY/MM/DD HH:MM") of the week or month a word names
/// ("来週", "先月" ...); 0 with both texts empty for any other word.
int GetPeriodRange(std::string& start, std::string& end, const std::string& word);

/// The failure text of an impossible date.
const char* BadPeriodText();
