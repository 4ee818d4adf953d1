#include "conversation/SendView.h"
#include "conversation/TextFileInput.h"
#include "document/RumoDoc.h"
#include "text/Sjis.h"
#include "view/RumoView.h"
#include "ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

struct SplitRow {
    const char* name;
    std::string text;
    std::vector<std::string> lines;
};

void PrintTo(const SplitRow& row, std::ostream* os) { *os << row.name; }

std::string Repeat(const std::string& s, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += s;
    return out;
}

const SplitRow kSplits[] = {
    {"empty line skipped", "１＋２\r\n\r\n田中、電話、03-1234\r\n"_sj, {"１＋２"_sj, "田中、電話、03-1234"_sj}},
    {"no final line break", "a\r\nb", {"a", "b"}},
    {"lf only", "a\nb\n", {"a", "b"}},
    {"lone cr is a line break", "abc\rdef\r\n", {"abc", "def"}},
    {"cr-only file", "a\rb\rc\r", {"a", "b", "c"}},
    {"blank line kept", "  \r\n\t\r\n", {"  ", "\t"}},
    {"empty file", "", {}},
    {"only line ends", "\r\n\n\r", {}},
    {"300 bytes", Repeat("x", 300), {Repeat("x", 254), Repeat("x", 46)}},
    {"254 bytes then break", Repeat("x", 254) + "\r\ny", {Repeat("x", 254), "y"}},
    {"508 bytes", Repeat("x", 508), {Repeat("x", 254), Repeat("x", 254)}},
    {"character across the limit", Repeat("x", 253) + Repeat("あ"_sj, 2), {Repeat("x", 253), Repeat("あ"_sj, 2)}},
    {"character ends at the limit", Repeat("x", 252) + Repeat("あ"_sj, 2), {Repeat("x", 252) + "あ"_sj, "あ"_sj}},
    {"double-byte line", Repeat("あ"_sj, 150), {Repeat("あ"_sj, 127), Repeat("あ"_sj, 23)}},
    {"trail byte that looks like a lead",
     Repeat("x", 252) + "\x81\x81" + "\x81\x40",
     {Repeat("x", 252) + "\x81\x81", "\x81\x40"}},
    {"piece ends at a nul", std::string("ab\0cd\r\nef", 9), {"ab", "ef"}},
    {"line starting with nul", std::string("\0x\r\ny", 5), {"y"}},
};

class TextFileInputSplitTest : public ::testing::TestWithParam<SplitRow> {};

TEST_P(TextFileInputSplitTest, CollectsTheSubmittedLines) {
    std::vector<std::string> lines;
    CTextFileInput::SplitLines(GetParam().text, lines);
    EXPECT_EQ(lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Rows, TextFileInputSplitTest, ::testing::ValuesIn(kSplits), RowName());

struct DecodeRow {
    const char* name;
    std::string bytes;
    std::string decoded;
};

void PrintTo(const DecodeRow& row, std::ostream* os) { *os << row.name; }

const DecodeRow kDecodes[] = {
    {"ascii", "1+2\r\n", "1+2\r\n"},
    {"utf-8", "\xE7\x94\xB0\xE4\xB8\xAD\r\n", "田中\r\n"_sj},
    {"utf-8 with bom", "\xEF\xBB\xBF\xE4\xBA\x88\xE5\xAE\x9A", "予定"_sj},
    {"bom only", "\xEF\xBB\xBF", ""},
    {"code page 932", "田中、電話"_sj, "田中、電話"_sj},
    {"half-width kana", "\xB6\xC5", "\xB6\xC5"},
    // Also valid UTF-8 ("ýı"), but without a Japanese character in that reading.
    {"half-width kana valid in both", "\xC3\xBD\xC4\xB1", "\xC3\xBD\xC4\xB1"},
    {"half-width kana and an ascii line valid in both", "1+1\r\n\xC3\xBD\xC4\xB1", "1+1\r\n\xC3\xBD\xC4\xB1"},
    {"half-width kana in utf-8", "\xEF\xBE\x83\xEF\xBD\xBD", "\xC3\xBD"},
    {"latin letters in utf-8 with bom", "\xEF\xBB\xBF\xC3\xBD", "？"_sj},
    {"utf-8 that is no code page 932", "\xE2\x86\x92", "→"_sj},
};

class TextFileInputDecodeTest : public ::testing::TestWithParam<DecodeRow> {};

TEST_P(TextFileInputDecodeTest, RecognisesUtf8) {
    EXPECT_EQ(CTextFileInput::DecodeFileBytes(GetParam().bytes), GetParam().decoded);
}

INSTANTIATE_TEST_SUITE_P(Rows, TextFileInputDecodeTest, ::testing::ValuesIn(kDecodes), RowName());

TEST(TextFileInputTest, MissingFileIsReportedAndNothingIsProcessed) {
    CTempFolder folder;
    CScriptedMessageBox mb;
    CTextFileInput input(mb);
    const std::string path = folder.File("none.txt");
    EXPECT_FALSE(input.Read(path));
    EXPECT_TRUE(input.GetLines().empty());
    ASSERT_EQ(mb.GetShown().size(), 1u);
    EXPECT_EQ(mb.GetShown()[0].text, path + "がオープンできません(No such file or directory)"_sj);
    EXPECT_EQ(mb.GetShown()[0].caption, "");
    EXPECT_EQ(mb.GetShown()[0].buttons, MbButtons::Ok);
}

TEST(TextFileInputTest, FolderCannotBeRead) {
    CTempFolder folder;
    CScriptedMessageBox mb;
    CTextFileInput input(mb);
    EXPECT_FALSE(input.Read(folder.File("")));
    EXPECT_EQ(mb.GetShown().size(), 1u);
}

TEST(TextFileInputTest, EachLineIsShownThenProcessed) {
    CTempFolder folder;
    const std::string path = folder.File("in.txt");
    {
        std::ofstream out(path, std::ios::binary);
        out << "田中、電話、03-1234\r\n\r\n田中は"_sj;
    }
    struct Pane : IInputPane {
        std::string text;
        void AppendInputText(const std::string& t) override { text += t; }
        void EndWithLineBreak() override { text += "\r\n"; }
    } pane;
    CRumoDoc doc;
    CTextRumoView view;
    doc.AddListener(&view);
    doc.m_bNamePrefix = 1;
    CSendView send(doc, &pane);
    CScriptedMessageBox mb;
    OnReadTextFile(send, mb, path);
    EXPECT_TRUE(mb.GetShown().empty());
    EXPECT_EQ(pane.text, "田中、電話、03-1234\r\n田中は\r\n"_sj);
    EXPECT_EQ(view.GetText(),
              "花子 >> 田中、電話、03-1234\r\n太郎 >> メモに登録しました。\r\n"
              "花子 >> 田中\r\n太郎 >> 次のようなメモがあります。\r\n電話：03-1234\r\n"_sj);
    doc.RemoveListener(&view);
}

TEST(TextFileInputTest, CharactersWithoutACodePage932FormAreReportedPerLine) {
    CTempFolder folder;
    const std::string path = folder.File("outside.txt");
    {
        std::ofstream out(path, std::ios::binary);
        // "田中、電話、😀é한", a plain line, then a long line whose one emoji lies in its second piece.
        out << "\xE7\x94\xB0\xE4\xB8\xAD\xE3\x80\x81\xE9\x9B\xBB\xE8\xA9\xB1\xE3\x80\x81"
               "\xF0\x9F\x98\x80\xC3\xA9\xED\x95\x9C\r\n"
               "1+1\n"
            << std::string(300, 'x') << "\xF0\x9F\x98\x80\n";
    }
    CScriptedMessageBox mb;
    CTextFileInput input(mb);
    ASSERT_TRUE(input.Read(path));
    EXPECT_EQ(input.GetLines().size(), 4u);
    EXPECT_EQ(input.GetLines()[0], "田中、電話、？？？"_sj);
    EXPECT_EQ(input.GetReplaced(), (std::vector<int>{3, 0, 1, 0}));

    // Without a reporter of its own, the read says so in a message box before each such line.
    CRumoDoc doc;
    CSendView send(doc, nullptr);
    OnReadTextFile(send, mb, path);
    ASSERT_EQ(mb.GetShown().size(), 2u);
    EXPECT_EQ(mb.GetShown()[0].text, "シフトJIS（コードページ932）にない文字 3 個を「？」に置き換えました。"_sj);
    EXPECT_EQ(mb.GetShown()[1].text, "シフトJIS（コードページ932）にない文字 1 個を「？」に置き換えました。"_sj);
}

}  // namespace

namespace {

// Whatever the bytes, pieces stay within the limit, hold no line ends or NULs, and a
// line without NULs comes back whole when its pieces are joined.
TEST(TextFileInputTest, RandomBytesKeepThePieceRules) {
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<unsigned char>(seed >> 16);
    };
    for (int round = 0; round < 200; ++round) {
        std::string line;
        const std::size_t n = 1 + next() * 4;
        for (std::size_t i = 0; i < n; ++i) {
            unsigned char b = next();
            if (b == '\r' || b == '\n' || b == 0) b = 0x82;
            line.push_back(static_cast<char>(b));
        }
        std::vector<std::string> pieces;
        CTextFileInput::SplitLines(line + "\r\n", pieces);
        std::string joined;
        for (const std::string& p : pieces) {
            EXPECT_LE(p.size(), CTextFileInput::kMaxPiece);
            EXPECT_FALSE(p.empty());
            EXPECT_EQ(p.find_first_of(std::string("\r\n\0", 3)), std::string::npos);
            joined += p;
        }
        EXPECT_EQ(joined, line);
    }
}

}  // namespace
