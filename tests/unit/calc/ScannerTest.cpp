#include "calc/Scanner.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace nelo;

namespace {

struct Tok {
    int kind;
    std::string text;  // token text for words and others, the value for numbers
};

// Scans the whole line; stops after the first tokEnd (or after 200 tokens, so a scanner
// that never ends fails the test instead of hanging it).
std::vector<Tok> ScanAll(const std::string& line, bool hasTilde = false) {
    Scanner scan;
    scan.Reset(line);
    std::vector<Tok> out;
    for (int i = 0; i < 200; ++i) {
        int t = scan.GetToken(hasTilde);
        if (t == tokNumber) {
            char buf[64];
            snprintf(buf, sizeof buf, "%g", scan.GetValue());
            out.push_back({t, buf});
        } else if (t == tokWord || t == tokOther) {
            out.push_back({t, scan.GetTokenText()});
        } else {
            out.push_back({t, ""});
        }
        if (t == tokEnd) break;
        if (scan.IsStuck()) break;
    }
    return out;
}

struct ScanRow {
    std::string line;
    std::vector<Tok> tokens;
};

class ScannerRows : public ::testing::TestWithParam<ScanRow> {};

TEST_P(ScannerRows, Tokens) {
    const ScanRow& row = GetParam();
    std::vector<Tok> got = ScanAll(row.line);
    ASSERT_EQ(got.size(), row.tokens.size()) << row.line;
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].kind, row.tokens[i].kind) << row.line << " token " << i;
        EXPECT_EQ(got[i].text, row.tokens[i].text) << row.line << " token " << i;
    }
}

const ScanRow kScanRows[] = {
    {"100-(2+3)*5",
     {{tokNumber, "100"},
      {tokMinus, ""},
      {tokLParen, ""},
      {tokNumber, "2"},
      {tokPlus, ""},
      {tokNumber, "3"},
      {tokRParen, ""},
      {tokMul, ""},
      {tokNumber, "5"},
      {tokEnd, ""}}},
    {"半径=5"_sj, {{tokWord, "半径"_sj}, {tokAssign, ""}, {tokNumber, "5"}, {tokEnd, ""}}},
    {"％(30/192)"_sj,
     {{tokWord, "％"_sj},
      {tokLParen, ""},
      {tokNumber, "30"},
      {tokDiv, ""},
      {tokNumber, "192"},
      {tokRParen, ""},
      {tokEnd, ""}}},
    {"１０：２０+５：３０"_sj, {{tokWord, "１０：２０"_sj}, {tokPlus, ""}, {tokWord, "５：３０"_sj}, {tokEnd, ""}}},
    {"1.2.3", {{tokNumber, "1.23"}, {tokEnd, ""}}},
    {".", {{tokNumber, "0"}, {tokEnd, ""}}},
    {".5", {{tokNumber, "0.5"}, {tokEnd, ""}}},
    {"12.5D+1", {{tokNumber, "12.5"}, {tokPlus, ""}, {tokNumber, "1"}, {tokEnd, ""}}},
    {"2003.1.1", {{tokNumber, "2003.11"}, {tokEnd, ""}}},
    {" \t7 ,", {{tokNumber, "7"}, {tokComma, ""}, {tokEnd, ""}}},
    {"r_1@#x=2", {{tokWord, "r_1@#x"}, {tokAssign, ""}, {tokNumber, "2"}, {tokEnd, ""}}},
    {"半径r"_sj, {{tokWord, "半径"_sj}, {tokWord, "r"}, {tokEnd, ""}}},
    {"&^|<>", {{tokOther, "&"}, {tokOther, "^"}, {tokOther, "|"}, {tokOther, "<"}, {tokOther, ">"}, {tokEnd, ""}}},
    {"~", {{tokOther, "~"}, {tokEnd, ""}}},
    {"1;2", {{tokNumber, "1"}, {tokEnd, ""}}},
    {"", {{tokEnd, ""}}},
    // A lead byte whose pair is no double-byte character: an empty word that stays put.
    {"1+\x85\x40", {{tokNumber, "1"}, {tokPlus, ""}, {tokWord, ""}}},
    {"\x81", {{tokWord, ""}}},
    {std::string("日"_sj) + "\x81", {{tokWord, "日"_sj}, {tokWord, ""}}},
    // Units directly after digits belong to the number; 円 only when it ends the word.
    {"3億5千万+1"_sj, {{tokNumber, "3.5e+08"}, {tokPlus, ""}, {tokNumber, "1"}, {tokEnd, ""}}},
    {"10万歩 1円札 2 万"_sj,
     {{tokNumber, "100000"},
      {tokWord, "歩"_sj},
      {tokNumber, "1"},
      {tokWord, "円札"_sj},
      {tokNumber, "2"},
      {tokWord, "万"_sj},
      {tokEnd, ""}}},
    {"1万億2円+1"_sj, {{tokBadNumber, ""}, {tokPlus, ""}, {tokNumber, "1"}, {tokEnd, ""}}},
    // Half-width kana bytes are single-byte others.
    {"\xB1", {{tokOther, "\xB1"}, {tokEnd, ""}}},
};

INSTANTIATE_TEST_SUITE_P(Table, ScannerRows, ::testing::ValuesIn(kScanRows));

TEST(Scanner, TildeOnlyWhenAsked) {
    std::vector<Tok> got = ScanAll("a~b", true);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[1].kind, tokTilde);
}

TEST(Scanner, EndIsSticky) {
    Scanner scan;
    std::string line = "1";
    scan.Reset(line);
    EXPECT_EQ(scan.GetToken(), tokNumber);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(scan.GetToken(), tokEnd);
    EXPECT_EQ(scan.GetCursor(), 1u);
}

TEST(Scanner, EmbeddedNulEndsTheLine) {
    Scanner scan;
    std::string line("1\0+2", 4);
    scan.Reset(line);
    EXPECT_EQ(scan.GetToken(), tokNumber);
    EXPECT_EQ(scan.GetToken(), tokEnd);
    EXPECT_EQ(scan.GetToken(), tokEnd);
}

TEST(Scanner, PutBackYieldsTheSameTokenAgain) {
    Scanner scan;
    std::string line = "  12 +";
    scan.Reset(line);
    EXPECT_EQ(scan.GetToken(), tokNumber);
    EXPECT_EQ(scan.GetToken(), tokPlus);
    scan.PutBack();
    EXPECT_EQ(scan.GetToken(), tokPlus);
    EXPECT_EQ(scan.GetToken(), tokEnd);
}

TEST(Scanner, NumbersKeepTokenTextAndEndKeepsIt) {
    Scanner scan;
    std::string line = std::string("円"_sj) + "+12";
    scan.Reset(line);
    scan.GetToken();
    scan.GetToken();
    scan.GetToken();
    EXPECT_EQ(scan.GetToken(), tokEnd);
    EXPECT_STREQ(scan.GetTokenText(), "円"_sj);
}

TEST(Scanner, LongRunsAreCutButSteppedOver) {
    std::string kanji;
    for (int i = 0; i < 70; ++i) kanji += "字"_sj;
    std::vector<Tok> got = ScanAll(kanji + "+1");
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].text.size(), 126u);
    EXPECT_EQ(got[1].kind, tokPlus);

    std::string ident(300, 'x');
    got = ScanAll(ident + "=2");
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].text, std::string(127, 'x'));
    EXPECT_EQ(got[1].kind, tokAssign);
}

TEST(Scanner, LongNumbersAreNeverCut) {
    std::string digits(400, '9');
    std::vector<Tok> got = ScanAll("1." + std::string(30, '0') + "1");
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].text, "1");
    got = ScanAll(digits + "+1");
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].text, "inf");
}

// A decimal's digits are divided by a power of ten taken from a table up to 1e22 and
// computed beyond: every count of places gives what the power function gives.
TEST(Scanner, DecimalPlacesDivideAsThePowerFunction) {
    for (int places = 0; places <= 30; ++places) {
        SCOPED_TRACE(places);
        const std::string digits = std::string(static_cast<std::size_t>(places), '7');
        Scanner scan;
        const std::string line = "7." + digits;
        scan.Reset(line);
        ASSERT_EQ(scan.GetToken(), tokNumber);
        double value = 0;
        for (int k = 0; k <= places; ++k) value = value * 10 + 7;
        EXPECT_EQ(scan.GetValue(), value / std::pow(10.0, places));
    }
}

TEST(Scanner, CopyIsAnIndependentLookAhead) {
    Scanner scan;
    std::string line = "+3日"_sj;
    scan.Reset(line);
    scan.GetToken();
    Scanner copy = scan;
    copy.GetToken();
    copy.GetToken();
    EXPECT_STREQ(copy.GetTokenText(), "日"_sj);
    EXPECT_EQ(scan.GetToken(), tokNumber);
    EXPECT_STREQ(scan.GetTokenText(), "");
}

}  // namespace
