// What an import did, and the one block of text that tells the user: how many entries
// were registered, what repeating events gave, what was left out and why, and a line
// for each event that needs a word (with its place in the file).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace nelo {

/// A line about one event of the file.
struct ICalEventNote {
    std::size_t index = 0;       ///< the event's number among the file's events (from 1)
    std::size_t lineNumber = 0;  ///< the line of its BEGIN:VEVENT
    std::string quoted;          ///< its title as messages quote it (code page 932)
    std::string text;            ///< what happened (code page 932)
};

struct ICalImportReport {
    bool isShiftJis = false;     ///< the file was read as code page 932
    int bytesRead = 0;           ///< entries registered
    int repeatingCount = 0;      ///< repeating events expanded into entries
    int repeatedEntries = 0;     ///< the entries they gave
    int refusedCount = 0;        ///< events not registered, each with its reason
    int cancelledCount = 0;      ///< cancelled events left out
    int cancelledInstances = 0;  ///< cancelled instances of repeating events left out
    int alreadyCount = 0;        ///< entries the notebook already held, left out
    int conflictingCount = 0;    ///< entries registered at a time another entry holds
    int todos = 0, journals = 0, alarms = 0, descriptions = 0, others = 0;  ///< not imported
    std::vector<ICalEventNote> notes;                                       ///< in file order
};

/// The report (code page 932, "\r\n" between lines); at most 50 event lines, then the
/// count of the rest.
std::string FormatICalImportReport(const ICalImportReport& report);

}  // namespace nelo
