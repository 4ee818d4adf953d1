#include "CalendarTestSupport.h"

#include "calendar/ICalendar.h"
#include "platform/CodePage.h"
#include "schedule/ScheduleBook.h"
#include "text/Sjis.h"

#include <memory>
#include <string>
#include <vector>

using namespace nelo;

namespace {

struct RoundTripRow {
    const char* name;
    const char* tz;
    const char* zoneName;  // what the export names the zone
};

class ICalRoundTripTest : public CalendarTest, public testing::WithParamInterface<RoundTripRow> {};

TEST_P(ICalRoundTripTest, EveryShapeOfEntryComesBackTheSame) {
    SetZone(GetParam().tz);
    SetNow(2003, 6, 1, 10, 0);
    ScheduleBook pro;
    Type(pro, {"明日１０時 会議", "明日１０時 明日１２時 打合せ", "明日 １２時 歯医者", "明日 会議",
               "６月５日 ６月７日 出張", "６月８日 ６月８日 当日", "６月９日１０時 ６月１１日 研修",
               "２０１５年１月１日 遠い予定", "７月１日２２時 ７月２日２時 夜勤", "１０月２６日１時 夜明け"});
    std::string answer;
    const auto day = static_cast<std::int32_t>(MakeLocalTime(2003, 6, 20, 0, 0, 0));
    pro.RegisterSchedule("2003/06/20(金)"_sj, "", "A;B,C\\D"_sj, answer, day, day);
    const std::string text = FormatICalendar(pro, m_clock.Now(), GetParam().zoneName);
    ScheduleBook back;
    const ICalImportResult r = ImportICalendar(back, text, answer);
    EXPECT_FALSE(r.fileRefused);
    EXPECT_EQ(r.refusedCount, 0) << Cp932ToUtf8(answer).text;
    EXPECT_EQ(static_cast<std::size_t>(r.bytesRead), pro.GetSchedules().size()) << Cp932ToUtf8(answer).text;
    EXPECT_EQ(Listing(back), Listing(pro));
    // The same entries give the same file (identifiers included).
    EXPECT_EQ(FormatICalendar(back, m_clock.Now(), GetParam().zoneName), text);
}

INSTANTIATE_TEST_SUITE_P(Zones, ICalRoundTripTest,
                         testing::Values(RoundTripRow{"utc", "UTC0", ""},
                                         RoundTripRow{"tokyo", "Asia/Tokyo", "Asia/Tokyo"},
                                         RoundTripRow{"new_york", "America/New_York", "America/New_York"}),
                         [](const testing::TestParamInfo<RoundTripRow>& row) { return std::string(row.param.name); });

// Each line of a file: CR LF, at most 75 bytes, continuations never inside a character.
void ExpectFoldedLines(const std::string& text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t eol = text.find("\r\n", pos);
        ASSERT_NE(eol, std::string::npos);
        const std::string line = text.substr(pos, eol - pos);
        EXPECT_LE(line.size(), 75u) << line;
        EXPECT_EQ(line.find('\n'), std::string::npos);
        if (!line.empty() && line[0] == ' ' && line.size() > 1) {
            EXPECT_NE(static_cast<unsigned char>(line[1]) & 0xC0, 0x80) << line;
        }
        pos = eol + 2;
    }
    EXPECT_TRUE(IsValidUtf8(text));
}

TEST_F(CalendarTest, TheFileCarriesTheZoneOrUtcAndWritesLateHoursAsTheNextDay) {
    struct Row {
        const char* tz;
        const char* zoneName;
        std::vector<const char*> wanted;
    };
    const Row rows[] = {
        {"UTC0",
         "",
         {"BEGIN:VCALENDAR\r\nVERSION:2.0\r\n", "DTSTART:20030602T100000Z\r\n", "DTEND:20030602T120000Z\r\n",
          "DTSTART;VALUE=DATE:20030605\r\n", "DTEND;VALUE=DATE:20030606\r\n", "SUMMARY:休み\\;振替\\,代休\r\n",
          "DTSTART:20030603T000000Z\r\n", "DTSTART:20030603T010000Z\r\n", "DTSTAMP:20030601T100000Z\r\n",
          "@nelo.invalid\r\n", "END:VCALENDAR\r\n"}},
        {"Asia/Tokyo",
         "Asia/Tokyo",
         {"BEGIN:VTIMEZONE\r\nTZID:Asia/Tokyo\r\n", "DTSTART;TZID=Asia/Tokyo:20030602T100000\r\n",
          "DTEND;TZID=Asia/Tokyo:20030602T120000\r\n", "DTSTART;VALUE=DATE:20030605\r\n",
          "DTSTART;TZID=Asia/Tokyo:20030603T000000\r\n", "DTSTART;TZID=Asia/Tokyo:20030603T010000\r\n",
          "DTSTAMP:20030601T010000Z\r\n"}},
    };
    for (const Row& row : rows) {
        SetZone(row.tz);
        SetNow(2003, 6, 1, 10, 0);
        ScheduleBook pro;
        Type(pro,
             {"明日１０時 明日１２時 とても長い用件の名前で七十五バイトを超えるのでこの行は折り返されます、そうです",
              "明日２４時 夜の会議", "明日２５時 深夜作業"});
        std::string answer;
        const auto day = static_cast<std::int32_t>(MakeLocalTime(2003, 6, 5, 0, 0, 0));
        pro.RegisterSchedule("2003/06/05(木)"_sj, "", "休み;振替,代休"_sj, answer, day, day);
        const std::string text = FormatICalendar(pro, m_clock.Now(), row.zoneName);
        ExpectFoldedLines(text);
        for (const char* want : row.wanted) EXPECT_NE(text.find(want), std::string::npos) << row.tz << ": " << want;
        // Hours of 24 and later are never written as such.
        EXPECT_EQ(text.find("T240000"), std::string::npos);
        EXPECT_EQ(text.find("T250000"), std::string::npos);
    }
}

TEST_F(CalendarTest, ControlCharactersNeverReachTheFileAndAnEmptyNotebookStillHasAComponent) {
    ScheduleBook pro;
    std::string answer;
    const auto day = static_cast<std::int32_t>(MakeLocalTime(2003, 6, 5, 0, 0, 0));
    pro.RegisterSchedule("2003/06/05(木)"_sj, "", "\x1b]0;title\x07\x1b[2J"_sj, answer, day, day);
    ICalExportNotes notes;
    const std::string text = FormatICalendar(pro, m_clock.Now(), "", &notes);
    EXPECT_NE(text.find("SUMMARY: ]0\\;title  [2J\r\n"), std::string::npos) << text;
    EXPECT_EQ(notes.control, 3);
    for (char c : text) EXPECT_TRUE(c == '\r' || c == '\n' || static_cast<unsigned char>(c) >= 0x20) << int(c);

    ScheduleBook empty;
    const std::string none = FormatICalendar(empty, m_clock.Now(), "");
    EXPECT_NE(none.find("BEGIN:VTIMEZONE\r\nTZID:UTC\r\n"), std::string::npos) << none;
    ScheduleBook back;
    const ICalImportResult r = ImportICalendar(back, none, answer);
    EXPECT_FALSE(r.fileRefused);
    EXPECT_EQ(Cp932ToUtf8(answer).text, "予定を 0 件読み込みました。");
}

struct ImportRow {
    const char* name;
    const char* tz;
    std::string events;  // what stands between the calendar's lines (CR LF)
    const char* listing;
    const char* answerPart;
};

class ICalImportTest : public CalendarTest, public testing::WithParamInterface<ImportRow> {};

TEST_P(ICalImportTest, EventsBecomeEntriesInLocalTime) {
    const ImportRow& row = GetParam();
    SetZone(row.tz);
    SetNow(2003, 6, 1, 10, 0);
    const std::string answer = Import(Calendar(row.events));
    EXPECT_NE(answer.find(row.answerPart), std::string::npos) << answer;
    EXPECT_EQ(Listing(m_pro), row.listing) << answer;
}

const std::string kWeekly =
    "BEGIN:VEVENT\r\nUID:w@x\r\nDTSTART:20030602T100000\r\nRRULE:FREQ=WEEKLY;COUNT=3\r\n"
    "SUMMARY:定例\r\nEND:VEVENT\r\n";

INSTANTIATE_TEST_SUITE_P(
    Rows, ICalImportTest,
    testing::Values(
        ImportRow{
            "utc_to_tokyo", "JST-9",
            "BEGIN:VEVENT\r\nDTSTART:20030602T010000Z\r\nDTEND:20030602T030000Z\r\nSUMMARY:会議\r\nEND:VEVENT\r\n",
            "次のような予定があります。\r\n06/02(月) 10:00 ～ 12:00　会議", "予定を 1 件読み込みました。"},
        ImportRow{"tzid_new_york_to_utc", "UTC0",
                  "BEGIN:VEVENT\r\nDTSTART;TZID=America/New_York:20030602T090000\r\nSUMMARY:Call\r\nEND:VEVENT\r\n",
                  "次のような予定があります。\r\n06/02(月) 13:00　Call", "1 件"},
        ImportRow{
            "zone_names_other_programs_write", "UTC0",
            "BEGIN:VEVENT\r\nDTSTART;TZID=\"Tokyo Standard Time\":20030602T090000\r\nSUMMARY:朝会\r\nEND:VEVENT\r\n"
            "BEGIN:VEVENT\r\nDTSTART;TZID=/mozilla.org/20050126_1/Asia/Tokyo:20030603T090000\r\nSUMMARY:"
            "朝礼\r\nEND:VEVENT\r\n",
            "次のような予定があります。\r\n06/02(月) 00:00　朝会\r\n06/03(火) 00:00　朝礼", "2 件"},
        ImportRow{"zone_given_after_its_event", "UTC0",
                  "BEGIN:VEVENT\r\nDTSTART;TZID=Office:20030602T090000\r\nSUMMARY:支店\r\nEND:VEVENT\r\n"
                  "BEGIN:VTIMEZONE\r\nTZID:Office\r\nBEGIN:STANDARD\r\nDTSTART:19700101T000000\r\nTZOFFSETFROM:+0500"
                  "\r\nTZOFFSETTO:+0500\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n",
                  "次のような予定があります。\r\n06/02(月) 04:00　支店", "1 件"},
        ImportRow{"duration_escapes_and_place", "UTC0",
                  "BEGIN:VEVENT\r\nDTSTART:20030603T100000\r\nDURATION:PT1H30M\r\nSUMMARY:A\\, B\\nC\r\nLOCATION:本社"
                  "\r\nEND:VEVENT\r\n",
                  "次のような予定があります。\r\n06/03(火) 10:00 ～ 11:30　A,　B　C（本社）", "1 件"},
        ImportRow{"multi_day_dates_lf_only", "UTC0",
                  "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20030605\nDTEND;VALUE=DATE:20030608\nSUMMARY:旅行\nEND:VEVENT\n",
                  "次のような予定があります。\r\n06/05(木) ～ 06/07(土)　旅行", "1 件"},
        ImportRow{"weekly_with_its_first_day_excluded", "UTC0",
                  "BEGIN:VEVENT\r\nDTSTART:20030602T100000\r\nRRULE:FREQ=WEEKLY;COUNT=3\r\nEXDATE:20030602T100000\r\n"
                  "SUMMARY:定例\r\nEND:VEVENT\r\n",
                  "次のような予定があります。\r\n06/09(月) 10:00　定例\r\n06/16(月) 10:00　定例",
                  "繰り返しの予定 1 件から、今日から１年先までの 2 件を登録しました。"},
        ImportRow{"cancelled_event_and_instance", "UTC0",
                  "BEGIN:VEVENT\r\nUID:w@x\r\nRECURRENCE-ID:20030609T100000\r\nDTSTART:20030609T100000\r\n"
                  "STATUS:CANCELLED\r\nSUMMARY:定例\r\nEND:VEVENT\r\n" +
                      kWeekly +
                      "BEGIN:VEVENT\r\nDTSTART:20030604T100000\r\nSTATUS:CANCELLED\r\nSUMMARY:中止\r\nEND:VEVENT\r\n",
                  "次のような予定があります。\r\n06/02(月) 10:00　定例\r\n06/16(月) 10:00　定例",
                  "読み込まなかった予定: 取り消された予定 1 件、取り消された回 1 件"},
        ImportRow{"moved_instance", "UTC0",
                  kWeekly + "BEGIN:VEVENT\r\nUID:w@x\r\nRECURRENCE-ID:20030609T100000\r\nDTSTART:20030610T150000\r\n"
                            "SUMMARY:定例（移動）\r\nEND:VEVENT\r\n",
                  "次のような予定があります。\r\n06/02(月) 10:00　定例\r\n06/10(火) 15:00　定例（移動）\r\n"
                  "06/16(月) 10:00　定例",
                  "「定例」: 繰り返し 3 件"},
        ImportRow{"days_written_one_by_one_are_one_entry", "UTC0",
                  "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20030301\r\nRRULE:FREQ=DAILY;UNTIL=20030305\r\n"
                  "SUMMARY:出張\r\nEND:VEVENT\r\n",
                  "次のような予定があります。\r\n03/01(土) ～ 03/05(水)　出張", "連続する 5 日を 1 件にまとめました。"},
        ImportRow{"extra_dates_and_a_series_of_the_past", "UTC0",
                  "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20030602\r\nRDATE;VALUE=DATE:20030610,20030620\r\nSUMMARY:"
                  "点検\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\nDTSTART:20020101T100000\r\nRRULE:FREQ=WEEKLY;COUNT=2\r\n"
                  "SUMMARY:昔\r\nEND:VEVENT\r\n",
                  "次のような予定があります。\r\n06/02(月)　点検\r\n06/10(火)　点検\r\n06/20(金)　点検",
                  "2 件目（9 行目）「昔」: 今日から１年先までに当たる日がありません。"},
        ImportRow{"rules_that_cannot_be_walked", "UTC0",
                  "BEGIN:VEVENT\r\nDTSTART:20030602T100000\r\nRRULE:FREQ=MINUTELY\r\nSUMMARY:毎分\r\nEND:VEVENT\r\n"
                  "BEGIN:VEVENT\r\nDTSTART:18000101T100000\r\nRRULE:FREQ=DAILY;COUNT=100000\r\nSUMMARY:古い\r\n"
                  "END:VEVENT\r\nBEGIN:VEVENT\r\nDTSTART:20030602T100000\r\nRRULE:FREQ=DAILY;BYMONTH=2;"
                  "BYMONTHDAY=30\r\nSUMMARY:無い日\r\nEND:VEVENT\r\n",
                  // The first instance is its DTSTART, whether the rule meets it or not.
                  "次のような予定があります。\r\n06/02(月) 10:00　無い日",
                  "1 件目（4 行目）「毎分」: 秒や分ごとの繰り返しは読み込めません。\r\n"
                  "2 件目（9 行目）「古い」: 繰り返しの始まり（DTSTART）が古すぎるため、今日からの回を数えられません。"
                  "\r\n3 件目（14 行目）「無い日」: 繰り返し 1 件"},
        ImportRow{"what_an_entry_cannot_hold_is_counted", "UTC0",
                  "BEGIN:VTODO\r\nSUMMARY:報告書\r\nEND:VTODO\r\nBEGIN:VJOURNAL\r\nSUMMARY:日記\r\nEND:VJOURNAL\r\n"
                  "BEGIN:VFREEBUSY\r\nEND:VFREEBUSY\r\nBEGIN:VEVENT\r\nDTSTART:20030602T100000\r\nSUMMARY:会議\r\n"
                  "DESCRIPTION:議題\\n1. 予算\r\nBEGIN:VALARM\r\nTRIGGER:-PT15M\r\nEND:VALARM\r\nBEGIN:VALARM\r\n"
                  "TRIGGER:-PT5M\r\nEND:VALARM\r\nEND:VEVENT\r\n",
                  "次のような予定があります。\r\n06/02(月) 10:00　会議",
                  "予定にできないため読み込まなかったもの: ToDo（VTODO） 1 件、日誌（VJOURNAL） 1 件、"
                  "アラーム（VALARM） 2 件、説明（DESCRIPTION） 1 件、その他の要素 1 件"},
        ImportRow{"characters_without_a_code_page_932_form", "UTC0",
                  "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20030615\r\nSUMMARY:🎂 誕生日 Café 𠮷野\r\nEND:VEVENT\r\n",
                  "次のような予定があります。\r\n06/15(日)　？　誕生日　Caf？　？野",
                  "1 件目（4 行目）「？　誕生日　Caf？　？野」: シフトJIS（コードページ932）にない文字 3 個を「？」に"
                  "置き換えました。"},
        ImportRow{"a_new_york_series_across_the_autumn_change", "America/New_York",
                  "BEGIN:VEVENT\r\nDTSTART;TZID=Asia/Tokyo:20031025T220000\r\nRRULE:FREQ=DAILY;COUNT=3\r\n"
                  "SUMMARY:東京と電話\r\nEND:VEVENT\r\n",
                  "次のような予定があります。\r\n10/25(土) 09:00　東京と電話\r\n10/26(日) 08:00　東京と電話\r\n"
                  "10/27(月) 08:00　東京と電話",
                  "3 件"},
        ImportRow{"refusals_each_with_its_reason", "UTC0",
                  "BEGIN:VEVENT\r\nDTSTART:20030230T100000\r\nSUMMARY:無い日\r\nEND:VEVENT\r\n"
                  "BEGIN:VEVENT\r\nSUMMARY:開始なし\r\nEND:VEVENT\r\n"
                  "BEGIN:VEVENT\r\nDTSTART;TZID=Mars/Olympus:20030602T100000\r\nSUMMARY:火星\r\nEND:VEVENT\r\n"
                  "BEGIN:VEVENT\r\nDTSTART:20030602T100000\r\nDTEND:20030602T090000\r\nSUMMARY:逆\r\nEND:VEVENT\r\n"
                  "BEGIN:VEVENT\r\nDTSTART:20030602T100000\r\nEND:VEVENT\r\n"
                  "BEGIN:VEVENT\r\nDTSTART:20400101T100000\r\nSUMMARY:遠すぎ\r\nEND:VEVENT\r\n"
                  "BEGIN:VEVENT\r\nDTSTART:20030604T100000\r\nSUMMARY:正常\r\nEND:VEVENT\r\n",
                  "次のような予定があります。\r\n06/04(水) 10:00　正常",
                  "予定を 1 件読み込みました。6 件は登録できませんでした（理由は下に）。\r\n"
                  "1 件目（4 行目）「無い日」: 日時「20030230T100000」が正しくありません。\r\n"
                  "2 件目（8 行目）「開始なし」: 開始日時（DTSTART）がありません。\r\n"
                  "3 件目（11 行目）「火星」: 時間帯「Mars/Olympus」がわかりません。\r\n"
                  "4 件目（15 行目）「逆」: 終了日時（DTEND）が開始日時より前です。\r\n"
                  "5 件目（20 行目）「」: 用件（SUMMARY）がありません。\r\n"
                  "6 件目（23 行目）「遠すぎ」: 日付「2040/01/01」は予定に記録できる範囲（1901年～2038年1月）の外"
                  "です。"},
        ImportRow{"a_bad_line_refuses_its_event_only", "UTC0",
                  "BEGIN:VEVENT\r\nDTSTART:20030602T100000\r\nDTEND:2003\r\nSUMMARY:会議\r\nEND:VEVENT\r\n"
                  "BEGIN:VEVENT\r\nDTSTART:20030603T100000\r\nSUMMARY:研修\r\nX-OTHER;=:\r\nEND:VEVENT\r\n",
                  "次のような予定があります。\r\n06/03(火) 10:00　研修",
                  "予定を 1 件読み込みました。1 件は登録できませんでした（理由は下に）。\r\n"
                  "1 件目（4 行目）「会議」: 6 行目の書式が正しくありません。"}),
    [](const testing::TestParamInfo<ImportRow>& row) { return std::string(row.param.name); });

TEST_F(CalendarTest, ALongTitleIsKeptUpToWhatATypedLineHoldsAndTheCutIsTold) {
    std::string title;
    for (int i = 0; i < 700; ++i) title += "長";
    const std::string answer =
        Import(Calendar("BEGIN:VEVENT\r\nDTSTART:20030602T100000\r\nSUMMARY:" + title + "\r\nEND:VEVENT\r\n"));
    EXPECT_NE(answer.find("用件が長いため 1023 バイトまでにしました。"), std::string::npos) << answer;
    ASSERT_EQ(m_pro.GetSchedules().size(), 1u);
    EXPECT_EQ(m_pro.GetSchedules()[0]->GetBusiness().size(), 1022u);  // 511 characters of two bytes
}

TEST_F(CalendarTest, AShiftJisFileOrOneWithABomReadsAsItsText) {
    const std::string utf8 = Calendar(
        "BEGIN:VEVENT\r\nDTSTART:20030602T100000\r\nSUMMARY:健康診断\r\nLOCATION:㈱診療所"
        "\r\nEND:VEVENT\r\n");
    const std::string listing = "次のような予定があります。\r\n06/02(月) 10:00　健康診断（㈱診療所）";
    EXPECT_EQ(Import(Utf8ToCp932(utf8).text),
              "予定を 1 件読み込みました。（シフトJIS（コードページ932）のファイルとして読みました）");
    EXPECT_EQ(Listing(m_pro), listing);
    ScheduleBook other;
    std::string answer;
    ImportICalendar(other, "\xEF\xBB\xBF" + utf8, answer);
    EXPECT_EQ(Cp932ToUtf8(answer).text, "予定を 1 件読み込みました。");
    EXPECT_EQ(Listing(other), listing);
}

TEST_F(CalendarTest, ImportingTwiceAddsNothingTwice) {
    // Two identical events, a series with a moved instance, and an event the notebook wrote.
    ScheduleBook source;
    Type(source, {"６月３日９時 ６月３日１０時 朝会"});
    const std::string ours = FormatICalendar(source, m_clock.Now(), "");
    const std::string ourEvent =
        ours.substr(ours.find("BEGIN:VEVENT"), ours.find("END:VCALENDAR") - ours.find("BEGIN:VEVENT"));
    const std::string file = Calendar(
        "BEGIN:VEVENT\r\nDTSTART:20030602T100000\r\nSUMMARY:会議\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nDTSTART:20030602T100000\r\nSUMMARY:会議\r\nEND:VEVENT\r\n" +
        kWeekly +
        "BEGIN:VEVENT\r\nUID:w@x\r\nRECURRENCE-ID:20030609T100000\r\n"
        "DTSTART:20030610T150000\r\nSUMMARY:定例\r\nEND:VEVENT\r\n" +
        ourEvent);
    ICalImportResult first, second;
    Import(file, &first);
    EXPECT_EQ(first.bytesRead, 6);
    const std::string before = Listing(m_pro);
    const std::string answer = Import(file, &second);
    EXPECT_EQ(second.bytesRead, 0);
    EXPECT_EQ(second.skippedCount, 6);
    EXPECT_NE(answer.find("読み込まなかった予定: 登録済みの予定 6 件"), std::string::npos) << answer;
    EXPECT_EQ(Listing(m_pro), before);
    EXPECT_FALSE(answer.find("重なる") != std::string::npos) << answer;

    // A notebook that holds one of two identical entries takes the other.
    ScheduleBook half;
    Type(half, {"６月２日１０時 会議"});
    std::string text;
    const ICalImportResult r = ImportICalendar(half, file, text);
    EXPECT_EQ(r.bytesRead, 5);
}

TEST_F(CalendarTest, ManyEventsAtOneTimeAreToldWithoutListingEveryPair) {
    std::string events;
    for (int i = 0; i < 3000; ++i)
        events += "BEGIN:VEVENT\r\nDTSTART:20030602T100000\r\nSUMMARY:会議" + std::to_string(i) + "\r\nEND:VEVENT\r\n";
    ICalImportResult r;
    const std::string answer = Import(Calendar(events), &r);
    EXPECT_EQ(r.bytesRead, 3000);
    EXPECT_NE(answer.find("既にある予定と時刻が重なるもの 2999 件も登録しました。"), std::string::npos);
    EXPECT_NE(answer.find("\r\n（ほか 2949 件）"), std::string::npos);
    std::size_t lines = 0;
    for (std::size_t p = answer.find("\r\n"); p != std::string::npos; p = answer.find("\r\n", p + 2)) ++lines;
    EXPECT_EQ(lines, 52u);  // the count line, 50 events, the rest
}

struct RefusedRow {
    const char* name;
    std::string text;
    const char* answer;
};

TEST_F(CalendarTest, ABrokenFileIsRefusedWholeAndChangesNothing) {
    const std::string good = "BEGIN:VEVENT\r\nDTSTART:20030602T100000\r\nSUMMARY:会議\r\nEND:VEVENT\r\n";
    const RefusedRow rows[] = {
        {"not a calendar", "会議,2003/06/02\r\n",
         "iCalendar のファイルではありません（BEGIN:VCALENDAR で始まっていません）。"},
        {"empty", "", "iCalendar のファイルではありません（空のファイルです）。"},
        {"missing END of an event", "BEGIN:VCALENDAR\r\n" + good + "BEGIN:VEVENT\r\nDTSTART:20030603T100000\r\n",
         "END:VEVENT がありません（6 行目の BEGIN:VEVENT）。"},
        {"missing END of the calendar", "BEGIN:VCALENDAR\r\n" + good,
         "END:VCALENDAR がありません（1 行目の BEGIN:VCALENDAR）。"},
        {"END without BEGIN", Calendar(good + "END:VALARM\r\n"), "8 行目: END:VALARM に対応する BEGIN がありません。"},
        {"a line outside the calendar", Calendar(good) + "SUMMARY:x\r\n", "9 行目: VCALENDAR の外に行があります。"},
        {"huge line", Calendar("BEGIN:VEVENT\r\nSUMMARY:" + std::string(2u << 20, 'x') + "\r\nEND:VEVENT\r\n"),
         "5 行目が長すぎます。"},
        {"huge folded line", Calendar([] {
             std::string s = "BEGIN:VEVENT\r\nSUMMARY:x\r\n";
             for (int i = 0; i < 20000; ++i) s += " " + std::string(70, 'y') + "\r\n";
             return s + "END:VEVENT\r\n";
         }()),
         "5 行目が長すぎます。"},
        {"NUL byte", Calendar("BEGIN:VEVENT\r\nSUMMARY:a" + std::string(1, '\0') + "b\r\nEND:VEVENT\r\n"),
         "5 行目に NUL 文字があります。"},
        {"too large", std::string(kICalMaxFileBytes + 1, 'B'),
         "ファイルが大きすぎます（64.0 MB を超えています。読み込めるのは 64.0 MB までです）。"},
    };
    for (const RefusedRow& row : rows) {
        ICalImportResult r;
        const std::string answer = Import(row.text, &r);
        EXPECT_TRUE(r.fileRefused) << row.name;
        EXPECT_EQ(answer, std::string(row.answer) + "\r\n予定は登録しませんでした。") << row.name;
        EXPECT_TRUE(m_pro.GetSchedules().empty()) << row.name;
        EXPECT_FALSE(m_pro.IsChanged()) << row.name;
    }
}

}  // namespace
