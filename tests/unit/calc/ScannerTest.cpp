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

// Scans the whole line; stops after the first TokenEnd (or after 200 tokens, so a scanner
// that never ends fails the test instead of hanging it).
std::vector<Tok> ScanAll(const std::string& line, bool hasTilde = false) {
    Scanner scan;
    scan.Reset(line);
    std::vector<Tok> out;
    for (int i = 0; i < 200; ++i) {
        int t = scan.GetToken(hasTilde);
        if (t == TokenNumber) {
            char buf[64];
            snprintf(buf, sizeof buf, "%g", scan.GetValue());
            out.push_back({t, buf});
        } else if (t == TokenWord || t == TokenOther) {
            out.push_back({t, scan.GetTokenText()});
        } else {
            out.push_back({t, ""});
        }
        if (t == TokenEnd) break;
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
     {{TokenNumber, "100"},
      {TokenMinus, ""},
      {TokenLeftParen, ""},
      {TokenNumber, "2"},
      {TokenPlus, ""},
      {TokenNumber, "3"},
      {TokenRightParen, ""},
      {TokenMultiply, ""},
      {TokenNumber, "5"},
      {TokenEnd, ""}}},
    {"半径=5"_sj, {{TokenWord, "半径"_sj}, {TokenAssign, ""}, {TokenNumber, "5"}, {TokenEnd, ""}}},
    {"％(30/192)"_sj,
     {{TokenWord, "％"_sj},
      {TokenLeftParen, ""},
      {TokenNumber, "30"},
      {TokenDivide, ""},
      {TokenNumber, "192"},
      {TokenRightParen, ""},
      {TokenEnd, ""}}},
    {"１０：２０+５：３０"_sj,
     {{TokenWord, "１０：２０"_sj}, {TokenPlus, ""}, {TokenWord, "５：３０"_sj}, {TokenEnd, ""}}},
    {"1.2.3", {{TokenNumber, "1.23"}, {TokenEnd, ""}}},
    {".", {{TokenNumber, "0"}, {TokenEnd, ""}}},
    {".5", {{TokenNumber, "0.5"}, {TokenEnd, ""}}},
    {"12.5D+1", {{TokenNumber, "12.5"}, {TokenPlus, ""}, {TokenNumber, "1"}, {TokenEnd, ""}}},
    {"2003.1.1", {{TokenNumber, "2003.11"}, {TokenEnd, ""}}},
    {" \t7 ,", {{TokenNumber, "7"}, {TokenComma, ""}, {TokenEnd, ""}}},
    {"r_1@#x=2", {{TokenWord, "r_1@#x"}, {TokenAssign, ""}, {TokenNumber, "2"}, {TokenEnd, ""}}},
    {"半径r"_sj, {{TokenWord, "半径"_sj}, {TokenWord, "r"}, {TokenEnd, ""}}},
    {"&^|<>",
     {{TokenOther, "&"}, {TokenOther, "^"}, {TokenOther, "|"}, {TokenOther, "<"}, {TokenOther, ">"}, {TokenEnd, ""}}},
    {"~", {{TokenOther, "~"}, {TokenEnd, ""}}},
    {"1;2", {{TokenNumber, "1"}, {TokenEnd, ""}}},
    {"", {{TokenEnd, ""}}},
    // A lead byte whose pair is no double-byte character: an empty word that stays put.
    {"1+\x85\x40", {{TokenNumber, "1"}, {TokenPlus, ""}, {TokenWord, ""}}},
    {"\x81", {{TokenWord, ""}}},
    {std::string("日"_sj) + "\x81", {{TokenWord, "日"_sj}, {TokenWord, ""}}},
    // Units directly after digits belong to the number; 円 only when it ends the word.
    {"3億5千万+1"_sj, {{TokenNumber, "3.5e+08"}, {TokenPlus, ""}, {TokenNumber, "1"}, {TokenEnd, ""}}},
    {"10万歩 1円札 2 万"_sj,
     {{TokenNumber, "100000"},
      {TokenWord, "歩"_sj},
      {TokenNumber, "1"},
      {TokenWord, "円札"_sj},
      {TokenNumber, "2"},
      {TokenWord, "万"_sj},
      {TokenEnd, ""}}},
    {"1万億2円+1"_sj, {{TokenBadNumber, ""}, {TokenPlus, ""}, {TokenNumber, "1"}, {TokenEnd, ""}}},
    // Half-width kana bytes are single-byte others.
    {"\xB1", {{TokenOther, "\xB1"}, {TokenEnd, ""}}},
};

INSTANTIATE_TEST_SUITE_P(Table, ScannerRows, ::testing::ValuesIn(kScanRows));

TEST(Scanner, TildeOnlyWhenAsked) {
    std::vector<Tok> got = ScanAll("a~b", true);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[1].kind, TokenTilde);
}

TEST(Scanner, EndIsSticky) {
    Scanner scan;
    std::string line = "1";
    scan.Reset(line);
    EXPECT_EQ(scan.GetToken(), TokenNumber);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(scan.GetToken(), TokenEnd);
    EXPECT_EQ(scan.GetCursor(), 1u);
}

TEST(Scanner, EmbeddedNulEndsTheLine) {
    Scanner scan;
    std::string line("1\0+2", 4);
    scan.Reset(line);
    EXPECT_EQ(scan.GetToken(), TokenNumber);
    EXPECT_EQ(scan.GetToken(), TokenEnd);
    EXPECT_EQ(scan.GetToken(), TokenEnd);
}

TEST(Scanner, PutBackYieldsTheSameTokenAgain) {
    Scanner scan;
    std::string line = "  12 +";
    scan.Reset(line);
    EXPECT_EQ(scan.GetToken(), TokenNumber);
    EXPECT_EQ(scan.GetToken(), TokenPlus);
    scan.PutBack();
    EXPECT_EQ(scan.GetToken(), TokenPlus);
    EXPECT_EQ(scan.GetToken(), TokenEnd);
}

TEST(Scanner, NumbersKeepTokenTextAndEndKeepsIt) {
    Scanner scan;
    std::string line = "円"_sj + std::string("+12");
    scan.Reset(line);
    scan.GetToken();
    scan.GetToken();
    scan.GetToken();
    EXPECT_EQ(scan.GetToken(), TokenEnd);
    EXPECT_STREQ(scan.GetTokenText(), "円"_sj);
}

TEST(Scanner, LongRunsAreCutButSteppedOver) {
    std::string kanji;
    for (int i = 0; i < 70; ++i) kanji += "字"_sj;
    std::vector<Tok> got = ScanAll(kanji + "+1");
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].text.size(), 126u);
    EXPECT_EQ(got[1].kind, TokenPlus);

    std::string ident(300, 'x');
    got = ScanAll(ident + "=2");
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].text, std::string(127, 'x'));
    EXPECT_EQ(got[1].kind, TokenAssign);
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
        ASSERT_EQ(scan.GetToken(), TokenNumber);
        double value = 0;
        for (int k = 0; k <= places; ++k) value = value * 10 + 7;
        EXPECT_EQ(scan.GetValue(), value / std::pow(10.0, places));
    }
}

// Short numbers are read in an integer, long ones in a double digit by digit: around
// the length where one gives way to the other (and past 2^53, where the double rounds)
// both give what the digit-by-digit double gives.
TEST(Scanner, NumbersAroundTheExactLengthReadAsDigitByDigit) {
    const std::string pattern = "90071992547409937654321";
    for (std::size_t length = 12; length <= pattern.size(); ++length) {
        for (std::size_t dot = 0; dot <= 3; ++dot) {
            std::string line = pattern.substr(0, length);
            if (dot != 0) line.insert(length - dot, ".");
            SCOPED_TRACE(line);
            double value = 0;
            long places = 0;
            bool decimal = false;
            for (char c : line) {
                if (c == '.') {
                    decimal = true;
                    continue;
                }
                value = value * 10 + (c - '0');
                places += decimal ? 1 : 0;
            }
            if (decimal) value /= std::pow(10.0, static_cast<double>(places));
            Scanner scan;
            scan.Reset(line);
            ASSERT_EQ(scan.GetToken(), TokenNumber);
            EXPECT_EQ(scan.GetValue(), value);
        }
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
    EXPECT_EQ(scan.GetToken(), TokenNumber);
    EXPECT_STREQ(scan.GetTokenText(), "");
}

}  // namespace
