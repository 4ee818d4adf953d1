// Two nelo-cli processes on one notebook file: the later save must not silently drop
// what the other one wrote.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class CliSharedFileTest : public testing::Test {
protected:
    CliSharedFileTest() {
        static int s_n = 0;
        m_dir = fs::temp_directory_path() / ("nelo-shared-" + std::to_string(::getpid()) + "-" + std::to_string(++s_n));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "xdg");
    }
    ~CliSharedFileTest() override { fs::remove_all(m_dir); }

    /// The shell command that runs nelo-cli in the test folder with stdin, stdout and
    /// stderr redirected to the given names.
    std::string Command(const std::string& args, const std::string& in, const std::string& out,
                        const std::string& err) {
        return "cd '" + m_dir.string() + "' && NELO_NOW='2003-06-01 10:00:00' TZ=UTC0 XDG_CONFIG_HOME='" +
               (m_dir / "xdg").string() + "' '" + NELO_CLI + "' " + args + " < " + in + " > " + out + " 2> " + err;
    }
    /// Runs nelo-cli to the end with input on stdin; its exit status.
    int Run(const std::string& args, const std::string& input, const std::string& name) {
        std::ofstream(m_dir / (name + ".in"), std::ios::binary) << input;
        int rc = std::system(Command(args, name + ".in", name + ".out", name + ".err").c_str());
        return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }
    std::string ReadText(const std::string& name) {
        std::ifstream in(m_dir / name, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    static void WriteAll(int fd, const std::string& text) {
        ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }

    fs::path m_dir;
};

TEST_F(CliSharedFileTest, TheLaterSaveInAPipeIsRefusedAndKeepsTheOtherOne) {
    ASSERT_EQ(Run("--new", "元、k、1\n\\save note.nel\n", "make"), 0);

    // The first process opens note.nel and then waits for its input on a pipe.
    const std::string fifo = (m_dir / "feed").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        std::string cmd = Command("note.nel", "feed", "first.out", "first.err");
        execl("/bin/sh", "sh", "-c", cmd.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int fd = open(fifo.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    // An unknown command answers on stderr at once: the file has been read by then.
    WriteAll(fd, "一、k、2\n\\nothing\n");
    for (int i = 0; i < 500 && ReadText("first.err").find("不明なコマンド") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_NE(ReadText("first.err").find("不明なコマンド"), std::string::npos);

    // A second process saves the same file meanwhile.
    ASSERT_EQ(Run("note.nel", "二、k、3\n\\save\n", "second"), 0);
    const std::string saved = ReadText("note.nel");

    // The first one's save is refused with the reason, and its notebook stays unsaved.
    WriteAll(fd, "\\save\n");
    close(fd);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    // Its last save failed: the script that fed it learns so from the status.
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
    const std::string err = ReadText("first.err");
    EXPECT_NE(err.find((m_dir / "note.nel").string() + " はほかのプログラムで変更されています。上書きせずに保存を取りや"
                                                       "めました（入力が端末ではないため確認できません）。"),
              std::string::npos)
        << err;
    EXPECT_EQ(err.find("保存しました"), std::string::npos) << err;
    EXPECT_EQ(ReadText("note.nel"), saved);

    // The file holds the second process's memo, not the first one's.
    ASSERT_EQ(Run("note.nel", "二は\n一は\n", "check"), 0);
    const std::string out = ReadText("check.out");
    EXPECT_NE(out.find("花子 >> 二\n太郎 >> 次のようなメモがあります。\nk：3\n"), std::string::npos) << out;
    EXPECT_NE(out.find("花子 >> 一\n太郎 >> メモに登録されていません。"), std::string::npos) << out;
}

}  // namespace
