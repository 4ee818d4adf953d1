// nelo-cli as a whole: which notebook it starts with, and what it does at the end of
// the input with unsaved changes.
#include "platform/LockFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace nelo;

namespace fs = std::filesystem;

namespace {

class CliStartupTest : public testing::Test {
protected:
    CliStartupTest() {
        static int s_n = 0;
        m_dir = fs::temp_directory_path() / ("nelo-cli-" + std::to_string(::getpid()) + "-" + std::to_string(++s_n));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "xdg");
        fs::create_directories(m_dir / "runtime");
    }
    ~CliStartupTest() override { fs::remove_all(m_dir); }

    struct Result {
        int status;
        std::string out, err;
    };

    /// Runs nelo-cli in the test folder with input on stdin (not a terminal); with
    /// memoryLimit, in that much address space.
    Result Run(const std::string& args, const std::string& input, const char* now = "2003-06-01 10:00:00",
               std::size_t memoryLimit = 0) {
        WriteText("input", input);
        const std::string limit = memoryLimit ? "prlimit --as=" + std::to_string(memoryLimit) + " " : "";
        std::string cmd = "cd '" + m_dir.string() + "' && NELO_NOW='" + now + "' TZ=UTC0 XDG_CONFIG_HOME='" +
                          (m_dir / "xdg").string() + "' XDG_STATE_HOME='" + (m_dir / "state").string() +
                          "' XDG_RUNTIME_DIR='" + (m_dir / "runtime").string() + "' HOME='" +
                          (m_dir / "home").string() + "' " + limit + "'" + NELO_CLI + "' " + args +
                          " < input > out 2> err";
        int rc = std::system(cmd.c_str());
        return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, ReadText("out"), ReadText("err")};
    }
    /// The address space nelo-cli holds once started, waiting for its first line (its
    /// libraries mapped): the memory limits below are counted on top of it.
    static std::size_t StartAddressSpace() {
        const std::string cmd = std::string("sleep 3 | '") + NELO_CLI +
                                "' --new > /dev/null 2>&1 & pid=$!; "
                                "for i in $(seq 100); do "
                                "  grep -q '^State:.*S' /proc/$pid/status 2>/dev/null && break; sleep 0.02; "
                                "done; sleep 0.1; awk '/^VmSize/ {print $2}' /proc/$pid/status; kill $pid; wait";
        FILE* pipe = popen(cmd.c_str(), "r");
        unsigned long kib = 0;
        if (pipe) {
            if (std::fscanf(pipe, "%lu", &kib) != 1) kib = 0;
            pclose(pipe);
        }
        return static_cast<std::size_t>(kib) << 10;
    }
    void WriteText(const std::string& name, const std::string& text) {
        std::ofstream(m_dir / name, std::ios::binary) << text;
    }
    std::string ReadText(const std::string& name) {
        std::ifstream in(m_dir / name, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    fs::path m_dir;
};

TEST_F(CliStartupTest, ASavedNotebookReopensAtTheNextStart) {
    Result first = Run("--new", "山田、電話、03\n半径＝５\n\\save note.nel\n");
    EXPECT_EQ(first.status, 0);
    ASSERT_TRUE(fs::exists(m_dir / "note.nel"));

    Result second = Run("", "山田は\n半径＝\n");
    EXPECT_EQ(second.status, 0);
    EXPECT_NE(second.out.find("太郎 >> 次のようなメモがあります。\n電話：03\n"), std::string::npos) << second.out;
    EXPECT_NE(second.out.find("太郎 >> ５\n"), std::string::npos) << second.out;

    // --new ignores the recent list.
    Result fresh = Run("--new", "山田は\n");
    EXPECT_NE(fresh.out.find("太郎 >> メモに登録されていません。"), std::string::npos) << fresh.out;
}

TEST_F(CliStartupTest, AFileArgumentWinsOverTheRecentList) {
    Run("--new", "a、k、1\n\\save a.nel\n");
    Run("--new", "b、k、2\n\\save b.nel\n\\open a.nel\n");  // a.nel is now the newest entry
    Result r = Run("b.nel", "bは\naは\n");
    EXPECT_NE(r.out.find("太郎 >> 次のようなメモがあります。\nk：2\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("太郎 >> メモに登録されていません。"), std::string::npos) << r.out;
}

TEST_F(CliStartupTest, ARecentFileThatNoLongerExistsIsReportedOnceAndLeavesTheList) {
    Run("--new", "\\save gone.nel\n");
    fs::remove(m_dir / "gone.nel");
    Result r = Run("", "1+1\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("花子さん、おはようございます。\n", 0), 0u) << r.out;
    EXPECT_NE(r.err.find("gone.nel が見つかりません。"), std::string::npos) << r.err;
    Result again = Run("", "1+1\n");
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.err, "") << again.err;
}

TEST_F(CliStartupTest, AFileArgumentThatDoesNotExistYetNamesANewNotebook) {
    Result r = Run("fresh.nel", "半径＝５\n\\save\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("fresh.nel はまだありません。"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("保存しました: " + (m_dir / "fresh.nel").string()), std::string::npos) << r.err;
    Result reopened = Run("fresh.nel", "半径＝\n");
    EXPECT_NE(reopened.out.find("太郎 >> ５\n"), std::string::npos) << reopened.out;
}

TEST_F(CliStartupTest, ANotebookOpenElsewhereIsSaidAndOpenedWithoutATerminal) {
    Run("--new", "半径＝５\n\\save note.nel\n");
    // The lock another program takes for the same notebook, with the same runtime folder.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string oldRuntime = runtime ? runtime : "";
    setenv("XDG_RUNTIME_DIR", (m_dir / "runtime").c_str(), 1);
    LockFile other(NotebookLockPath(ResolvedPath((m_dir / "note.nel").string())));
    if (runtime)
        setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
    else
        unsetenv("XDG_RUNTIME_DIR");
    ASSERT_EQ(other.TryLock(), LockResult::Taken);
    Result r = Run("note.nel", "半径＝\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("太郎 >> ５\n"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("note.nel は " + std::string(program_invocation_short_name) + "（プロセス番号 " +
                         std::to_string(getpid()) + "）で開かれています。そのまま開きます"),
              std::string::npos)
        << r.err;
    // Once it is free, nothing is said, and nelo-cli leaves no lock behind.
    other.Unlock();
    r = Run("note.nel", "半径＝\n");
    EXPECT_EQ(r.err, "") << r.err;
    EXPECT_TRUE(fs::is_empty(m_dir / "runtime" / "nelo"));
}

TEST_F(CliStartupTest, PathsOfTheFileCommands) {
    fs::create_directories(m_dir / "home/sub");
    struct Case {
        const char* command;  // after 「半径＝５」
        const char* file;     // what must exist afterwards
    };
    for (Case c : {Case{"\\save plain", "plain.nel"}, Case{"\\save \"with blank\"", "with blank.nel"},
                   Case{"\\save  spaced.nel  ", "spaced.nel"}, Case{"\\save keep.txt", "keep.txt"},
                   Case{"\\save ~/sub/home", "home/sub/home.nel"}, Case{"\\save \"~/sub/q x\"", "home/sub/q x.nel"},
                   Case{"\\save .hidden", ".hidden.nel"}, Case{"\\export ~/sub", "home/sub/ＮＥＬＯメモ.csv"},
                   Case{"\\export \"memo list.csv\"", "memo list.csv"}}) {
        Result r = Run("--new", std::string("半径＝５\n田中、電話、03\n") + c.command + "\n");
        EXPECT_EQ(r.status, 0) << c.command;
        EXPECT_TRUE(fs::exists(m_dir / c.file)) << c.command << "\n" << r.err;
    }
    // \open and \read take the same forms; a failure names the system's reason.
    Result r = Run("--new", "\\open ~/sub/home.nel\n半径＝\n\\read \"no such.txt\"\n");
    EXPECT_NE(r.out.find("太郎 >> ５\n"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("no such.txtがオープンできません(No such file or directory)"), std::string::npos) << r.err;
    Result bad = Run("--new", "半径＝５\n\\save no-folder/x\n");
    EXPECT_NE(bad.err.find("no-folder/x.nel に保存できませんでした。(No such file or directory)"), std::string::npos)
        << bad.err;
}

TEST_F(CliStartupTest, AnInvalidFrozenClockIsRefused) {
    for (const char* now : {"2003-02-30 10:00:00", "2003-06-01", "tomorrow", "2003-06-01 25:00:00"}) {
        Result r = Run("--new", "1+1\n", now);
        EXPECT_EQ(r.status, 2) << now;
        EXPECT_EQ(r.out, "") << now;
        EXPECT_NE(r.err.find("\"YYYY-MM-DD HH:MM:SS\""), std::string::npos) << now << r.err;
    }
}

TEST_F(CliStartupTest, PastEntriesAreDroppedAtLoadAndTheWelcomeSaysSo) {
    // Saved on 1 June with entries on 2 June 10:00 and 3 June 10:00, opened on 4 June at
    // 09:00: the first ended 47 hours before, the second 23 hours before.
    Run("--new", "６月２日 １０：００ 会議\n６月３日 １０：００ 打合せ\n\\save p.nel\n");
    Result r = Run("p.nel", "予定\n", "2003-06-04 09:00:00");
    EXPECT_NE(r.out.find("「例」と入力すると入力例が表示されます。\n過去の予定を削除しました。\n"), std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("会議"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("打合せ"), std::string::npos) << r.out;
    // The purge counts as a change: at the end the notebook is reported unsaved.
    EXPECT_NE(r.err.find("への変更を保存せずに終了します"), std::string::npos) << r.err;
}

TEST_F(CliStartupTest, UnsavedChangesAtTheEndOfInputAreReportedNotSaved) {
    Run("--new", "\\save u.nel\n");
    std::string before = ReadText("u.nel");
    Result r = Run("u.nel", "半径＝５\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("u.nel への変更を保存せずに終了します"), std::string::npos) << r.err;
    EXPECT_EQ(ReadText("u.nel"), before);

    // \new and \open with unsaved changes warn and go on.
    Result n = Run("u.nel", "半径＝５\n\\new\n半径＝\n");
    EXPECT_NE(n.err.find("u.nel への変更を保存せずに続けます"), std::string::npos) << n.err;
    EXPECT_NE(n.out.find("太郎 >> 計算できません。"), std::string::npos) << n.out;
}

TEST_F(CliStartupTest, SaveWithoutANameIsRefusedWithoutATerminal) {
    Result r = Run("--new", "半径＝５\n\\save\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("\\save ファイル名"), std::string::npos) << r.err;
}

TEST_F(CliStartupTest, AFileArgumentThatDoesNotOpenEndsTheProgram) {
    // Piped lines must not land in an untitled notebook.
    WriteText("bad.nel", std::string("\xFF\xFF\xFF\xFF", 4));
    Result r = Run("bad.nel", "半径＝５\n\\save\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("予期しないﾌｧｲﾙ形式です。"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "") << r.out;

    fs::create_directories(m_dir / "folder.nel");
    Result dir = Run("folder.nel", "半径＝５\n");
    EXPECT_EQ(dir.status, 1);
    EXPECT_NE(dir.err.find("folder.nel を開けませんでした。"), std::string::npos) << dir.err;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// In 16 MB of address space beyond what the started program holds, a 32 MB file is read,
// an endless device is refused, and a notebook that would not fit is refused: the typed
// memo is still there at the end.
TEST_F(CliStartupTest, ReadsAreBoundedByWhatIsHeldNotByTheFileSize) {
    if (kAddressSanitizer) GTEST_SKIP() << "the sanitizer reserves more address space than the limit";
    const std::size_t start = StartAddressSpace();
    ASSERT_GT(start, 0u);
    const std::size_t kLimit = start + (16u << 20);
    std::string big;
    const std::string line = std::string(16383, 'x') + "\n";
    for (int i = 0; i < 2048; ++i) big += line;
    WriteText("big.txt", big);
    Result r = Run("--new", "a、b、c\n\\read big.txt\n\\read /dev/zero\naは\n", "2003-06-01 10:00:00", kLimit);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("花子 >> ａ\n太郎 >> 次のようなメモがあります。\nb：c\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("/dev/zeroの読込みを止めました。1 行目が長すぎます"), std::string::npos) << r.err;

    for (const char* file : {"/dev/zero", "huge.nel"}) {
        if (std::string(file) == "huge.nel")
            fs::resize_file((WriteText("huge.nel", ""), m_dir / "huge.nel"), 300u << 20);
        Result refused = Run(file, "1+1\n", "2003-06-01 10:00:00", kLimit);
        EXPECT_EQ(refused.status, 1) << file;
        EXPECT_TRUE(refused.err.find("は大きすぎるため開けません") != std::string::npos ||
                    refused.err.find("を読み込むためのメモリが足りません。") != std::string::npos)
            << file << ": " << refused.err;
    }
    Result named = Run("huge.nel", "1+1\n");
    EXPECT_NE(named.err.find("huge.nel は大きすぎるため開けません（300 MB。ノートは 256 MB まで）。"),
              std::string::npos)
        << named.err;
}

// Memory that runs out in the middle of a line ends the session, with the changes kept
// in a recovery copy instead of lost.
TEST_F(CliStartupTest, RunningOutOfMemoryKeepsTheChangesInACopy) {
    if (kAddressSanitizer) GTEST_SKIP() << "the sanitizer reserves more address space than the limit";
    std::string sum = "1";
    for (int i = 0; i < 500000; ++i) sum += "+1";
    const std::size_t start = StartAddressSpace();
    ASSERT_GT(start, 0u);
    Result r = Run("--new", "田中、電話、03\n" + sum + "\n", "2003-06-01 10:00:00", start + (10u << 20));
    EXPECT_EQ(r.status, 1) << r.err;
    const std::string said =
        "メモリが足りなくなったため終了します。保存されていない変更を復元用のコピーに保存しました: ";
    auto at = r.err.find(said);
    ASSERT_NE(at, std::string::npos) << r.err;
    std::string copy = r.err.substr(at + said.size());
    copy.erase(copy.find('\n'));
    Result reopened = Run("'" + copy + "'", "田中は\n");
    EXPECT_NE(reopened.out.find("電話：03\n"), std::string::npos) << reopened.err;
}

TEST_F(CliStartupTest, InAPipeNoFileIsReplacedUnaskedAndAFailedLastSaveEndsWithOne) {
    enum class Kept { Old, Replaced, Fifo };
    const struct {
        const char* name;
        const char* setup;     // shell command in the folder
        const char* commands;  // after a memo line
        const char* file;      // the file written, and how it is left (replaced: by more than "old")
        Kept kept;
        int status;
        const char* said;  // on stderr
    } rows[] = {
        {"\\save over another file", "printf old > other.nel", "\\save other", "other.nel", Kept::Old, 1,
         "other.nel "
         "はすでにあります。上書きせずに取りやめました（入力が端末ではないため確認できません。上書きするときは "
         "\\save --force other.nel）。"},
        {"\\save --force", "printf old > other.nel", "\\save --force other", "other.nel", Kept::Replaced, 0,
         "保存しました: "},
        {"\\save into a FIFO", "mkfifo pipe.nel", "\\save --force pipe.nel", "pipe.nel", Kept::Fifo, 1,
         "pipe.nel に保存できませんでした。(Not a regular file)"},
        {"the notebook's own file again", "true", "\\save own.nel\n\\save own.nel", "own.nel", Kept::Replaced, 0,
         "保存しました: "},
        {"a failed save, then one that succeeds", "printf old > ro.nel && chmod 444 ro.nel",
         "\\save ro.nel\n\\save --force ro.nel\n\\save ok.nel", "ro.nel", Kept::Old, 0,
         "ro.nel に保存できませんでした。(Permission denied)"},
        {"\\export over another file", "printf old > out.csv", "\\export out.csv", "out.csv", Kept::Old, 0,
         "out.csv はすでにあります。上書きせずに取りやめました（入力が端末ではないため確認できません。上書きするときは "
         "\\export --force out.csv）。"},
        {"\\export --force", "printf old > out.csv", "\\export --force out.csv", "out.csv", Kept::Replaced, 0,
         "out.csvを作成しました"},
        {"\\export into a FIFO", "mkfifo fifo.csv", "\\export --force fifo.csv", "fifo.csv", Kept::Fifo, 0,
         "fifo.csvファイルを開けませんでした。(Not a regular file)"},
    };
    for (const auto& r : rows) {
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "xdg");
        ASSERT_EQ(std::system(("cd '" + m_dir.string() + "' && " + r.setup).c_str()), 0) << r.name;
        Result res = Run("--new", std::string("田中、電話、03\n") + r.commands + "\n");
        EXPECT_EQ(res.status, r.status) << r.name << "\n" << res.err;
        EXPECT_NE(res.err.find(r.said), std::string::npos) << r.name << "\n" << res.err;
        struct stat st;
        ASSERT_EQ(stat((m_dir / r.file).c_str(), &st), 0) << r.name;
        switch (r.kept) {
        case Kept::Old: EXPECT_EQ(ReadText(r.file), "old") << r.name; break;
        case Kept::Replaced: EXPECT_GT(ReadText(r.file).size(), 3u) << r.name; break;
        case Kept::Fifo: EXPECT_TRUE(S_ISFIFO(st.st_mode)) << r.name; break;
        }
    }
}

}  // namespace
