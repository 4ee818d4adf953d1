// What the calendar fuzz target does with one input: the bytes are read as a calendar
// file into an empty schedule list, then again into the list it left, and the list is
// written out and read back. Nothing may crash; a refused file must leave the list as
// it was, the second reading must add nothing, and what was written must read back the same.
#pragma once

#include "FuzzInput.h"
#include "calendar/ICalendar.h"
#include "dates/DateTimeRec.h"
#include "schedule/ScheduleBook.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

/// Inputs beyond this many bytes are cut (the paths of longer ones are the same).
constexpr std::size_t kFuzzICalMaxBytes = 64 * 1024;

inline void FuzzICalOnce(const std::uint8_t* data, std::size_t size) {
    FreezeFuzzClock();
    const std::string_view bytes = FuzzBytes(data, size, kFuzzICalMaxBytes);
    nelo::ScheduleBook pro;
    std::string answer;
    const nelo::ICalImportResult first = nelo::ImportICalendar(pro, bytes, answer);
    if (first.fileRefused && !pro.GetSchedules().empty()) std::abort();
    if (static_cast<std::size_t>(first.bytesRead) != pro.GetSchedules().size()) std::abort();
    const nelo::ICalImportResult second = nelo::ImportICalendar(pro, bytes, answer);
    if (second.bytesRead != 0) std::abort();

    // Every entry written must come back as it was (the fuzz clock's zone is UTC).
    const std::string text = nelo::FormatICalendar(pro, nelo::CurrentClock().Now(), nelo::SystemZoneName());
    nelo::ScheduleBook again;
    const nelo::ICalImportResult back = nelo::ImportICalendar(again, text, answer);
    if (back.fileRefused || back.refusedCount != 0 || again.GetSchedules().size() != pro.GetSchedules().size())
        std::abort();
    // (Entries of one start are listed in no particular order: the texts are compared sorted.)
    auto texts = [](const nelo::ScheduleBook& p) {
        std::vector<std::string> all;
        for (const auto& e : p.GetSchedules())
            all.push_back(e->GetStartText() + '|' + e->GetEndText() + '|' + e->GetBusiness());
        std::sort(all.begin(), all.end());
        return all;
    };
    if (texts(pro) != texts(again)) std::abort();
}
