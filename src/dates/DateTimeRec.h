// A date and time of day as the date questions answer about it.
#pragma once

namespace nelo {

/// A date and time of day; weekday and dayOfYear are derived from the date.
struct DateTimeRec {
    short hour;     ///< hour as given (not limited to 0-23), or kNoTime
    short minute;   ///< minute as given, 99 together with kNoTime
    short second;   ///< kept but never shown
    short day;      ///< day of month, 1-based
    short month;    ///< 1-12
    int year;       ///< Western year, no offset
    short weekday;  ///< 0 = Sunday ... 6 = Saturday
    int dayOfYear;  ///< 1 for 1 January
};

/// The hour (and minute) of a phrase that gave no time of day.
constexpr short kNoTime = 99;

}  // namespace nelo
