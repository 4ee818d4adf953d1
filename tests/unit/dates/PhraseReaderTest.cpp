// The phrase reader, form by form: what each phrase names on a given day, what it
// refuses and what is no date at all. Dates are written "YYYY/MM/DD[ HH:MM]", periods
// "first..last"; "-" is no date, "impossible" an impossible date, "refused: why".
#include "DateTestClock.h"

#include "dates/DateReader.h"
#include "text/Sjis.h"

#include <cstdio>
#include <random>
#include <string>

using namespace nelo;

namespace {

const char* RefusalName(PhraseRefusal r) {
    switch (r) {
    case PhraseRefusal::Repeating: return "repeating";
    case PhraseRefusal::WhichWeekday: return "which weekday";
    case PhraseRefusal::WhichMonth: return "which month";
    case PhraseRefusal::NoTimeOfDay: return "no time of day";
    case PhraseRefusal::NoStart: return "no start";
    case PhraseRefusal::Unread: return "unread";
    case PhraseRefusal::Vague: return "vague";
    case PhraseRefusal::WeekdayDiffers: return "weekday differs";
    case PhraseRefusal::EndBeforeStart: return "end before start";
    case PhraseRefusal::None: break;
    }
    return "?";
}

std::string Day(const CalDate& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", d.year, d.month, d.day);
    return buf;
}

std::string Describe(const DateReading& r) {
    switch (r.outcome) {
    case ReadOutcome::NotADate: return "-";
    case ReadOutcome::Impossible: return "impossible";
    case ReadOutcome::Refused: return std::string("refused: ") + RefusalName(r.refusal);
    case ReadOutcome::Read: break;
    }
    if (r.precision != ReadPrecision::Day) return Day(r.date) + ".." + Day(r.last);
    std::string out = Day(r.date);
    if (r.HasTime()) {
        char buf[16];
        std::snprintf(buf, sizeof buf, " %02d:%02d", r.hour, r.minute);
        out += buf;
    }
    return out;
}

struct Row {
    int year, month, day, hour, minute;  // now
    const char* phrase;
    const char* expected;
};

class PhraseReader : public DateTestBase, public ::testing::WithParamInterface<Row> {};

}  // namespace

TEST_P(PhraseReader, Reads) {
    const Row& r = GetParam();
    Freeze(r.year, r.month, r.day, r.hour, r.minute);
    EXPECT_EQ(Describe(ReadDatePhrase(r.phrase, PhraseContext::Now())), r.expected) << r.phrase;
}

// Today 2003-06-01 (a Sunday) unless a row says otherwise.
INSTANTIATE_TEST_SUITE_P(
    DayWords, PhraseReader,
    ::testing::Values(
        Row{2003, 6, 1, 10, 0, "明日"_sj, "2003/06/02"}, Row{2003, 6, 1, 10, 0, "あした"_sj, "2003/06/02"},
        Row{2003, 6, 1, 10, 0, "あす"_sj, "2003/06/02"}, Row{2003, 6, 1, 10, 0, "明後日１０時"_sj, "2003/06/03 10:00"},
        Row{2003, 6, 1, 10, 0, "あさって"_sj, "2003/06/03"}, Row{2003, 6, 1, 10, 0, "一昨日"_sj, "2003/05/30"},
        Row{2003, 6, 1, 10, 0, "おととい"_sj, "2003/05/30"}, Row{2003, 6, 1, 10, 0, "昨日"_sj, "2003/05/31"},
        Row{2003, 6, 1, 10, 0, "きのう"_sj, "2003/05/31"}, Row{2003, 6, 1, 10, 0, "今日"_sj, "2003/06/01"},
        Row{2003, 6, 1, 10, 0, "きょう"_sj, "2003/06/01"}, Row{2003, 6, 1, 10, 0, "本日"_sj, "2003/06/01"},
        Row{2003, 6, 1, 10, 0, "翌日"_sj, "2003/06/02"}, Row{2003, 12, 31, 10, 0, "明日"_sj, "2004/01/01"},
        Row{2003, 6, 1, 10, 0, "明日１０時３０"_sj, "2003/06/02 10:30"},
        Row{2003, 6, 1, 10, 0, "明日１０時３０分"_sj, "2003/06/02 10:30"},
        Row{2003, 6, 1, 10, 0, "明日の１０：３０"_sj, "2003/06/02 10:30"},
        Row{2003, 6, 1, 10, 0, "明日午後３時"_sj, "2003/06/02 15:00"},
        Row{2003, 6, 1, 10, 0, "明日の午後３時ごろ"_sj, "2003/06/02 15:00"},
        Row{2003, 6, 1, 10, 0, "明日正午"_sj, "2003/06/02 12:00"},
        Row{2003, 6, 1, 10, 0, "明日昼１２時"_sj, "2003/06/02 12:00"},
        Row{2003, 6, 1, 10, 0, "明日昼１時"_sj, "2003/06/02 13:00"},
        Row{2003, 6, 1, 10, 0, "明日午後１２時"_sj, "2003/06/02 24:00"},
        Row{2003, 6, 1, 10, 0, "明日午後１５時"_sj, "2003/06/02 15:00"},
        Row{2003, 6, 1, 10, 0, "今夜１０時"_sj, "2003/06/01 22:00"},
        Row{2003, 6, 1, 10, 0, "明日の朝"_sj, "refused: no time of day"},
        Row{2003, 6, 1, 10, 0, "今夜"_sj, "refused: no time of day"}, Row{2003, 6, 1, 10, 0, "あ正午"_sj, "-"},
        Row{2003, 6, 1, 10, 0, "朝日"_sj, "-"}));

// Weekdays run Sunday to Saturday. Today 2003-06-04, a Wednesday.
INSTANTIATE_TEST_SUITE_P(
    Weekdays, PhraseReader,
    ::testing::Values(
        Row{2003, 6, 4, 10, 0, "月曜日"_sj, "2003/06/09"}, Row{2003, 6, 4, 10, 0, "水曜日"_sj, "2003/06/04"},
        Row{2003, 6, 4, 10, 0, "金曜"_sj, "2003/06/06"}, Row{2003, 6, 4, 10, 0, "日曜日"_sj, "2003/06/08"},
        Row{2003, 6, 4, 10, 0, "次の水曜"_sj, "2003/06/11"}, Row{2003, 6, 4, 10, 0, "今度の金曜"_sj, "2003/06/06"},
        Row{2003, 6, 4, 10, 0, "来週月曜日"_sj, "2003/06/09"}, Row{2003, 6, 4, 10, 0, "今週月曜日"_sj, "2003/06/02"},
        Row{2003, 6, 4, 10, 0, "再来週月曜日"_sj, "2003/06/16"}, Row{2003, 6, 4, 10, 0, "先週金曜日"_sj, "2003/05/30"},
        Row{2003, 6, 4, 10, 0, "先々週土曜日"_sj, "2003/05/24"},
        Row{2003, 6, 4, 10, 0, "来週の月曜１０時半"_sj, "2003/06/09 10:30"},
        Row{2003, 6, 4, 10, 0, "週末"_sj, "2003/06/07"}, Row{2003, 6, 4, 10, 0, "来週末"_sj, "2003/06/14"},
        Row{2003, 6, 4, 10, 0, "来週"_sj, "2003/06/08..2003/06/14"},
        Row{2003, 6, 4, 10, 0, "来週５日"_sj, "refused: unread"}, Row{2003, 6, 4, 10, 0, "来週の曜日"_sj, "-"},
        Row{2003, 6, 4, 10, 0, "何曜日"_sj, "-"}, Row{2003, 6, 4, 10, 0, "日曜大工"_sj, "-"},
        Row{2003, 12, 31, 10, 0, "来週金曜日"_sj, "2004/01/09"}));

INSTANTIATE_TEST_SUITE_P(
    MonthsAndYears, PhraseReader,
    ::testing::Values(
        Row{2003, 6, 1, 10, 0, "来月５日"_sj, "2003/07/05"}, Row{2003, 6, 1, 10, 0, "来月の５日"_sj, "2003/07/05"},
        Row{2003, 6, 1, 10, 0, "再来月１日"_sj, "2003/08/01"}, Row{2003, 6, 1, 10, 0, "先々月１０日"_sj, "2003/04/10"},
        Row{2003, 6, 1, 10, 0, "今月３０日１８時"_sj, "2003/06/30 18:00"},
        Row{2003, 3, 10, 10, 0, "先月３１日"_sj, "impossible"}, Row{2003, 12, 10, 10, 0, "来月３１日"_sj, "2004/01/31"},
        Row{2003, 6, 1, 10, 0, "来月"_sj, "2003/07/01..2003/07/31"}, Row{2003, 6, 1, 10, 0, "月末"_sj, "2003/06/30"},
        Row{2004, 1, 31, 10, 0, "来月末"_sj, "2004/02/29"}, Row{2003, 6, 1, 10, 0, "来月の第２金曜"_sj, "2003/07/11"},
        Row{2003, 6, 1, 10, 0, "来月第５木曜"_sj, "2003/07/31"},
        Row{2003, 6, 1, 10, 0, "来月の第５金曜"_sj, "impossible"},
        Row{2003, 6, 1, 10, 0, "来月の金曜"_sj, "refused: which weekday"},
        Row{2003, 6, 1, 10, 0, "第２金曜"_sj, "refused: which month"},
        Row{2003, 6, 1, 10, 0, "来年１月１日"_sj, "2004/01/01"},
        Row{2003, 6, 1, 10, 0, "来年の１月１日１０時"_sj, "2004/01/01 10:00"},
        Row{2003, 6, 1, 10, 0, "来年１月１日午後３時"_sj, "2004/01/01 15:00"},
        Row{2003, 6, 1, 10, 0, "去年５日"_sj, "2002/06/05"}, Row{2003, 6, 1, 10, 0, "来年２月２９日"_sj, "2004/02/29"},
        Row{2003, 6, 1, 10, 0, "今年２月２９日"_sj, "impossible"},
        Row{2003, 6, 1, 10, 0, "一昨年１２月３１日"_sj, "2001/12/31"},
        Row{2003, 6, 1, 10, 0, "再来年３月３日"_sj, "2005/03/03"},
        Row{2003, 6, 1, 10, 0, "昨年７月"_sj, "2002/07/01..2002/07/31"},
        Row{2003, 6, 1, 10, 0, "今年"_sj, "2003/01/01..2003/12/31"},
        Row{2003, 6, 1, 10, 0, "３月末"_sj, "2003/03/31"}));

INSTANTIATE_TEST_SUITE_P(Numeric, PhraseReader,
                         ::testing::Values(Row{2003, 6, 1, 10, 0, "２００３／１／１"_sj, "2003/01/01"},
                                           Row{2003, 6, 1, 10, 0, "２００３．１．１"_sj, "2003/01/01"},
                                           Row{2003, 6, 1, 10, 0, "２００３－１－１"_sj, "2003/01/01"},
                                           Row{2003, 6, 1, 10, 0, "２００３・１・１"_sj, "2003/01/01"},
                                           Row{2003, 6, 1, 10, 0, "２００３ー１ー１"_sj, "2003/01/01"},
                                           Row{2003, 6, 1, 10, 0, "２００３年１月１日"_sj, "2003/01/01"},
                                           Row{2003, 6, 1, 10, 0, "二〇〇三年一月一日"_sj, "2003/01/01"},
                                           Row{2003, 6, 1, 10, 0, "平成１５年１月１日"_sj, "2003/01/01"},
                                           Row{2003, 6, 1, 10, 0, "３／１／１"_sj, "2003/01/01"},
                                           Row{2003, 6, 1, 10, 0, "１／１５"_sj, "2003/01/15"},
                                           Row{2003, 6, 20, 10, 0, "１５日"_sj, "2003/06/15"},
                                           Row{2003, 6, 1, 10, 0, "十日"_sj, "2003/06/10"},
                                           Row{2003, 6, 1, 10, 0, "１月"_sj, "2003/01/01..2003/01/31"},
                                           Row{2003, 6, 1, 10, 0, "１２月２５"_sj, "2003/12/25"},
                                           Row{2003, 6, 1, 10, 0, "２００３年１２月２５"_sj, "2003/12/25"},
                                           Row{2003, 6, 1, 10, 0, "１２月３日（水）"_sj, "2003/12/03"},
                                           Row{2003, 6, 1, 10, 0, "１２／３（木）"_sj, "refused: weekday differs"},
                                           Row{2003, 6, 1, 10, 0, "１２３"_sj, "-"},
                                           Row{2003, 6, 1, 10, 0, "あいう"_sj, "-"},
                                           Row{2003, 6, 1, 10, 0, "２００４年２月２９日"_sj, "2004/02/29"},
                                           Row{2003, 6, 1, 10, 0, "２００３年２月２９日"_sj, "impossible"},
                                           Row{2003, 6, 1, 10, 0, "１９００年２月２９日"_sj, "impossible"},
                                           Row{2003, 6, 1, 10, 0, "１７００年２月２９日"_sj, "1700/02/29"},
                                           Row{2003, 6, 1, 10, 0, "１７５２年９月１９日"_sj, "1752/09/19"},
                                           Row{2003, 6, 1, 10, 0, "１７５２年９月２０日"_sj, "impossible"},
                                           Row{2003, 6, 1, 10, 0, "１３月１日"_sj, "impossible"},
                                           Row{2003, 6, 1, 10, 0, "２月０日"_sj, "impossible"},
                                           Row{2003, 6, 1, 10, 0, "０／１"_sj, "impossible"},
                                           Row{2003, 6, 1, 10, 0, "２月３０日"_sj, "impossible"}));

INSTANTIATE_TEST_SUITE_P(Eras, PhraseReader,
                         ::testing::Values(Row{2003, 6, 1, 10, 0, "平成０年１月１日"_sj, "impossible"},
                                           Row{2003, 6, 1, 10, 0, "昭和６４年１月７日"_sj, "1989/01/07"},
                                           Row{2003, 6, 1, 10, 0, "大正１年８月１日"_sj, "1912/08/01"},
                                           Row{2003, 6, 1, 10, 0, "明治１年１月１日"_sj, "1868/01/01"},
                                           Row{2003, 6, 1, 10, 0, "令和５年１月１日"_sj, "2023/01/01"},
                                           Row{2003, 6, 1, 10, 0, "平成元年１月８日"_sj, "1989/01/08"},
                                           Row{2003, 6, 1, 10, 0, "平成１５年１月１日午後３時"_sj,
                                               "2003/01/01 15:00"}));

// A time of day alone falls on the day the context gives (today here); hours run past
// midnight, minutes do not run past the hour.
INSTANTIATE_TEST_SUITE_P(Times, PhraseReader,
                         ::testing::Values(Row{2003, 6, 1, 10, 0, "１０：００"_sj, "2003/06/01 10:00"},
                                           Row{2003, 6, 1, 10, 0, "午後３時"_sj, "2003/06/01 15:00"},
                                           Row{2003, 6, 1, 10, 0, "午前９時"_sj, "2003/06/01 09:00"},
                                           Row{2003, 6, 1, 10, 0, "夕方６時"_sj, "2003/06/01 18:00"},
                                           Row{2003, 6, 1, 10, 0, "２５時"_sj, "2003/06/01 25:00"},
                                           Row{2003, 6, 1, 10, 0, "４８時"_sj, "impossible"},
                                           Row{2003, 6, 1, 10, 0, "１０時７５分"_sj, "impossible"},
                                           Row{2003, 6, 1, 10, 0, "１０：３０：２０"_sj, "2003/06/01 10:30"},
                                           Row{2003, 6, 1, 10, 0, "正午"_sj, "2003/06/01 12:00"},
                                           Row{2003, 6, 1, 10, 0, "１０時半"_sj, "2003/06/01 10:30"},
                                           Row{2003, 6, 1, 10, 0, "午後"_sj, "refused: no time of day"},
                                           Row{2003, 6, 1, 10, 0, "正午ね"_sj, "-"},
                                           Row{2003, 6, 1, 10, 0, "１０半"_sj, "-"},
                                           Row{2003, 6, 1, 10, 0, "半"_sj, "-"},
                                           Row{2003, 6, 1, 10, 0, "５時間"_sj, "-"},
                                           Row{2003, 6, 1, 23, 30, "２時間後"_sj, "2003/06/02 01:30"},
                                           Row{2003, 6, 1, 23, 30, "３０分後"_sj, "2003/06/02 00:00"},
                                           Row{2003, 6, 1, 10, 0, "１時間半後"_sj, "2003/06/01 11:30"},
                                           Row{2003, 6, 1, 10, 0, "２時間前"_sj, "2003/06/01 08:00"}));

// Counts from today, with a weekday after them. Today 2003-06-04, a Wednesday.
INSTANTIATE_TEST_SUITE_P(
    Counts, PhraseReader,
    ::testing::Values(
        Row{2003, 6, 4, 10, 0, "３日後"_sj, "2003/06/07"}, Row{2003, 6, 4, 10, 0, "三日後"_sj, "2003/06/07"},
        Row{2003, 6, 4, 10, 0, "十日後"_sj, "2003/06/14"}, Row{2003, 6, 4, 10, 0, "二十日後"_sj, "2003/06/24"},
        Row{2003, 6, 4, 10, 0, "０日後"_sj, "2003/06/04"},
        Row{2003, 6, 4, 10, 0, "３日後１５時"_sj, "2003/06/07 15:00"},
        Row{2003, 6, 4, 10, 0, "３日後午後３時半"_sj, "2003/06/07 15:30"}, Row{2003, 6, 4, 10, 0, "３日後ね"_sj, "-"},
        Row{2003, 6, 4, 10, 0, "２週間後"_sj, "2003/06/18"}, Row{2003, 6, 4, 10, 0, "二週間後"_sj, "2003/06/18"},
        Row{2003, 6, 4, 10, 0, "２週後"_sj, "2003/06/18"}, Row{2003, 6, 4, 10, 0, "１ヶ月後"_sj, "2003/07/04"},
        Row{2003, 6, 4, 10, 0, "一ヶ月後"_sj, "2003/07/04"}, Row{2003, 6, 4, 10, 0, "１か月後"_sj, "2003/07/04"},
        Row{2003, 6, 4, 10, 0, "１カ月後"_sj, "2003/07/04"}, Row{2003, 1, 31, 10, 0, "１ヶ月後"_sj, "2003/02/28"},
        Row{2003, 6, 4, 10, 0, "半年後"_sj, "2003/12/04"}, Row{2003, 6, 4, 10, 0, "１年後"_sj, "2004/06/04"},
        Row{2004, 2, 29, 10, 0, "１年後"_sj, "2005/02/28"}, Row{2003, 6, 4, 10, 0, "１０日前"_sj, "2003/05/25"},
        Row{2003, 6, 4, 10, 0, "３ヶ月前１０時"_sj, "2003/03/04 10:00"},
        Row{2003, 6, 4, 10, 0, "９９９９年後"_sj, "impossible"},
        Row{2003, 6, 4, 10, 0, "９９９９９９９９９９９日前"_sj, "impossible"},
        Row{2003, 6, 4, 10, 0, "３日後の金曜"_sj, "2003/06/13"},
        Row{2003, 6, 4, 10, 0, "２日後の金曜"_sj, "2003/06/06"},
        Row{2003, 6, 4, 10, 0, "１週間後の金曜"_sj, "2003/06/13"},
        Row{2003, 6, 4, 10, 0, "２週間後の月曜"_sj, "2003/06/16"},
        Row{2003, 6, 4, 10, 0, "１ヶ月後の金曜"_sj, "2003/07/04"},
        Row{2003, 6, 4, 10, 0, "明日の３日後"_sj, "refused: unread"}));

INSTANTIATE_TEST_SUITE_P(Refusals, PhraseReader,
                         ::testing::Values(Row{2003, 6, 4, 10, 0, "毎週月曜"_sj, "refused: repeating"},
                                           Row{2003, 6, 4, 10, 0, "毎日１０時"_sj, "refused: repeating"},
                                           Row{2003, 6, 4, 10, 0, "隔週金曜"_sj, "refused: repeating"},
                                           Row{2003, 6, 4, 10, 0, "毎月１日"_sj, "refused: repeating"},
                                           Row{2003, 6, 4, 10, 0, "３０分"_sj, "refused: unread"},
                                           Row{2003, 6, 4, 10, 0, "年末"_sj, "refused: vague"},
                                           Row{2003, 6, 4, 10, 0, "３月上旬"_sj, "refused: vague"},
                                           Row{2003, 6, 4, 10, 0, "大晦日"_sj, "2003/12/31"},
                                           Row{2003, 6, 4, 10, 0, "来年の元日"_sj, "2004/01/01"}));

using PhraseContexts = DateTestBase;

// The same phrase in the context of a schedule's start (next occurrence) and end (from
// the start), and in a question (this year).
TEST_F(PhraseContexts, YearlessDatesAndEndsCountFromTheirReference) {
    Freeze(2023, 12, 31);
    PhraseContext ahead = PhraseContext::Now();
    ahead.hasAhead = true;
    ahead.ahead = ahead.today;
    EXPECT_EQ(Describe(ReadDatePhrase("２／２９"_sj, ahead)), "2024/02/29");
    EXPECT_EQ(Describe(ReadDatePhrase("２／２９"_sj, PhraseContext::Now())), "impossible");
    EXPECT_EQ(Describe(ReadDatePhrase("２／３０"_sj, ahead)), "impossible");
    EXPECT_EQ(Describe(ReadDatePhrase("１／５"_sj, ahead)), "2024/01/05");
    EXPECT_EQ(Describe(ReadDatePhrase("１／５"_sj, PhraseContext::Now())), "2023/01/05");
    EXPECT_EQ(Describe(ReadDatePhrase("３月"_sj, ahead)), "2024/03/01..2024/03/31");
    EXPECT_EQ(Describe(ReadDatePhrase("１２月"_sj, ahead)), "2023/12/01..2023/12/31");
    EXPECT_EQ(Describe(ReadDatePhrase("３０日"_sj, ahead)), "2024/01/30");

    Freeze(2024, 3, 8);
    PhraseContext end = PhraseContext::Now();
    end.hasEnd = end.hasPrevious = end.hasAhead = true;
    end.previous = end.ahead = end.timeDay = CalDate{2024, 3, 4};  // a Monday
    EXPECT_EQ(Describe(ReadDatePhrase("水曜"_sj, end)), "2024/03/06");
    EXPECT_EQ(Describe(ReadDatePhrase("翌日"_sj, end)), "2024/03/05");
    EXPECT_EQ(Describe(ReadDatePhrase("１８時"_sj, end)), "2024/03/04 18:00");
    EXPECT_EQ(Describe(ReadDatePhrase("１０"_sj, end, true)), "2024/03/10");
    EXPECT_EQ(Describe(ReadDatePhrase("３"_sj, end, true)), "2024/04/03");
    EXPECT_EQ(Describe(ReadDatePhrase("３"_sj, end)), "-");
    EXPECT_EQ(Describe(ReadDatePhrase("３／１"_sj, end)), "2025/03/01");
}

TEST_F(PhraseContexts, RangesAndTheirMarks) {
    const struct {
        const char* word;
        bool isRange, isOpen;
        const char* start;  // the start's status and refusal, as Describe words them
    } rows[] = {
        {"１０時から１２時"_sj, true, false, "ok"},
        {"１０時～１２時"_sj, true, false, "ok"},
        {"１０：００－１２：００"_sj, true, false, "ok"},
        {"２００３－６－２"_sj, false, false, "ok"},
        {"１０時から"_sj, true, true, "ok"},
        {"来週月曜から水曜まで"_sj, true, false, "ok"},
        {"金曜まで"_sj, false, false, "refused: no start"},
        {"～１２時"_sj, false, false, "refused: no start"},
        {"会議～打合せ"_sj, false, false, "-"},
    };
    for (const auto& r : rows) {
        const RangeForm f = ParseRangeWord(r.word, false);
        EXPECT_EQ(f.isRange, r.isRange) << r.word;
        EXPECT_EQ(f.isOpen, r.isOpen) << r.word;
        const std::string status = f.start.status == PhraseStatus::Date ? "ok"
                                   : f.start.status == PhraseStatus::NotADate
                                       ? "-"
                                       : std::string("refused: ") + RefusalName(f.start.refusal);
        EXPECT_EQ(status, r.start) << r.word;
    }
}

// The date commands send a command word straight to its command: that is only
// sound while none of them reads as a date.
TEST_F(PhraseContexts, CommandWordsNeverReadAsDates) {
    for (const char* word : {"何曜日"_sj, "曜日"_sj, "何歳"_sj, "何才"_sj, "年齢"_sj, "年令"_sj, "日付"_sj, "基準日"_sj,
                             "日数"_sj, "予定"_sj})
        EXPECT_EQ(ReadDatePhrase(word, PhraseContext::Now()).outcome, ReadOutcome::NotADate) << word;
}

TEST_F(PhraseContexts, LongAndOddPhrasesNeverOverrun) {
    std::string longDigits;
    for (int i = 0; i < 30000; ++i) longDigits += "１"_sj;
    EXPECT_EQ(Describe(ReadDatePhrase(longDigits + "日"_sj, PhraseContext::Now())), "impossible");
    std::string longDate = "２００３年１月１日"_sj;
    for (int i = 0; i < 5000; ++i) longDate += "／１"_sj;
    EXPECT_EQ(ReadDatePhrase(longDate, PhraseContext::Now()).outcome, ReadOutcome::NotADate);

    std::mt19937 rng(7);
    const char* pieces[] = {"１"_sj,   "２"_sj,   "年"_sj,   "月"_sj,   "日"_sj,   "時"_sj,   "分"_sj,   "："_sj,
                            "／"_sj,   "来週"_sj, "曜日"_sj, "平成"_sj, "元年"_sj, "午後"_sj, "来年"_sj, "先月"_sj,
                            "明日"_sj, "の"_sj,   "第"_sj,   "後"_sj,   "金曜"_sj, "から"_sj, "～"_sj,   "末"_sj,
                            "\x82",    "\xFF",    "/",       ":",       "Y",       "d"};
    for (int n = 0; n < 20000; ++n) {
        std::string phrase;
        const auto len = rng() % 12;
        for (std::size_t i = 0; i < len; ++i) phrase += pieces[rng() % (sizeof pieces / sizeof pieces[0])];
        if (rng() % 5 == 0) phrase.insert(rng() % (phrase.size() + 1), 1, '\0');
        const DateReading r = ReadDatePhrase(phrase, PhraseContext::Now());
        if (r.outcome == ReadOutcome::Read) {
            EXPECT_TRUE(IsValidDate(r.date)) << phrase;
            EXPECT_TRUE(IsValidDate(r.last)) << phrase;
            EXPECT_LE(r.hour, 47);
        }
        ParseRangeWord(phrase, true);
    }
}
