#include "conversation/LineRoute.h"
#include "platform/CodePage.h"
#include "schedule/CmdPro.h"
#include "schedule/ICalendar.h"
#include "text/Sjis.h"

#include "ScheduleTestClock.h"

#include <string>
#include <vector>

namespace {

class ICalendarTest : public ScheduleClockTest {
protected:
    // Registers typed lines (UTF-8) as the conversation would.
    void Type(CCmdPro& pro, std::initializer_list<const char*> lines) {
        for (const char* typed : lines) {
            std::string text, answer;
            ClassifyLine(Utf8ToCp932(typed).text, text);
            ASSERT_EQ(pro.DoCommand(answer, text), 1) << typed;
        }
    }
    static std::string Listing(CCmdPro& pro) {
        std::string answer;
        pro.ListSchedules(answer);
        return Cp932ToUtf8(answer).text;
    }
    // Imports a text written with "\n" line ends; the answer in UTF-8.
    std::string Import(const std::string& text, ICalImportResult* pResult = nullptr) {
        std::string answer;
        ICalImportResult r = ImportICalendar(m_pro, text, answer);
        if (pResult) *pResult = r;
        return Cp932ToUtf8(answer).text;
    }
    static std::string Calendar(const std::string& events) {
        return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n" + events + "END:VCALENDAR\r\n";
    }

    CCmdPro m_pro;
};

TEST_F(ICalendarTest, EveryShapeOfEntryComesBackTheSame) {
    CCmdPro pro;
    Type(pro, {"明日１０時 会議", "明日１０時 明日１２時 打合せ", "明日 １２時 歯医者", "明日 会議",
               "６月５日 ６月７日 出張", "６月８日 ６月８日 当日", "６月９日１０時 ６月１１日 研修",
               "２０１５年１月１日 遠い予定", "７月１日２２時 ７月２日２時 夜勤"});
    std::string answer;
    ASSERT_EQ(pro.RegisterPhrases("２００３年６月２０日"_sj, "", "A;B,C\\D"_sj, answer), 1);
    const std::string text = FormatICalendar(pro, m_clock.Now());
    CCmdPro back;
    const ICalImportResult r = ImportICalendar(back, text, answer);
    EXPECT_FALSE(r.bFileRefused);
    EXPECT_EQ(r.nRefused, 0) << Cp932ToUtf8(answer).text;
    EXPECT_EQ(static_cast<std::size_t>(r.nRead), pro.GetSchedules().size());
    EXPECT_EQ(Listing(back), Listing(pro));
    // The same entries give the same file (identifiers included).
    EXPECT_EQ(FormatICalendar(back, m_clock.Now()), text);
}

TEST_F(ICalendarTest, TheFileIsFoldedUtf8WithCrLfAndEscapedText) {
    CCmdPro pro;
    Type(pro, {"明日１０時 明日１２時 とても長い用件の名前で七十五バイトを超えるのでこの行は折り返されます、そうです",
               "６月５日 休み"});
    std::string answer;
    ASSERT_EQ(pro.RegisterPhrases("２００３年６月５日"_sj, "", "休み;振替,代休"_sj, answer), 1);
    const std::string text = FormatICalendar(pro, m_clock.Now());
    std::size_t pos = 0;
    bool bFolded = false;
    while (pos < text.size()) {
        const std::size_t eol = text.find("\r\n", pos);
        ASSERT_NE(eol, std::string::npos);
        const std::string line = text.substr(pos, eol - pos);
        EXPECT_LE(line.size(), 75u) << line;
        EXPECT_EQ(line.find('\n'), std::string::npos);
        if (!line.empty() && line[0] == ' ') {
            bFolded = true;
            // A continuation never starts inside a character.
            ASSERT_GT(line.size(), 1u);
            EXPECT_NE(static_cast<unsigned char>(line[1]) & 0xC0, 0x80) << line;
        }
        pos = eol + 2;
    }
    EXPECT_TRUE(bFolded);
    EXPECT_TRUE(IsValidUtf8(text));
    for (const char* want :
         {"BEGIN:VCALENDAR\r\nVERSION:2.0\r\n", "DTSTART:20030602T100000\r\n", "DTEND:20030602T120000\r\n",
          "DTSTART;VALUE=DATE:20030605\r\n", "DTEND;VALUE=DATE:20030606\r\n", "SUMMARY:休み\\;振替\\,代休\r\n",
          "DTSTAMP:20030601T100000Z\r\n", "@nelo.invalid\r\n", "END:VCALENDAR\r\n"})
        EXPECT_NE(text.find(want), std::string::npos) << want;
}

struct ImportRow {
    const char* name;
    const char* events;  // the VEVENTs, CR LF
    const char* tz;      // the local zone
    const char* listing;
    const char* answerPart;
};

class ICalendarImportTest : public ICalendarTest, public testing::WithParamInterface<ImportRow> {};

TEST_P(ICalendarImportTest, EventsBecomeEntriesInLocalTime) {
    const ImportRow& row = GetParam();
    setenv("TZ", row.tz, 1);
    tzset();
    const std::string answer = Import(Calendar(row.events));
    EXPECT_NE(answer.find(row.answerPart), std::string::npos) << answer;
    EXPECT_EQ(Listing(m_pro), row.listing) << answer;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ICalendarImportTest,
    testing::Values(
        ImportRow{
            "utc_to_tokyo",
            "BEGIN:VEVENT\r\nDTSTART:20030602T010000Z\r\nDTEND:20030602T030000Z\r\nSUMMARY:会議\r\nEND:VEVENT\r\n",
            "JST-9", "次のような予定があります。\r\n06/02(月) 10:00 ～ 12:00　会議", "予定を 1 件読み込みました。"},
        ImportRow{"tzid_new_york_to_utc",
                  "BEGIN:VEVENT\r\nDTSTART;TZID=America/New_York:20030602T090000\r\nSUMMARY:Call\r\nEND:VEVENT\r\n",
                  "UTC0", "次のような予定があります。\r\n06/02(月) 13:00　Call", "1 件"},
        ImportRow{
            "windows_zone_name",
            "BEGIN:VEVENT\r\nDTSTART;TZID=\"Tokyo Standard Time\":20030602T090000\r\nSUMMARY:朝会\r\nEND:VEVENT\r\n",
            "UTC0", "次のような予定があります。\r\n06/02(月) 00:00　朝会", "1 件"},
        ImportRow{"recurring_first_only",
                  "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20030610\r\nRRULE:FREQ=WEEKLY\r\nSUMMARY:ゴミ\r\n "
                  "出し\r\nEND:VEVENT\r\n",
                  "UTC0", "次のような予定があります。\r\n06/10(火)　ゴミ出し",
                  "（繰り返しの予定 1 件は最初の１回だけ）"},
        ImportRow{"duration_and_escapes",
                  "BEGIN:VEVENT\r\nDTSTART:20030603T100000\r\nDURATION:PT1H30M\r\nSUMMARY:A\\, B\\nC\r\nEND:"
                  "VEVENT\r\n",
                  "UTC0", "次のような予定があります。\r\n06/03(火) 10:00 ～ 11:30　A,　B　C", "1 件"},
        ImportRow{"multi_day_dates_lf_only",
                  "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20030605\nDTEND;VALUE=DATE:20030608\nSUMMARY:旅行\nEND:VEVENT\n",
                  "UTC0", "次のような予定があります。\r\n06/05(木) ～ 06/07(土)　旅行", "1 件"},
        ImportRow{"refusals_each_with_its_reason",
                  "BEGIN:VEVENT\r\nDTSTART:20030230T100000\r\nSUMMARY:無い日\r\nEND:VEVENT\r\n"
                  "BEGIN:VEVENT\r\nSUMMARY:開始なし\r\nEND:VEVENT\r\n"
                  "BEGIN:VEVENT\r\nDTSTART;TZID=Mars/Olympus:20030602T100000\r\nSUMMARY:火星\r\nEND:VEVENT\r\n"
                  "BEGIN:VEVENT\r\nDTSTART:20030602T100000\r\nDTEND:20030602T090000\r\nSUMMARY:逆\r\nEND:VEVENT\r\n"
                  "BEGIN:VEVENT\r\nDTSTART:20030602T100000\r\nEND:VEVENT\r\n"
                  "BEGIN:VEVENT\r\nDTSTART:20400101T100000\r\nSUMMARY:遠すぎ\r\nEND:VEVENT\r\n"
                  "BEGIN:VEVENT\r\nDTSTART:20030604T100000\r\nSUMMARY:正常\r\nEND:VEVENT\r\n",
                  "UTC0", "次のような予定があります。\r\n06/04(水) 10:00　正常",
                  "予定を 1 件読み込みました。6 件は登録しませんでした。\r\n"
                  "1 件目（4 行目）「無い日」: 日時「20030230T100000」が正しくありません。\r\n"
                  "2 件目（8 行目）「開始なし」: 開始日時（DTSTART）がありません。\r\n"
                  "3 件目（11 行目）「火星」: 時間帯「Mars/Olympus」がわかりません。\r\n"
                  "4 件目（15 行目）「逆」: ２番目の時期が適切でありません。\r\n"
                  "5 件目（20 行目）「」: 用件がありません。\r\n"
                  "6 件目（23 行目）「遠すぎ」: 時期が不正です。"}),
    [](const testing::TestParamInfo<ImportRow>& row) { return std::string(row.param.name); });

TEST_F(ICalendarTest, AConflictIsAnsweredAsForATypedEntry) {
    Type(m_pro, {"明日１０時 明日１２時 打合せ"});
    const std::string answer =
        Import(Calendar("BEGIN:VEVENT\r\nDTSTART:20030602T110000\r\nSUMMARY:会議\r\nEND:VEVENT\r\n"));
    EXPECT_EQ(answer,
              "予定を 1 件読み込みました。\r\n既に予定がありますが、下記の予定を登録しました。\r\n"
              "06/02(月) 10:00 ～ 12:00　打合せ\r\n06/02(月) 11:00　会議");
}

struct RefusedRow {
    const char* name;
    std::string text;
    const char* answer;
};

TEST_F(ICalendarTest, ABrokenFileIsRefusedWholeAndChangesNothing) {
    const std::string good = "BEGIN:VEVENT\r\nDTSTART:20030602T100000\r\nSUMMARY:会議\r\nEND:VEVENT\r\n";
    std::string many;
    for (std::size_t i = 0; i <= kICalMaxEvents; ++i) many += good;
    const RefusedRow rows[] = {
        {"not a calendar", "会議,2003/06/02\r\n",
         "iCalendar のファイルではありません（BEGIN:VCALENDAR で始まっていません）。"},
        {"empty", "", "iCalendar のファイルではありません（空のファイルです）。"},
        {"missing END of an event", "BEGIN:VCALENDAR\r\n" + good + "BEGIN:VEVENT\r\nDTSTART:20030603T100000\r\n",
         "END:VEVENT がありません（6 行目の BEGIN:VEVENT）。"},
        {"missing END of the calendar", "BEGIN:VCALENDAR\r\n" + good,
         "END:VCALENDAR がありません（1 行目の BEGIN:VCALENDAR）。"},
        {"END without BEGIN", Calendar(good + "END:VALARM\r\n"), "8 行目: END:VALARM に対応する BEGIN がありません。"},
        {"huge line", Calendar("BEGIN:VEVENT\r\nSUMMARY:" + std::string(2u << 20, 'x') + "\r\nEND:VEVENT\r\n"),
         "5 行目が長すぎます。"},
        {"huge folded line", Calendar([] {
             std::string s = "BEGIN:VEVENT\r\nSUMMARY:x\r\n";
             for (int i = 0; i < 20000; ++i) s += " " + std::string(70, 'y') + "\r\n";
             return s + "END:VEVENT\r\n";
         }()),
         "5 行目が長すぎます。"},
        {"too many events", Calendar(many), "予定が多すぎます（20000 件まで）。"},
        {"too large", std::string(kICalMaxFileBytes + 1, 'B'), "ファイルが大きすぎます（16 MB まで）。"},
    };
    for (const RefusedRow& row : rows) {
        ICalImportResult r;
        const std::string answer = Import(row.text, &r);
        EXPECT_TRUE(r.bFileRefused) << row.name;
        EXPECT_EQ(answer, std::string(row.answer) + "\r\n予定は登録しませんでした。") << row.name;
        EXPECT_TRUE(m_pro.GetSchedules().empty()) << row.name;
        EXPECT_FALSE(m_pro.IsChanged()) << row.name;
    }
}

TEST_F(ICalendarTest, ABadLineInsideAnEventRefusesThatEventOnly) {
    const std::string answer = Import(
        Calendar("BEGIN:VEVENT\r\nDTSTART:20030602T100000\r\nSUMMARY;X=\"unclosed:会議\r\nEND:VEVENT\r\n"
                 "BEGIN:VEVENT\r\nDTSTART:20030603T100000\r\nSUMMARY:研修\r\nBEGIN:VALARM\r\nTRIGGER:-PT15M\r\nEND:"
                 "VALARM\r\nEND:VEVENT\r\n"));
    EXPECT_EQ(answer,
              "予定を 1 件読み込みました。1 件は登録しませんでした。\r\n"
              "1 件目（4 行目）「」: 6 行目の書式が正しくありません。");
    EXPECT_EQ(Listing(m_pro), "次のような予定があります。\r\n06/03(火) 10:00　研修");
}

}  // namespace
