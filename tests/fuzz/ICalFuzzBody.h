// What the calendar fuzz target does with one input: the bytes are read as a calendar
// file into an empty schedule list, then into the list it left (conflicts), and the list
// is written out again and read back. Nothing may crash; a refused file must leave the
// list as it was, and what was written must read back whole.
#pragma once

#include "FuzzInput.h"
#include "dates/DateTimeRec.h"
#include "schedule/CmdPro.h"
#include "schedule/ICalendar.h"

#include <cstdlib>

/// Inputs beyond this many bytes are cut (the paths of longer ones are the same).
constexpr std::size_t kFuzzICalMaxBytes = 64 * 1024;

inline void FuzzICalOnce(const std::uint8_t* data, std::size_t size) {
    FreezeFuzzClock();
    const std::string_view bytes = FuzzBytes(data, size, kFuzzICalMaxBytes);
    CCmdPro pro;
    std::string answer;
    ICalImportResult first = ImportICalendar(pro, bytes, answer);
    if (first.bFileRefused && !pro.GetSchedules().empty()) std::abort();
    if (static_cast<std::size_t>(first.nRead) != pro.GetSchedules().size()) std::abort();
    const std::size_t nBefore = pro.GetSchedules().size();
    ImportICalendar(pro, bytes, answer);

    // Every entry written must come back.
    const std::string text = FormatICalendar(pro, CurrentClock().Now());
    CCmdPro again;
    ICalImportResult back = ImportICalendar(again, text, answer);
    if (back.bFileRefused || back.nRefused != 0 || again.GetSchedules().size() != pro.GetSchedules().size())
        std::abort();
    (void)nBefore;
}
