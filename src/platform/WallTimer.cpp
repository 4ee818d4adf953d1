#include "platform/WallTimer.h"

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace nelo {

WallTimer::WallTimer() { m_fd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC); }

WallTimer::~WallTimer() {
    if (m_fd >= 0) close(m_fd);
}

bool WallTimer::ArmAt(long long ms) {
    if (m_fd < 0) return false;
    itimerspec when{};
    // Zero would disarm: a time at or before the epoch means "now".
    if (ms < 1) ms = 1;
    when.it_value.tv_sec = static_cast<time_t>(ms / 1000);
    when.it_value.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
    m_armed = timerfd_settime(m_fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &when, nullptr) == 0;
    return m_armed;
}

void WallTimer::Disarm() {
    if (m_fd < 0) return;
    itimerspec when{};
    timerfd_settime(m_fd, TFD_TIMER_ABSTIME, &when, nullptr);
    m_armed = false;
}

WallTimer::Event WallTimer::Take() {
    if (m_fd < 0) return Event::Nothing;
    std::uint64_t expirations = 0;
    const ssize_t n = read(m_fd, &expirations, sizeof expirations);
    if (n == static_cast<ssize_t>(sizeof expirations)) {
        m_armed = false;
        return Event::Expired;
    }
    if (n < 0 && errno == ECANCELED) {
        m_armed = false;
        return Event::ClockSet;
    }
    return Event::Nothing;
}

}  // namespace nelo
