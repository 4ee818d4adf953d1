#include "platform/Clock.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace nelo {

namespace {
/// The clock that stands in for the system's, when a test sets one. The program has one
/// clock, so its stand-in is process-wide too.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): the one clock's stand-in
Clock* g_clock = nullptr;
}  // namespace

namespace {

/// Reads exactly n ASCII digits at text[pos].
bool ReadDigits(const char* text, std::size_t& pos, std::size_t n, int& value) {
    value = 0;
    for (std::size_t i = 0; i < n; ++i, ++pos) {
        if (text[pos] < '0' || text[pos] > '9') return false;
        value = value * 10 + (text[pos] - '0');
    }
    return true;
}

long long FloorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

bool ReadChar(const char* text, std::size_t& pos, char c) { return text[pos] == c ? (++pos, true) : false; }

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

bool ParseLocalTimestamp(const char* text, std::time_t& t) {
    if (!text) return false;
    int y, mo, d, h, mi, s;
    std::size_t pos = 0;
    if (!(ReadDigits(text, pos, 4, y) && ReadChar(text, pos, '-') && ReadDigits(text, pos, 2, mo) &&
          ReadChar(text, pos, '-') && ReadDigits(text, pos, 2, d) && ReadChar(text, pos, ' ') &&
          ReadDigits(text, pos, 2, h) && ReadChar(text, pos, ':') && ReadDigits(text, pos, 2, mi) &&
          ReadChar(text, pos, ':') && ReadDigits(text, pos, 2, s) && text[pos] == '\0'))
        return false;
    if (mo < 1 || mo > 12 || d < 1 || d > DaysInMonth(y, mo) || h > 23 || mi > 59 || s > 59) return false;
    t = MakeLocalTime(y, mo, d, h, mi, s);
    return t != static_cast<std::time_t>(-1);
}

namespace {

bool IsRunningClockMode() {
    const char* mode = std::getenv(kClockModeVariable);
    return mode && std::strcmp(mode, "running") == 0;
}

}  // namespace

bool CheckFrozenClockSetting(std::string& message) {
    const char* now = std::getenv(kFrozenClockVariable);
    std::time_t t;
    if (now && *now && !ParseLocalTimestamp(now, t)) {
        message = std::string(kFrozenClockVariable) + " の値 \"" + now +
                  "\" は日時として読めません。形式は \"YYYY-MM-DD HH:MM:SS\"（例: \"2003-06-01 10:00:00\"）です。";
        return false;
    }
    const char* mode = std::getenv(kClockModeVariable);
    if (mode && *mode && std::strcmp(mode, "running") != 0 && std::strcmp(mode, "frozen") != 0) {
        message = std::string(kClockModeVariable) + " の値 \"" + mode +
                  "\" は使えません。\"running\"（NELO_NOW の時刻から進める）か \"frozen\"（止める）です。";
        return false;
    }
    return true;
}

long long SystemTimeMs() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

SystemClock::SystemClock() {
    const char* now = std::getenv(kFrozenClockVariable);
    if (now && *now) m_isFrozen = ParseLocalTimestamp(now, m_frozenTime);
    if (m_isFrozen && IsRunningClockMode()) {
        // It starts at the given second, at the moment the program asked for its clock.
        m_isFrozen = false;
        m_offsetMs = static_cast<long long>(m_frozenTime) * 1000 - SystemTimeMs();
    }
}

std::time_t SystemClock::Now() const {
    if (m_isFrozen) return m_frozenTime;
    if (m_offsetMs == 0) return std::time(nullptr);
    return static_cast<std::time_t>(FloorDiv(NowMs(), 1000));
}

long long SystemClock::NowMs() const {
    if (m_isFrozen) return static_cast<long long>(m_frozenTime) * 1000;
    return SystemTimeMs() + m_offsetMs;
}

Clock& CurrentClock() {
    if (g_clock) return *g_clock;
    static SystemClock systemClock;
    return systemClock;
}

void SetCurrentClock(Clock* clock) { g_clock = clock; }

std::tm LocalTime(std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

std::tm LocalNow() {
    // The date questions ask for today several times a line; the broken-down time of the
    // same second is kept (the time zone is read once per run anyway).
    static std::time_t lastTime = 0;
    static std::tm lastBrokenDown{};
    static bool isKnown = false;
    const std::time_t t = CurrentClock().Now();
    if (!isKnown || t != lastTime) {
        lastBrokenDown = LocalTime(t);
        lastTime = t;
        isKnown = true;
    }
    return lastBrokenDown;
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

}  // namespace nelo
