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
    std::size_t nIndex = 0;  ///< the event's number among the file's events (from 1)
    std::size_t nLine = 0;   ///< the line of its BEGIN:VEVENT
    std::string strQuoted;   ///< its title as messages quote it (code page 932)
    std::string strText;     ///< what happened (code page 932)
};

struct ICalImportReport {
    bool bShiftJis = false;       ///< the file was read as code page 932
    int nRead = 0;                ///< entries registered
    int nRepeating = 0;           ///< repeating events expanded into entries
    int nRepeatedEntries = 0;     ///< the entries they gave
    int nRefused = 0;             ///< events not registered, each with its reason
    int nCancelled = 0;           ///< cancelled events left out
    int nCancelledInstances = 0;  ///< cancelled instances of repeating events left out
    int nAlready = 0;             ///< entries the notebook already held, left out
    int nConflicting = 0;         ///< entries registered at a time another entry holds
    int nTodos = 0, nJournals = 0, nAlarms = 0, nDescriptions = 0, nOthers = 0;  ///< not imported
    std::vector<ICalEventNote> notes;                                            ///< in file order
};

/// The report (code page 932, "\r\n" between lines); at most 50 event lines, then the
/// count of the rest.
std::string FormatICalImportReport(const ICalImportReport& report);

}  // namespace nelo
