// nelo-cli on a terminal (a pseudo-terminal driven by the test): the end of the input
// with unsaved changes, Ctrl-C, and the recovery copy when the program is ended from
// outside.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

/// nelo-cli with a pseudo-terminal as its stdin, stdout and stderr, in a session of its
/// own (so that closing the terminal hangs it up). outputToPipe: stdout is a pipe the
/// test reads instead (as when the output goes to a pager).
class TerminalRun {
public:
    TerminalRun(const fs::path& dir, const std::vector<std::string>& args, bool outputToPipe = false) {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) return;
        int outPipe[2] = {-1, -1};
        if (outputToPipe && pipe(outPipe) != 0) return;
        std::string slave = ptsname(m_master);
        m_pid = fork();
        if (m_pid == 0) {
            setsid();
            int fd = open(slave.c_str(), O_RDWR);
            if (fd < 0) _exit(127);
            ioctl(fd, TIOCSCTTY, 0);
            dup2(fd, 0);
            dup2(outputToPipe ? outPipe[1] : fd, 1);
            dup2(fd, 2);
            if (fd > 2) close(fd);
            if (outputToPipe) {
                close(outPipe[0]);
                close(outPipe[1]);
            }
            close(m_master);
            if (chdir(dir.c_str()) != 0) _exit(127);
            setenv("NELO_NOW", "2003-06-01 10:00:00", 1);
            setenv("TZ", "UTC0", 1);
            setenv("TERM", "dumb", 1);
            setenv("LC_ALL", "C.UTF-8", 1);
            setenv("XDG_CONFIG_HOME", (dir / "xdg").c_str(), 1);
            setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
            std::vector<char*> argv{const_cast<char*>(NELO_CLI)};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(NELO_CLI, argv.data());
            _exit(127);
        }
        if (outputToPipe) {
            close(outPipe[1]);
            m_outPipe = outPipe[0];
        }
    }
    ~TerminalRun() {
        if (m_pid > 0 && !m_reaped) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_master >= 0) close(m_master);
        if (m_outPipe >= 0) close(m_outPipe);
    }

    /// Waits until the output pipe has carried text; false after a timeout.
    bool WaitForPiped(const std::string& text, int timeoutMs = 10000) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (m_piped.find(text) == std::string::npos) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            pollfd p{m_outPipe, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            char buf[4096];
            ssize_t n = read(m_outPipe, buf, sizeof buf);
            if (n <= 0) return false;
            m_piped.append(buf, static_cast<std::size_t>(n));
        }
        return true;
    }
    /// The reader of the output goes away (the pager is quit).
    void CloseOutputPipe() {
        close(m_outPipe);
        m_outPipe = -1;
    }

    bool Started() const { return m_pid > 0; }

    /// Types text (a key is a byte: "\x03" Ctrl-C, "\x04" Ctrl-D, "\r" Enter).
    void Type(const std::string& text) { [[maybe_unused]] ssize_t n = write(m_master, text.data(), text.size()); }

    /// Types a key until text appears: a key that reaches the terminal in the moment the
    /// editor switches its mode can be lost.
    bool TypeUntil(const std::string& key, const std::string& text) {
        for (int i = 0; i < 5; ++i) {
            Type(key);
            if (WaitFor(text, 2000)) return true;
        }
        return false;
    }

    /// Waits until what appeared since the last wait holds text; false after a timeout.
    bool WaitFor(const std::string& text, int timeoutMs = 10000) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            auto found = m_out.find(text, m_seen);
            if (found != std::string::npos) {
                m_seen = found + text.size();
                return true;
            }
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || !ReadSome(static_cast<int>(left.count()))) return false;
        }
    }

    /// Closes the terminal (the program is hung up) or sends a signal, then waits for
    /// the program to end and reads what it wrote last.
    int EndWith(int signo) {
        if (signo == SIGHUP) {
            close(m_master);
            m_master = -1;
        } else {
            if (signo != 0) kill(m_pid, signo);
        }
        // A program that does not end is killed (and the test fails on its status).
        int status = 0;
        for (int i = 0; waitpid(m_pid, &status, WNOHANG) == 0; ++i) {
            if (!ReadSome(10)) usleep(10000);
            if (i == 500) kill(m_pid, SIGKILL);
        }
        m_reaped = true;
        while (ReadSome(100)) {
        }
        return status;
    }
    /// True while the program runs.
    bool Running() {
        int status;
        return waitpid(m_pid, &status, WNOHANG) == 0;
    }
    const std::string& Output() const { return m_out; }

private:
    bool ReadSome(int timeoutMs) {
        if (m_master < 0) return false;
        pollfd p{m_master, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0) return false;
        char buf[4096];
        ssize_t n = read(m_master, buf, sizeof buf);
        if (n <= 0) return false;
        m_out.append(buf, static_cast<std::size_t>(n));
        return true;
    }

    int m_master = -1;
    int m_outPipe = -1;
    std::string m_piped;
    pid_t m_pid = -1;
    bool m_reaped = false;
    std::string m_out;
    std::size_t m_seen = 0;
};

class CliTerminalTest : public testing::Test {
protected:
    CliTerminalTest() {
        static int s_n = 0;
        m_dir = fs::temp_directory_path() / ("nelo-tty-" + std::to_string(::getpid()) + "-" + std::to_string(++s_n));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "xdg");
    }
    ~CliTerminalTest() override { fs::remove_all(m_dir); }

    std::vector<fs::path> RecoveryCopies() {
        std::vector<fs::path> copies;
        if (fs::exists(m_dir / "state/Vantor/Nelo"))
            for (auto& e : fs::directory_iterator(m_dir / "state/Vantor/Nelo"))
                if (e.path().extension() == ".nel") copies.push_back(e.path());
        return copies;
    }

    /// Runs nelo-cli with input from a pipe; returns stdout.
    std::string RunPiped(const std::string& args, const std::string& input) {
        std::ofstream(m_dir / "input", std::ios::binary) << input;
        std::string cmd = "cd '" + m_dir.string() + "' && NELO_NOW='2003-06-01 10:00:00' TZ=UTC0 XDG_CONFIG_HOME='" +
                          (m_dir / "xdg").string() + "' XDG_STATE_HOME='" + (m_dir / "state").string() + "' '" +
                          NELO_CLI + "' " + args + " < input > out 2> err";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
        std::ifstream in(m_dir / "out", std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    fs::path m_dir;
};

TEST_F(CliTerminalTest, EveryEndOfInputAsksUntilTheUserSaysNo) {
    TerminalRun run(m_dir, {"--new"});
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(run.WaitFor("> "));
    run.Type("半径＝５\r");
    ASSERT_TRUE(run.WaitFor("太郎 >> ５"));
    // (Keys go in only at a prompt: typed ahead, the terminal itself would take Ctrl-D.)
    ASSERT_TRUE(run.WaitFor("> "));
    // Each way of not answering "n" keeps the notebook and asks again at the next end.
    for (const char* answer : {"c\r", "\x04", "\x03", "cancel\r"}) {
        ASSERT_TRUE(run.TypeUntil("\x04", "への変更を保存しますか?")) << answer << run.Output();
        if (answer[0] == '\x04') {
            // The question shows before the editor leaves the terminal's line mode, where a
            // Ctrl-D typed in that moment is taken by the terminal: typed again until answered.
            ASSERT_TRUE(run.TypeUntil(answer, "終了を取り消しました。")) << run.Output();
            ASSERT_TRUE(run.WaitFor("> "));
        } else if (answer[0] == '\x03') {
            run.Type(answer);
            // The terminal empties its queues on Ctrl-C and may take the answer to it along.
            usleep(300000);
        } else {
            run.Type(answer);
            ASSERT_TRUE(run.WaitFor("終了を取り消しました。")) << answer << run.Output();
            ASSERT_TRUE(run.WaitFor("> ")) << answer;
        }
        EXPECT_TRUE(run.Running()) << answer;
    }
    // \quit asks the same way.
    run.Type("\\quit\r");
    ASSERT_TRUE(run.WaitFor("への変更を保存しますか?"));
    run.Type("n\r");
    int status = run.EndWith(0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << run.Output();
    EXPECT_EQ(run.Output().find("保存せずに終了します"), std::string::npos) << run.Output();
    EXPECT_TRUE(RecoveryCopies().empty());
}

TEST_F(CliTerminalTest, SavingOverAnotherFileAsksAndEnterMeansNo) {
    std::ofstream(m_dir / "other.nel") << "old";
    TerminalRun run(m_dir, {"--new"});
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(run.WaitFor("> "));
    run.Type("半径＝５\r");
    ASSERT_TRUE(run.WaitFor("太郎 >> ５"));
    for (const char* answer : {"\r", "n\r", "y\r"}) {
        ASSERT_TRUE(run.WaitFor("> ")) << run.Output();
        run.Type("\\save other\r");
        ASSERT_TRUE(run.WaitFor("other.nel はすでにあります。上書きしますか? [y/N] ")) << run.Output();
        run.Type(answer);
        if (answer[0] == 'y') {
            ASSERT_TRUE(run.WaitFor("保存しました: ")) << run.Output();
        }
    }
    ASSERT_TRUE(run.WaitFor("> ")) << run.Output();
    run.Type("\\quit\r");
    int status = run.EndWith(0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << run.Output();
    // Asked three times, saved once.
    std::size_t savedCount = 0;
    for (std::size_t p = 0; (p = run.Output().find("保存しました: ", p)) != std::string::npos; ++p) ++savedCount;
    EXPECT_EQ(savedCount, 1u) << run.Output();
    EXPECT_NE(RunPiped("other.nel", "半径＝\n").find("太郎 >> ５\n"), std::string::npos);
}

TEST_F(CliTerminalTest, ACalendarReplacesAFileOnlyAfterAYes) {
    std::ofstream(m_dir / "old.ics") << "old";
    auto contents = [this] {
        std::ifstream in(m_dir / "old.ics", std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    TerminalRun run(m_dir, {"--new"});
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(run.WaitFor("> "));
    // Enter alone keeps the file; "y" replaces it.
    for (const char* answer : {"\r", "y\r"}) {
        run.Type("\\ical old.ics\r");
        ASSERT_TRUE(run.WaitFor("old.icsファイルがあります。上書きしますか? [y/N]")) << run.Output();
        run.Type(answer);
        const bool yes = answer[0] == 'y';
        ASSERT_TRUE(run.WaitFor(yes ? "old.icsに予定を 0 件書き出しました。" : "予定の書き出しを取りやめました。"))
            << run.Output();
        ASSERT_TRUE(run.WaitFor("> "));
        EXPECT_EQ(contents() == "old", !yes);
    }
    run.Type("\\quit\r");
    int status = run.EndWith(0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << run.Output();
}

TEST_F(CliTerminalTest, CtrlCClearsTheLineAndKeepsTheSession) {
    TerminalRun run(m_dir, {"--new"});
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(run.WaitFor("> ")) << run.Output();
    run.Type("天気");
    // Ctrl-C goes in once the editor shows the line, not while it is still reading it.
    ASSERT_TRUE(run.WaitFor("天気")) << run.Output();
    run.Type("\x03");
    // The terminal empties its queues on Ctrl-C, and may take the fresh prompt with them:
    // the next keys go in a moment later instead of at the prompt.
    usleep(500000);
    run.Type("1+1\r");
    ASSERT_TRUE(run.WaitFor("花子 >> １＋１")) << run.Output();  // not 「天気１＋１」
    ASSERT_TRUE(run.WaitFor("太郎 >> ２")) << run.Output();
    ASSERT_TRUE(run.WaitFor("> ")) << run.Output();
    EXPECT_TRUE(run.Running());
    run.Type("\\quit\r");  // nothing to save: the end
    int status = run.EndWith(0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << run.Output();
}

TEST_F(CliTerminalTest, AnEndFromOutsideLeavesARecoveryCopyThatOpensWithTheWork) {
    // Two copies in the same second get names of their own.
    struct Case {
        int signo;
        const char* name;
    };
    for (Case c : {Case{SIGTERM, "無題-20030601-100000.nel"}, Case{SIGHUP, "無題-20030601-100000-2.nel"}}) {
        {
            TerminalRun run(m_dir, {"--new"});
            ASSERT_TRUE(run.Started());
            ASSERT_TRUE(run.WaitFor("> "));
            run.Type("半径＝５\r");
            ASSERT_TRUE(run.WaitFor("太郎 >> ５"));
            run.Type("田中、電話、03\r");
            ASSERT_TRUE(run.WaitFor("メモに登録しました。"));
            run.Type("明日１０時 会議\r");
            ASSERT_TRUE(run.WaitFor("太郎 >> "));
            ASSERT_TRUE(run.WaitFor("> "));
            run.Type("途中まで");  // a line being typed does not hold the program up
            int status = run.EndWith(c.signo);
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signo)
                << c.signo << " status " << status << run.Output();
            if (c.signo == SIGTERM) {
                EXPECT_TRUE(run.WaitFor("復元用のコピーに保存しました: ")) << run.Output();
            }
        }
        const fs::path copy = m_dir / "state/Vantor/Nelo" / c.name;
        ASSERT_TRUE(fs::exists(copy)) << c.name;
        EXPECT_EQ(RecoveryCopies().size(), c.signo == SIGTERM ? 1u : 2u);

        std::string out = RunPiped("'" + copy.string() + "'", "半径＝\n田中は\n予定\n");
        EXPECT_NE(out.find("太郎 >> ５\n"), std::string::npos) << out;
        EXPECT_NE(out.find("電話：03\n"), std::string::npos) << out;
        EXPECT_NE(out.find("会議"), std::string::npos) << out;
    }

    // The next start on a terminal mentions a copy once; the start after it does not.
    for (bool mentioned : {true, false}) {
        TerminalRun run(m_dir, {"--new"});
        ASSERT_TRUE(run.Started());
        ASSERT_TRUE(run.WaitFor("> "));
        // (The first copy was mentioned by the start of the run that made the second.)
        EXPECT_EQ(run.Output().find("無題-20030601-100000-2.nel") != std::string::npos, mentioned) << run.Output();
        EXPECT_EQ(run.Output().find("無題-20030601-100000.nel"), std::string::npos) << run.Output();
        run.Type("\\quit\r");
        run.EndWith(0);
    }
}

TEST_F(CliTerminalTest, NothingToSaveLeavesNoCopy) {
    TerminalRun run(m_dir, {"--new"});
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(run.WaitFor("> "));
    int status = run.EndWith(SIGTERM);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_TRUE(RecoveryCopies().empty());
}

TEST_F(CliTerminalTest, AClosedOutputEndsTheSessionWithACopy) {
    // nelo-cli | less: the pager is quit, then a line is typed.
    TerminalRun run(m_dir, {"--new"}, true);
    ASSERT_TRUE(run.Started());
    // (The line editor gives no prompt when its output is no terminal.)
    ASSERT_TRUE(run.WaitForPiped("入力例が表示されます。"));
    run.Type("田中、電話、03\r");
    ASSERT_TRUE(run.WaitForPiped("メモに登録しました。"));
    run.CloseOutputPipe();
    run.Type("1+1\r");
    int status = run.EndWith(0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE) << status << run.Output();
    EXPECT_NE(run.Output().find("復元用のコピーに保存しました: "), std::string::npos) << run.Output();
    std::vector<fs::path> copies = RecoveryCopies();
    ASSERT_EQ(copies.size(), 1u);
    std::string out = RunPiped("'" + copies[0].string() + "'", "田中は\n");
    EXPECT_NE(out.find("電話：03\n"), std::string::npos) << out;
}

// SIGTERM or SIGHUP in the middle of reading a long file ends the read, and the session
// with its recovery copy, within a moment.
TEST_F(CliTerminalTest, AnEndFromOutsideStopsALongReadAtOnce) {
    {
        std::ofstream big(m_dir / "big.txt", std::ios::binary);
        for (int i = 0; i < 2000000; ++i) big << "1+1\n";
    }
    std::ofstream(m_dir / "input", std::ios::binary) << "半径=5\n\\read big.txt\n";
    for (int signo : {SIGTERM, SIGHUP}) {
        fs::remove(m_dir / "out");
        pid_t pid = fork();
        if (pid == 0) {
            if (chdir(m_dir.c_str()) != 0) _exit(127);
            int in = open("input", O_RDONLY);
            int out = open("out", O_WRONLY | O_CREAT | O_TRUNC, 0600);
            int err = open("err", O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (in < 0 || out < 0 || err < 0) _exit(127);
            dup2(in, 0);
            dup2(out, 1);
            dup2(err, 2);
            setenv("NELO_NOW", "2003-06-01 10:00:00", 1);
            setenv("XDG_CONFIG_HOME", (m_dir / "xdg").c_str(), 1);
            setenv("XDG_STATE_HOME", (m_dir / "state").c_str(), 1);
            execl(NELO_CLI, NELO_CLI, "--new", static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(pid, 0);
        // Well into the read: the answers have begun.
        for (int i = 0; i < 500 && (!fs::exists(m_dir / "out") || fs::file_size(m_dir / "out") < 200000); ++i)
            usleep(10000);
        ASSERT_GE(fs::file_size(m_dir / "out"), 200000u);
        auto sent = std::chrono::steady_clock::now();
        kill(pid, signo);
        int status = 0;
        waitpid(pid, &status, 0);
        auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - sent);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signo) << status;
        EXPECT_LT(took.count(), 1000) << signo;
        // Stopped well before the end of the file.
        EXPECT_LT(fs::file_size(m_dir / "out"), 2000000u * 20) << signo;
    }
    EXPECT_EQ(RecoveryCopies().size(), 2u);
}

TEST_F(CliTerminalTest, CtrlCCancelsAReadAndKeepsTheSession) {
    {
        std::ofstream big(m_dir / "big.txt", std::ios::binary);
        for (int i = 0; i < 2000000; ++i) big << "1+1\n";
    }
    TerminalRun run(m_dir, {"--new"});
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(run.WaitFor("> "));
    run.Type("\\read big.txt\r");
    ASSERT_TRUE(run.WaitFor("太郎 >> ２"));
    run.Type("\x03");
    ASSERT_TRUE(run.WaitFor("テキスト読込みを取り消しました（")) << run.Output().substr(run.Output().size() - 300);
    ASSERT_TRUE(run.WaitFor(" / 2000000 行）。"));
    ASSERT_TRUE(run.WaitFor("> "));
    usleep(300000);
    run.Type("2*3\r");
    ASSERT_TRUE(run.WaitFor("太郎 >> ６"));
    run.Type("\\quit\r");
    int status = run.EndWith(0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

// Control characters in the notebook's text (a window title, a screen clear, a
// clipboard write) are shown at the terminal, never sent to it; a pipe gets them as
// they are.
TEST_F(CliTerminalTest, ControlCharactersAreShownNotSent) {
    const std::string hostile = "題\x1b]0;owned\x07、消\x1b[2J、\x1b]52;c;ZXZpbA==\x07";
    std::ofstream(m_dir / "hostile.txt", std::ios::binary) << hostile << "\n";
    TerminalRun run(m_dir, {"--new"});
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(run.WaitFor("> "));
    run.Type("\\read hostile.txt\r");
    ASSERT_TRUE(run.WaitFor("メモに登録しました。"));
    ASSERT_TRUE(run.WaitFor("> "));
    run.Type("\\memos\r");
    ASSERT_TRUE(run.WaitFor("> "));
    run.Type("\\quit\r");
    run.Type("n\r");
    run.EndWith(0);
    const std::string& out = run.Output();
    EXPECT_EQ(out.find('\x1b'), std::string::npos) << out;
    EXPECT_EQ(out.find('\x07'), std::string::npos) << out;
    // The echo, and the object in the memo list (5 and 2 controls).
    EXPECT_NE(out.find("題^[]0;owned^G、消^[[2J、^[]52;c;ZXZpbA==^G"), std::string::npos) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '^'), 5 + 2) << out;

    std::string piped = RunPiped("--new", "\\read hostile.txt\n");
    EXPECT_NE(piped.find("題\x1b]0;owned\x07、"), std::string::npos) << piped;
}

}  // namespace
