#include "calc/Calculator.h"
#include "calc/FormatNumber.h"
#include "dates/WorkingDate.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "text/JText.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace nelo;

namespace {

// Lines are written in UTF-8 and converted as the input pane would: code page 932, then
// the full-width form. A line starting with "T:" goes to the time sums.
std::string Ask(Calculator& calc, const std::string& utf8) {
    bool hasTime = utf8.rfind("T:", 0) == 0;
    std::string line = ToFullWidth(Utf8ToCp932(hasTime ? utf8.substr(2) : utf8).text);
    std::string answer;
    if (hasTime)
        calc.CalculateTime(answer, line);
    else
        calc.Calculate(answer, line);
    return Cp932ToUtf8(answer).text;
}

const char* const kCannot = "計算できません。";

struct Step {
    const char* line;
    const char* answer;
    double memory;  // the register afterwards
};

struct Session {
    const char* name;
    std::vector<Step> steps;
};

class CalculatorSessions : public ::testing::TestWithParam<Session> {};

TEST_P(CalculatorSessions, AnswersAndRegister) {
    Calculator calc;
    for (const Step& s : GetParam().steps) {
        EXPECT_EQ(Ask(calc, s.line), s.answer) << s.line;
        EXPECT_EQ(calc.GetMemory(), s.memory) << s.line;
    }
}

const Session kSessions[] = {
    {"Register",
     {{"１", "１", 1},
      {"＋２", "３", 3},
      {"－１", "２", 2},
      {"×３", "６", 6},
      {"÷４", "１．５", 1.5},
      {"（２＋３）", "５", 5},
      {"（（２）＋３）", "５", 0},
      {"７", "７", 7},
      {"２＋３", "５", 0},
      {"７", "７", 7},
      {"２×３", "６", 0},
      {"７", "７", 7},
      {"半径＝５", "５", 0},
      {"７", "７", 7},
      {"＋２×３", "６", 0},
      {"－（２＋３）", "－５", -5},
      {"－－２", "２", 2},
      {"２（３）", "２", 2},
      {"", "０", 0},
      {"２００３．１．１", "２００３．１１", 2003.11},
      {"１０：２０", "０．５", 0},
      {"平方根（４）", "２", 2},
      {"１＋１", "２", 0},
      {"＋５", "５", 5}}},
    {"RegisterKeepsItsValueOnErrors",
     {{"８", "８", 8},
      {"１÷０", kCannot, 8},
      {"÷０", kCannot, 8},             // the register divided by zero is no number
      {"平方根（－１）", kCannot, 8},  // neither is the root of a negative number
      {"＋３日後", "１１", 11}}},      // 「日後」 is no date unit: a unary sign
    {"Variables",
     {{"半径＝", kCannot, 0},
      {"半径＝５", "５", 0},
      {"半径×半径×３．１４", "７８．５", 0},
      {"半径＝", "５", 5},
      {"半径＝半径＋１", "６", 0},
      {"２＋半径＝５", "７", 0},
      {"半径", "５", 5},
      {"半径＝１÷０", kCannot, 5},  // its own error: nothing stored
      {"半径", "５", 5},
      {"半径＝２＋ｘｙｚ", kCannot, 5},
      {"半径", "５", 5},
      {"ｘｙｚ＋（半径＝９）", kCannot, 5},  // the error is elsewhere: stored
      {"半径", "９", 9},
      {"半径＝平方根（－１）", kCannot, 9},
      {"半径", "９", 9},
      {"ｒ＝２", "２", 0},
      {"ｒ", "２", 2},
      {"Ｒ", kCannot, 2},
      {"半径ｒ", "９", 9},
      {"平方根＝１６", "１６", 0},
      {"平方根＝", "１６", 16},
      {"平方根（９）", "３", 3}}},
    {"Amounts",
     {{"１０万×３", "３０００００", 0},
      {"１．５万＋０", "１５０００", 0},
      {"２兆÷２", "１００００００００００００", 0},
      {"１２，３４５千円＋０", "１２３４５０００", 0},  // accounts kept in thousands
      {"１０００円＋５００円", "１５００", 0},
      {"１，２００円×３", "３６００", 0},
      {"（１０万円）", "１０００００", 100000},
      {"＋２万", "１２００００", 120000},
      {"÷１万", "１２", 12},
      {"平方根（１万）", "１００", 100},
      // Units in an order no one reads them are named, and the register stays.
      {"１万万＋１", "「１万万」は数として読めません。", 100},
      {"１万億＋１", "「１万億」は数として読めません。", 100},
      {"１億万＋１", "「１億万」は数として読めません。", 100},
      {"１億１００００＋１", "「１億１００００」は数として読めません。", 100},
      {"３百５千＋１", "「３百５千」は数として読めません。", 100},
      {"１万２０千＋１", "「１万２０千」は数として読めません。", 100},
      {"３千１０００＋１", "「３千１０００」は数として読めません。", 100},
      {"（２＋１万万円）", "「１万万円」は数として読めません。", 100},
      {"＋１万億日", "「１万億」は数として読めません。", 100},  // no date offset either
      // A unit counts only directly after a digit: names keep their characters.
      {"万歩計＝３", "３", 0},
      {"２×万歩計", "６", 0},
      {"千円＝５", "５", 0},
      {"千円×２", "１０", 0},
      {"１０万歩計＝３", "「歩計＝３」は計算できません。", 0},
      {"１０ 万×３", "「万×３」は計算できません。", 0}}},
    {"Leftovers",
     {{"７", "７", 7},
      {"１０ドル×３", "「ドル×３」は計算できません。", 7},
      {"１，０００ドル×１，０００", "「ドル×１，０００」は計算できません。", 7},
      {"１２）×３", "「）×３」は計算できません。", 7},
      {"１＋２＝３", "「＝３」は計算できません。", 7},
      {"２（３）×４", "「（３）×４」は計算できません。", 7},
      {"２（３", "「（３」は計算できません。", 7},
      {"１０ドル×半径", "「ドル×半径」は計算できません。", 7},
      {"１ドル＋１２３４５６７８９０１２３４５６７８９０１２３４５",
       "「ドル＋１２３４５６７８９０１２３４５６７８９０１…」は計算できません。", 7},
      {"単価＝１０ドル×３", "「ドル×３」は計算できません。", 7},
      {"単価＝", kCannot, 7},  // nothing was stored
      // What still answers: remarks in parentheses, words without digits or operators.
      {"２（３）", "２", 2},
      {"１００円（税込）", "１００", 100},
      {"１００円×３個", "３００", 0},
      {"１＋２＝", "３", 0},
      {"（単価＝５）×２", "１０", 0},
      {"単価＝５（税込）", "５", 0},
      {"単価＝", "５", 5}}},
    {"Formatting",
     {{"０．００００００１", "０", 1e-7},
      {"１００００００００００００００００００００", "１００００００００００００００００００００", 1e20},
      {"２÷３", "０．６６６６６７", 0}}},
};

INSTANTIATE_TEST_SUITE_P(Table, CalculatorSessions, ::testing::ValuesIn(kSessions),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Calculator, ChangeFlagOnlyForStoredAssignments) {
    Calculator calc;
    Ask(calc, "１＋２");
    Ask(calc, "ａ＝１÷０");
    Ask(calc, "ａ＝");
    EXPECT_FALSE(calc.IsChanged());
    EXPECT_EQ(calc.GetVariableCount(), 0u);
    Ask(calc, "ａ＝１");
    EXPECT_TRUE(calc.IsChanged());
    Ask(calc, "１");
    EXPECT_TRUE(calc.IsChanged());
}

TEST(Calculator, DeleteAllSymbolsKeepsTheRegister) {
    Calculator calc;
    Ask(calc, "ａ＝２");
    Ask(calc, "４");
    calc.DeleteAllVariables();
    EXPECT_EQ(Ask(calc, "ａ"), kCannot);
    EXPECT_EQ(Ask(calc, "＋１"), "５");
}

TEST(Calculator, TextSymbolsCannotBeUsed) {
    Calculator calc;
    calc.AddVariable(Variable::MakeText("名"_sj, "abc"));
    EXPECT_EQ(Ask(calc, "名＋１"), kCannot);
    EXPECT_EQ(Ask(calc, "名＝"), kCannot);
}

TEST(Calculator, HugeAndHostileLinesAnswerWithoutCrashing) {
    Calculator calc;
    std::string deep(100000, '(');
    deep += "1";
    EXPECT_EQ(Ask(calc, deep), kCannot);
    std::string signs(100000, '-');
    EXPECT_EQ(Ask(calc, signs + "2"), kCannot);

    std::string sum = "1";
    for (int i = 0; i < 2000; ++i) sum += "+1";
    EXPECT_EQ(Ask(calc, sum), Cp932ToUtf8(ToFullWidth("2001")).text);  // no line length limit

    std::string big(400, '9');
    EXPECT_EQ(Ask(calc, big), kCannot);  // beyond the doubles
    std::string expect;
    FormatNumber(1e200, expect);
    EXPECT_GE(expect.size(), 200u);  // never cut
    EXPECT_EQ(expect.find('.'), std::string::npos);

    // Bytes that are no characters: an empty word, then nothing loops.
    std::string answer;
    calc.Calculate(answer, std::string("1+\x85\x40", 4));
    EXPECT_EQ(answer, "計算できません。"_sj);
    calc.Calculate(answer, std::string("\x81", 1));
    EXPECT_EQ(answer, "計算できません。"_sj);
    calc.CalculateTime(answer, std::string("\x85\x40+1", 4));
    EXPECT_EQ(answer, "時間の指定が違います。"_sj);
    calc.CalculateTime(answer, std::string("１：００×"_sj) + "\x81");
    EXPECT_EQ(answer, "計算できません。"_sj);
    std::string deepTime;
    for (int i = 0; i < 100000; ++i) deepTime += "（"_sj;
    calc.CalculateTime(answer, deepTime + "１：００＋"_sj + "１：００"_sj);
    EXPECT_EQ(answer, "計算できません。"_sj);
    std::string plusTime;
    for (int i = 0; i < 100000; ++i) plusTime += "＋"_sj;
    calc.CalculateTime(answer, plusTime + "１：００×"_sj + plusTime + "２"_sj);
    EXPECT_EQ(answer, "計算できません。"_sj);
}

struct FormatRow {
    double value;
    const char* text;
};

class FormatNumberRows : public ::testing::TestWithParam<FormatRow> {};

TEST_P(FormatNumberRows, Text) {
    std::string text;
    FormatNumber(GetParam().value, text);
    EXPECT_EQ(text, GetParam().text);
}

const FormatRow kFormatRows[] = {
    {75, "75"},       {2.5, "2.5"},       {1.0 / 3, "0.333333"},           {2.0 / 3, "0.666667"},
    {0.0000001, "0"}, {-0.0000001, "-0"}, {1e20, "100000000000000000000"}, {-12.5, "-12.5"},
    {0, "0"},         {100, "100"},
};

INSTANTIATE_TEST_SUITE_P(Table, FormatNumberRows, ::testing::ValuesIn(kFormatRows));

// The number text must be "%lf" trimmed, digit for digit, for every finite double:
// halfway cases (0.0000005, 2.5e-7), huge and tiny magnitudes and random bit patterns
// are compared with the C library's printf.
TEST(FormatNumberTest, AgreesWithPrintfForEveryKindOfDouble) {
    auto viaPrintf = [](double x) {
        std::string t(400, '\0');
        t.resize(static_cast<std::size_t>(std::snprintf(t.data(), t.size(), "%lf", x)));
        if (t.find('.') != std::string::npos) {
            while (!t.empty() && t.back() == '0') t.pop_back();
            if (!t.empty() && t.back() == '.') t.pop_back();
        }
        return t;
    };
    std::vector<double> values = {0.0000005,
                                  0.0000015,
                                  0.0000025,
                                  -0.0000005,
                                  2.5e-7,
                                  1e-7,
                                  0.1,
                                  0.3,
                                  1e15 + 0.5,
                                  9007199254740993.0,
                                  1.7976931348623157e308,
                                  5e-324,
                                  -1.7976931348623157e308,
                                  123456.7890125,
                                  0.1234565,
                                  1.0000005,
                                  0.0078125,
                                  -0.0234375,
                                  999999999999.9999,
                                  1e12 - 0.0000005};
    std::mt19937_64 rnd(20031);
    for (int i = 0; i < 20000; ++i) {
        std::uint64_t bits = rnd();
        double x;
        std::memcpy(&x, &bits, sizeof x);
        if (std::isfinite(x)) values.push_back(x);
        // Numbers a calculator meets: a few decimals around the rounding digit.
        values.push_back(static_cast<double>(static_cast<std::int64_t>(rnd() % 2000000000) - 1000000000) / 1e7);
        values.push_back(std::ldexp(static_cast<double>(rnd() >> 11), static_cast<int>(rnd() % 200) - 100));
    }
    for (double x : values) {
        std::string text;
        FormatNumber(x, text);
        ASSERT_EQ(text, viaPrintf(x)) << x;
    }
    std::string text;
    FormatNumber(std::nan(""), text);
    EXPECT_EQ(text, viaPrintf(std::nan("")));
    FormatNumber(-HUGE_VAL, text);
    EXPECT_EQ(text, "-inf");
}

TEST(Variable, DisplayText) {
    Variable number("半径"_sj, 78.5);
    EXPECT_EQ(number.GetDisplayText(), std::string("半径"_sj) + " 78.5");
    const std::string name = "名"_sj;  // named: clang 14 crashes on this literal as a call's argument here
    Variable text = Variable::MakeText(name, "abc");
    EXPECT_EQ(text.GetDisplayText(), name + " abc");
}

// The date offsets move the base date the calculator was handed; each test starts it on
// 1 January 2003.
class CalculatorDateOffset : public ::testing::Test {
protected:
    void SetUp() override { SetCurrentClock(&m_clock); }
    void TearDown() override { SetCurrentClock(nullptr); }
    FixedClock m_clock{MakeLocalTime(2003, 1, 1, 12, 0, 0)};
    WorkingDate m_date;
    Calculator m_calc{m_date};
};

TEST_F(CalculatorDateOffset, AnswersTheMovedDate) {
    Ask(m_calc, "４");
    EXPECT_EQ(Ask(m_calc, "＋３日"), "２００３年１月４日です。");
    EXPECT_EQ(Ask(m_calc, "－１週"), "２００２年１２月２８日です。");
    EXPECT_EQ(Ask(m_calc, "＋２ヶ月＋０"), "２００３年２月２８日です。");
    EXPECT_EQ(Ask(m_calc, "＋１月＋０"), "２００３年３月２８日です。");
    EXPECT_EQ(Ask(m_calc, "＋１年＋０"), "２００４年３月２８日です。");
    EXPECT_EQ(Ask(m_calc, "３×＋１日"), "２００４年３月２９日です。");
    EXPECT_EQ(m_calc.GetMemory(), 4);  // the register is left alone
}

TEST_F(CalculatorDateOffset, FailuresAndNonForms) {
    // In a group the offset still moves the date, but the line fails.
    EXPECT_EQ(Ask(m_calc, "（＋３日）"), kCannot);
    EXPECT_EQ(m_date.Get().day, 4);
    // Counts beyond an int, or dates beyond the year 9999, leave the date alone.
    EXPECT_EQ(Ask(m_calc, "＋９９９９９９９９９９９日"), kCannot);
    EXPECT_EQ(Ask(m_calc, "＋１００００年＋０"), kCannot);
    EXPECT_EQ(Ask(m_calc, "－２００３年＋０"), kCannot);
    EXPECT_EQ(m_date.Get().year, 2003);
    EXPECT_EQ(m_date.Get().day, 4);
    EXPECT_EQ(Ask(m_calc, "＋３日後"), "３");
    EXPECT_EQ(Ask(m_calc, "２＋３日"), "５");  // a binary sign is no offset
    EXPECT_EQ(m_date.Get().day, 4);
}

struct TimeRow {
    const char* line;
    const char* answer;
};

class CalculatorTimeRows : public ::testing::TestWithParam<TimeRow> {};

TEST_P(CalculatorTimeRows, Answer) {
    Calculator calc;
    Ask(calc, "７");
    EXPECT_EQ(Ask(calc, std::string("T:") + GetParam().line), GetParam().answer) << GetParam().line;
    EXPECT_EQ(calc.GetMemory(), 7);
}

const TimeRow kTimeRows[] = {
    {"５：００－１０：００", "０日－５時間０分"},
    {"１：００÷０", "計算できません。"},
    {"１：３０×（２）", "計算できません。"},
    {"１：３０×－２", "計算できません。"},
    {"１：３０×", "計算できません。"},
    {"１：３０×＋２", "０日３時間０分"},
    {"：３０＋１：", "０日１時間３０分"},
    {"－１：００＋２：００", "計算できません。"},
    {"１：００－（３：００）", "０日－２時間０分"},
    {"＋１：００＋＋１：００", "０日２時間０分"},
    {"１：００：３０×３", "０日３時間０分"},
    {"９９９９９９：００＋１：００", "計算できません。"},        // beyond 32 bits of seconds
    {"５９６５２３：００＋０：００", "２４８５５日３時間０分"},  // just within
    {"１：００×９９９９９９９９９９９９", "計算できません。"},
    {"２：００×０", "０日０時間０分"},
};

INSTANTIATE_TEST_SUITE_P(Table, CalculatorTimeRows, ::testing::ValuesIn(kTimeRows));

}  // namespace
