// Saving and loading the schedules: the ScheduleEntry record and the schedule book's
// list, which drops the entries that ended more than a day ago once it is loaded.
#include "platform/Archive.h"
#include "schedule/ScheduleBook.h"
#include "schedule/ScheduleEntry.h"

#include <memory>
#include <utility>

namespace nelo {

namespace {

// The record's class name and schema in the file.
const ArchiveClass kScheduleClass = {"CSchedule", 2};

}  // namespace

void ScheduleEntry::Serialize(Archive& ar) {
    if (ar.IsStoring())
        ar << m_startTime << m_endTime << m_startText << m_endText << m_business << m_heapIndex;
    else
        ar >> m_startTime >> m_endTime >> m_startText >> m_endText >> m_business >> m_heapIndex;
}

void ScheduleBook::Serialize(Archive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(m_schedules.size());
        for (const auto& p : m_schedules) ar.WriteObject(p.get(), kScheduleClass);
        return;
    }
    // Each entry takes at least a two-byte tag.
    std::size_t n = ar.ReadCount(2);
    // Indexed when the next entry is registered, not entry by entry while reading.
    m_indexValid = false;
    m_schedules.reserve(m_schedules.size() + Archive::ReserveHint(n));
    for (std::size_t i = 0; i < n; ++i) {
        std::unique_ptr<ScheduleEntry> p = ar.ReadObject<ScheduleEntry>(kScheduleClass);
        if (p) m_schedules.push_back(std::move(p));  // a null record stands for nothing
    }
    PurgePastSchedules();
}

}  // namespace nelo
