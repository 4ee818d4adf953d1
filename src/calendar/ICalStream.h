// Reading an iCalendar text one component at a time. libical unfolds and parses the
// lines; this reader keeps the structure (BEGIN and END in pairs, inside VCALENDAR)
// and the line numbers, and hands on each component that stands directly inside a
// calendar (an event, a to-do, a time zone…) as soon as its END has been read, so that
// a large file never lives in memory as one tree.
#pragma once

#include "calendar/ICalLib.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace nelo {

/// A longer content line (after unfolding) refuses the text.
inline constexpr std::size_t kICalMaxLineBytes = 1u << 20;

/// A line libical could not read, inside a component.
struct ICalBadLine {
    std::size_t lineNumber = 0;
    std::string name;  ///< the property name the line starts with, upper case
};

/// A component directly inside a calendar.
struct ICalTopComponent {
    ICalComponentPtr component;
    std::size_t lineNumber = 0;  ///< the line of its BEGIN (from 1)
    std::vector<ICalBadLine> badLines;
};

/// Receives each component; false stops the reading (the sink has set the error).
using ICalComponentSink = std::function<bool(ICalTopComponent&& component)>;

/// Reads a UTF-8 text and hands each component inside its calendars to sink, in file
/// order. False with error (code page 932) when the text is no iCalendar or its
/// structure is broken (an END that does not close the open BEGIN, a missing END, a
/// line longer than kICalMaxLineBytes, a NUL byte), or when the sink stopped.
bool ReadICalComponents(std::string_view text, const ICalComponentSink& sink, std::string& error);

}  // namespace nelo
