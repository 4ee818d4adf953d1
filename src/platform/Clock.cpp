#include "platform/Clock.h"

#include <cstdio>
#include <cstdlib>

namespace {
IClock* g_pClock = nullptr;
}

bool ParseLocalTimestamp(const char* text, std::time_t& t) {
    int y, mo, d, h, mi, s;
    char tail;
    if (!text || std::sscanf(text, "%d-%d-%d %d:%d:%d%c", &y, &mo, &d, &h, &mi, &s, &tail) != 6) return false;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 60)
        return false;
    t = MakeLocalTime(y, mo, d, h, mi, s);
    return t != static_cast<std::time_t>(-1);
}

CSystemClock::CSystemClock() {
    const char* now = std::getenv("NELO_NOW");
    if (now && *now) m_bFrozen = ParseLocalTimestamp(now, m_tFrozen);
}

std::time_t CSystemClock::Now() const { return m_bFrozen ? m_tFrozen : std::time(nullptr); }

IClock& CurrentClock() {
    if (g_pClock) return *g_pClock;
    static CSystemClock systemClock;
    return systemClock;
}

void SetCurrentClock(IClock* pClock) { g_pClock = pClock; }

std::tm LocalTime(std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

std::tm LocalNow() {
    // The date questions ask for today several times a line; the broken-down time of the
    // same second is kept (the time zone is read once per run anyway).
    static std::time_t s_tLast = 0;
    static std::tm s_tmLast{};
    static bool s_bKnown = false;
    const std::time_t t = CurrentClock().Now();
    if (!s_bKnown || t != s_tLast) {
        s_tmLast = LocalTime(t);
        s_tLast = t;
        s_bKnown = true;
    }
    return s_tmLast;
}

std::time_t MakeLocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}
