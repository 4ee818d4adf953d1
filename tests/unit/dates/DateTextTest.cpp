#include "DateTestClock.h"

#include "dates/DateText.h"
#include "text/Sjis.h"

using namespace nelo;

using DateText = DateTestBase;

TEST_F(DateText, EntryDisplayAndTimeValue) {
    const struct {
        CalDate date;
        int hour, minute;
        const char* display;
    } rows[] = {
        {{2003, 6, 2}, -1, 0, "2003/06/02(月)"_sj},       {{2003, 6, 2}, 10, 0, "2003/06/02(月) 10:00"_sj},
        {{2003, 6, 7}, -1, 0, "2003/06/07(土)"_sj},       {{2003, 6, 2}, 22, 30, "2003/06/02(月) 22:30"_sj},
        {{2003, 6, 2}, 25, 0, "2003/06/02(月) 25:00"_sj},  // the next day's 01:00
    };
    for (const auto& r : rows) {
        std::string display;
        std::time_t t = 0;
        EXPECT_EQ(FormatEntryDate(display, r.date, r.hour, r.minute, t), 1);
        EXPECT_EQ(display, r.display);
        EXPECT_EQ(t, MakeLocalTime(2003, 6, r.date.day, r.hour < 0 ? 0 : r.hour, r.minute, 0));
    }
}

TEST_F(DateText, TimeValueOnlyWithinTenYears) {
    const struct {
        CalDate date;
        int result;
    } rows[] = {
        {{2013, 12, 31}, 1}, {{2014, 1, 1}, 0}, {{1993, 1, 1}, 1}, {{1992, 12, 31}, 0}, {{1700, 2, 29}, 0},
    };
    for (const auto& r : rows) {
        std::string display;
        std::time_t t = 12345;
        EXPECT_EQ(FormatEntryDate(display, r.date, -1, 0, t), r.result) << display;
        if (!r.result) {
            EXPECT_EQ(t, 12345);
        }
    }
}
