#include "calendar/ICalUid.h"

#include "schedule/ScheduleBook.h"

#include <algorithm>
#include <cstdio>

namespace nelo {

std::vector<const ScheduleEntry*> ExportOrder(const ScheduleBook& scheduleBook) {
    std::vector<const ScheduleEntry*> entries;
    entries.reserve(scheduleBook.GetSchedules().size());
    for (const auto& p : scheduleBook.GetSchedules()) entries.push_back(p.get());
    std::stable_sort(entries.begin(), entries.end(), [](const ScheduleEntry* a, const ScheduleEntry* b) {
        return a->GetStartTime() < b->GetStartTime();
    });
    return entries;
}

std::string ICalUids::Next(const ScheduleEntry& e) {
    // FNV-1a over the three texts, each closed by a separator byte.
    std::uint64_t h = 1469598103934665603ull;
    auto mix = [&h](const std::string& s) {
        for (const char c : s) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        h = (h ^ 0x1F) * 1099511628211ull;
    };
    mix(e.GetStartText());
    mix(e.GetEndText());
    mix(e.GetBusiness());
    char buf[64];
    const int n = ++m_seen[h];
    if (n == 1)
        std::snprintf(buf, sizeof buf, "%016llx@nelo.invalid", static_cast<unsigned long long>(h));
    else
        std::snprintf(buf, sizeof buf, "%016llx-%d@nelo.invalid", static_cast<unsigned long long>(h), n);
    return buf;
}

}  // namespace nelo
