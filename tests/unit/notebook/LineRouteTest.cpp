#include "notebook/LineRoute.h"
#include "text/JText.h"
#include "text/Sjis.h"

#include <algorithm>
#include <random>
#include <vector>

#include <gtest/gtest.h>

using namespace nelo;

namespace {

struct RouteRow {
    std::string typed;
    LineRoute route;
    std::string handedOn;
};

const RouteRow kRoutes[] = {
    {"田中、電話、03-1234"_sj, LineRoute::MemoRegistration, "田中、電話、03-1234"_sj},
    {"田中、電話"_sj, LineRoute::MemoRegistration, "田中、電話"_sj},
    {"田中は"_sj, LineRoute::MemoQuery, "田中"_sj},
    {"田中、電話は"_sj, LineRoute::MemoQuery, "田中、電話"_sj},
    {"予定は"_sj, LineRoute::Command, "予定"_sj},
    // Schedule queries by period reach the schedule book; any other 「…の予定は」 stays a
    // memo query.
    {"今日の予定は"_sj, LineRoute::Command, "今日の予定"_sj},
    {"来月の予定は"_sj, LineRoute::Command, "来月の予定"_sj},
    {"予定 来週は"_sj, LineRoute::Command, "予定　来週"_sj},
    {"予定　１２／２５は"_sj, LineRoute::Command, "予定　１２／２５"_sj},
    {"今日の予定"_sj, LineRoute::Command, "今日の予定"_sj},
    {"田中の予定は"_sj, LineRoute::MemoQuery, "田中の予定"_sj},
    {"の予定は"_sj, LineRoute::MemoQuery, "の予定"_sj},
    {"予定　田中は"_sj, LineRoute::MemoQuery, "予定　田中"_sj},
    {"予定　来週　全部は"_sj, LineRoute::MemoQuery, "予定　来週　全部"_sj},
    {"予定表は"_sj, LineRoute::MemoQuery, "予定表"_sj},
    {"平成１４年は"_sj, LineRoute::Command, "平成１４年"_sj},
    {"１／５　福岡へ出張"_sj, LineRoute::Command, "１／５　福岡へ出張"_sj},
    // A schedule start first: a schedule, whatever 「、」 its business holds.
    {"明日１０時～１２時 会議（本社、３階）"_sj, LineRoute::Command, "明日１０時～１２時　会議（本社、３階）"_sj},
    {"明日１０時 会議、本社、３階"_sj, LineRoute::Command, "明日１０時　会議、本社、３階"_sj},
    {"毎週月曜 会議、本社"_sj, LineRoute::Command, "毎週月曜　会議、本社"_sj},
    {"３月 田中、電話"_sj, LineRoute::MemoRegistration, "３月　田中、電話"_sj},
    {"明日１０時、会議、本社"_sj, LineRoute::MemoRegistration, "明日１０時、会議、本社"_sj},
    {"１／５の予定"_sj, LineRoute::Command, "１／５の予定"_sj},
    {"３月の予定は"_sj, LineRoute::Command, "３月の予定"_sj},
    {"予定　６／１　６／３０は"_sj, LineRoute::Command, "予定　６／１　６／３０"_sj},
    {"1/5 福岡へ出張"_sj, LineRoute::Command, "１／５　福岡へ出張"_sj},
    {"１０尺"_sj, LineRoute::Command, "１０尺"_sj},
    {"10:20+5:30", LineRoute::TimeArithmetic, "１０：２０＋５：３０"_sj},
    {"100-(2+3)*4", LineRoute::Arithmetic, "１００－（２＋３）＊４"_sj},
    {"１２３"_sj, LineRoute::Arithmetic, "１２３"_sj},
    {"例"_sj, LineRoute::Command, "例"_sj},
    {"こんにちは"_sj, LineRoute::MemoQuery, "こんにち"_sj},
    {"１＋２は"_sj, LineRoute::MemoQuery, "１＋２"_sj},
    {"あ、い、う"_sj, LineRoute::MemoRegistration, "あ、い、う"_sj},
    {"\xB1\x81\x41\xB2", LineRoute::MemoRegistration, "ア、イ"_sj},
    {"A、、B"_sj, LineRoute::MemoRegistration, "Ａ、、Ｂ"_sj},
    {"２００３．１．１"_sj, LineRoute::Arithmetic, "２００３．１．１"_sj},
    {" ", LineRoute::Arithmetic, ""},
    {"は"_sj, LineRoute::MemoQuery, ""},
    {"ﾃﾞﾓ開始"_sj, LineRoute::Command, "デモ開始"_sj},
    {"明日１０時　会議　　"_sj, LineRoute::Command, "明日１０時　会議"_sj},
    {"３時間"_sj, LineRoute::Command, "３時間"_sj},
    {"－１尺"_sj, LineRoute::Command, "－１尺"_sj},
    {"１斤"_sj, LineRoute::Command, "１斤"_sj},
    // A final "は" after a unit word is a quantity or year only when it reads as one.
    {"１００坪は"_sj, LineRoute::Command, "１００坪"_sj},
    {"尺は"_sj, LineRoute::Command, "尺"_sj},
    {"大手町は"_sj, LineRoute::MemoQuery, "大手町"_sj},
    {"今年は"_sj, LineRoute::MemoQuery, "今年"_sj},
    {"平成元年は"_sj, LineRoute::Command, "平成元年"_sj},
    {"令和元年は"_sj, LineRoute::Command, "令和元年"_sj},
    {"２０００年は"_sj, LineRoute::Command, "２０００年"_sj},
    {"－１尺は"_sj, LineRoute::MemoQuery, "－１尺"_sj},
    // Numbers and operators with blanks between them are a calculation; the text handed
    // on keeps its blanks.
    {"2 + 3", LineRoute::Arithmetic, "２　＋　３"_sj},
    {" 2+3", LineRoute::Arithmetic, "　２＋３"_sj},
    {"2\t*\t3", LineRoute::Arithmetic, "２\t＊\t３"_sj},
    {"（１　－　２）　×３"_sj, LineRoute::Arithmetic, "（１　－　２）　×３"_sj},
    {"１　＝"_sj, LineRoute::Arithmetic, "１　＝"_sj},
    {"10:20 + 5:30", LineRoute::TimeArithmetic, "１０：２０　＋　５：３０"_sj},
    {"１０：００　－　１２：００"_sj, LineRoute::TimeArithmetic, "１０：００　－　１２：００"_sj},
    {"1 + 2は"_sj, LineRoute::MemoQuery, "１　＋　２"_sj},
    // Numbers joined only by ／ ： ．, blanks without an operator, other symbols and
    // any word keep their routes.
    {"１２／２５　１０：００"_sj, LineRoute::Command, "１２／２５　１０：００"_sj},
    {"２００３．１．１　１０：００"_sj, LineRoute::Command, "２００３．１．１　１０：００"_sj},
    {"1 / 3", LineRoute::Command, "１　／　３"_sj},
    {"１　２"_sj, LineRoute::Command, "１　２"_sj},
    {"（１）　（２）"_sj, LineRoute::Command, "（１）　（２）"_sj},
    {"2 & 3", LineRoute::Command, "２　＆　３"_sj},
    {"１２／２５　１０：００　会議"_sj, LineRoute::Command, "１２／２５　１０：００　会議"_sj},
    {"明日　１０：００－１２：００"_sj, LineRoute::Command, "明日　１０：００－１２：００"_sj},
    {"＋３日"_sj, LineRoute::Arithmetic, "＋３日"_sj},
    {"＋ ３日"_sj, LineRoute::Command, "＋　３日"_sj},
    {"半径 ＝ ５"_sj, LineRoute::Command, "半径　＝　５"_sj},
    {"ｒ　＋　１"_sj, LineRoute::Command, "ｒ　＋　１"_sj},
    {"１０尺 ＋ ２"_sj, LineRoute::Command, "１０尺　＋　２"_sj},
    {"１ ＋ １０尺"_sj, LineRoute::Command, "１　＋　１０尺"_sj},
    {"田中、1 + 2"_sj, LineRoute::MemoRegistration, "田中、１　＋　２"_sj},
    {"予定 + 1"_sj, LineRoute::Command, "予定　＋　１"_sj},
    // A comma followed by exactly three digits groups the digits of a number.
    {"1,000+2", LineRoute::Arithmetic, "１，０００＋２"_sj},
    {"1,000", LineRoute::Arithmetic, "１，０００"_sj},
    {"１，２３４，５６７×２"_sj, LineRoute::Arithmetic, "１，２３４，５６７×２"_sj},
    {"1,000 + 2", LineRoute::Arithmetic, "１，０００　＋　２"_sj},
    {"1,000:00 + 1:00", LineRoute::TimeArithmetic, "１，０００：００　＋　１：００"_sj},
    {"1,00", LineRoute::Command, "１，００"_sj},
    {"1,0000", LineRoute::Command, "１，００００"_sj},
    {",000", LineRoute::Command, "，０００"_sj},
    {"1,00 + 2", LineRoute::Command, "１，００　＋　２"_sj},
    {"1,000 2,000", LineRoute::Command, "１，０００　２，０００"_sj},
    {"1、000"_sj, LineRoute::MemoRegistration, "１、０００"_sj},
    {"1,000、2,000、3"_sj, LineRoute::MemoRegistration, "1,000、2,000、3"_sj},
    {"1,000尺"_sj, LineRoute::Command, "１，０００尺"_sj},
};

TEST(LineRoute, ClassifiesTypedLines) {
    for (const RouteRow& row : kRoutes) {
        SCOPED_TRACE(testing::PrintToString(row.typed));
        std::string handedOn;
        EXPECT_EQ(ClassifyLine(row.typed, handedOn), row.route);
        EXPECT_EQ(handedOn, row.handedOn);
    }
}

// A line of printable ASCII is read on a walk of its own; a trailing full-width blank,
// which is cut off, sends the same line the general way. Both must agree, and the ASCII
// form found on the way must be the calculator's.
TEST(LineRoute, AsciiLinesRouteAsTheGeneralWay) {
    auto isAscii = [](const std::string& line) {
        return std::all_of(line.begin(), line.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
    };
    std::vector<std::string> lines;
    for (const RouteRow& row : kRoutes)
        if (isAscii(row.typed)) lines.push_back(row.typed);
    const std::string alphabet = "0123456789+-*/:.,()= !&^|<>~#@AZaz'\\_";
    std::mt19937 rng(2003);
    for (int n = 0; n < 3000; ++n) {
        std::string line(rng() % 12, ' ');
        for (char& c : line) c = alphabet[rng() % alphabet.size()];
        lines.push_back(line);
    }
    for (const std::string& typed : lines) {
        SCOPED_TRACE(testing::PrintToString(typed));
        std::string handedOn, asciiForm, general, none;
        const LineRoute route = ClassifyLine(typed, handedOn, asciiForm);
        EXPECT_EQ(ClassifyLine(typed + "　"_sj, general, none), route);
        EXPECT_EQ(handedOn, general);
        EXPECT_TRUE(none.empty());
        EXPECT_EQ(asciiForm, ToAsciiForm(handedOn));
    }
}

TEST(LineRoute, UnitWordNeedsTwoBytes) {
    EXPECT_FALSE(EndsWithUnitWord(""));
    EXPECT_FALSE(EndsWithUnitWord("\x94"));
    EXPECT_TRUE(EndsWithUnitWord("貫"_sj));
}

}  // namespace
