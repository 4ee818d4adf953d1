#include "platform/CodePage.h"
#include "platform/Profile.h"
#include "text/Sjis.h"
#include "transcript/CharFormat.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace nelo;

namespace fs = std::filesystem;

namespace {

CharFormat Format(std::uint32_t effects, int height, std::uint32_t colour, int charset, int pitch, const char* face,
                  std::uint32_t mask = MaskAll, int offset = 0) {
    CharFormat cf;
    cf.mask = mask;
    cf.effects = effects;
    cf.height = height;
    cf.offset = offset;
    cf.crTextColor = colour;
    cf.charSet = static_cast<std::uint8_t>(charset);
    cf.pitchAndFamily = static_cast<std::uint8_t>(pitch);
    cf.faceName = face;
    return cf;
}

TEST(CharFormatTest, DefaultIsNinePointGothicInBlack) {
    EXPECT_EQ(FormatFontAttr(DefaultCharFormat()), "f800000f 0 180 0 0 80 32 ＭＳ Ｐゴシック"_sj);
    EXPECT_EQ(DefaultCharFormat(), Format(0, 180, 0, 128, 0x32, "ＭＳ Ｐゴシック"_sj));
}

TEST(CharFormatTest, FormatsAreWrittenAndReadBack) {
    struct Row {
        const char* name;
        CharFormat cf;
        const char* text;
    } kRows[] = {
        {"default", DefaultCharFormat(), "f800000f 0 180 0 0 80 32 ＭＳ Ｐゴシック"_sj},
        {"bold 12 points in the input pane", Format(EffectBold, 240, 0, 128, 0x32, "IPAPGothic"),
         "f800000f 1 240 0 0 80 32 IPAPGothic"},
        {"all effects, colour, offset", Format(0xF, 200, 0x00FF8000, 0, 0x31, "ＭＳ 明朝"_sj, MaskAll, -20),
         "f800000f f 200 -20 ff8000 0 31 ＭＳ 明朝"_sj},
        {"a face with blanks", Format(0, 180, 0, 128, 0x32, "Noto Sans CJK JP"),
         "f800000f 0 180 0 0 80 32 Noto Sans CJK JP"},
        {"a face that repeats a number", Format(0, 180, 0, 128, 0x32, "0 Font"), "f800000f 0 180 0 0 80 32 0 Font"},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FormatFontAttr(row.cf), row.text);
        CharFormat back;
        ASSERT_TRUE(ParseFontAttr(row.text, back));
        EXPECT_EQ(back, row.cf);
    }
}

TEST(CharFormatTest, ValuesOfOtherHandsAreRead) {
    struct Row {
        const char* name;
        const char* text;
        CharFormat expected;
    } kRows[] = {
        {"upper-case hex and 0x", "F800000F 0x2 160 0 0xFF 80 31 MS UI Gothic",
         Format(EffectItalic, 160, 0xFF, 128, 0x31, "MS UI Gothic")},
        {"extra blanks and a trailing line break", "  f800000f  0 180 0 0 80 32   メイリオ\r\n"_sj,
         Format(0, 180, 0, 128, 0x32, "メイリオ"_sj)},
        {"charset and pitch keep their low 8 bits", "f800000f 0 180 0 0 180 132 Arial",
         Format(0, 180, 0, 0x80, 0x32, "Arial")},
        {"auto colour effect", "f800000f 40000000 180 0 0 80 32 Arial",
         Format(EffectAutoColor, 180, 0, 128, 0x32, "Arial")},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.name);
        CharFormat back;
        ASSERT_TRUE(ParseFontAttr(row.text, back));
        EXPECT_EQ(back, row.expected);
    }
}

TEST(CharFormatTest, UnreadableValuesAreRefused) {
    const char* kBad[] = {
        "",
        "   ",
        "f800000f 0 180 0 0 80 32",     // seven fields
        "f800000f 0 180 0 0 80 32   ",  // seven fields and blanks
        "f800000f 0 big 0 0 80 32 Arial",
        "zz 0 180 0 0 80 32 Arial",
        "f800000f 0 99999999999 0 0 80 32 Arial",
        "1f800000f 0 180 0 0 80 32 Arial",
        "Arial",
    };
    for (const char* text : kBad) {
        SCOPED_TRACE(text);
        CharFormat cf = DefaultCharFormat();
        EXPECT_FALSE(ParseFontAttr(text, cf));
        EXPECT_EQ(cf, DefaultCharFormat());
    }
}

TEST(CharFormatTest, LongFaceNamesAreCutAtACharacterBoundary) {
    // 15 double-byte characters and one more byte would split the 16th character at 31.
    const std::string kanji = "あいうえおかきくけこさしすせそた"_sj;
    CharFormat cf;
    ASSERT_TRUE(ParseFontAttr("f800000f 0 180 0 0 80 32 " + kanji, cf));
    EXPECT_EQ(cf.faceName, kanji.substr(0, 30));
    ASSERT_TRUE(ParseFontAttr("f800000f 0 180 0 0 80 32 a" + kanji, cf));
    EXPECT_EQ(cf.faceName, "a" + kanji.substr(0, 30));
    ASSERT_TRUE(ParseFontAttr("f800000f 0 180 0 0 80 32 abcdefghijklmnopqrstuvwxyz0123456789", cf));
    EXPECT_EQ(cf.faceName, "abcdefghijklmnopqrstuvwxyz01234");
}

TEST(CharFormatTest, ProfileKeepsTheFontAsUtf8Text) {
    const fs::path dir = fs::temp_directory_path() / ("nelo-fontattr-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    const std::string path = (dir / "Nelo.conf").string();
    Profile profile(path);
    EXPECT_EQ(ReadSavedFont(profile), DefaultCharFormat());
    // As written by hand or by another front end in the UTF-8 profile.
    profile.WriteProfileString("SendViewFont", "FontAttr", "f800000f 1 240 0 0 80 32 ＭＳ ゴシック");
    EXPECT_EQ(ReadSavedFont(profile), Format(EffectBold, 240, 0, 128, 0x32, "ＭＳ ゴシック"_sj));
    // Code page 932 bytes are read as they are.
    profile.WriteProfileString("SendViewFont", "FontAttr", "f800000f 0 200 0 0 80 32 ＭＳ 明朝"_sj);
    EXPECT_EQ(ReadSavedFont(profile), Format(0, 200, 0, 128, 0x32, "ＭＳ 明朝"_sj));
    profile.WriteProfileString("SendViewFont", "FontAttr", "f800000f 0 200");
    EXPECT_EQ(ReadSavedFont(profile), DefaultCharFormat());

    const CharFormat chosen = Format(EffectUnderline, 220, 0x0000FF, 128, 0x31, "ＭＳ Ｐ明朝"_sj);
    EXPECT_TRUE(WriteSavedFont(profile, chosen));
    EXPECT_EQ(profile.GetProfileString("SendViewFont", "FontAttr"), "f800000f 4 220 0 ff 80 31 ＭＳ Ｐ明朝");
    EXPECT_EQ(ReadSavedFont(Profile(path)), chosen);
    fs::remove_all(dir);
}

}  // namespace
