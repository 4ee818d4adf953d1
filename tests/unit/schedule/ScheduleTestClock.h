// A frozen clock in UTC for the schedule tests, installed for the life of the fixture.
#pragma once

#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

class ScheduleClockTest : public testing::Test {
protected:
    ScheduleClockTest() : m_clock(0) {
        setenv("TZ", "UTC0", 1);
        tzset();
        SetNow(2003, 6, 1, 10, 0);
        nelo::SetCurrentClock(&m_clock);
    }
    ~ScheduleClockTest() override { nelo::SetCurrentClock(nullptr); }

    /// Moves the frozen clock to that local time.
    void SetNow(int y, int mo, int d, int h, int mi) { m_clock.Set(nelo::MakeLocalTime(y, mo, d, h, mi, 0)); }

    nelo::FixedClock m_clock;
};
