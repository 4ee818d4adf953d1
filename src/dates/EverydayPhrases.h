// The everyday ways of naming a day that the keyword stage of the parser does not read
// by itself: a count of days, weeks, months or years from today (「３日後」, 「２週間後」,
// 「１ヶ月後」, 「１０日前」), 「来週の金曜」 for 「来週金曜日」, and 「金曜」 for 「金曜日」.
#pragma once

#include <string>

/// A move from today that opens a phrase: 「３日後」 is 3 days forward.
struct RelativeDate {
    enum Unit { Days, Weeks, Months, Years };
    int nCount = 0;           ///< the number as written (saturating far above any date)
    Unit unit = Days;         ///< what it counts
    bool bBefore = false;     ///< 前: back from today instead of forward
    std::size_t nLength = 0;  ///< bytes of the phrase it takes
};

/// Reads a relative date at the start of a phrase: full-width digits, then 日, 週間 or 週,
/// ヶ月 (ヵ月, か月, カ月, ケ月) or 年, then 後 or 前. False when the phrase opens otherwise.
bool ReadRelativeDate(const std::string& phrase, RelativeDate& rel);

/// Working date := today moved as rel says (the time of day is left as it was); a month
/// or year move keeps the day where the new month has it, else its last day. False, with
/// the working date on today, when the move leaves the years 1-9999.
bool MoveByRelativeDate(const RelativeDate& rel);

/// Writes a weekday phrase in the parser's words: 「Ｘ曜」 without 日 gets it, and a の
/// between a week word and the weekday goes (「来週の金曜」 becomes 「来週金曜日」).
void NormalizeWeekdayWords(std::string& phrase);
