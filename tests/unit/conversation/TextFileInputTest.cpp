#include "conversation/LineDispatcher.h"
#include "conversation/TextFileInput.h"
#include "conversation/TextLineStream.h"
#include "notebook/Notebook.h"
#include "text/Sjis.h"
#include "transcript/TranscriptView.h"
#include "unit/models/ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace nelo;

namespace {

/// The bytes of a literal that may hold NULs.
template <std::size_t N>
std::string Bytes(const char (&s)[N]) {
    return std::string(s, N - 1);
}

std::string Repeat(std::string_view s, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += s;
    return out;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

/// What reading a file gave: its lines, the characters replaced per line, the count
/// known beforehand and the messages shown.
struct ReadOutcome {
    bool opened = false;
    long long count = -2;
    std::vector<std::string> lines;
    std::vector<int> replaced;
    std::vector<std::string> messages;
};

ReadOutcome ReadAll(const std::string& path) {
    ScriptedMessageBox mb;
    TextFileInput input(mb);
    ReadOutcome out;
    out.opened = input.Open(path);
    out.count = input.GetLineCount();
    std::string line;
    int replacedCount = 0;
    while (out.opened && input.Next(line, replacedCount)) {
        out.lines.push_back(line);
        out.replaced.push_back(replacedCount);
    }
    for (const auto& shown : mb.GetShown()) out.messages.push_back(shown.text);
    return out;
}

struct FileRow {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;  // code page 932
};

void PrintTo(const FileRow& row, std::ostream* os) { *os << row.name; }

const std::string kSumLine = "１＋２"_sj;
const std::string kMemoLine = "田中、電話、03-1234"_sj;

const FileRow kFiles[] = {
    {"empty line skipped", "１＋２\r\n\r\n田中、電話、03-1234\r\n"_sj, {kSumLine, kMemoLine}},
    {"no final line break", "a\r\nb", {"a", "b"}},
    {"lf only", "a\nb\n", {"a", "b"}},
    {"lone cr is a line break", "abc\rdef\r\n", {"abc", "def"}},
    {"cr-only file", "a\rb\rc\r", {"a", "b", "c"}},
    {"blank line kept", "  \r\n\t\r\n", {"  ", "\t"}},
    {"empty file", "", {}},
    {"only line ends", "\r\n\n\r", {}},
    // A line is submitted whole however long, as a typed line of that length.
    {"300 bytes", Repeat("x", 300), {Repeat("x", 300)}},
    {"10,000 double-byte bytes", Repeat("あ"_sj, 5000) + "\r\ny", {Repeat("あ"_sj, 5000), "y"}},
    {"the longest line", Repeat("x", TextFileInput::kMaxLineBytes), {Repeat("x", TextFileInput::kMaxLineBytes)}},
    // The encoding is decided over the whole file.
    {"utf-8", "\xE7\x94\xB0\xE4\xB8\xAD\r\n", {"田中"_sj}},
    {"utf-8 with bom", "\xEF\xBB\xBF\xE4\xBA\x88\xE5\xAE\x9A", {"予定"_sj}},
    {"bom alone on the first line", "\xEF\xBB\xBF\r\n\xE4\xBA\x88", {"予"_sj}},
    {"code page 932", "田中、電話"_sj, {"田中、電話"_sj}},
    {"half-width kana", "\xB6\xC5", {"\xB6\xC5"}},
    // Also valid UTF-8 ("ýı"), but without a Japanese character in that reading.
    {"half-width kana valid in both", "\xC3\xBD\xC4\xB1", {"\xC3\xBD\xC4\xB1"}},
    {"a utf-8 japanese line decides for a line valid in both", "\xC3\xBD\r\n\xE7\x94\xB0", {"？"_sj, "田"_sj}},
    {"a code page 932 line decides for a line valid in both",
     std::string("\xC3\xBD\r\n") + "田"_sj,
     {"\xC3\xBD", "田"_sj}},
    {"half-width kana in utf-8", "\xEF\xBE\x83\xEF\xBD\xBD", {"\xC3\xBD"}},
    {"latin letters in utf-8 with bom", "\xEF\xBB\xBF\xC3\xBD", {"？"_sj}},
    {"utf-8 that is no code page 932", "\xE2\x86\x92", {"→"_sj}},
};

class TextFileInputLinesTest : public ::testing::TestWithParam<FileRow> {};

TEST_P(TextFileInputLinesTest, GivesTheSubmittedLines) {
    TempFolder folder;
    const std::string path = folder.File("in.txt");
    WriteBytes(path, GetParam().bytes);
    ReadOutcome out = ReadAll(path);
    EXPECT_TRUE(out.opened);
    EXPECT_TRUE(out.messages.empty());
    EXPECT_EQ(out.lines, GetParam().lines);
    // The count known beforehand is what the lines turn out to be.
    EXPECT_EQ(out.count, static_cast<long long>(GetParam().lines.size()));
}

INSTANTIATE_TEST_SUITE_P(Rows, TextFileInputLinesTest, ::testing::ValuesIn(kFiles), RowName());

struct RefusedRow {
    const char* name;
    std::string bytes;
    std::string message;  // after the path
};

void PrintTo(const RefusedRow& row, std::ostream* os) { *os << row.name; }

const RefusedRow kRefused[] = {
    {"nul byte", Bytes("1+1\r\nab\0cd\r\n2+2\r\n"),
     "を読み込めませんでした。2 行目に NUL 文字があります（テキストファイルではありません）。"_sj},
    {"utf-16",
     Bytes("\xFF\xFE"
           "1\0+\0"
           "1\0"),
     "を読み込めませんでした。1 行目に NUL 文字があります（テキストファイルではありません）。"_sj},
    {"line over the limit", "1+1\n\n" + Repeat("x", TextFileInput::kMaxLineBytes + 1) + "\n2+2\n",
     "を読み込めませんでした。3 行目が長すぎます（1 行 1 MB まで）。"_sj},
};

class TextFileInputRefusedTest : public ::testing::TestWithParam<RefusedRow> {};

// A file that is no text to be read line by line is refused before any line is given.
TEST_P(TextFileInputRefusedTest, SaysWhyAndGivesNothing) {
    TempFolder folder;
    const std::string path = folder.File("in.txt");
    WriteBytes(path, GetParam().bytes);
    ReadOutcome out = ReadAll(path);
    EXPECT_FALSE(out.opened);
    EXPECT_TRUE(out.lines.empty());
    EXPECT_EQ(out.messages, std::vector<std::string>{path + GetParam().message});
}

INSTANTIATE_TEST_SUITE_P(Rows, TextFileInputRefusedTest, ::testing::ValuesIn(kRefused), RowName());

TEST(TextFileInputTest, FilesThatCannotBeOpened) {
    TempFolder folder;
    const std::string missing = folder.File("none.txt");
    ReadOutcome out = ReadAll(missing);
    EXPECT_FALSE(out.opened);
    EXPECT_EQ(out.messages, std::vector<std::string>{missing + "がオープンできません(No such file or directory)"_sj});
    out = ReadAll(folder.File(""));
    EXPECT_FALSE(out.opened);
    EXPECT_EQ(out.messages.size(), 1u);
}

// A pipe cannot be read twice: its lines each decide their encoding, their count is not
// known, and what makes the rest unreadable stops the reading there.
TEST(TextFileInputTest, APipeIsReadLineByLineAndStopsAtWhatItCannotRead) {
    TempFolder folder;
    const std::string fifo = folder.File("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // The reader stops before the writer is done: the writer's last write fails.
    std::signal(SIGPIPE, SIG_IGN);
    const std::string bytes = std::string("\xE7\x94\xB0\r\n") + "田"_sj + "\r\n" +
                              Repeat("y", TextFileInput::kMaxLineBytes + 5) + "\r\nnot read\r\n";
    std::thread writer([&] {
        std::ofstream out(fifo, std::ios::binary);
        out << bytes;
    });
    ReadOutcome out = ReadAll(fifo);
    writer.join();
    EXPECT_TRUE(out.opened);
    EXPECT_EQ(out.count, -1);
    EXPECT_EQ(out.lines, (std::vector<std::string>{"田"_sj, "田"_sj}));
    EXPECT_EQ(out.messages,
              std::vector<std::string>{fifo + "の読込みを止めました。3 行目が長すぎます（1 行 1 MB まで）。"_sj});

    // A device without an end is measured the same way.
    out = ReadAll("/dev/zero");
    EXPECT_TRUE(out.lines.empty());
    ASSERT_EQ(out.messages.size(), 1u);
    EXPECT_NE(out.messages[0].find("1 行目が長すぎます"_sj), std::string::npos);
}

TEST(TextFileInputTest, EachLineIsShownThenProcessed) {
    TempFolder folder;
    const std::string path = folder.File("in.txt");
    WriteBytes(path, "田中、電話、03-1234\r\n\r\n田中は"_sj);
    struct Pane : InputPaneWriter {
        std::string text;
        void AppendInputText(const std::string& t) override { text += t; }
        void EndWithLineBreak() override { text += "\r\n"; }
    } pane;
    Notebook notebook;
    TextTranscript view;
    notebook.AddListener(&view);
    notebook.SetShowsNames(true);
    LineDispatcher send(notebook, &pane);
    ScriptedMessageBox mb;
    TextFileReadResult result = OnReadTextFile(send, mb, path);
    EXPECT_EQ(result.submittedCount, 2u);
    EXPECT_EQ(result.lineCount, 2);
    EXPECT_FALSE(result.stopped);
    EXPECT_TRUE(mb.GetShown().empty());
    EXPECT_EQ(pane.text, "田中、電話、03-1234\r\n田中は\r\n"_sj);
    EXPECT_EQ(view.GetText(),
              "花子 >> 田中、電話、03-1234\r\n太郎 >> メモに登録しました。\r\n"
              "花子 >> 田中\r\n太郎 >> 次のようなメモがあります。\r\n電話：03-1234\r\n"_sj);
    notebook.RemoveListener(&view);
}

TEST(TextFileInputTest, CharactersWithoutACodePage932FormAreReportedPerLine) {
    TempFolder folder;
    const std::string path = folder.File("outside.txt");
    // "田中、電話、😀é한", a plain line, then a long line with one emoji at its end.
    WriteBytes(path,
               "\xE7\x94\xB0\xE4\xB8\xAD\xE3\x80\x81\xE9\x9B\xBB\xE8\xA9\xB1\xE3\x80\x81"
               "\xF0\x9F\x98\x80\xC3\xA9\xED\x95\x9C\r\n"
               "1+1\n" +
                   std::string(300, 'x') + "\xF0\x9F\x98\x80\n");
    ReadOutcome out = ReadAll(path);
    ASSERT_EQ(out.lines.size(), 3u);
    EXPECT_EQ(out.lines[0], "田中、電話、？？？"_sj);
    EXPECT_EQ(out.lines[2], std::string(300, 'x') + "？"_sj);
    EXPECT_EQ(out.replaced, (std::vector<int>{3, 0, 1}));

    // Without a reporter of its own, the read says so in a message box before each such line.
    Notebook notebook;
    LineDispatcher send(notebook, nullptr);
    ScriptedMessageBox mb;
    OnReadTextFile(send, mb, path);
    ASSERT_EQ(mb.GetShown().size(), 2u);
    EXPECT_EQ(mb.GetShown()[0].text, "シフトJIS（コードページ932）にない文字 3 個を「？」に置き換えました。"_sj);
    EXPECT_EQ(mb.GetShown()[1].text, "シフトJIS（コードページ932）にない文字 1 個を「？」に置き換えました。"_sj);
}

// The stop check ends a read between lines and while the file is being read; the lines
// before stand.
TEST(TextFileInputTest, AStopEndsTheReadAtOnce) {
    TempFolder folder;
    const std::string path = folder.File("many.txt");
    WriteBytes(path, Repeat("1+1\n", 200000));
    Notebook notebook;
    LineDispatcher send(notebook, nullptr);
    ScriptedMessageBox mb;
    for (int checks : {1, 1000}) {
        int n = 0;
        TextFileReadResult result = OnReadTextFile(send, mb, path, {}, [&n, checks] { return ++n > checks; });
        EXPECT_TRUE(result.stopped) << checks;
        EXPECT_LT(result.submittedCount, 1000u) << checks;
    }
    EXPECT_TRUE(mb.GetShown().empty());
}

// The lines of a stream are the same however its bytes are cut into blocks, and a line
// over the limit is reported without being gathered.
TEST(TextLineStreamTest, BlocksOfAnySizeGiveTheSameLines) {
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<unsigned>(seed >> 16);
    };
    const char kAlphabet[] = {'a', '\r', '\n', 'b', '\x82', '\r', '\n', '\n'};
    constexpr std::size_t kMax = 12;
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const std::size_t n = next() % 60;
        for (std::size_t i = 0; i < n; ++i) text += kAlphabet[next() % sizeof kAlphabet];
        // What the lines are: split at CR LF, LF or a lone CR.
        std::vector<std::string> expected;
        bool tooLong = false;
        for (std::size_t start = 0; start < text.size();) {
            std::size_t end = text.find_first_of("\r\n", start);
            if (end == std::string::npos) end = text.size();
            if (end - start > kMax) {
                tooLong = true;
                break;
            }
            expected.push_back(text.substr(start, end - start));
            if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
            start = end + 1;
        }
        for (std::size_t block : {std::size_t{1}, std::size_t{2}, std::size_t{5}, std::size_t{64}}) {
            std::size_t pos = 0;
            TextLineStream stream(
                [&](char* buffer, std::size_t room) {
                    std::size_t k = std::min({room, text.size() - pos, 1 + next() % block});
                    std::memcpy(buffer, text.data() + pos, k);
                    pos += k;
                    return static_cast<long>(k);
                },
                kMax, block);
            std::vector<std::string> lines;
            std::string_view line;
            TextLineStream::Result r;
            while ((r = stream.Read(line)) == TextLineStream::Result::Line) lines.emplace_back(line);
            EXPECT_EQ(r, tooLong ? TextLineStream::Result::TooLong : TextLineStream::Result::End) << round;
            EXPECT_EQ(lines, expected) << round << " block " << block;
            if (tooLong) {
                EXPECT_EQ(stream.GetLineNumber(), expected.size() + 1);
            }
        }
    }
}

}  // namespace
