// Helpers shared by the fuzz bodies: a fixed clock and time zone, and cutting an input
// into lines the way a front end hands them on.
#pragma once

#include "platform/Clock.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

/// Freezes the clock at 2003-06-01 10:00:00 in UTC, so that what is past or today does
/// not depend on when or where the fuzzer runs.
inline void FreezeFuzzClock() {
    static nelo::FixedClock s_clock(1054461600);
    static bool s_zoneSet = false;
    if (!s_zoneSet) {
        setenv("TZ", "UTC0", 1);
        tzset();
        s_zoneSet = true;
    }
    nelo::SetCurrentClock(&s_clock);
}

/// The input as bytes, cut to at most maxBytes (longer inputs repeat the same paths).
inline std::string_view FuzzBytes(const std::uint8_t* data, std::size_t size, std::size_t maxBytes) {
    return std::string_view(reinterpret_cast<const char*>(data), size < maxBytes ? size : maxBytes);
}

/// The non-empty lines of the input; CR and LF both end a line.
inline std::vector<std::string> FuzzLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = bytes.size();
        if (end > start) lines.emplace_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}
