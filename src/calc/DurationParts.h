// A duration of the time sums, kept as seconds and split into days, hours and minutes
// (every part truncated toward zero, so a negative duration has negative parts).
#pragma once

#include <cstdint>

namespace nelo {

class DurationParts {
public:
    DurationParts() = default;
    explicit DurationParts(std::int32_t seconds) : m_seconds(seconds) {}

    std::int32_t GetTotalSeconds() const { return m_seconds; }
    std::int32_t GetDays() const { return m_seconds / 86400; }
    std::int32_t GetHours() const { return (m_seconds / 3600) % 24; }
    std::int32_t GetMinutes() const { return (m_seconds / 60) % 60; }

private:
    std::int32_t m_seconds = 0;
};

}  // namespace nelo
