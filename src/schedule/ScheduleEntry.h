// One schedule entry: a start, an optional end and the business.
#pragma once

#include <cstdint>
#include <string>

namespace nelo {

class ScheduleEntry {
public:
    /// Replaces text with the entry's one-line display form (the current year is dropped).
    void Format(std::string& text) const;
    /// As Format, with the current year given as its "%4d" text (saves a clock read per entry).
    void Format(std::string& text, const std::string& strYear) const;
    void Serialize(class Archive& ar);
    /// True when the entry (its start alone when it has no end) meets the seconds tFrom
    /// to tTo.
    bool Overlaps(long long tFrom, long long tTo) const {
        const long long tLast = m_strEnd.empty() || m_tEnd < m_tStart ? m_tStart : m_tEnd;
        return m_tStart <= tTo && tLast >= tFrom;
    }

    std::int32_t m_tStart = 0;      ///< start, seconds since 1970 (the ordering key)
    std::int32_t m_tEnd = 0;        ///< end as registered; equals m_tStart for an entry without end
    std::string m_strStart;         ///< "2003/06/02(月) 10:00" or "2003/06/02(月)"
    std::string m_strEnd;           ///< same forms; empty when the entry has no end
    std::string m_strBusiness;      ///< what the appointment is for
    std::int32_t m_nHeapIndex = 0;  ///< heap slot last given by StartTimeQueue::Insert; 0 when never queued
};

/// The "%4d" text of the current local year, as Format compares it.
std::string CurrentYearText();

}  // namespace nelo
