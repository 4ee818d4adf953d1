#include "platform/Clock.h"
#include "platform/WallTimer.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <cstdlib>
#include <string>

using namespace nelo;

namespace {

/// Sets the two clock variables for one test and puts them back.
class ClockEnvironment {
public:
    ClockEnvironment(const char* now, const char* mode) {
        Set(kFrozenClockVariable, now);
        Set(kClockModeVariable, mode);
    }
    ~ClockEnvironment() {
        unsetenv(kFrozenClockVariable);
        unsetenv(kClockModeVariable);
    }

private:
    static void Set(const char* name, const char* value) {
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
};

TEST(ClockTest, NeloNowFreezesTheClockOrStartsItRunning) {
    const std::time_t t0 = MakeLocalTime(2026, 12, 8, 9, 49, 55);
    {
        ClockEnvironment env("2026-12-08 09:49:55", nullptr);
        SystemClock clock;
        EXPECT_FALSE(clock.Advances());
        EXPECT_EQ(clock.Now(), t0);
        EXPECT_EQ(clock.NowMs(), t0 * 1000LL);
    }
    {
        ClockEnvironment env("2026-12-08 09:49:55", "running");
        SystemClock clock;
        EXPECT_TRUE(clock.Advances());
        const long long start = clock.NowMs();
        EXPECT_GE(start, t0 * 1000LL);
        EXPECT_LT(start, t0 * 1000LL + 1000);
        const long long real = SystemTimeMs();
        while (SystemTimeMs() < real + 30) {
        }
        EXPECT_GE(clock.NowMs() - start, 30);
        EXPECT_EQ(clock.Now(), clock.NowMs() / 1000);
    }
    {
        // Running without a starting time is the system clock.
        ClockEnvironment env(nullptr, "running");
        SystemClock clock;
        EXPECT_TRUE(clock.Advances());
        EXPECT_NEAR(static_cast<double>(clock.NowMs()), static_cast<double>(SystemTimeMs()), 1000.0);
    }
}

TEST(ClockTest, ClockVariablesAreCheckedBeforeAProgramStarts) {
    struct Row {
        const char* now;
        const char* mode;
        bool ok;
        const char* named;  // what the message names
    };
    const Row rows[] = {
        {nullptr, nullptr, true, ""},
        {"2026-12-08 09:49:55", "running", true, ""},
        {"2026-12-08 09:49:55", "frozen", true, ""},
        {"2026-12-08 09:49:55", "", true, ""},
        {"2026-12-08 09:49:55", "run", false, "NELO_CLOCK"},
        {"2026-12-08 09:49:55", "Running", false, "NELO_CLOCK"},
        {"2026-02-30 09:49:55", "running", false, "NELO_NOW"},
    };
    for (const Row& r : rows) {
        ClockEnvironment env(r.now, r.mode);
        std::string message;
        EXPECT_EQ(CheckFrozenClockSetting(message), r.ok) << (r.mode ? r.mode : "-");
        EXPECT_NE(message.find(r.named), std::string::npos) << message;
    }
}

TEST(WallTimerTest, ExpiresAtTheWallClockTimeAndAtOnceForAPastOne) {
    WallTimer timer;
    ASSERT_TRUE(timer.IsValid());
    pollfd pfd{timer.GetFd(), POLLIN, 0};
    EXPECT_EQ(poll(&pfd, 1, 0), 0);
    EXPECT_EQ(timer.Take(), WallTimer::Event::Nothing);

    const long long start = SystemTimeMs();
    ASSERT_TRUE(timer.ArmAt(start + 80));
    EXPECT_EQ(poll(&pfd, 1, 2000), 1);
    EXPECT_GE(SystemTimeMs(), start + 80);
    EXPECT_EQ(timer.Take(), WallTimer::Event::Expired);
    EXPECT_FALSE(timer.IsArmed());

    ASSERT_TRUE(timer.ArmAt(start - 60000));
    EXPECT_EQ(poll(&pfd, 1, 1000), 1);
    EXPECT_EQ(timer.Take(), WallTimer::Event::Expired);

    // Disarmed, it stays quiet.
    ASSERT_TRUE(timer.ArmAt(SystemTimeMs() + 50));
    timer.Disarm();
    EXPECT_EQ(poll(&pfd, 1, 150), 0);
}

}  // namespace
