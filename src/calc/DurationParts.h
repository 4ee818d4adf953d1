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
        m_total = seconds;
        m_second = seconds % 60;
        m_minute = (seconds / 60) % 60;
        m_hour = (seconds / 3600) % 24;
        m_day = seconds / 86400;
    }

    std::int32_t m_total = 0;
    std::int32_t m_second = 0;
    std::int32_t m_minute = 0;
    std::int32_t m_hour = 0;
    std::int32_t m_day = 0;
};

}  // namespace nelo
