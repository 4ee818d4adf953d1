#include "platform/CodePage.h"
#include "text/JText.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

using namespace nelo;

namespace {

TEST(CodePage, EveryDoubleByteCharacterRoundTrips) {
    // Every assigned code page 932 character survives UTF-8 and back, except the
    // duplicates that map to one Unicode character (the IBM and NEC extensions).
    int checked = 0, duplicates = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            std::string sj{static_cast<char>(lead), static_cast<char>(trail)};
            CodePageResult u = Cp932ToUtf8(sj);
            if (u.replacedCount) continue;  // unassigned
            ++checked;
            CodePageResult back = Utf8ToCp932(u.text);
            EXPECT_EQ(back.replacedCount, 0);
            if (back.text != sj) ++duplicates;
        }
    }
    EXPECT_GT(checked, 7000);
    EXPECT_LT(duplicates, 400);
}

TEST(CodePage, Examples) {
    struct Row {
        std::string utf8;
        std::string cp932;
    } rows[] = {
        {"abc", "abc"},     {"田中", "\x93\x63\x92\x86"}, {"ｱ", "\xB1"},  {"～", "\x81\x60"},
        {"－", "\x81\x7C"}, {"￥", "\x81\x8F"},           {"\\~", "\\~"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(Utf8ToCp932(r.utf8).text, r.cp932) << r.utf8;
        EXPECT_EQ(Cp932ToUtf8(r.cp932).text, r.utf8) << r.utf8;
    }
}

TEST(CodePage, UnmappableAndInvalidInput) {
    // An emoji has no code page 932 form; a stray continuation byte is no UTF-8.
    CodePageResult r = Utf8ToCp932(
        "a\xF0\x9F\x98\x80"
        "b\x80"
        "c");
    EXPECT_EQ(r.text, "a？b？c"_sj);
    EXPECT_EQ(r.replacedCount, 2);
    // A lead byte without its trail, and an unassigned pair.
    CodePageResult u = Cp932ToUtf8("x\x81");
    EXPECT_EQ(u.text, "x\xEF\xBF\xBD");
    EXPECT_EQ(u.replacedCount, 1);
    EXPECT_GE(Cp932ToUtf8("\x85\x40y").replacedCount, 1);
}

TEST(CodePage, Utf8Validity) {
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("田中"));
    EXPECT_FALSE(IsValidUtf8("\x93\x63\x92\x86"));
    EXPECT_FALSE(IsValidUtf8("\xC0\x80"));      // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
    EXPECT_FALSE(IsValidUtf8("\xE3\x81"));      // cut short
}

}  // namespace
