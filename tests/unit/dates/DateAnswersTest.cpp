#include "DateTestClock.h"

#include "dates/DateAnswers.h"
#include "dates/WorkingDate.h"
#include "text/JText.h"
#include "text/Sjis.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>

using namespace nelo;

using DateAnswers = DateTestBase;

namespace {

std::string FullYear(long long year) { return ToFullWidth(std::to_string(year)) + "年"_sj; }

}  // namespace

TEST_F(DateAnswers, Weekday) {
    const struct {
        CalDate date;
        const char* out;
    } rows[] = {
        {{2003, 1, 1}, "2003年1月1日は水曜日です。"_sj},
        {{2003, 6, 1}, "2003年6月1日は日曜日です。"_sj},
        {{1752, 9, 3}, "1752年9月3日は木曜日です。"_sj},
        {{9999, 12, 31}, "9999年12月31日は金曜日です。"_sj},
    };
    for (const auto& r : rows) {
        std::string out;
        WeekdayAnswer(out, r.date);
        EXPECT_EQ(out, r.out);
        // The answer as it goes out is written in full width at once.
        FullWidthWeekdayAnswer(out, r.date);
        EXPECT_EQ(out, ToFullWidth(r.out)) << r.out;
    }
    std::string out;
    BaseDateAnswer(out, {2003, 6, 1});
    EXPECT_EQ(out, "基準日は2003年6月1日です。"_sj);
}

TEST_F(DateAnswers, BaseDateMovesByTheOffsets) {
    WorkingDate date;
    std::string out;
    DayCountAnswer(out, date.Date(), {2003, 12, 25});
    EXPECT_EQ(out, "207日(5ヶ月54日)です。"_sj);
    EXPECT_EQ(AddDaysAnswer(date, out, 10), 1);
    EXPECT_EQ(out, "2003年6月11日です。"_sj);
    EXPECT_EQ(AddDaysAnswer(date, out, 10), 1);
    EXPECT_EQ(out, "2003年6月21日です。"_sj);
}

TEST_F(DateAnswers, Age) {
    const struct {
        int year, month, day;  // today, at 10:00
        CalDate birth;
        const char* out;
    } rows[] = {
        {2003, 6, 1, {1970, 5, 5}, "33歳0ヶ月27日です。"_sj},
        {2003, 6, 1, {1970, 7, 10}, "32歳10ヶ月22日です。"_sj},
        {2003, 6, 1, {2003, 6, 1}, "0歳0ヶ月0日です。"_sj},
        {2003, 6, 1, {1970, 6, 1}, "33歳0ヶ月0日です。"_sj},
        {2003, 1, 5, {2002, 12, 20}, "0歳0ヶ月16日です。"_sj},
        // This month's 31st of June is 1 July, still ahead.
        {2003, 6, 30, {1970, 1, 31}, "33歳4ヶ月30日です。"_sj},
        {2003, 3, 1, {2000, 1, 31}, "3歳1ヶ月1日です。"_sj},
    };
    for (const auto& r : rows) {
        Freeze(r.year, r.month, r.day);
        std::string out;
        EXPECT_EQ(AgeAnswer(out, r.birth), 1);
        EXPECT_EQ(out, r.out) << r.year << "-" << r.month << "-" << r.day;
    }
    // A birth date after today has no age; today itself is age zero.
    Freeze(2003, 6, 1);
    for (CalDate birth : {CalDate{2010, 1, 1}, CalDate{2003, 6, 2}, CalDate{2003, 7, 1}}) {
        std::string out;
        EXPECT_EQ(AgeAnswer(out, birth), 0);
        EXPECT_EQ(out, "わかりません。"_sj);
    }
}

TEST_F(DateAnswers, DayCountTable) {
    const struct {
        CalDate base, other;
        const char* out;
    } rows[] = {
        {{2003, 1, 10}, {2003, 3, 5}, "54日(1ヶ月26日)です。"_sj},
        {{2003, 1, 10}, {2003, 2, 20}, "41日です。"_sj},
        {{2003, 1, 10}, {2003, 1, 10}, "0日です。"_sj},
        {{2003, 6, 1}, {2003, 12, 25}, "207日(5ヶ月54日)です。"_sj},
        {{2001, 3, 10}, {2003, 5, 20}, "801日(25ヶ月41日、1年13ヶ月41日)です。"_sj},
        {{2003, 5, 20}, {2001, 3, 10}, "801日(25ヶ月41日、1年13ヶ月41日)です。"_sj},
        {{2003, 12, 31}, {2004, 1, 1}, "1日です。"_sj},
        {{2003, 11, 30}, {2004, 2, 1}, "63日(2ヶ月1日)です。"_sj},
    };
    for (const auto& r : rows) {
        std::string out;
        DayCountAnswer(out, r.base, r.other);
        EXPECT_EQ(out, r.out);
    }
}

TEST_F(DateAnswers, DayCountsAgreeWithAnIndependentDifference) {
    std::mt19937 rng(2003);
    std::uniform_int_distribution<int> yearOf(1800, 2400), monthOf(1, 12), dayOf(1, 31);
    auto daysSinceEpoch = [](int y, int m, int d) {
        std::tm tm{};
        tm.tm_year = y - 1900;
        tm.tm_mon = m - 1;
        tm.tm_mday = d;
        return static_cast<long long>(timegm(&tm) / 86400);
    };
    for (int n = 0; n < 4000; ++n) {
        int y1 = yearOf(rng), m1 = monthOf(rng), d1 = dayOf(rng);
        int y2 = yearOf(rng), m2 = monthOf(rng), d2 = dayOf(rng);
        if (n % 4 == 0) y2 = y1;  // same year now and then
        if (d1 > MonthLength(y1, m1)) d1 = MonthLength(y1, m1);
        if (d2 > MonthLength(y2, m2)) d2 = MonthLength(y2, m2);
        long long expected = daysSinceEpoch(y2, m2, d2) - daysSinceEpoch(y1, m1, d1);
        if (expected < 0) expected = -expected;
        for (int order = 0; order < 2; ++order) {
            std::string out;
            DayCountAnswer(out, {y1, m1, d1}, {y2, m2, d2});
            ASSERT_EQ(std::atoll(out.c_str()), expected) << y1 << "/" << m1 << "/" << d1 << " - " << y2;
            std::swap(y1, y2);
            std::swap(m1, m2);
            std::swap(d1, d2);
        }
    }
}

TEST_F(DateAnswers, DayCountsOverTheCalendarChangesAddUpTheYears) {
    const int years[] = {100, 101, 104, 1600, 1700, 1751, 1752, 1753, 1799, 1800, 1801, 1900, 2000, 2003, 2400, 9999};
    for (int y1 : years)
        for (int y2 : years) {
            if (y1 >= y2) continue;
            long long expected = 0;  // 1 January y1 to 1 January y2
            for (int y = y1; y < y2; ++y) expected += DaysInYear(y);
            std::string out;
            DayCountAnswer(out, {y1, 1, 1}, {y2, 1, 1});
            EXPECT_EQ(std::atoll(out.c_str()), expected) << y1 << " " << y2;
        }
}

TEST_F(DateAnswers, DayCountFromAHugeYearIsExactAndImmediate) {
    // A base date this far out once took a loop over every year between and overflowed
    // the month count.
    std::string out;
    DayCountAnswer(out, {999999999, 12, 31}, {2003, 12, 25});
    EXPECT_EQ(out, "365241768060日(11999975951ヶ月37日、999997995年11ヶ月37日)です。"_sj);
}

TEST_F(DateAnswers, EraExamples) {
    const struct {
        const char* word;
        const char* out;
    } rows[] = {
        {"平成１２年"_sj, "西暦2000年です。"_sj},
        {"２０００年"_sj, "平成12年です。"_sj},
        {"１９８９年"_sj, "昭和64年、または平成1年です。"_sj},
        {"１８００年"_sj, "変換できません。1800年です。"_sj},
        {"平成１年"_sj, "西暦1989年です。"_sj},
        {"昭和６４年"_sj, "西暦1989年です。"_sj},
        {"１９２６年"_sj, "大正15年、または昭和1年です。"_sj},
        {"１９１２年"_sj, "明治45年、または大正1年です。"_sj},
        {"１８６８年"_sj, "明治1年です。"_sj},
        {"１８６７年"_sj, "変換できません。1867年です。"_sj},
        {"２０１８年"_sj, "平成30年です。"_sj},
        {"２０１９年"_sj, "平成31年、または令和1年です。"_sj},
        {"２０２６年"_sj, "令和8年です。"_sj},
        {"令和５年"_sj, "西暦2023年です。"_sj},
        {"平成元年"_sj, "西暦1989年です。"_sj},
        {"令和元年"_sj, "西暦2019年です。"_sj},
        {"西暦２０００年"_sj, "平成12年です。"_sj},
        {"明治４５年"_sj, "西暦1912年です。"_sj},
        // No year number, or one longer than can be read: refused, never a made-up year.
        {"来年"_sj, "数値の指定が違います。"_sj},
        {"平成年"_sj, "数値の指定が違います。"_sj},
        {"年"_sj, "数値の指定が違います。"_sj},
        {"９９９９９９９９９９９年"_sj, "数値の指定が違います。"_sj},
        {"平成９９９９９９９９９９９年"_sj, "数値の指定が違います。"_sj},
        {"９９９９９９９９９年"_sj, "令和999997981年です。"_sj},
    };
    for (const auto& r : rows) {
        std::string out;
        AnswerEra(out, r.word);
        EXPECT_EQ(out, r.out);
    }
}

TEST_F(DateAnswers, EraConversionSweepsBothWays) {
    const struct {
        const char* name;
        int first;
    } eras[] = {{"明治"_sj, 1868}, {"大正"_sj, 1912}, {"昭和"_sj, 1926}, {"平成"_sj, 1989}, {"令和"_sj, 2019}};
    const int count = sizeof eras / sizeof eras[0];
    for (int y = 1868; y <= 2100; ++y) {
        int e = count - 1;
        while (eras[e].first > y) --e;
        std::string expected;
        if (y == eras[e].first && e > 0)
            expected = eras[e - 1].name + std::to_string(y - eras[e - 1].first + 1) + "年、または"_sj + eras[e].name +
                       "1年です。"_sj;
        else
            expected = eras[e].name + std::to_string(y - eras[e].first + 1) + "年です。"_sj;
        std::string out;
        AnswerEra(out, FullYear(y));
        ASSERT_EQ(out, expected) << y;
    }
    for (int e = 0; e < count; ++e) {
        const int last = e + 1 < count ? eras[e + 1].first : 2100;
        for (int y = eras[e].first; y <= last; ++y) {
            const int n = y - eras[e].first + 1;
            std::string out;
            AnswerEra(out, eras[e].name + FullYear(n));
            ASSERT_EQ(out, "西暦"_sj + std::to_string(y) + "年です。"_sj) << y;
        }
    }
}

TEST_F(DateAnswers, DateArithmeticFromTheTwentyNinthOfFebruary) {
    std::string out;
    const struct {
        int (*add)(WorkingDate&, std::string&, int);
        int n;
        const char* out;
    } rows[] = {
        {AddYearsAnswer, 1, "2005年2月28日です。"_sj}, {AddMonthsAnswer, 1, "2004年3月29日です。"_sj},
        {AddWeeksAnswer, 1, "2004年3月7日です。"_sj},  {AddDaysAnswer, -60, "2003年12月31日です。"_sj},
        {AddYearsAnswer, 4, "2008年2月29日です。"_sj}, {AddMonthsAnswer, -14, "2002年12月29日です。"_sj},
    };
    for (const auto& r : rows) {
        WorkingDate date;
        date.Set({2004, 2, 29});
        EXPECT_EQ(r.add(date, out, r.n), 1);
        EXPECT_EQ(out, r.out);
    }
}

TEST_F(DateAnswers, DateArithmeticRefusesToLeaveTheYearsOneTo9999) {
    const struct {
        int year, month, day;
        int (*add)(WorkingDate&, std::string&, int);
        int n;
    } rows[] = {
        {9999, 12, 31, AddDaysAnswer, 1},      {1, 1, 1, AddDaysAnswer, -1},
        {9999, 12, 1, AddMonthsAnswer, 1},     {1, 1, 31, AddMonthsAnswer, -1},
        {9999, 6, 1, AddYearsAnswer, 1},       {2003, 6, 1, AddYearsAnswer, INT_MAX},
        {2003, 6, 1, AddYearsAnswer, INT_MIN}, {2003, 6, 1, AddWeeksAnswer, INT_MAX},
        {2003, 6, 1, AddDaysAnswer, INT_MIN},  {2003, 6, 1, AddMonthsAnswer, INT_MAX},
        {9999, 12, 25, AddWeeksAnswer, 1},
    };
    for (const auto& r : rows) {
        WorkingDate date;
        date.Set({r.year, r.month, r.day});
        std::string out = "x";
        EXPECT_EQ(r.add(date, out, r.n), 0) << r.year << " " << r.n;
        EXPECT_EQ(out, "x");
        EXPECT_EQ(date.Date(), (CalDate{r.year, r.month, r.day}));
    }
    WorkingDate date;
    date.Set({9999, 12, 30});
    std::string out;
    EXPECT_EQ(AddDaysAnswer(date, out, 1), 1);
    EXPECT_EQ(out, "9999年12月31日です。"_sj);
}
