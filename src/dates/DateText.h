// The display text and time value of a schedule date.
#pragma once

#include "dates/Calendar.h"

#include <ctime>
#include <string>

namespace nelo {

/// Writes the day as "YYYY/MM/DD(曜)", or with " HH:MM" when hour is 0 or more, and sets
/// time to its local time value (00:00 for a day without time) when the year lies
/// within ten years of today; returns 1 when time was set, else 0 (time unchanged).
int FormatEntryDate(std::string& display, const CalDate& d, int hour, int minute, std::time_t& time);

}  // namespace nelo
