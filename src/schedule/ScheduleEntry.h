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
    void Format(std::string& text, const std::string& year) const;
    void Serialize(class Archive& ar);
    /// True when the entry (its start alone when it has no end) meets the seconds fromTime
    /// to toTime.
    bool Overlaps(long long fromTime, long long toTime) const {
        const long long lastTime = m_endText.empty() || m_endTime < m_startTime ? m_startTime : m_endTime;
        return m_startTime <= toTime && lastTime >= fromTime;
    }

    std::int32_t m_startTime = 0;  ///< start, seconds since 1970 (the ordering key)
    std::int32_t m_endTime = 0;    ///< end as registered; equals m_startTime for an entry without end
    std::string m_startText;       ///< "2003/06/02(月) 10:00" or "2003/06/02(月)"
    std::string m_endText;         ///< same forms; empty when the entry has no end
    std::string m_business;        ///< what the appointment is for
    std::int32_t m_heapIndex = 0;  ///< heap slot last given by StartTimeQueue::Insert; 0 when never queued
};

/// The "%4d" text of the current local year, as Format compares it.
std::string CurrentYearText();

}  // namespace nelo
