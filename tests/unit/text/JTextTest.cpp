#include "text/JText.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

using namespace nelo;

namespace {

struct ConversionRow {
    const char* name;
    std::string (*convert)(std::string_view);
    std::string input;
    std::string expected;
};

const ConversionRow kConversions[] = {
    // Half-width kana with sound marks, merged or not.
    {"voiced ka", ToFullWidth, "\xB6\xDE", "ガ"_sj},
    {"semi-voiced ha", ToFullWidth, "\xCA\xDF", "パ"_sj},
    {"voiced u", ToFullWidth, "\xB3\xDE", "ヴ"_sj},
    {"voiced mark after a", ToFullWidth, "\xB1\xDE", "ア゛"_sj},
    {"semi-voiced mark after ka", ToFullWidth, "\xB6\xDF", "カ゜"_sj},
    {"lone sound marks", ToFullWidth, "\xDE\xDF", "゛゜"_sj},
    {"kana punctuation", ToFullWidth, "\xA1\xA2\xA3\xA4\xA5\xB0", "。「」、・ー"_sj},
    {"half-width blank 0xA0", ToFullWidth, "\xA0", "　"_sj},
    {"demo word", ToFullWidth, "\xC3\xDE\xD3\x8A\x4A\x8E\x6E", "デモ開始"_sj},
    // ASCII to full width, with the runtime's special forms.
    {"ascii", ToFullWidth, "abc 123", "ａｂｃ　１２３"_sj},
    {"quotes and backslash", ToFullWidth, "\"'`\\~", "”’‘￥￣"_sj},
    {"operators", ToFullWidth, "100-(2+3)*4/5=:.", "１００－（２＋３）＊４／５＝：．"_sj},
    {"control bytes copied", ToFullWidth, "a\tb", "ａ\tｂ"_sj},
    {"double-byte copied", ToFullWidth, "田中、電話"_sj, "田中、電話"_sj},
    {"half blank", ToFullWidthHalfBlank, "abc 123", "ａｂｃ １２３"_sj},
    {"half blank from full", ToFullWidthHalfBlank, "明日　会議"_sj, "明日 会議"_sj},
    // Back to ASCII for arithmetic.
    {"ascii form", ToAsciiForm, "１００－（２＋３）×５"_sj, "100-(2+3)*5"},
    {"colon is slash", ToAsciiForm, "１０：２０"_sj, "10/20"},
    {"all operators", ToAsciiForm, "／＋－×＊÷．（）＆＾｜＜＞＝"_sj, "/+-**/.()&^|<>="},
    {"letters", ToAsciiForm, "ｒ＝Ｒ"_sj, "r=R"},
    {"kanji and percent stay", ToAsciiForm, "半径％"_sj, "半径％"_sj},
    // A double-byte code outside every class row is copied by every conversion.
    {"unclassified full", ToFullWidth, "\x85\x40", "\x85\x40"},
    {"unclassified ascii form", ToAsciiForm, "\x85\x40", "\x85\x40"},
    {"lone lead byte at end", ToFullWidth, "a\x81", std::string("ａ"_sj) + "\x81"},
};

class ConversionTest : public testing::TestWithParam<ConversionRow> {};

TEST_P(ConversionTest, Converts) {
    const ConversionRow& row = GetParam();
    EXPECT_EQ(row.convert(row.input), row.expected);
}

INSTANTIATE_TEST_SUITE_P(JText, ConversionTest, testing::ValuesIn(kConversions),
                         [](const testing::TestParamInfo<ConversionRow>& p) {
                             std::string n = p.param.name;
                             for (char& c : n)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return n;
                         });

struct PredicateRow {
    const char* text;
    bool digits, decimal, fullDigit;
};

const PredicateRow kPredicates[] = {
    {"田中、電話"_sj, false, false, false},
    {"ヽ"_sj, false, false, false},
    {"１／５　福岡へ出張"_sj, false, false, true},
    {"１／５\t福岡"_sj, false, false, true},
    {"１２３４福岡"_sj, false, false, true},
    {"２００３．１．１"_sj, false, true, true},
    {"１０：２０＋５：３０"_sj, false, false, true},
    {"２時間＋３０分"_sj, false, false, true},
    {"１０：２０"_sj, false, false, true},
    {"１２３"_sj, true, true, true},
    {"", true, true, false},
    {"例"_sj, false, false, false},
    {"ａ１"_sj, false, false, true},
    // A code outside every class row is matched by no predicate.
    {"\x85\x40", true, true, false},
    // The pair-wise tests end at a NUL that is the second byte of a pair.
    {"\x82\x50\x82", true, true, true},
};

TEST(JText, DigitPredicates) {
    for (const PredicateRow& row : kPredicates) {
        std::string t = row.text;
        SCOPED_TRACE(testing::PrintToString(t));
        EXPECT_EQ(IsDigitText(t), row.digits);
        EXPECT_EQ(IsDecimalText(t), row.decimal);
        EXPECT_EQ(HasFullDigit(t), row.fullDigit);
    }
}

TEST(JText, CharacterClasses) {
    EXPECT_TRUE(IsDbcsCode(0x8140));
    EXPECT_FALSE(IsDbcsCode(0x8540));  // lead bytes 0x85 and 0x86 are not characters here
    EXPECT_FALSE(IsDbcsCode(0x863F + 0x100));
    EXPECT_FALSE(IsDbcsCode(0x813F));  // trail byte below 0x40
    EXPECT_EQ(CharClass(0x8141), 2);
    EXPECT_EQ(CharClass(0x824F), 3);
    EXPECT_EQ(CharClass(0x82A0), 4);
    EXPECT_EQ(CharClass(0x8340), 5);
    EXPECT_EQ(CharClass(0x889F), 9);
    EXPECT_EQ(CharClass(0x989F), 10);
    EXPECT_EQ(CharClass(0xEB40), 11);
    EXPECT_EQ(CharClass(0x8540), 8);
    EXPECT_EQ(CharClass(0x8398), 0);
    EXPECT_EQ(CharClass(0x829B), 0);
}

TEST(JText, SeparatorSearchNeverMatchesTrailByte) {
    // "メ" is 0x83 0x81: a byte search for "、" (0x81 0x41) in "メA" would wrongly hit.
    EXPECT_EQ(FindDbcs("a、b"_sj, "、"_sj), 1u);
    EXPECT_EQ(FindDbcs("\x83\x81\x41", "、"_sj), std::string::npos);
    EXPECT_EQ(FindDbcs("", "、"_sj), std::string::npos);
}

TEST(JText, LastTwoBytesTestNeedsTwoBytes) {
    EXPECT_FALSE(EndsWithDbcs("", "は"_sj));
    EXPECT_FALSE(EndsWithDbcs("\xCD", "は"_sj));
    EXPECT_TRUE(EndsWithDbcs("は"_sj, "は"_sj));
    std::string blanks = "あ　　"_sj;
    TrimTrailingFullBlanks(blanks);
    EXPECT_EQ(blanks, "あ"_sj);
}

}  // namespace
