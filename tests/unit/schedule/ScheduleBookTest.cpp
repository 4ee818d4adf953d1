#include "dates/DateCommands.h"
#include "dates/WorkingDate.h"
#include "notebook/LineRoute.h"
#include "schedule/ScheduleBook.h"
#include "text/Sjis.h"

#include "ScheduleTestClock.h"

#include <random>

using namespace nelo;

namespace {

struct Step {
    const char* typed;
    const char* answer;
};

class ScheduleBookTest : public ScheduleClockTest {
protected:
    // Answers a line of route Command as the notebook does: the schedule book, then the
    // date commands; false when neither knows the line.
    bool AnswerCommand(const std::string& text, std::string& answer) {
        return m_pro.Answer(text, answer) || m_dates.Answer(text, answer);
    }
    // Answers one typed line as the input pane hands it on (code page 932).
    std::string Answer(const std::string& typed, bool* answeredOut = nullptr) {
        std::string text;
        ClassifyLine(typed, text);
        std::string answer;
        const bool answered = AnswerCommand(text, answer);
        if (answeredOut) *answeredOut = answered;
        return answer;
    }

    /// Answers the lines in turn; with fresh, each on an empty list (no conflicts).
    template <std::size_t N>
    void Run(const Step (&steps)[N], bool fresh = false) {
        for (std::size_t i = 0; i < N; ++i) {
            if (fresh) m_pro.ClearContents();
            EXPECT_EQ(Answer(steps[i].typed), steps[i].answer) << i;
        }
    }

    ScheduleBook m_pro;
    WorkingDate m_date;
    DateCommands m_dates{m_date};
};

TEST_F(ScheduleBookTest, RegistrationAndConflicts) {
    static const Step steps[] = {
        {"明日１０時 会議"_sj, "下記の予定を登録しました。\r\n06/02(月) 10:00　会議"_sj},
        {"明日１０時 明日１２時 打合せ"_sj,
         "既に予定がありますが、下記の予定を登録しました。\r\n06/02(月) 10:00　会議\r\n"
         "06/02(月) 10:00 ～ 12:00　打合せ"_sj},
        // A day, then a time of day in the next word: the start's time.
        {"明日 １２時 会議"_sj,
         "既に予定がありますが、下記の予定を登録しました。\r\n06/02(月) 10:00 ～ 12:00　打合せ\r\n"
         "06/02(月) 12:00　会議"_sj},
        {"予定"_sj,
         "次のような予定があります。\r\n06/02(月) 10:00　会議\r\n06/02(月) 10:00 ～ 12:00　打合せ\r\n"
         "06/02(月) 12:00　会議"_sj},
    };
    EXPECT_EQ(Answer("予定"_sj), "予定はありません。"_sj);
    Run(steps);
    EXPECT_TRUE(m_pro.IsChanged());
}

TEST_F(ScheduleBookTest, EqualStartsListInRegistrationOrderBeforeAndAfterSorting) {
    for (const char* line : {"明日１０時 甲"_sj, "明日９時 早い"_sj, "明日１０時 乙"_sj, "明日１０時 丙"_sj})
        Answer(line);
    const std::string listed =
        "次のような予定があります。\r\n06/02(月) 09:00　早い\r\n06/02(月) 10:00　甲\r\n"
        "06/02(月) 10:00　乙\r\n06/02(月) 10:00　丙"_sj;
    // The list dialog sorts the stored list every time it opens; 「予定」 reads it after.
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(Answer("予定"_sj), listed) << round;
        EXPECT_EQ(Answer("明日の予定"_sj).substr(std::string("次のような予定があります。"_sj).size()),
                  listed.substr(std::string("次のような予定があります。"_sj).size()))
            << round;
        m_pro.SortSchedules();
        std::string order;
        for (const auto& e : m_pro.GetSchedules()) order += e->GetBusiness();
        EXPECT_EQ(order, "早い甲乙丙"_sj) << round;
    }
}

TEST_F(ScheduleBookTest, FailuresChangeNothing) {
    static const Step steps[] = {
        {"２月３０日 会議"_sj, "時期が不正です。"_sj},
        {"明日"_sj, "用件がありません。"_sj},
        {"明日 １２時"_sj, "用件がありません。"_sj},
        {"明日 会議 追加"_sj, "２番目の時期が適切でありません。"_sj},
        {"明日 福岡へ 出張"_sj, "２番目の時期が適切でありません。"_sj},
        {"明日１２時 １０時 会議"_sj, "２番目の時期が適切でありません。"_sj},
        // An impossible second date is never taken for the business.
        {"明日 ２月３０日"_sj, "２番目の時期が適切でありません。"_sj},
        // Starts whose time does not fit 32 bits are refused.
        {"２０４０年１月１日 会議"_sj, "時期が不正です。"_sj},
        {"１９００年１月１日 会議"_sj, "時期が不正です。"_sj},
    };
    Run(steps);
    EXPECT_TRUE(m_pro.GetSchedules().empty());
    EXPECT_FALSE(m_pro.IsChanged());
}

TEST_F(ScheduleBookTest, EndsTakeTheStartsYearAndMonth) {
    static const Step steps[] = {
        {"２００４年１月１日 １月３日 新年"_sj,
         "下記の予定を登録しました。\r\n2004/01/01(木) ～ 2004/01/03(土)　新年"_sj},
        {"２００４年２月１日１０時 ３日１２時 旅行"_sj,
         "下記の予定を登録しました。\r\n2004/02/01(日) 10:00 ～ 2004/02/03(火) 12:00　旅行"_sj},
        {"来月５日 １０日 出張"_sj, "下記の予定を登録しました。\r\n07/05(土) ～ 07/10(木)　出張"_sj},
        {"２／５／１　５／５　四国へ出張"_sj,
         "下記の予定を登録しました。\r\n2002/05/01(水) ～ 2002/05/05(日)　四国へ出張"_sj},
        {"１２月２８日 １月４日 休暇"_sj, "下記の予定を登録しました。\r\n12/28(日) ～ 2004/01/04(日)　休暇"_sj},
        {"６月２０日 ５日 月末"_sj, "下記の予定を登録しました。\r\n06/20(金) ～ 07/05(土)　月末"_sj},
        // Impossible in today's year or month, fine in the start's.
        {"２００４年２月１日 ２月２９日 閏"_sj,
         "下記の予定を登録しました。\r\n2004/02/01(日) ～ 2004/02/29(日)　閏"_sj},
        {"７月３０日 ３１日 夏"_sj, "下記の予定を登録しました。\r\n07/30(水) ～ 07/31(木)　夏"_sj},
        // An end written before the start is refused in words; a time before the start on
        // its own day is no suitable end.
        {"２００４年１月１日 ２００３年１２月３１日 逆"_sj,
         "終わりの「２００３年１２月３１日」が始まりの「２００４年１月１日」より前です。"_sj},
        {"３／８ ３／１ 逆"_sj, "終わりの「３／１」が始まりの「３／８」より前です。"_sj},
        {"明日１０時 ９時 早"_sj, "２番目の時期が適切でありません。"_sj},
        {"６月２日１０時 ２日９時 早"_sj, "２番目の時期が適切でありません。"_sj},
        {"６月２日１０時 ６月２日９時 早"_sj, "２番目の時期が適切でありません。"_sj},
        // The start's own day without a time ends that day: one day, not a month or a year.
        {"明日１０時 明日 会議"_sj, "下記の予定を登録しました。\r\n06/02(月) 10:00 ～ 　会議"_sj},
        {"６月２日１０時 ２日 当日"_sj, "下記の予定を登録しました。\r\n06/02(月) 10:00 ～ 　当日"_sj},
        {"３／８の１０時 ３／８ 作業"_sj, "下記の予定を登録しました。\r\n2004/03/08(月) 10:00 ～ 　作業"_sj},
        // A year on only while the entry stays shorter than half a year.
        {"１１／１ ３／３１ 冬"_sj, "下記の予定を登録しました。\r\n11/01(土) ～ 2004/03/31(水)　冬"_sj},
        {"１０／１ ４／１ 長い"_sj, "終わりの「４／１」が始まりの「１０／１」より前です。"_sj},
        // A second word of digits is a day of the start's month.
        {"６月２日 １５ 研修"_sj, "下記の予定を登録しました。\r\n06/02(月) ～ 06/15(日)　研修"_sj},
        {"６月２０日 １５ 研修"_sj, "下記の予定を登録しました。\r\n06/20(金) ～ 07/15(火)　研修"_sj},
        {"１月３１日 ３０ 無理"_sj, "２番目の時期が適切でありません。"_sj},
        {"６月２日 ０ 零日"_sj, "２番目の時期が適切でありません。"_sj},
    };
    Run(steps, true);
}

TEST_F(ScheduleBookTest, BusinessIsTheRestOfTheLine) {
    std::string answer = Answer("明日１０時 １２時 会議 本社３階"_sj);
    EXPECT_EQ(m_pro.GetSchedules().back()->GetBusiness(), "会議　本社３階"_sj);
    Answer("明日 １２時  会議 　 大会議室 "_sj);
    EXPECT_EQ(m_pro.GetSchedules().back()->GetBusiness(), "会議　大会議室"_sj);
    // Longer than the scanner keeps of a word: kept whole.
    std::string longWord;
    for (int i = 0; i < 200; ++i) longWord += "会"_sj;
    Answer("明日 "_sj + longWord);
    EXPECT_EQ(m_pro.GetSchedules().back()->GetBusiness(), longWord);
    // Without an end the business is still a single word.
    EXPECT_EQ(Answer("明後日 出張 福岡"_sj), "２番目の時期が適切でありません。"_sj);
    // A word that reads as a time is never the business.
    EXPECT_EQ(Answer("明日１２時 １０時"_sj), "２番目の時期が適切でありません。"_sj);
    EXPECT_EQ(Answer("明日１０時 明日"_sj), "用件がありません。"_sj);
    // A word that does not read wholly as a date or time is the business.
    m_pro.ClearContents();
    EXPECT_EQ(Answer("２／２５ 今日終日"_sj), "下記の予定を登録しました。\r\n2004/02/25(水)　今日終日"_sj);
}

TEST_F(ScheduleBookTest, StoredTimes) {
    Answer("明日１０時 明日１２時 会議"_sj);
    const ScheduleEntry& e = *m_pro.GetSchedules().back();
    EXPECT_EQ(e.GetStartTime(), MakeLocalTime(2003, 6, 2, 10, 0, 0));
    EXPECT_EQ(e.GetEndTime(), MakeLocalTime(2003, 6, 2, 12, 0, 0));
    EXPECT_EQ(e.GetStartText(), "2003/06/02(月) 10:00"_sj);
    EXPECT_EQ(e.GetEndText(), "2003/06/02(月) 12:00"_sj);
    Answer("明日 会議"_sj);
    EXPECT_EQ(m_pro.GetSchedules().back()->GetStartTime(), MakeLocalTime(2003, 6, 2, 0, 0, 0));
    EXPECT_EQ(m_pro.GetSchedules().back()->GetEndTime(), m_pro.GetSchedules().back()->GetStartTime());
    EXPECT_TRUE(m_pro.GetSchedules().back()->GetEndText().empty());
    // Eleven years away: no value from the date texts, but one computed all the same.
    Answer("２０１４年１月１日 会議"_sj);
    EXPECT_EQ(m_pro.GetSchedules().back()->GetStartTime(), MakeLocalTime(2014, 1, 1, 0, 0, 0));
    // An end eleven years away cannot be kept: refused, never taken for the business.
    m_pro.ClearContents();
    EXPECT_EQ(Answer("明日 ２０１４年１月１日"_sj), "２番目の時期が適切でありません。"_sj);
}

// A start without its year that lies before today is its next occurrence; the end follows
// the moved start. Words that name their date, and today, stay where they are.
TEST_F(ScheduleBookTest, StartsWithoutAYearLieAhead) {
    const struct {
        int year, month, day;  // today, at 10:00
        const char* typed;
        const char* answer;
    } rows[] = {
        {2003, 12, 10, "１／１５ １／２０ 札幌へ出張"_sj,
         "下記の予定を登録しました。\r\n2004/01/15(木) ～ 2004/01/20(火)　札幌へ出張"_sj},
        {2003, 12, 10, "２月３日 会議"_sj, "下記の予定を登録しました。\r\n2004/02/03(火)　会議"_sj},
        {2003, 12, 10, "３日１０時 １２時 歯医者"_sj,
         "下記の予定を登録しました。\r\n2004/01/03(土) 10:00 ～ 12:00　歯医者"_sj},
        {2003, 6, 1, "５／３１ 連休"_sj, "下記の予定を登録しました。\r\n2004/05/31(月)　連休"_sj},
        {2003, 6, 10, "９日 締切"_sj, "下記の予定を登録しました。\r\n07/09(水)　締切"_sj},
        // The next month without that day is passed over; a 29 February waits for a leap year.
        {2003, 1, 31, "３０日 締め"_sj, "下記の予定を登録しました。\r\n03/30(日)　締め"_sj},
        {2004, 3, 1, "２月２９日 閏日"_sj, "下記の予定を登録しました。\r\n2008/02/29(金)　閏日"_sj},
        // Today stays today, also at an hour already past.
        {2003, 12, 10, "１２／１０ 当日"_sj, "下記の予定を登録しました。\r\n12/10(水)　当日"_sj},
        {2003, 12, 10, "１０日９時 朝礼"_sj, "下記の予定を登録しました。\r\n12/10(水) 09:00　朝礼"_sj},
        {2003, 12, 10, "１２／２５ １／５ 休暇"_sj,
         "下記の予定を登録しました。\r\n12/25(木) ～ 2004/01/05(月)　休暇"_sj},
        // A year, an era or a word fixes the date, past or not.
        {2003, 12, 10, "２００３／１／１５ 過去"_sj, "下記の予定を登録しました。\r\n01/15(水)　過去"_sj},
        {2003, 12, 10, "平成１５年１月１５日 過去"_sj, "下記の予定を登録しました。\r\n01/15(水)　過去"_sj},
        {2003, 12, 10, "今年１月１５日 過去"_sj, "下記の予定を登録しました。\r\n01/15(水)　過去"_sj},
        {2003, 12, 10, "今月５日 過去"_sj, "下記の予定を登録しました。\r\n12/05(金)　過去"_sj},
        {2003, 12, 10, "昨日 過去"_sj, "下記の予定を登録しました。\r\n12/09(火)　過去"_sj},
        // Date questions keep the current year.
        {2003, 12, 10, "何曜日 １／１５"_sj, "２００３年１月１５日は水曜日です。"_sj},
        {2003, 12, 10, "日付 ３日"_sj, "基準日は２００３年１２月３日です。"_sj},
    };
    for (const auto& r : rows) {
        SetNow(r.year, r.month, r.day, 10, 0);
        m_pro.ClearContents();
        EXPECT_EQ(Answer(r.typed), r.answer) << r.year << "-" << r.month << "-" << r.day;
    }
}

// A range inside a word reads as a start and an end, as if a blank stood at the mark.
TEST_F(ScheduleBookTest, RangesInsideAWord) {
    static const Step steps[] = {
        {"明日１０時～１２時 会議"_sj, "下記の予定を登録しました。\r\n06/02(月) 10:00 ～ 12:00　会議"_sj},
        {"明日１０時〜１２時 会議"_sj, "下記の予定を登録しました。\r\n06/02(月) 10:00 ～ 12:00　会議"_sj},
        {"明日10:00~12:00 会議"_sj, "下記の予定を登録しました。\r\n06/02(月) 10:00 ～ 12:00　会議"_sj},
        {"明日10:00-12:00 会議"_sj, "下記の予定を登録しました。\r\n06/02(月) 10:00 ～ 12:00　会議"_sj},
        {"明日１０時３０－正午 会議"_sj, "下記の予定を登録しました。\r\n06/02(月) 10:30 ～ 12:00　会議"_sj},
        {"明日１０時‐午後１時 会議"_sj, "下記の予定を登録しました。\r\n06/02(月) 10:00 ～ 13:00　会議"_sj},
        {"１２／２５ 14:00-16:00 忘年会"_sj, "下記の予定を登録しました。\r\n12/25(木) 14:00 ～ 16:00　忘年会"_sj},
        {"１２／２５ １４時～１６時 忘年会"_sj, "下記の予定を登録しました。\r\n12/25(木) 14:00 ～ 16:00　忘年会"_sj},
        {"１／５～１／１０ 出張"_sj, "下記の予定を登録しました。\r\n2004/01/05(月) ～ 2004/01/10(土)　出張"_sj},
        {"７／５～１０日 出張"_sj, "下記の予定を登録しました。\r\n07/05(土) ～ 07/10(木)　出張"_sj},
        {"１２／３０～１／３ 帰省"_sj, "下記の予定を登録しました。\r\n12/30(火) ～ 2004/01/03(土)　帰省"_sj},
        // A length after the mark: the days counted from the start, or hours from its time.
        {"明日から３日間 旅行"_sj, "下記の予定を登録しました。\r\n06/02(月) ～ 06/04(水)　旅行"_sj},
        {"明日から２週間 出張"_sj, "下記の予定を登録しました。\r\n06/02(月) ～ 06/15(日)　出張"_sj},
        {"明日１０時から１時間半 会議"_sj, "下記の予定を登録しました。\r\n06/02(月) 10:00 ～ 11:30　会議"_sj},
        {"２３時から３時間 夜勤"_sj, "下記の予定を登録しました。\r\n06/01(日) 23:00 ～ 06/02(月) 02:00　夜勤"_sj},
        {"明日から２時間 作業"_sj, "２番目の時期が適切でありません。"_sj},
        // A hyphen between date parts keeps the date whole.
        {"２００３－６－２ 会議"_sj, "下記の予定を登録しました。\r\n06/02(月)　会議"_sj},
        {"２００３－６－２ １０時－１２時 会議"_sj, "下記の予定を登録しました。\r\n06/02(月) 10:00 ～ 12:00　会議"_sj},
        // A business with a mark stays the business.
        {"明日 会議～打合せ"_sj, "下記の予定を登録しました。\r\n06/02(月)　会議～打合せ"_sj},
        // Failures.
        {"明日１２時～１０時 会議"_sj, "２番目の時期が適切でありません。"_sj},
        {"明日 １２時～１０時 会議"_sj, "２番目の時期が適切でありません。"_sj},
        {"明日１０時～１２時"_sj, "用件がありません。"_sj},
        {"２月３０日～３月２日 旅行"_sj, "時期が不正です。"_sj},
        {"明日～２月３０日 旅行"_sj, "２番目の時期が適切でありません。"_sj},
    };
    Run(steps, true);
}

TEST_F(ScheduleBookTest, WeekdayStartsOnAWednesday) {
    SetNow(2003, 6, 4, 9, 0);
    static const Step steps[] = {
        {"月曜日１０時 定例"_sj, "下記の予定を登録しました。\r\n06/09(月) 10:00　定例"_sj},
        {"金曜日 午後３時 来客"_sj, "下記の予定を登録しました。\r\n06/06(金) 15:00　来客"_sj},
        {"水曜日 今日"_sj, "用件がありません。"_sj},
    };
    Run(steps);
}

// Every command word reaches its question; further words are ignored.
TEST_F(ScheduleBookTest, CommandWordsAndSuffixes) {
    static const Step steps[] = {
        {"何曜日 ２００３年１月１日 余計"_sj, "２００３年１月１日は水曜日です。"_sj},
        {"曜日"_sj, "日付がありません。"_sj},
        {"何才 １９７０年７月１０日"_sj, "３２歳１０ヶ月２２日です。"_sj},
        {"年令 今日"_sj, "０歳０ヶ月０日です。"_sj},
        {"基準日 ２００１／３／１０"_sj, "基準日は２００１年３月１０日です。"_sj},
        {"日数 ２００３／５／２０"_sj, "８０１日（２５ヶ月４１日、１年１３ヶ月４１日）です。"_sj},
        {"日数 あした"_sj, "８１４日（２６ヶ月２３日、１年１４ヶ月２３日）です。"_sj},
        {"日数 ほげ"_sj, "わかりません。"_sj},
        {"曜日 ほげ"_sj, "日付の指定が違います。"_sj},
        {"曜日 来月の金曜"_sj,
         "「来月の金曜」は何週目の曜日かわかりません。「来月の第２金曜」のように入力してください。"_sj},
        {"曜日 毎週月曜"_sj, "「毎週月曜」は繰り返しのため、日付が一つに決まりません。"_sj},
        {"平成１５年 予定"_sj, "西暦２００３年です。"_sj},
        {"１斤"_sj, "６００グラムです。"_sj},
        {"３時間"_sj, "数値の指定が違います。"_sj},
    };
    Run(steps);
}

TEST_F(ScheduleBookTest, DeclinedLinesLeaveTheAnswerEmpty) {
    const char* declined[] = {"例"_sj, "天気"_sj, "予定表"_sj, "曜日です"_sj, "\x01", "\xFF\xFE"};
    for (const char* line : declined) {
        std::string answer;
        EXPECT_FALSE(AnswerCommand(line, answer)) << line;
        EXPECT_EQ(answer, "");
    }
    std::string answer;
    for (const char* word : {"", "x", "\x94"})  // the last: half of 年's bytes
        EXPECT_FALSE(m_dates.Answer(word, answer)) << word;
    // The whole word is converted.
    EXPECT_TRUE(m_dates.Answer("２尺"_sj, answer));
    EXPECT_EQ(answer, "６０．６０６センチメートルです。"_sj);
}

TEST_F(ScheduleBookTest, LongAndBrokenLinesAreSafe) {
    std::string huge = "明日 "_sj;
    for (int i = 0; i < 100000; ++i) huge += "あ"_sj;
    bool answered = false;
    EXPECT_EQ(Answer(huge, &answered).substr(0, 26), "下記の予定を登録しました。"_sj);
    EXPECT_TRUE(answered);
    EXPECT_EQ(m_pro.GetSchedules().back()->GetBusiness().size(), 200000u);

    // A lead byte without a valid trail byte stops the scanner on the spot.
    std::string answer;
    EXPECT_TRUE(m_pro.Answer("明日 "_sj + std::string("\x81\x20") + "会議"_sj, answer));
    EXPECT_TRUE(m_pro.Answer("明日 会議 "_sj + std::string("\x85\x40"), answer));
    EXPECT_EQ(answer, "２番目の時期が適切でありません。"_sj);
}

// A quantity longer than the scanner's token text is read whole, or refused when it is
// beyond a double; never read from its first 63 digits.
TEST_F(ScheduleBookTest, LongQuantitiesAreReadWhole) {
    auto digits = [](const char* d, int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += d;
        return s;
    };
    struct Row {
        std::string typed;
        std::string answer;
    } rows[] = {
        // 10^70 as the nearest double, times 30.303.
        {digits("９"_sj, 70) + "尺"_sj,
         "３０３０３０００００００００００１１１３６７９５２１５０６８６４０４４７３９４４６６９８０２６６７４８０７４０７８１０３９３３９６５８２８０９６センチメートルです。"_sj},
        // The digits after the 63rd count: 1234567 × 10^63 as the nearest double, times 600.
        {"１２３４５６７"_sj + digits("０"_sj, 63) + "斤"_sj,
         "７４０７４０２０００００００００４６３３９５５５９３６７９７２２４６９１４８１１６７６４７４９８３８１１８３０００８１８１５５７２５５２０８９６グラムです。"_sj},
        {digits("９"_sj, 500) + "坪"_sj, "数値の指定が違います。"_sj},
    };
    for (const Row& r : rows) {
        bool answered = false;
        EXPECT_EQ(Answer(r.typed, &answered), r.answer) << r.typed.size();
        EXPECT_TRUE(answered);
    }
}

}  // namespace

namespace {

// Lines pieced together from date words, digits, blanks, unit words and broken bytes:
// every one is answered or declined, never crashes, and an answer is never empty.
TEST_F(ScheduleBookTest, RandomLinesAreAnsweredOrDeclined) {
    const std::string pieces[] = {
        "明日"_sj,
        "１０時"_sj,
        "１２："_sj,
        "００"_sj,
        "２００４年"_sj,
        "１月"_sj,
        "３日"_sj,
        "／"_sj,
        "２９"_sj,
        "来週"_sj,
        "月曜日"_sj,
        "来月"_sj,
        "来年"_sj,
        "平成"_sj,
        "尺"_sj,
        "斤"_sj,
        "年"_sj,
        "．"_sj,
        "予定"_sj,
        "曜日"_sj,
        "日数"_sj,
        "会議"_sj,
        " ",
        "　"_sj,
        "  ",
        "\x81",
        "\x85\x40",
        "\xFF",
        "~",
        "\t",
        "9",
        "a",
        "午後"_sj,
        "９９９９９９９９９９"_sj,
        "０"_sj,
        "－"_sj,
    };
    std::mt19937 rng(2003);
    for (int i = 0; i < 20000; ++i) {
        std::string line;
        int n = 1 + static_cast<int>(rng() % 9);
        for (int k = 0; k < n; ++k) line += pieces[rng() % (sizeof pieces / sizeof pieces[0])];
        std::string answer;
        if (!AnswerCommand(line, answer))
            ASSERT_EQ(answer, "") << line;
        else
            ASSERT_FALSE(answer.empty()) << line;
        if (m_pro.GetSchedules().size() > 500) m_pro.ClearContents();
    }
}

}  // namespace
