// One schedule entry: a start, an optional end and the business.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace nelo {

class ScheduleEntry {
public:
    ScheduleEntry() = default;
    /// An entry as registered; endText empty (and endTime equal to startTime) for an entry
    /// without end. heapIndex: the heap slot a stored entry was saved with.
    ScheduleEntry(std::int32_t startTime, std::int32_t endTime, std::string startText, std::string endText,
                  std::string business, std::int32_t heapIndex = 0)
        : m_startTime(startTime),
          m_endTime(endTime),
          m_startText(std::move(startText)),
          m_endText(std::move(endText)),
          m_business(std::move(business)),
          m_heapIndex(heapIndex) {}

    /// The start, seconds since 1970 (the ordering key).
    std::int32_t GetStartTime() const { return m_startTime; }
    /// The end as registered; the start for an entry without end.
    std::int32_t GetEndTime() const { return m_endTime; }
    /// "2003/06/02(月) 10:00" or "2003/06/02(月)".
    const std::string& GetStartText() const { return m_startText; }
    /// The same forms; empty when the entry has no end.
    const std::string& GetEndText() const { return m_endText; }
    /// What the appointment is for.
    const std::string& GetBusiness() const { return m_business; }
    /// The heap slot last given by StartTimeQueue::Insert; 0 when never queued (it is saved
    /// with the entry).
    std::int32_t GetHeapIndex() const { return m_heapIndex; }

    /// Replaces text with the entry's one-line display form; the year is dropped when it
    /// is year, the current year's "%4d" text (CurrentYearText).
    void Format(std::string& text, const std::string& year) const;
    void Serialize(class Archive& ar);
    /// True when the entry (its start alone when it has no end) meets the seconds fromTime
    /// to toTime.
    bool Overlaps(long long fromTime, long long toTime) const {
        const long long lastTime = m_endText.empty() || m_endTime < m_startTime ? m_startTime : m_endTime;
        return m_startTime <= toTime && lastTime >= fromTime;
    }

private:
    // The queue numbers the slots as it sifts.
    friend class StartTimeQueue;

    std::int32_t m_startTime = 0;
    std::int32_t m_endTime = 0;
    std::string m_startText;
    std::string m_endText;
    std::string m_business;
    std::int32_t m_heapIndex = 0;
};

/// The "%4d" text of the current local year, as Format compares it.
std::string CurrentYearText();

}  // namespace nelo
