// Lines no one should type: a megabyte long, 100,000 opening brackets, nothing but lead
// bytes, NULs in the middle, bytes that are not UTF-8, characters code page 932 lacks.
// Each gets an answer (and a warning where something was replaced), and the line after it
// is answered as usual.
#include "conversation/LineDispatcher.h"
#include "notebook/Notebook.h"
#include "platform/Clock.h"
#include "text/Sjis.h"
#include "transcript/TranscriptView.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <unistd.h>

using namespace nelo;

namespace fs = std::filesystem;

namespace {

std::string Repeat(std::string_view s, std::size_t n) {
    std::string out;
    out.reserve(s.size() * n);
    for (std::size_t i = 0; i < n; ++i) out += s;
    return out;
}

/// Every lead byte of code page 932, once each.
std::string AllLeadBytes() {
    std::string s;
    for (int b = 0x81; b <= 0x9F; ++b) s.push_back(static_cast<char>(b));
    for (int b = 0xE0; b <= 0xFC; ++b) s.push_back(static_cast<char>(b));
    return s;
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + what.size())) ++n;
    return n;
}

class HostileCliTest : public testing::Test {
protected:
    HostileCliTest() {
        static int s_n = 0;
        m_dir = fs::temp_directory_path() /
                ("nelo-hostile-cli-" + std::to_string(::getpid()) + "-" + std::to_string(++s_n));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "xdg");
    }
    ~HostileCliTest() override { fs::remove_all(m_dir); }

    struct Result {
        int status;
        std::string out, err;
    };

    /// Runs nelo-cli --new in the test folder with the bytes on stdin.
    Result Run(const std::string& input) {
        Write("input", input);
        std::string cmd = "cd '" + m_dir.string() + "' && NELO_NOW='2003-06-01 10:00:00' TZ=UTC0 XDG_CONFIG_HOME='" +
                          (m_dir / "xdg").string() + "' '" + NELO_CLI + "' --new < input > out 2> err";
        int rc = std::system(cmd.c_str());
        return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, Read("out"), Read("err")};
    }
    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) {
        std::ifstream in(m_dir / name, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    fs::path m_dir;
};

struct HostileLineRow {
    const char* name;
    std::string line;  // typed, UTF-8 or not
    std::string echo;  // what the conversation shows of it
    std::string answer;
    std::string warning;  // on stderr, or empty for none
};

TEST_F(HostileCliTest, EveryLineIsAnsweredAndTheNextOneToo) {
    const std::string replaced = "警告: シフトJIS（コードページ932）にない文字 ";
    const HostileLineRow rows[] = {
        {"a line of 1 MB", std::string(1000000, '1'), Repeat("１", 1000000), "計算できません。", ""},
        {"100,000 opening brackets", Repeat("（", 100000), Repeat("（", 100000), "計算できません。", ""},
        {"only lead bytes", AllLeadBytes(), Repeat("？", 60), "わかりません。", replaced + "60 個"},
        {"NULs in the middle", "１＋２" + std::string(2, '\0') + "＋３", "１＋２＋３", "６",
         "警告: 入力行の NUL 文字を取り除きました。"},
        {"bytes that are not UTF-8", "abc\xFF\xFE\xC3(x\xE3\x81", "ａｂｃ？？？（ｘ？？", "計算できません。",
         replaced + "5 個"},
        {"characters without a code page 932 form", "田中、電話、😀é한", "田中、電話、？？？", "メモに登録しました。",
         replaced + "3 個"},
    };
    for (const HostileLineRow& r : rows) {
        Result res = Run(r.line + "\n１＋１\n");
        EXPECT_EQ(res.status, 0) << r.name;
        const std::string exchange = "花子 >> " + r.echo + "\n太郎 >> " + r.answer + "\n花子 >> １＋１\n太郎 >> ２\n";
        EXPECT_NE(res.out.find(exchange), std::string::npos) << r.name;
        if (r.warning.empty()) {
            EXPECT_EQ(res.err, "") << r.name;
        } else {
            EXPECT_NE(res.err.find(r.warning), std::string::npos) << r.name << ": " << res.err;
        }
    }
}

TEST_F(HostileCliTest, AHostileTextFileIsReadLineByLine) {
    // Code page 932 bytes: lead bytes alone (one at the very end), 100,000 brackets.
    const std::string brackets = Repeat("（"_sj, 100000);
    Write("hostile.txt", AllLeadBytes() + "\r\n" + brackets + "\n" + "１＋２\n"_sj);
    Result res = Run("\\read hostile.txt\n１＋１\n");
    EXPECT_EQ(res.status, 0);
    // Each line whole: one answer each.
    EXPECT_EQ(Count(res.out, "太郎 >> "), 3u + 1u) << res.err;
    EXPECT_NE(res.out.find("花子 >> " + Repeat("（", 100000) + "\n太郎 >> 計算できません。\n"), std::string::npos);
    EXPECT_NE(res.out.find("花子 >> １＋２\n太郎 >> ３\n花子 >> １＋１\n太郎 >> ２\n"), std::string::npos);
}

// A file line is submitted as a typed line of the same length: the same memos and answers.
TEST_F(HostileCliTest, FileLinesAreAnsweredAsTypedLines) {
    auto lineOf = [](const std::string& head, std::size_t bytes) { return head + Repeat("x", bytes - head.size()); };
    const std::string lines = lineOf("田中、電話、", 255) + "\n" + lineOf("田中、住所、", 1000) + "\n" +
                              lineOf("山田、メモ、", 10000) + "\n" + "1+" + Repeat("1+", 4998) + "1\n" + "田中は\n" +
                              "山田は\n";
    Write("lines.txt", lines);
    Result read = Run("\\read lines.txt\n");
    Result typed = Run(lines);
    EXPECT_EQ(read.status, 0);
    EXPECT_EQ(read.out, typed.out);
    EXPECT_EQ(read.err, typed.err);
    EXPECT_NE(read.out.find("太郎 >> ５０００\n"), std::string::npos);
    EXPECT_NE(read.out.find("メモ：" + Repeat("x", 10000 - 18) + "\n"), std::string::npos) << read.out.size();
}

// What cannot be a line of text is refused with its reason, and the session goes on.
TEST_F(HostileCliTest, WhatIsNoTextIsRefusedAndTheSessionGoesOn) {
    const std::string tooLong = Repeat("x", (1u << 20) + 1);
    Write("nul.txt", std::string("1+1\n2\0+2\n", 9));
    Write("long.txt", "1+1\n" + tooLong + "\n");
    Result res = Run("a、b、c\n\\read nul.txt\n\\read long.txt\n" + tooLong + "\naは\n");
    EXPECT_EQ(res.status, 0);
    EXPECT_NE(
        res.err.find("nul.txtを読み込めませんでした。2 行目に NUL 文字があります（テキストファイルではありません）。"),
        std::string::npos)
        << res.err;
    EXPECT_NE(res.err.find("long.txtを読み込めませんでした。2 行目が長すぎます（1 行 1 MB まで）。"), std::string::npos)
        << res.err;
    EXPECT_NE(res.err.find("入力行が長すぎるため処理しませんでした（1 行 1 MB まで）。"), std::string::npos) << res.err;
    // Nothing of the refused files was processed; the memo before them is there.
    EXPECT_EQ(Count(res.out, "太郎 >> "), 2u) << res.out.substr(0, 2000);
    EXPECT_NE(res.out.find("花子 >> ａ\n太郎 >> 次のようなメモがあります。\nb：c\n"), std::string::npos)
        << res.out.substr(0, 2000);
}

// The same lines straight into the core, as code page 932 bytes from a text file.
class HostileLineDispatcherTest : public testing::Test {
protected:
    HostileLineDispatcherTest() : m_clock(MakeLocalTime(2003, 6, 1, 10, 0, 0)), m_send(m_notebook) {
        SetCurrentClock(&m_clock);
        m_notebook.AddListener(&m_view);
        m_notebook.ResetToNew();
        m_notebook.StartConversation();
    }
    ~HostileLineDispatcherTest() override { SetCurrentClock(nullptr); }

    std::string Submit(const std::string& line) {
        std::size_t before = m_view.GetText().size();
        m_send.ProcessLine(line);
        return m_view.GetText().substr(before);
    }

    FixedClock m_clock;
    Notebook m_notebook;
    TextTranscript m_view;
    LineDispatcher m_send;
};

TEST_F(HostileLineDispatcherTest, RawLinesGetOneAnswerEach) {
    const std::string lines[] = {
        AllLeadBytes(),
        "\x81",
        "１＋"_sj + std::string("\x81"),
        Repeat("（"_sj, 500000),
        Repeat("\x81", 1000000),
        Repeat("\xFC\x7F", 1000),
        std::string(1 << 20, '9'),
        Repeat("１"_sj, 1 << 19),
        Repeat("字、"_sj, 100000),
        Repeat("予定 "_sj, 100000),
    };
    for (const std::string& line : lines) {
        std::string added = Submit(line);
        // The echo, then exactly one answer line of the responder.
        ASSERT_EQ(added.compare(0, 8, "花子 >> "_sj), 0) << line.size();
        EXPECT_EQ(Count(added, "\r\n太郎 >> "_sj), 1u) << line.size();
        EXPECT_EQ(Submit("１＋１"_sj), "花子 >> １＋１\r\n太郎 >> ２\r\n"_sj) << line.size();
    }
}

}  // namespace
