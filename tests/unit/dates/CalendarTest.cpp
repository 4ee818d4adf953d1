#include "DateTestClock.h"

#include "dates/DateTimeRec.h"
#include "text/Sjis.h"

#include <ctime>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

using Calendar = DateTestBase;

namespace {

void ExpectWork(int year, int month, int day) {
    EXPECT_EQ(g_dtWork.year, year);
    EXPECT_EQ(g_dtWork.month, month);
    EXPECT_EQ(g_dtWork.day, day);
}

}  // namespace

TEST_F(Calendar, DaysInYearFollowsJulianThenGregorian) {
    const struct {
        int year, days;
    } rows[] = {{1600, 366}, {1700, 366}, {1701, 365}, {1752, 355}, {1796, 366}, {1800, 365},
                {1900, 365}, {2000, 366}, {2003, 365}, {2004, 366}, {2100, 365}, {2400, 366}};
    for (const auto& r : rows) EXPECT_EQ(DaysInYear(r.year), r.days) << r.year;
}

TEST_F(Calendar, MonthTableFor1752AndLeapYears) {
    AdjustMonthTable(1752);
    EXPECT_EQ(g_monthDays[2], 29);
    EXPECT_EQ(g_monthDays[9], 19);
    AdjustMonthTable(1900);
    EXPECT_EQ(g_monthDays[2], 28);
    EXPECT_EQ(g_monthDays[9], 30);
    AdjustMonthTable(1700);
    EXPECT_EQ(g_monthDays[2], 29);
    int sum = 0;
    AdjustMonthTable(1752);
    for (int m = 1; m <= 12; ++m) sum += g_monthDays[m];
    EXPECT_EQ(sum, 355);
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

TEST_F(Calendar, September1752HasNineteenDaysAndWeekdaysRunOn) {
    ASSERT_EQ(SetDate(2, 9, 1752), 1);
    EXPECT_EQ(g_dtWork.weekday, 3);  // Wednesday
    AddDays(1);
    ExpectWork(1752, 9, 3);
    EXPECT_EQ(g_dtWork.weekday, 4);
    EXPECT_EQ(SetDate(19, 9, 1752), 1);
    AddDays(1);
    ExpectWork(1752, 10, 1);
    EXPECT_EQ(SetDate(20, 9, 1752), 0);
    ExpectWork(1752, 9, 19);
}

TEST_F(Calendar, WeekdaysAndDatesAgreeWithTheCLibraryFrom1800To2400) {
    std::tm tm{};
    tm.tm_year = 1800 - 1900;
    tm.tm_mday = 1;
    std::time_t t = timegm(&tm);
    ASSERT_EQ(SetDate(1, 1, 1800), 1);
    while (true) {
        std::tm c{};
        gmtime_r(&t, &c);
        if (c.tm_year + 1900 > 2400) break;
        ASSERT_EQ(g_dtWork.year, c.tm_year + 1900);
        ASSERT_EQ(g_dtWork.month, c.tm_mon + 1);
        ASSERT_EQ(g_dtWork.day, c.tm_mday);
        ASSERT_EQ(g_dtWork.weekday, c.tm_wday) << c.tm_year + 1900 << "-" << c.tm_mon + 1 << "-" << c.tm_mday;
        ASSERT_EQ(g_dtWork.dayOfYear, c.tm_yday + 1);
        // The weekday that Recompute derives from the date agrees as well.
        DateTimeRec moved = g_dtWork;
        ASSERT_EQ(SetDate(moved.day, moved.month, moved.year), 1);
        ASSERT_EQ(g_dtWork.weekday, c.tm_wday);
        AddDays(1);
        t += 86400;
    }
}

TEST_F(Calendar, ValidateCorrectsOnlyTheFirstProblem) {
    g_dtWork.year = -5;
    g_dtWork.month = 13;
    g_dtWork.day = 40;
    EXPECT_EQ(ValidateDate(), 0);
    EXPECT_EQ(g_dtWork.year, 0);
    EXPECT_EQ(g_dtWork.month, 13);
    EXPECT_EQ(ValidateDate(), 0);
    EXPECT_EQ(g_dtWork.month, 12);
    EXPECT_EQ(g_dtWork.day, 40);
    EXPECT_EQ(ValidateDate(), 0);
    EXPECT_EQ(g_dtWork.day, 31);
    EXPECT_EQ(ValidateDate(), 1);

    EXPECT_EQ(SetDate(0, 3, 2003), 0);
    ExpectWork(2003, 3, 1);
    EXPECT_EQ(SetDate(30, 2, 2003), 0);
    ExpectWork(2003, 2, 28);
    EXPECT_EQ(SetDate(29, 2, 2004), 1);
    EXPECT_EQ(SetDate(29, 2, 1900), 0);
    EXPECT_EQ(SetDate(29, 2, 1700), 1);
}

// A month the first correction leaves outside 1-12 (after a negative year) counts every
// month of the table before it, or none; 1752 and leap years through the adjusted table.
TEST_F(Calendar, DayOfYearOfMonthsOutsideTheYear) {
    const struct {
        int year, month, day, dayOfYear;
    } rows[] = {
        {-1, 13, 5, 366 + 5}, {-1, 40, 1, 366 + 1}, {-1, 0, 7, 7}, {-1, -3, 7, 7}, {-1, 3, 1, 31 + 29 + 1},
    };
    for (const auto& r : rows) {
        g_dtWork.year = r.year;
        g_dtWork.month = static_cast<short>(r.month);
        g_dtWork.day = static_cast<short>(r.day);
        EXPECT_EQ(Recompute(), 0);
        EXPECT_EQ(g_dtWork.dayOfYear, r.dayOfYear) << r.month;
    }
    const struct {
        int year, month, day, dayOfYear;
    } inYear[] = {
        {1752, 10, 1, 31 + 29 + 31 + 30 + 31 + 30 + 31 + 31 + 19 + 1},
        {1752, 9, 19, 244 + 19},
        {1700, 3, 1, 61},
        {1900, 3, 1, 60},
        {2000, 12, 31, 366},
        {2003, 12, 31, 365},
    };
    for (const auto& r : inYear) {
        ASSERT_EQ(SetDate(r.day, r.month, r.year), 1);
        EXPECT_EQ(g_dtWork.dayOfYear, r.dayOfYear) << r.year << "-" << r.month;
    }
}

TEST_F(Calendar, SetDayOfYearCrossesYears) {
    const struct {
        int baseYear, n, year, month, day;
    } rows[] = {
        {2003, 0, 2002, 12, 31}, {2003, 1, 2003, 1, 1},    {2003, 365, 2003, 12, 31},  {2003, 366, 2004, 1, 1},
        {2004, 60, 2004, 2, 29}, {2003, -364, 2002, 1, 1}, {2003, 1096, 2005, 12, 31}, {1752, 264, 1752, 10, 1},
        {1753, 0, 1752, 12, 31}, {2001, -730, 1999, 1, 1},
    };
    for (const auto& r : rows) {
        SetDate(1, 1, r.baseYear);
        SetDayOfYear(r.n);
        ExpectWork(r.year, r.month, r.day);
    }
}

TEST_F(Calendar, AddMonthsCarriesYearsAndClampsTheDay) {
    const struct {
        int year, month, day, n, toYear, toMonth, toDay;
    } rows[] = {
        {2003, 1, 31, 1, 2003, 2, 28},   {2004, 1, 31, 1, 2004, 2, 29}, {2003, 3, 15, -14, 2002, 1, 15},
        {2003, 1, 10, -1, 2002, 12, 10}, {2003, 12, 1, 1, 2004, 1, 1},  {2003, 6, 30, 24, 2005, 6, 30},
        {2003, 5, 31, -3, 2003, 2, 28},  {2003, 1, 1, -12, 2002, 1, 1}, {2003, 1, 1, -13, 2001, 12, 1},
    };
    for (const auto& r : rows) {
        SetDate(r.day, r.month, r.year);
        AddMonths(r.n);
        ExpectWork(r.toYear, r.toMonth, r.toDay);
    }
}

TEST_F(Calendar, FindWeekdayAndBlankOut) {
    int index = -1;
    std::string::size_type pos = 0;
    std::string text = "来週金曜日"_sj;
    ASSERT_EQ(FindWeekday(text, index, pos), 1);
    EXPECT_EQ(index, 5);
    EXPECT_EQ(pos, 4u);
    EXPECT_EQ(FindWeekday("来週"_sj, index, pos), 0);
    BlankOut(text, pos, 6);
    EXPECT_EQ(text, std::string("来週"_sj) + "      ");
    BlankOut(text, 8, 100);  // clipped to the text
    EXPECT_EQ(text.size(), 10u);
}

TEST_F(Calendar, ResetWorkingDateGoesToTodayWithoutTime) {
    SetDate(1, 1, 1999);
    SetTime(5, 6, 7);
    Freeze(2003, 6, 4);
    ExpectWork(2003, 6, 4);
    EXPECT_EQ(g_dtWork.weekday, 3);
    EXPECT_EQ(g_dtWork.hour, NO_TIME);
}

// The calendar record sits below the phrase parser and the date answers: it and the
// helpers it uses reach only each other, the platform and the character layer, so the
// record can be used (and changed) without the parser.
TEST(CalendarLayer, RecordIncludesNothingAboveIt) {
    static const std::regex kInclude(R"re(#include "([^"]+)")re");
    static const std::regex kAllowed(R"re((dates/DateTimeRec|dates/DateWords)\.h|(platform|text)/.+)re");
    for (const char* file : {"DateTimeRec.h", "DateTimeRec.cpp", "DateWords.h", "DateWords.cpp"}) {
        std::ifstream in(std::string(NELO_SOURCE_DIR) + "/src/dates/" + file);
        ASSERT_TRUE(in) << file;
        std::ostringstream source;
        source << in.rdbuf();
        const std::string text = source.str();
        for (std::sregex_iterator it(text.begin(), text.end(), kInclude), end; it != end; ++it)
            EXPECT_TRUE(std::regex_match((*it)[1].str(), kAllowed)) << file << " includes " << (*it)[1];
    }
}
