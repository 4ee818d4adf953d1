// The one clock of the program. Everything that asks for the current date or time goes
// through CurrentClock(); NELO_NOW="YYYY-MM-DD HH:MM:SS" (local time) freezes it, and
// with NELO_CLOCK=running as well it starts there and advances with the system clock.
#pragma once

#include <ctime>
#include <string>

namespace nelo {

/// The environment variable that freezes the clock.
inline constexpr const char* kFrozenClockVariable = "NELO_NOW";
/// The environment variable that lets the clock of NELO_NOW run: "running" (or "frozen",
/// the default).
inline constexpr const char* kClockModeVariable = "NELO_CLOCK";

class Clock {
public:
    virtual ~Clock() = default;
    /// Seconds since 1970-01-01 00:00:00 UTC.
    virtual std::time_t Now() const = 0;
    /// Milliseconds since 1970, for what must happen at the start of a second.
    virtual long long NowMs() const { return static_cast<long long>(Now()) * 1000; }
    /// False for a clock that stands still: nothing waits for it.
    virtual bool Advances() const { return false; }
};

/// The system clock, or the frozen time of NELO_NOW when that is set and well-formed;
/// with NELO_CLOCK=running that time is where the clock starts, and it moves on as the
/// system clock does (so a changed system time moves it too).
class SystemClock : public Clock {
public:
    SystemClock();
    std::time_t Now() const override;
    long long NowMs() const override;
    bool Advances() const override { return !m_isFrozen; }

private:
    bool m_isFrozen = false;
    std::time_t m_frozenTime = 0;
    long long m_offsetMs = 0;  // a running clock's distance from the system clock
};

/// The system's own clock (CLOCK_REALTIME) in milliseconds since 1970, whatever NELO_NOW says.
long long SystemTimeMs();

/// A clock that always answers the same time; tests move it by hand.
class FixedClock : public Clock {
public:
    explicit FixedClock(std::time_t t) : m_now(t) {}
    std::time_t Now() const override { return m_now; }
    void Set(std::time_t t) { m_now = t; }

private:
    std::time_t m_now;
};

/// The clock in use (a SystemClock unless a test installed another).
Clock& CurrentClock();
/// Installs a clock (not owned); nullptr restores the system clock.
void SetCurrentClock(Clock* clock);

/// Local broken-down time of t.
std::tm LocalTime(std::time_t t);
/// Local broken-down time of now.
std::tm LocalNow();
/// Seconds since 1970 of a local date and time, as mktime gives it (fields normalised,
/// daylight saving left to the C library); -1 when it cannot be represented.
std::time_t MakeLocalTime(int year, int month, int day, int hour, int minute, int second);

/// Parses "YYYY-MM-DD HH:MM:SS" (exactly these digits, a date that exists) as local
/// time; false otherwise.
bool ParseLocalTimestamp(const char* text, std::time_t& t);
/// Checks the clock variables: true when NELO_NOW is unset, empty or well-formed and
/// NELO_CLOCK is unset, empty, "frozen" or "running"; otherwise false with a message
/// (UTF-8) that shows the value and what is expected. A program refuses to start then;
/// the clock itself would run on the real time.
bool CheckFrozenClockSetting(std::string& message);

}  // namespace nelo
