// A one-shot timer on the system's wall clock that the program waits for with its other
// input: a timerfd on CLOCK_REALTIME with an absolute expiry. It expires when the wall
// clock reaches the time, also when that happened while the machine was suspended (it
// then expires at resume), and it reports a changed system time, after which the caller
// decides afresh when to wait for.
#pragma once

namespace nelo {

class WallTimer {
public:
    /// What reading the descriptor found.
    enum class Event {
        Nothing,   ///< nothing yet (a spurious wake-up)
        Expired,   ///< the time has come
        ClockSet,  ///< the system time was set: the timer is disarmed
    };

    WallTimer();
    ~WallTimer();
    WallTimer(const WallTimer&) = delete;
    WallTimer& operator=(const WallTimer&) = delete;

    /// The descriptor that becomes readable on an event; -1 when the system gave none.
    int GetFd() const { return m_fd; }
    bool IsValid() const { return m_fd >= 0; }

    /// Arms the timer for the system time ms (milliseconds since 1970); a time already
    /// past expires at once. Replaces an earlier arming.
    bool ArmAt(long long ms);
    void Disarm();
    bool IsArmed() const { return m_armed; }
    /// Reads the descriptor once it is readable.
    Event Take();

private:
    int m_fd = -1;
    bool m_armed = false;
};

}  // namespace nelo
