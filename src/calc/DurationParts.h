// A duration of the time sums, kept as seconds and split into days, hours, minutes and
// seconds (every part truncated toward zero, so a negative duration has negative parts).
#pragma once

#include <cstdint>

namespace nelo {

class DurationParts {
public:
    DurationParts() = default;
    explicit DurationParts(std::int32_t seconds) { SetTotal(seconds); }

    /// Fills every field from a number of seconds.
    void SetTotal(std::int32_t seconds) {
        m_nTotal = seconds;
        m_nSecond = seconds % 60;
        m_nMinute = (seconds / 60) % 60;
        m_nHour = (seconds / 3600) % 24;
        m_nDay = seconds / 86400;
    }

    std::int32_t m_nTotal = 0;
    std::int32_t m_nSecond = 0;
    std::int32_t m_nMinute = 0;
    std::int32_t m_nHour = 0;
    std::int32_t m_nDay = 0;
};

}  // namespace nelo
