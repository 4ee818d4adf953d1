// An event's occurrence as a schedule entry: the display texts and time values a typed
// entry of the same times has, and the business made of the event's title and place.
#pragma once

#include "calendar/ICalEvent.h"

#include <cstddef>
#include <string>

namespace nelo {

class ScheduleEntry;

/// A business holds at most what a typed line may (the scanner's line is 1023 bytes).
inline constexpr std::size_t kICalMaxBusinessBytes = 1023;

/// The business of an event in code page 932.
struct ICalBusiness {
    std::string text;       ///< empty when the event has no title
    int replacedCount = 0;  ///< characters without a code page 932 form, now 「？」
    bool wasCut = false;    ///< the text was longer than kICalMaxBusinessBytes and was cut
};

/// SUMMARY and LOCATION (UTF-8, either may be null) as a business: 「会議（本社）」, every
/// run of blanks and control characters one full-width blank (a business is one line).
ICalBusiness MakeICalBusiness(const char* summary, const char* location);

/// The entry of an occurrence; false with error (code page 932) when its times lie
/// outside what an entry can hold.
bool MakeICalEntry(const ICalOccurrence& occurrence, const std::string& business, ScheduleEntry& entry,
                   std::string& error);

/// A business as messages quote it: 「…」, cut after about 20 characters.
std::string QuotedBusiness(const std::string& business);

}  // namespace nelo
