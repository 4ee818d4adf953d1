// The order and the identifiers of the events an export writes. An entry keeps its UID
// from one export to the next (it is made of the entry's texts), so that a calendar
// program updates what it read before, and an import knows an event the notebook wrote.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace nelo {

class ScheduleBook;
class ScheduleEntry;

/// The entries in the order the export writes them: by start, equal starts as listed.
std::vector<const ScheduleEntry*> ExportOrder(const ScheduleBook& scheduleBook);

/// Gives the UIDs of the entries of one export, in its order.
class ICalUids {
public:
    /// The UID of the next entry; identical entries are told apart by their number
    /// among themselves ("…-2@nelo.invalid").
    std::string Next(const ScheduleEntry& entry);

private:
    std::map<std::uint64_t, int> m_seen;
};

/// Calls f with the UID of every entry, as an export of the list writes them.
template <class F>
void ForEachExportedUid(const ScheduleBook& scheduleBook, F f) {
    ICalUids uids;
    for (const ScheduleEntry* entry : ExportOrder(scheduleBook)) f(uids.Next(*entry));
}

}  // namespace nelo
