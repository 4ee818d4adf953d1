// The one clock of the program. Everything that asks for the current date or time goes
// through CurrentClock(); NELO_NOW="YYYY-MM-DD HH:MM:SS" (local time) freezes it.
#pragma once

#include <ctime>

class IClock {
public:
    virtual ~IClock() = default;
    /// Seconds since 1970-01-01 00:00:00 UTC.
    virtual std::time_t Now() const = 0;
};

/// The system clock, or the frozen time of NELO_NOW when that is set and well-formed.
class CSystemClock : public IClock {
public:
    CSystemClock();
    std::time_t Now() const override;

private:
    bool m_bFrozen = false;
    std::time_t m_tFrozen = 0;
};

/// A clock that always answers the same time; tests move it by hand.
class CFixedClock : public IClock {
public:
    explicit CFixedClock(std::time_t t) : m_tNow(t) {}
    std::time_t Now() const override { return m_tNow; }
    void Set(std::time_t t) { m_tNow = t; }

private:
    std::time_t m_tNow;
};

/// The clock in use (a CSystemClock unless a test installed another).
IClock& CurrentClock();
/// Installs a clock (not owned); nullptr restores the system clock.
void SetCurrentClock(IClock* pClock);

/// Local broken-down time of t.
std::tm LocalTime(std::time_t t);
/// Local broken-down time of now.
std::tm LocalNow();
/// Seconds since 1970 of a local date and time, as mktime gives it (fields normalised,
/// daylight saving left to the C library); -1 when it cannot be represented.
std::time_t MakeLocalTime(int year, int month, int day, int hour, int minute, int second);

/// Parses "YYYY-MM-DD HH:MM:SS" as local time; false when malformed.
bool ParseLocalTimestamp(const char* text, std::time_t& t);
