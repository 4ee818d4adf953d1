// The reading side of the calendar exchange: the content lines of an iCalendar text
// (unfolded, parameters split off) gathered into events, and the dates they name.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

/// One date or date-time property of an event, as the file gives it.
struct ICalDateProp {
    bool bPresent = false;
    bool bDateValue = false;  ///< VALUE=DATE
    std::string strValue;     ///< "20030602" or "20030602T100000" (with "Z" for UTC)
    std::string strTzid;      ///< TZID parameter, without quotes
};

/// One event, as much of it as the exchange uses.
struct ICalEvent {
    std::size_t nLine = 0;   ///< the line of its BEGIN:VEVENT (from 1)
    std::string strSummary;  ///< SUMMARY, escapes resolved (UTF-8)
    bool bSummary = false;
    ICalDateProp start, end;      ///< DTSTART, DTEND
    std::string strDuration;      ///< DURATION when there is no DTEND
    bool bRecurring = false;      ///< RRULE or RDATE present
    bool bStartDateOnly = false;  ///< X-NELO-START:DATE (the entry's start had no time)
    bool bEndDateOnly = false;    ///< X-NELO-END:DATE (the entry's end had no time)
    std::string strError;         ///< why the event cannot be taken (code page 932), else empty
};

/// A longer line (after unfolding) refuses the file.
inline constexpr std::size_t kICalMaxLineBytes = 1u << 20;

/// Reads the events of a text. False with error (code page 932) when the text is no
/// iCalendar or its structure is broken; events is then empty.
bool ParseICalendar(std::string_view data, std::vector<ICalEvent>& events, std::string& error);

/// Resolves the escapes of a TEXT value ("\\n", "\\,", "\\;", "\\\\").
std::string UnescapeICalText(std::string_view value);

/// A local calendar date and time; hour -1 for a date without time.
struct ICalLocal {
    int year = 0, month = 0, day = 0, hour = -1, minute = 0;
};

/// The local date (and time) of a property: floating times as they stand, UTC times and
/// times of a named zone converted to the local zone. False with error (code page 932)
/// for a value that names no existing date or a zone that is not known.
bool ICalToLocal(const ICalDateProp& prop, ICalLocal& local, std::string& error);

/// Adds a DURATION ("P1D", "PT1H30M", "P1W", "-P…" refused) to a local time; false when
/// the text is no duration.
bool AddICalDuration(ICalLocal& local, std::string_view duration);

/// Days since 1970-01-01 of a civil date, and back.
long long DaysFromCivil(int year, int month, int day);
void CivilFromDays(long long days, int& year, int& month, int& day);
