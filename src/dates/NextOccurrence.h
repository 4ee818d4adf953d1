// A schedule start written without its year means its next occurrence: in December,
// 「１／１５」 is the coming January, not the one eleven months ago.
#pragma once

#include "dates/DateParser.h"

#include <string>

/// When the working date lies before today and the phrase left out its year (fill
/// Year) or its year and month (fill YearAndMonth), moves it to the next year, or the
/// next month, that has that day, keeping the time of day, and rewrites the result text.
/// Today itself stays. 1 when the date moved.
int MoveToNextOccurrence(std::string& result, DateFill fill);
