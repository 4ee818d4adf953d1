// Calendar exchange with other programs in iCalendar form: every entry written as an
// event of a UTF-8 file, and the events of such a file registered as entries, each as
// the typed line of its start, end and business would be.
#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

class CCmdPro;

/// The name proposed for the file, as the file system spells it (UTF-8).
extern const char* const g_szICalFileName;

/// A file larger than this is refused before it is read.
inline constexpr std::size_t kICalMaxFileBytes = 16u << 20;
/// A file with more events than this is refused as a whole.
inline constexpr std::size_t kICalMaxEvents = 20000;

/// The whole calendar: every entry in start order as one event, UTF-8 with CR LF and
/// lines folded at 75 bytes; now is its time stamp.
std::string FormatICalendar(const CCmdPro& cmdPro, std::time_t now);

/// Writes the calendar to path in one step (stamped with the program's clock); answer
/// (code page 932) tells the file (nameText) and the number of events, or why it could
/// not be written. True when the file was written.
bool ExportICalendarFile(const CCmdPro& cmdPro, const std::string& path, const std::string& nameText,
                         std::string& answer);

/// What an import did.
struct ICalImportResult {
    bool bFileRefused = false;  ///< the file as a whole was refused: nothing registered
    int nRead = 0;              ///< events registered
    int nRecurring = 0;         ///< of them, repeating events whose first occurrence was registered
    int nRefused = 0;           ///< events not registered (each with its reason in the answer)
};

/// Registers every event of an iCalendar text. A text that is no calendar, or whose
/// structure is broken (a component without its END, a line too long, too many events),
/// is refused as a whole before anything is registered; otherwise each complete event is
/// registered or refused by itself. answer (code page 932, "\r\n" between lines) gives
/// the numbers, the conflicts found and the reason for each refused event.
ICalImportResult ImportICalendar(CCmdPro& cmdPro, std::string_view data, std::string& answer);

/// ImportICalendar of a file; nameText names it in the answer. A file that cannot be read
/// or is larger than kICalMaxFileBytes is refused.
ICalImportResult ImportICalendarFile(CCmdPro& cmdPro, const std::string& path, const std::string& nameText,
                                     std::string& answer);
