// The display text and time value of a schedule date.
#pragma once

#include <ctime>
#include <string>

/// Writes the working date as "YYYY/MM/DD(曜)" (or with " HH:MM" when the result text
/// carries a time) and sets time to its local time value when the year lies within ten
/// years of today; returns 1 when time was set, else 0 (time unchanged).
int FormatEntryDate(std::string& display, const std::string& result, std::time_t& time);
