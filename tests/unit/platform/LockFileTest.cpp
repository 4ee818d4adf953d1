#include "platform/LockFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/file.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

using namespace nelo;

namespace fs = std::filesystem;

namespace {

class LockFileTest : public testing::Test {
protected:
    LockFileTest() {
        m_dir = fs::temp_directory_path() / ("nelo-lock-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "runtime");
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        if (old) m_oldRuntime = old;
        setenv("XDG_RUNTIME_DIR", (m_dir / "runtime").c_str(), 1);
    }
    ~LockFileTest() override {
        if (m_oldRuntime.empty())
            unsetenv("XDG_RUNTIME_DIR");
        else
            setenv("XDG_RUNTIME_DIR", m_oldRuntime.c_str(), 1);
        fs::remove_all(m_dir);
    }
    std::string Path(const char* name) const { return (m_dir / name).string(); }
    static void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

    /// The id of a process that has ended.
    static pid_t DeadPid() {
        const pid_t pid = fork();
        if (pid == 0) _exit(0);
        waitpid(pid, nullptr, 0);
        return pid;
    }

    fs::path m_dir;
    std::string m_oldRuntime;
};

TEST_F(LockFileTest, OneHolderAtATimeAndTheFileNamesIt) {
    const std::string path = Path("a.lock");
    LockFile first(path);
    ASSERT_EQ(first.TryLock(), LockResult::Taken);
    EXPECT_TRUE(fs::exists(path));
    LockOwner written;
    ASSERT_TRUE(LockFile::ReadOwner(path, written));
    const LockOwner me = LockFile::ThisProcess();
    EXPECT_EQ(written.pid, getpid());
    EXPECT_EQ(written.program, "test_platform");
    EXPECT_EQ(written.host, me.host);
    EXPECT_EQ(written.bootId, me.bootId);

    // A second lock on the same file, in this process or another, is refused.
    LockFile second(path);
    EXPECT_EQ(second.TryLock(), LockResult::Held);
    EXPECT_EQ(second.GetHolder().pid, getpid());
    EXPECT_FALSE(second.IsLocked());

    first.Unlock();
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(second.TryLock(), LockResult::Taken);
}

TEST_F(LockFileTest, LeftoversOfProcessesThatEndedAreTakenOver) {
    const LockOwner me = LockFile::ThisProcess();
    const std::string id = std::to_string(getpid());
    const std::string same = me.host + "\n" + me.machineId + "\n" + me.bootId + "\n";
    struct Row {
        const char* name;
        std::string text;
        int ageSeconds;
        LockResult expected;
    };
    const Row rows[] = {
        {"a process that ended", std::to_string(DeadPid()) + "\nnelo\n" + same, 0, LockResult::Taken},
        {"its id now runs another program", id + "\nnelo-not-this\n" + same, 0, LockResult::Taken},
        {"before the last boot", id + "\ntest_platform\n" + me.host + "\n" + me.machineId + "\nother-boot\n", 0,
         LockResult::Taken},
        {"written by an older program (three lines)", std::to_string(DeadPid()) + "\nnelo\n" + me.host + "\n", 0,
         LockResult::Taken},
        {"a running holder", id + "\ntest_platform\n" + same, 0, LockResult::Held},
        {"another machine, which cannot be looked at", std::to_string(DeadPid()) + "\nnelo\nelsewhere\nffff\nb\n", 0,
         LockResult::Held},
        {"unreadable, being written this moment", "", 0, LockResult::Held},
        {"unreadable and old", "garbage", 3600, LockResult::Taken},
    };
    for (const Row& r : rows) {
        const std::string path = Path("b.lock");
        Write(path, r.text);
        if (r.ageSeconds > 0)
            fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::seconds(r.ageSeconds));
        LockFile lock(path);
        EXPECT_EQ(lock.TryLock(), r.expected) << r.name;
        lock.Unlock();
        fs::remove(path);
        EXPECT_FALSE(fs::exists(path + ".rmlock")) << r.name;
    }
}

TEST_F(LockFileTest, AFileStillFlockedIsNotRemovedWhateverItSays) {
    // A holder that runs where its process id means nothing here (another process
    // namespace) still holds flock(2) on the file.
    const std::string path = Path("c.lock");
    Write(path, std::to_string(DeadPid()) + "\nnelo\n\n\n\n");
    const int fd = open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
    // flock(2) is per open file: a descriptor of its own conflicts even in this process.
    LockFile lock(path);
    EXPECT_EQ(lock.TryLock(), LockResult::Held);
    EXPECT_TRUE(fs::exists(path));
    close(fd);
    EXPECT_EQ(lock.TryLock(), LockResult::Taken);
}

TEST_F(LockFileTest, ANotebookHasOneLockWhateverItsPathLooksLike) {
    fs::create_directories(m_dir / "notes");
    Write(Path("notes/memo.nel"), "x");
    fs::create_directory_symlink(m_dir / "notes", m_dir / "link");
    const std::string direct = NotebookLockPath(ResolvedPath(Path("notes/memo.nel")));
    ASSERT_FALSE(direct.empty());
    EXPECT_EQ(direct.rfind((m_dir / "runtime" / "nelo").string() + "/memo.nel-", 0), 0u) << direct;
    EXPECT_EQ(NotebookLockPath(ResolvedPath(Path("link/memo.nel"))), direct);
    // A notebook not written yet: its folder is resolved.
    EXPECT_EQ(NotebookLockPath(ResolvedPath(Path("link/new.nel"))),
              NotebookLockPath(ResolvedPath(Path("notes/new.nel"))));
    EXPECT_NE(NotebookLockPath(ResolvedPath(Path("notes/other.nel"))), direct);
    // Without a runtime folder the locks live in the state folder.
    unsetenv("XDG_RUNTIME_DIR");
    const char* state = std::getenv("XDG_STATE_HOME");
    setenv("XDG_STATE_HOME", (m_dir / "state").c_str(), 1);
    EXPECT_EQ(LockFolder(), (m_dir / "state" / "Vantor" / "Nelo" / "locks").string());
    EXPECT_TRUE(fs::is_directory(m_dir / "state" / "Vantor" / "Nelo" / "locks"));
    if (state)
        setenv("XDG_STATE_HOME", state, 1);
    else
        unsetenv("XDG_STATE_HOME");
}

}  // namespace
