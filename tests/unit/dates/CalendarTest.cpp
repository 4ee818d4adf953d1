#include "DateTestClock.h"

#include "dates/Calendar.h"
#include "dates/WorkingDate.h"
#include "text/Sjis.h"

#include <ctime>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

using namespace nelo;

using Calendar = DateTestBase;

namespace {

void ExpectDate(const CalDate& d, int year, int month, int day) {
    EXPECT_EQ(d.year, year);
    EXPECT_EQ(d.month, month);
    EXPECT_EQ(d.day, day);
}

}  // namespace

TEST_F(Calendar, DaysInYearFollowsJulianThenGregorian) {
    const struct {
        int year, days;
    } rows[] = {{1600, 366}, {1700, 366}, {1701, 365}, {1752, 355}, {1796, 366}, {1800, 365},
                {1900, 365}, {2000, 366}, {2003, 365}, {2004, 366}, {2100, 365}, {2400, 366}};
    for (const auto& r : rows) EXPECT_EQ(DaysInYear(r.year), r.days) << r.year;
}

TEST_F(Calendar, MonthLengthsFor1752AndLeapYears) {
    EXPECT_EQ(MonthLength(1752, 2), 29);
    EXPECT_EQ(MonthLength(1752, 9), 19);
    EXPECT_EQ(MonthLength(1900, 2), 28);
    EXPECT_EQ(MonthLength(1900, 9), 30);
    EXPECT_EQ(MonthLength(1700, 2), 29);
    int sum = 0;
    for (int m = 1; m <= 12; ++m) sum += MonthLength(1752, m);
    EXPECT_EQ(sum, 355);
    EXPECT_TRUE(IsValidDate({2004, 2, 29}));
    EXPECT_FALSE(IsValidDate({2003, 2, 29}));
    EXPECT_FALSE(IsValidDate({1900, 2, 29}));
    EXPECT_TRUE(IsValidDate({1700, 2, 29}));
    EXPECT_FALSE(IsValidDate({1752, 9, 20}));
    EXPECT_FALSE(IsValidDate({2003, 13, 1}));
    EXPECT_FALSE(IsValidDate({2003, 3, 0}));
}

TEST_F(Calendar, FirstWeekdayOfKnownYears) {
    EXPECT_EQ(FirstWeekday(2003), 3);  // Wednesday
    EXPECT_EQ(FirstWeekday(1752), 3);
    EXPECT_EQ(FirstWeekday(1753), 1);
    EXPECT_EQ(FirstWeekday(1800), 3);
    EXPECT_EQ(FirstWeekday(1801), 4);
    EXPECT_EQ(FirstWeekday(2000), 6);
}

TEST_F(Calendar, WeekdaysRunOnWithoutGapFromYearOneTo2400) {
    for (int y = 1; y < 2400; ++y) ASSERT_EQ(FirstWeekday(y + 1), (FirstWeekday(y) + DaysInYear(y)) % 7) << y;
}

// Day numbers step one day at a time over the whole range, with the weekdays, across
// 1752's short September and the Julian leap years.
TEST_F(Calendar, DayNumbersWalkEveryDayFromYearOneTo2400) {
    CalDate d{1, 1, 1};
    long long n = DayNumber(d);
    int weekday = WeekdayOf(d);
    while (d.year < 2400) {
        const CalDate next = AddDays(d, 1);
        ASSERT_EQ(DayNumber(next), n + 1);
        ASSERT_EQ(FromDayNumber(n + 1), next);
        ASSERT_TRUE(IsValidDate(next)) << next.year << "-" << next.month << "-" << next.day;
        if (next.month == d.month) {
            ASSERT_EQ(next.day, d.day + 1);
        } else {
            ASSERT_EQ(d.day, MonthLength(d.year, d.month));
            ASSERT_EQ(next.day, 1);
        }
        ASSERT_EQ(WeekdayOf(next), (weekday + 1) % 7);
        weekday = WeekdayOf(next);
        d = next;
        ++n;
    }
}

TEST_F(Calendar, September1752HasNineteenDaysAndWeekdaysRunOn) {
    EXPECT_EQ(WeekdayOf({1752, 9, 2}), 3);  // Wednesday
    ExpectDate(AddDays({1752, 9, 2}, 1), 1752, 9, 3);
    EXPECT_EQ(WeekdayOf({1752, 9, 3}), 4);
    ExpectDate(AddDays({1752, 9, 19}, 1), 1752, 10, 1);
    EXPECT_EQ(DayOfYear({1752, 10, 1}), 31 + 29 + 31 + 30 + 31 + 30 + 31 + 31 + 19 + 1);
}

TEST_F(Calendar, WeekdaysAndDatesAgreeWithTheCLibraryFrom1800To2400) {
    std::tm tm{};
    tm.tm_year = 1800 - 1900;
    tm.tm_mday = 1;
    std::time_t t = timegm(&tm);
    CalDate d{1800, 1, 1};
    while (true) {
        std::tm c{};
        gmtime_r(&t, &c);
        if (c.tm_year + 1900 > 2400) break;
        ASSERT_EQ(d.year, c.tm_year + 1900);
        ASSERT_EQ(d.month, c.tm_mon + 1);
        ASSERT_EQ(d.day, c.tm_mday);
        ASSERT_EQ(WeekdayOf(d), c.tm_wday) << c.tm_year + 1900 << "-" << c.tm_mon + 1 << "-" << c.tm_mday;
        ASSERT_EQ(DayOfYear(d), c.tm_yday + 1);
        d = AddDays(d, 1);
        t += 86400;
    }
}

TEST_F(Calendar, AddDaysCrossesYears) {
    const struct {
        CalDate from;
        long long n;
        int year, month, day;
    } rows[] = {
        {{2003, 1, 1}, -1, 2002, 12, 31}, {{2003, 1, 1}, 364, 2003, 12, 31}, {{2003, 1, 1}, 365, 2004, 1, 1},
        {{2004, 1, 1}, 59, 2004, 2, 29},  {{2003, 1, 1}, -365, 2002, 1, 1},  {{2003, 1, 1}, 1095, 2005, 12, 31},
        {{1752, 1, 1}, 263, 1752, 10, 1}, {{1753, 1, 1}, -1, 1752, 12, 31},  {{2001, 1, 1}, -731, 1999, 1, 1},
    };
    for (const auto& r : rows) ExpectDate(AddDays(r.from, r.n), r.year, r.month, r.day);
}

TEST_F(Calendar, AddMonthsCarriesYearsAndClampsTheDay) {
    const struct {
        int year, month, day, n, toYear, toMonth, toDay;
    } rows[] = {
        {2003, 1, 31, 1, 2003, 2, 28},   {2004, 1, 31, 1, 2004, 2, 29}, {2003, 3, 15, -14, 2002, 1, 15},
        {2003, 1, 10, -1, 2002, 12, 10}, {2003, 12, 1, 1, 2004, 1, 1},  {2003, 6, 30, 24, 2005, 6, 30},
        {2003, 5, 31, -3, 2003, 2, 28},  {2003, 1, 1, -12, 2002, 1, 1}, {2003, 1, 1, -13, 2001, 12, 1},
    };
    for (const auto& r : rows) ExpectDate(AddMonths({r.year, r.month, r.day}, r.n), r.toYear, r.toMonth, r.toDay);
    ExpectDate(AddYears({2004, 2, 29}, 1), 2005, 2, 28);
    ExpectDate(AddYears({2004, 2, 29}, 4), 2008, 2, 29);
}

TEST_F(Calendar, WorkingDateStartsTodayAndRefusesToLeaveTheYearsOneTo9999) {
    WorkingDate date;
    Freeze(2003, 6, 4);
    EXPECT_EQ(date.Get().year, 2003);
    EXPECT_EQ(date.Get().day, 4);
    EXPECT_EQ(date.Get().weekday, 3);
    EXPECT_EQ(date.Get().hour, kNoTime);
    date.Set({9999, 12, 31});
    EXPECT_FALSE(date.MoveDays(1));
    EXPECT_FALSE(date.MoveMonths(1));
    EXPECT_FALSE(date.MoveYears(1));
    ExpectDate(date.Date(), 9999, 12, 31);
    EXPECT_FALSE(date.MoveDays(-2000000000LL * 2));
    EXPECT_TRUE(date.MoveDays(-1));
    ExpectDate(date.Date(), 9999, 12, 30);
    EXPECT_EQ(date.Get().dayOfYear, 364);
    date.Reset();
    ExpectDate(date.Date(), 2003, 6, 4);
}

// The calendar sits below the phrase reader and the date answers: it and the helpers it
// uses reach only each other, the platform and the character layer.
TEST(CalendarLayer, CalendarIncludesNothingAboveIt) {
    static const std::regex kInclude(R"re(#include "([^"]+)")re");
    static const std::regex kAllowed(
        R"re((dates/Calendar|dates/DateTimeRec|dates/WorkingDate|dates/DateWords)\.h|(platform|text)/.+)re");
    for (const char* file :
         {"Calendar.h", "Calendar.cpp", "WorkingDate.h", "WorkingDate.cpp", "DateWords.h", "DateWords.cpp"}) {
        std::ifstream in(std::string(NELO_SOURCE_DIR) + "/src/dates/" + file);
        ASSERT_TRUE(in) << file;
        std::ostringstream source;
        source << in.rdbuf();
        const std::string text = source.str();
        for (std::sregex_iterator it(text.begin(), text.end(), kInclude), end; it != end; ++it)
            EXPECT_TRUE(std::regex_match((*it)[1].str(), kAllowed)) << file << " includes " << (*it)[1];
    }
}
