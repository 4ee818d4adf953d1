// Calendar exchange with other programs in iCalendar form, read and written through
// libical: every entry written as an event of a UTF-8 file in the user's time zone, and
// the events of such a file registered as entries, a repeating event once for each of
// its occurrences from today to a year ahead. Nothing is changed or left out without
// a word in the answer.
#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

namespace nelo {

class ScheduleBook;
class MessageBox;

/// The name proposed for the file, as the file system spells it (UTF-8).
extern const char* const kICalFileName;

/// A file larger than this is refused; it holds what the export writes for 200,000
/// entries with room to spare.
inline constexpr std::size_t kICalMaxFileBytes = 64u << 20;
/// A file that would give more entries than this (repeating events expanded) is refused
/// as a whole.
inline constexpr std::size_t kICalMaxEntries = 500000;

/// The system's time zone as the zone database names it ("Asia/Tokyo"), from TZ or
/// /etc/localtime; empty when it has no such name or is UTC.
std::string SystemZoneName();

/// What an export wrote besides the events.
struct ICalExportNotes {
    int control = 0;  ///< control characters written as blanks
};

/// The whole calendar: every entry in start order as one event, UTF-8 with CR LF,
/// times in zoneName (with its VTIMEZONE) or in UTC when zoneName is empty or unknown.
/// now is its time stamp.
std::string FormatICalendar(const ScheduleBook& scheduleBook, std::time_t now, const std::string& zoneName,
                            ICalExportNotes* notes = nullptr);

/// How an export treats a file that is already there.
enum class ICalOverwrite {
    Ask,     ///< asks through the message box; only Yes replaces it
    Refuse,  ///< nobody can answer (the input is not a terminal): the file is kept
    Force,   ///< replaces it without asking
};

/// Writes the calendar (the system's zone, the program's clock) to path in one step.
/// A path that is not a regular file, or that holds a notebook, is never written; an
/// existing file is replaced as overwrite says. answer (code page 932) tells the file
/// (nameText) and the number of events, or why nothing was written. True when written.
bool ExportICalendarFile(const ScheduleBook& scheduleBook, const std::string& path, const std::string& nameText,
                         MessageBox& messageBox, ICalOverwrite overwrite, std::string& answer);

/// What an import did.
struct ICalImportResult {
    bool fileRefused = false;  ///< the file as a whole was refused: nothing registered
    int bytesRead = 0;         ///< entries registered
    int recurringCount = 0;    ///< repeating events expanded into entries
    int refusedCount = 0;      ///< events not registered, each with its reason in the answer
    int skippedCount = 0;      ///< events and instances left out on purpose (cancelled, already there)
};

/// Registers the events of a calendar's bytes (UTF-8, or code page 932). A text that is
/// no calendar, or whose structure is broken, is refused as a whole before anything is
/// registered; otherwise each event is registered, left out or refused by itself.
/// answer (code page 932, "\r\n" between lines) is the report.
ICalImportResult ImportICalendar(ScheduleBook& scheduleBook, std::string_view data, std::string& answer);

/// ImportICalendar of a file; nameText names it in the answer. A file that cannot be
/// read or holds more than kICalMaxFileBytes is refused.
ICalImportResult ImportICalendarFile(ScheduleBook& scheduleBook, const std::string& path, const std::string& nameText,
                                     std::string& answer);

}  // namespace nelo
