#include "DateTestClock.h"

#include "dates/DateParser.h"
#include "dates/DateTimeRec.h"
#include "text/JText.h"
#include "text/Sjis.h"

#include <random>
#include <string>

namespace {

constexpr const char* kUntouched = "<untouched>";

struct PhraseRow {
    int year, month, day;  // today
    const char* before;    // a phrase parsed first (the previous date), or nullptr
    const char* phrase;
    int result;
    const char* out;  // kUntouched: out must keep its value
};

class DatePhrase : public DateTestBase, public ::testing::WithParamInterface<PhraseRow> {};

std::string Bad() { return BadPeriodText(); }

}  // namespace

TEST_P(DatePhrase, Parses) {
    const PhraseRow& r = GetParam();
    Freeze(r.year, r.month, r.day);
    std::string out;
    if (r.before) {
        ASSERT_EQ(ParseDatePhrase(out, r.before), 1);
    }
    out = kUntouched;
    EXPECT_EQ(ParseDatePhrase(out, r.phrase), r.result);
    EXPECT_EQ(out, std::string(r.out));
}

// Today 2003-06-01, a Sunday.
INSTANTIATE_TEST_SUITE_P(
    DayWords, DatePhrase,
    ::testing::Values(PhraseRow{2003, 6, 1, nullptr, "明日"_sj, 1, "2003/06/02"},
                      PhraseRow{2003, 6, 1, nullptr, "明後日１０時"_sj, 1, "2003/06/03 10:00"},
                      PhraseRow{2003, 6, 1, nullptr, "一昨日"_sj, 1, "2003/05/30"},
                      PhraseRow{2003, 6, 1, nullptr, "昨日"_sj, 1, "2003/05/31"},
                      PhraseRow{2003, 6, 1, nullptr, "今日"_sj, 1, "2003/06/01"},
                      PhraseRow{2003, 6, 1, nullptr, "本日"_sj, 1, "2003/06/01"},
                      PhraseRow{2003, 12, 31, nullptr, "明日"_sj, 1, "2004/01/01"},
                      PhraseRow{2003, 6, 1, nullptr, "明日１０時３０"_sj, 1, "2003/06/02 10:30"},
                      PhraseRow{2003, 6, 1, nullptr, "明日１０時３０分"_sj, 1, "2003/06/02 10:30"},
                      PhraseRow{2003, 6, 1, nullptr, "明日１０：３０"_sj, 1, "2003/06/02 10:30"},
                      PhraseRow{2003, 6, 1, nullptr, "明日１０：００－１２：００"_sj, 1, "2003/06/02 10:00"},
                      PhraseRow{2003, 6, 1, nullptr, "明日午後３時"_sj, 1, "2003/06/02 15:00"},
                      PhraseRow{2003, 6, 1, nullptr, "明日正午"_sj, 1, "2003/06/02 12:00"},
                      PhraseRow{2003, 6, 1, nullptr, "来週月曜日正午"_sj, 1, "2003/06/09 12:00"},
                      PhraseRow{2003, 6, 1, nullptr, "１２／２５正午"_sj, 1, "2003/12/25 12:00"},
                      PhraseRow{2003, 6, 1, nullptr, "明日昼１２時"_sj, 1, "2003/06/02 12:00"},
                      PhraseRow{2003, 6, 1, nullptr, "明日昼１時"_sj, 1, "2003/06/02 13:00"},
                      PhraseRow{2003, 6, 1, nullptr, "明日昼１２時３０分"_sj, 1, "2003/06/02 12:30"},
                      PhraseRow{2003, 6, 1, nullptr, "明日午後１２時"_sj, 1, "2003/06/02 24:00"},
                      PhraseRow{2003, 6, 1, nullptr, "あ正午"_sj, 0, "あ正午"_sj},
                      PhraseRow{2003, 6, 1, "２００３／１／１"_sj, "今夜１０時"_sj, 1, "2003/01/01 22:00"}));

INSTANTIATE_TEST_SUITE_P(Weekdays, DatePhrase,
                         ::testing::Values(PhraseRow{2003, 6, 4, nullptr, "月曜日"_sj, 1, "2003/06/09"},
                                           PhraseRow{2003, 6, 4, nullptr, "水曜日"_sj, 1, "2003/06/04"},
                                           PhraseRow{2003, 6, 4, nullptr, "金曜日"_sj, 1, "2003/06/06"},
                                           PhraseRow{2003, 6, 4, nullptr, "日曜日"_sj, 1, "2003/06/08"},
                                           PhraseRow{2003, 6, 4, nullptr, "来週月曜日"_sj, 1, "2003/06/09"},
                                           PhraseRow{2003, 6, 4, nullptr, "今週月曜日"_sj, 1, "2003/06/02"},
                                           PhraseRow{2003, 6, 4, nullptr, "再来週月曜日"_sj, 1, "2003/06/16"},
                                           PhraseRow{2003, 6, 4, nullptr, "先週金曜日"_sj, 1, "2003/05/30"},
                                           PhraseRow{2003, 6, 4, nullptr, "先々週土曜日"_sj, 1, "2003/05/24"},
                                           PhraseRow{2003, 6, 4, nullptr, "来週月曜日１０時"_sj, 1, "2003/06/09 10:00"},
                                           PhraseRow{2003, 6, 4, nullptr, "来週"_sj, 0, kUntouched},
                                           PhraseRow{2003, 6, 4, nullptr, "来週５日"_sj, 0, "    ５日"_sj},
                                           PhraseRow{2003, 6, 4, nullptr, "来週の曜日"_sj, 0, kUntouched},
                                           PhraseRow{2003, 6, 4, nullptr, "何曜日"_sj, 0, kUntouched},
                                           PhraseRow{2003, 12, 31, nullptr, "来週金曜日"_sj, 1, "2004/01/09"}));

INSTANTIATE_TEST_SUITE_P(
    MonthAndYearWords, DatePhrase,
    ::testing::Values(PhraseRow{2003, 6, 1, nullptr, "来月５日"_sj, 1, "2003/07/05"},
                      PhraseRow{2003, 6, 1, nullptr, "再来月１日"_sj, 1, "2003/08/01"},
                      PhraseRow{2003, 6, 1, nullptr, "先々月１０日"_sj, 1, "2003/04/10"},
                      PhraseRow{2003, 6, 1, nullptr, "今月３０日１８時"_sj, 1, "2003/06/30 18:00"},
                      PhraseRow{2003, 3, 10, nullptr, "先月３１日"_sj, 0, "時期が不正です。"_sj},
                      PhraseRow{2003, 12, 10, nullptr, "来月３１日"_sj, 1, "2004/01/31"},
                      PhraseRow{2003, 6, 1, nullptr, "来年１月１日"_sj, 1, "2004/01/01"},
                      PhraseRow{2003, 6, 1, nullptr, "来年１月１日１０時"_sj, 1, "2004/01/01 10:00"},
                      PhraseRow{2003, 6, 1, nullptr, "来年１月１日午後３時"_sj, 1, "2004/01/01 15:00"},
                      PhraseRow{2003, 6, 1, nullptr, "去年５日"_sj, 1, "2002/06/05"},
                      PhraseRow{2003, 6, 1, nullptr, "来年２月２９日"_sj, 1, "2004/02/29"},
                      PhraseRow{2003, 6, 1, nullptr, "今年２月２９日"_sj, 0, "時期が不正です。"_sj},
                      PhraseRow{2004, 6, 1, nullptr, "来年２月２９日"_sj, 0, "時期が不正です。"_sj},
                      PhraseRow{2003, 6, 1, nullptr, "一昨年１２月３１日"_sj, 1, "2001/12/31"},
                      PhraseRow{2003, 6, 1, nullptr, "再来年３月３日"_sj, 1, "2005/03/03"},
                      PhraseRow{2003, 6, 1, nullptr, "昨年７月"_sj, 0, kUntouched},
                      PhraseRow{2003, 6, 1, nullptr, "来年１０時"_sj, 1, "2004/06/01 10:00"}));

INSTANTIATE_TEST_SUITE_P(
    Numeric, DatePhrase,
    ::testing::Values(PhraseRow{2003, 6, 1, nullptr, "２００３／１／１"_sj, 1, "2003/01/01"},
                      PhraseRow{2003, 6, 1, nullptr, "２００３．１．１"_sj, 1, "2003/01/01"},
                      PhraseRow{2003, 6, 1, nullptr, "２００３－１－１"_sj, 1, "2003/01/01"},
                      PhraseRow{2003, 6, 1, nullptr, "２００３・１・１"_sj, 1, "2003/01/01"},
                      PhraseRow{2003, 6, 1, nullptr, "２００３ー１ー１"_sj, 1, "2003/01/01"},
                      PhraseRow{2003, 6, 1, nullptr, "２００３年１月１日"_sj, 1, "2003/01/01"},
                      PhraseRow{2003, 6, 1, nullptr, "平成１５年１月１日"_sj, 1, "2003/01/01"},
                      PhraseRow{2003, 6, 1, nullptr, "３／１／１"_sj, 1, "2003/01/01"},
                      PhraseRow{2003, 6, 1, nullptr, "１／１５"_sj, 1, "2003/01/15"},
                      PhraseRow{2003, 6, 20, nullptr, "１５日"_sj, 1, "2003/06/15"},
                      PhraseRow{2003, 6, 1, nullptr, "１月"_sj, 0, kUntouched},
                      PhraseRow{2003, 6, 1, nullptr, "１２月２５"_sj, 1, "2003/12/25"},
                      PhraseRow{2003, 6, 1, nullptr, "２００３年１２月２５"_sj, 1, "2003/12/25"},
                      PhraseRow{2003, 6, 1, nullptr, "１２３"_sj, 0, "１２３"_sj},
                      PhraseRow{2003, 6, 1, nullptr, "あいう"_sj, 0, kUntouched},
                      PhraseRow{2003, 6, 1, nullptr, "朝日"_sj, 0, "朝日"_sj},
                      PhraseRow{2003, 6, 1, nullptr, "２００４年２月２９日"_sj, 1, "2004/02/29"},
                      PhraseRow{2003, 6, 1, nullptr, "２００３年２月２９日"_sj, 0, "時期が不正です。"_sj},
                      PhraseRow{2003, 6, 1, nullptr, "１９００年２月２９日"_sj, 0, "時期が不正です。"_sj},
                      PhraseRow{2003, 6, 1, nullptr, "１７００年２月２９日"_sj, 1, "1700/02/29"},
                      PhraseRow{2003, 6, 1, nullptr, "１７５２年９月１９日"_sj, 1, "1752/09/19"},
                      PhraseRow{2003, 6, 1, nullptr, "１７５２年９月２０日"_sj, 0, "時期が不正です。"_sj},
                      PhraseRow{2003, 6, 1, nullptr, "１３月１日"_sj, 0, "時期が不正です。"_sj},
                      PhraseRow{2003, 6, 1, nullptr, "２月０日"_sj, 0, "時期が不正です。"_sj},
                      PhraseRow{2003, 6, 1, nullptr, "０／１"_sj, 0, "時期が不正です。"_sj}));

INSTANTIATE_TEST_SUITE_P(
    Eras, DatePhrase,
    ::testing::Values(PhraseRow{2003, 6, 1, nullptr, "平成０年１月１日"_sj, 0, "時期が不正です。"_sj},
                      PhraseRow{2003, 6, 1, nullptr, "昭和６４年１月７日"_sj, 1, "1989/01/07"},
                      PhraseRow{2003, 6, 1, nullptr, "大正１年８月１日"_sj, 1, "1912/08/01"},
                      PhraseRow{2003, 6, 1, nullptr, "明治１年１月１日"_sj, 1, "1868/01/01"},
                      PhraseRow{2003, 6, 1, nullptr, "令和５年１月１日"_sj, 1, "2023/01/01"},
                      PhraseRow{2003, 6, 1, nullptr, "平成元年１月８日"_sj, 1, "1989/01/08"},
                      PhraseRow{2003, 6, 1, nullptr, "平成１５年１月１日午後３時"_sj, 1, "2003/01/01 15:00"},
                      PhraseRow{2003, 6, 1, nullptr, "午後３時平成１５年１月１日"_sj, 1, "2003/01/01 15:00"}));

INSTANTIATE_TEST_SUITE_P(
    TimesKeepThePreviousDate, DatePhrase,
    ::testing::Values(PhraseRow{2003, 6, 1, "２００３／１／１"_sj, "１０：００"_sj, 1, "2003/01/01 10:00"},
                      PhraseRow{2003, 6, 1, "２００３／１／１"_sj, "午後３時"_sj, 1, "2003/01/01 15:00"},
                      PhraseRow{2003, 6, 1, "２００３／１／１"_sj, "午後１２時"_sj, 1, "2003/01/01 24:00"},
                      PhraseRow{2003, 6, 1, "２００３／１／１"_sj, "午前９時"_sj, 1, "2003/01/01 09:00"},
                      PhraseRow{2003, 6, 1, "２００３／１／１"_sj, "夕方６時"_sj, 1, "2003/01/01 18:00"},
                      PhraseRow{2003, 6, 1, "２００３／１／１"_sj, "２５時"_sj, 1, "2003/01/01 25:00"},
                      PhraseRow{2003, 6, 1, "２００３／１／１"_sj, "１０：３０：２０"_sj, 1, "2003/01/01 10:20"},
                      PhraseRow{2003, 6, 1, "２００３／１／１"_sj, "正午"_sj, 1, "2003/01/01 12:00"},
                      PhraseRow{2003, 6, 1, "２００３／１／１"_sj, "昼１２時"_sj, 1, "2003/01/01 12:00"},
                      PhraseRow{2003, 6, 1, nullptr, "正午ね"_sj, 0, kUntouched},
                      PhraseRow{2003, 6, 1, nullptr, "１０時"_sj, 1, "2003/06/01 10:00"}));

// Half past the hour, a count of days, weeks, months or years from today, a weekday with
// の or without 日. Today 2003-06-04, a Wednesday, unless a row says otherwise.
INSTANTIATE_TEST_SUITE_P(
    EverydayPhrases, DatePhrase,
    ::testing::Values(PhraseRow{2003, 6, 4, nullptr, "明日１０時半"_sj, 1, "2003/06/05 10:30"},
                      PhraseRow{2003, 6, 4, "２００３／１／１"_sj, "午後３時半"_sj, 1, "2003/01/01 15:30"},
                      PhraseRow{2003, 6, 4, "２００３／１／１"_sj, "１０時半"_sj, 1, "2003/01/01 10:30"},
                      PhraseRow{2003, 6, 4, nullptr, "１０半"_sj, 0, kUntouched},
                      PhraseRow{2003, 6, 4, nullptr, "半"_sj, 0, kUntouched},
                      PhraseRow{2003, 6, 4, nullptr, "３日後"_sj, 1, "2003/06/07"},
                      PhraseRow{2003, 6, 4, nullptr, "０日後"_sj, 1, "2003/06/04"},
                      PhraseRow{2003, 6, 4, nullptr, "３日後１５時"_sj, 1, "2003/06/07 15:00"},
                      PhraseRow{2003, 6, 4, nullptr, "３日後午後３時半"_sj, 1, "2003/06/07 15:30"},
                      PhraseRow{2003, 6, 4, nullptr, "３日後正午"_sj, 1, "2003/06/07 12:00"},
                      PhraseRow{2003, 6, 4, nullptr, "３日後１０：１５"_sj, 1, "2003/06/07 10:15"},
                      PhraseRow{2003, 6, 4, nullptr, "３日後ね"_sj, 0, kUntouched},
                      PhraseRow{2003, 6, 4, nullptr, "２週間後"_sj, 1, "2003/06/18"},
                      PhraseRow{2003, 6, 4, nullptr, "２週後"_sj, 1, "2003/06/18"},
                      PhraseRow{2003, 6, 4, nullptr, "１ヶ月後"_sj, 1, "2003/07/04"},
                      PhraseRow{2003, 6, 4, nullptr, "１ヵ月後"_sj, 1, "2003/07/04"},
                      PhraseRow{2003, 6, 4, nullptr, "１か月後"_sj, 1, "2003/07/04"},
                      PhraseRow{2003, 6, 4, nullptr, "１カ月後"_sj, 1, "2003/07/04"},
                      PhraseRow{2003, 6, 4, nullptr, "１ケ月後"_sj, 1, "2003/07/04"},
                      PhraseRow{2003, 1, 31, nullptr, "１ヶ月後"_sj, 1, "2003/02/28"},
                      PhraseRow{2003, 6, 4, nullptr, "１年後"_sj, 1, "2004/06/04"},
                      PhraseRow{2004, 2, 29, nullptr, "１年後"_sj, 1, "2005/02/28"},
                      PhraseRow{2003, 6, 4, nullptr, "１年前"_sj, 1, "2002/06/04"},
                      PhraseRow{2003, 6, 4, nullptr, "１０日前"_sj, 1, "2003/05/25"},
                      PhraseRow{2003, 1, 5, nullptr, "１０日前"_sj, 1, "2002/12/26"},
                      PhraseRow{2003, 6, 4, nullptr, "３ヶ月前１０時"_sj, 1, "2003/03/04 10:00"},
                      PhraseRow{2003, 6, 4, nullptr, "９９９９年後"_sj, 0, "時期が不正です。"_sj},
                      PhraseRow{2003, 6, 4, nullptr, "９９９９９９９９９９９日前"_sj, 0, "時期が不正です。"_sj},
                      PhraseRow{2003, 6, 4, nullptr, "来週の金曜"_sj, 1, "2003/06/13"},
                      PhraseRow{2003, 6, 4, nullptr, "来週の金曜日"_sj, 1, "2003/06/13"},
                      PhraseRow{2003, 6, 4, nullptr, "再来週の月曜"_sj, 1, "2003/06/16"},
                      PhraseRow{2003, 6, 4, nullptr, "今週の土曜日"_sj, 1, "2003/06/07"},
                      PhraseRow{2003, 6, 4, nullptr, "先週の日曜１０時半"_sj, 1, "2003/05/25 10:30"},
                      PhraseRow{2003, 6, 4, nullptr, "金曜"_sj, 1, "2003/06/06"},
                      PhraseRow{2003, 6, 4, nullptr, "月曜１０時"_sj, 1, "2003/06/09 10:00"},
                      PhraseRow{2003, 6, 4, nullptr, "日曜大工"_sj, 0, kUntouched}));

using DateParser = DateTestBase;

TEST_F(DateParser, ImpossibleDateLeavesTheClampedDate) {
    std::string out;
    EXPECT_EQ(ParseDatePhrase(out, "２月３０日"_sj), 0);
    EXPECT_EQ(out, Bad());
    EXPECT_EQ(g_dtWork.month, 2);
    EXPECT_EQ(g_dtWork.day, 28);
}

TEST_F(DateParser, DateRestReadsARebuiltTextWithItsTime) {
    std::string out;
    EXPECT_EQ(ParseDateRest(out, "2004/01/03 12:00"), 1);
    EXPECT_EQ(out, "2004/01/03 12:00");
    EXPECT_EQ(ParseDateRest(out, "2004/01/03"), 1);
    EXPECT_EQ(out, "2004/01/03");
    EXPECT_EQ(g_dtWork.hour, NO_TIME);
}

TEST_F(DateParser, DateRestOfBlanksKeepsTheDate) {
    SetDate(5, 5, 2005);
    SetTime(10, 0, 0);
    std::string out;
    for (int n : {4, 6, 10, 12}) {
        EXPECT_EQ(ParseDateRest(out, std::string(n, ' ')), 1);
        EXPECT_EQ(out, "2005/05/05");
    }
    EXPECT_EQ(ParseDateRest(out, std::string(8, ' ')), 0);
    EXPECT_EQ(out, Bad());
}

TEST_F(DateParser, TokensWithoutDigitsFillNothing) {
    std::string out;
    EXPECT_EQ(ParseDateRest(out, "１２月３日（水）"_sj), 1);
    EXPECT_EQ(out, "2003/12/03");
    EXPECT_EQ(ParseDateRest(out, "    今日"_sj), 0);
    EXPECT_EQ(out, Bad());
}

TEST_F(DateParser, PatternTable) {
    const struct {
        const char* pattern;
        const char* out;
    } rows[] = {
        {"2003Y/1M/1D/", "2003/01/01"}, {"2003d/1d/1", "2003/01/01"},     {"1d/1", "2003/01/01"},
        {"10t/30", "2003/06/01 10:30"}, {"10H/30m/", "2003/06/01 10:30"}, {"5D/", "2003/06/05"},
        {"7M/", "2003/07/01"},          {"1999Y/", "1999/01/01"},         {"99Y/3M/3D/", "2099/03/03"},
    };
    for (const auto& r : rows) {
        ResetWorkingDate();
        ASSERT_EQ(ParseDatePattern(r.pattern), 1) << r.pattern;
        char buf[32];
        const DateTimeRec& d = g_dtWork;
        if (d.hour == NO_TIME)
            std::snprintf(buf, sizeof buf, "%d/%02d/%02d", d.year, d.month, d.day);
        else
            std::snprintf(buf, sizeof buf, "%d/%02d/%02d %02d:%02d", d.year, d.month, d.day, d.hour, d.minute);
        EXPECT_EQ(std::string(buf), r.out) << r.pattern;
    }
    EXPECT_EQ(ParseDatePattern(""), 0);
}

TEST_F(DateParser, PeriodRanges) {
    Freeze(2003, 6, 4);
    const struct {
        const char* word;
        const char* start;
        const char* end;
    } rows[] = {
        {"今週"_sj, "2003/06/01 00:00", "2003/06/07 23:59"},   {"来週"_sj, "2003/06/08 00:00", "2003/06/14 23:59"},
        {"先週"_sj, "2003/05/25 00:00", "2003/05/31 23:59"},   {"再来週"_sj, "2003/06/15 00:00", "2003/06/21 23:59"},
        {"先々週"_sj, "2003/05/18 00:00", "2003/05/24 23:59"}, {"今月"_sj, "2003/06/01 00:00", "2003/06/30 23:59"},
        {"来月"_sj, "2003/07/01 00:00", "2003/07/31 23:59"},   {"先月"_sj, "2003/05/01 00:00", "2003/05/31 23:59"},
        {"再来月"_sj, "2003/08/01 00:00", "2003/08/31 23:59"}, {"先々月"_sj, "2003/04/01 00:00", "2003/04/30 23:59"},
    };
    for (const auto& r : rows) {
        std::string start, end;
        EXPECT_EQ(GetPeriodRange(start, end, r.word), 1);
        EXPECT_EQ(start, r.start);
        EXPECT_EQ(end, r.end);
    }
    Freeze(2004, 3, 31);
    std::string start = "x", end = "y";
    EXPECT_EQ(GetPeriodRange(start, end, "先月"_sj), 1);
    EXPECT_EQ(end, "2004/02/29 23:59");
    EXPECT_EQ(g_dtWork.day, 29);  // today's day, clamped
    EXPECT_EQ(GetPeriodRange(start, end, "明日"_sj), 0);
    EXPECT_EQ(start, "");
    EXPECT_EQ(end, "");
}

TEST_F(DateParser, ShortTextsFailTheEndingTest) {
    std::string out = kUntouched;
    EXPECT_EQ(ParseDatePhrase(out, ""), 0);
    EXPECT_EQ(ParseDatePhrase(out, std::string(1, '\xFA')), 0);
    EXPECT_EQ(ParseDatePhrase(out, std::string(1, 'O')), 0);
    EXPECT_EQ(out, kUntouched);
}

TEST_F(DateParser, LongAndOddPhrasesNeverOverrun) {
    std::string out;
    std::string longDigits;
    for (int i = 0; i < 30000; ++i) longDigits += "１"_sj;
    EXPECT_EQ(ParseDatePhrase(out, longDigits + "日"_sj), 0);
    EXPECT_EQ(out, Bad());
    std::string longDate = "２００３年１月１日"_sj;
    for (int i = 0; i < 5000; ++i) longDate += "／１"_sj;
    ParseDatePhrase(out, longDate);

    std::mt19937 rng(7);
    const char* pieces[] = {"１"_sj,   "２"_sj,   "年"_sj,   "月"_sj,   "日"_sj,   "時"_sj,   "分"_sj,   "："_sj,
                            "／"_sj,   "来週"_sj, "曜日"_sj, "平成"_sj, "元年"_sj, "午後"_sj, "来年"_sj, "先月"_sj,
                            "明日"_sj, "\x82",    "\xFF",    "/",       ":",       "Y",       "d"};
    for (int n = 0; n < 20000; ++n) {
        std::string phrase;
        int len = rng() % 12;
        for (int i = 0; i < len; ++i) phrase += pieces[rng() % (sizeof pieces / sizeof pieces[0])];
        if (rng() % 5 == 0) phrase.insert(phrase.begin() + rng() % (phrase.size() + 1), '\0');
        ResetWorkingDate();
        ParseDatePhrase(out, phrase);
        ParseDateRest(out, phrase);
        EXPECT_GE(g_dtWork.month, 1);
        EXPECT_LE(g_dtWork.month, 12);
    }
}

// The command processor sends a command word straight to its command without parsing it
// as a schedule start: that is only sound while none of them reads as a date.
TEST_F(DateParser, CommandWordsNeverReadAsDates) {
    for (const char* word : {"何曜日"_sj, "曜日"_sj, "何歳"_sj, "何才"_sj, "年齢"_sj, "年令"_sj, "日付"_sj, "基準日"_sj,
                             "日数"_sj, "予定"_sj}) {
        SetDate(5, 5, 2005);
        SetTime(10, 20, 0);
        const DateTimeRec before = g_dtWork;
        std::string out;
        EXPECT_EQ(ParseDatePhrase(out, word), 0) << word;
        EXPECT_NE(out, Bad()) << word;
        const DateTimeRec& after = g_dtWork;
        EXPECT_TRUE(before.year == after.year && before.month == after.month && before.day == after.day &&
                    before.hour == after.hour && before.minute == after.minute && before.weekday == after.weekday)
            << word;
    }
}

// A keyword is found wherever it stands in a phrase of digits, and a phrase that only
// looks like one (its characters share the keyword's hash) is still read as digits.
TEST_F(DateParser, KeywordsAmongDigitsAndMarks) {
    struct Row {
        const char* phrase;
        const char* out;
    } rows[] = {
        {"２００３／６／２０"_sj, "2003/06/20"},   {"６／２０　午後３時"_sj, "2003/06/20 15:00"},
        {"平成１５年６月２０日"_sj, "2003/06/20"}, {"１０時　明日"_sj, "2003/06/02 10:00"},
        {"来月２０日"_sj, "2003/07/20"},           {"令和元年５月１日"_sj, "2019/05/01"},
    };
    for (const Row& r : rows) {
        std::string out;
        EXPECT_EQ(ParseDatePhrase(out, r.phrase), 1) << r.phrase;
        EXPECT_EQ(out, r.out) << r.phrase;
    }
}
