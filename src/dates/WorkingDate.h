// The base date of the date questions and of the calculator's date offsets: 「日付 …」
// sets it, 「曜日 …」 and 「何歳 …」 leave it on the date they asked about, 「日数 …」 counts
// from it, 「＋１０日」 moves it. Each notebook owns one; schedule lines never read it.
#pragma once

#include "dates/Calendar.h"
#include "dates/DateTimeRec.h"

namespace nelo {

class WorkingDate {
public:
    /// The date with its derived fields; today without a time of day until something
    /// sets it (the clock is read then, not when the object is made).
    const DateTimeRec& Get() const;
    CalDate Date() const;
    /// Sets a valid date and a time of day (kNoTime for none).
    void Set(const CalDate& date, int hour = kNoTime, int minute = kNoTime);
    /// Today without a time of day.
    void Reset();
    /// Move the date by n days, months (the day clamped to the new month) or years (29
    /// February becomes the 28th in a common year); false, the date unchanged, when the
    /// moved date would leave the years 1-9999.
    bool MoveDays(long long n);
    bool MoveMonths(long long n);
    bool MoveYears(long long n);

private:
    bool MoveTo(const CalDate& date);

    mutable DateTimeRec m_dt{};
    mutable bool m_set = false;
};

}  // namespace nelo
