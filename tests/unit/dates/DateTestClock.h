// A frozen clock in UTC for the date tests.
#pragma once

#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

class DateTestBase : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC0", 1);
        tzset();
        nelo::SetCurrentClock(&m_clock);
        Freeze(2003, 6, 1);
    }
    void TearDown() override { nelo::SetCurrentClock(nullptr); }

    /// Today := the date at the hour.
    void Freeze(int year, int month, int day, int hour = 10, int minute = 0) {
        m_clock.Set(nelo::MakeLocalTime(year, month, day, hour, minute, 0));
    }

    nelo::FixedClock m_clock{0};
};
