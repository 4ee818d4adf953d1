// A save killed at any of its system calls loses nothing: the notebook opens with its
// old or its new content, or, when it was being written in place, the copy of its old
// content is offered back and opens; and the next save leaves no temporary file and no
// copy behind.
#include "app/NotebookSession.h"

#include "notebook/NotebookSerialize.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/SideFiles.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <grp.h>
#include <memory>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace nelo;

namespace fs = std::filesystem;

namespace {

constexpr std::time_t kNow = 1054461600;  // 2003-06-01 10:00:00 UTC
const std::string kQuestion = "前回の保存が途中で終わりました。保存前の内容を開きますか?"_sj;

/// Answers Yes to every question and keeps what it was shown.
class YesBox : public MessageBox {
public:
    MbAnswer Show(const std::string& text, const std::string&, MbButtons buttons, MbIcon) override {
        m_shown.push_back(text);
        return buttons == MbButtons::Ok ? MbAnswer::Ok : m_answer;
    }
    MbAnswer m_answer = MbAnswer::Yes;
    std::vector<std::string> m_shown;
};

/// A save whose process is killed at its n-th system call that changes a file, and
/// that can write down which calls it made on which file.
class KilledFile : public AtomicFile {
public:
    KilledFile(int killAt, std::string target, std::vector<std::string>* log)
        : m_killAt(killAt), m_target(std::move(target)), m_log(log) {}

protected:
    ssize_t SysWrite(int fd, const char* p, std::size_t n) override {
        Step("write", fd);
        return AtomicFile::SysWrite(fd, p, n);
    }
    ssize_t SysWriteAt(int fd, const char* p, std::size_t n, off_t offset) override {
        Step("write", fd);
        return AtomicFile::SysWriteAt(fd, p, n, offset);
    }
    int SysSync(int fd) override {
        Step("sync", fd);
        return AtomicFile::SysSync(fd);
    }
    int SysTruncate(int fd, off_t size) override {
        Step("truncate", fd);
        return AtomicFile::SysTruncate(fd, size);
    }
    int SysChmod(int fd, mode_t mode) override {
        Step("chmod", fd);
        return AtomicFile::SysChmod(fd, mode);
    }
    int SysLink(int fd, const std::string& from, const std::string& to) override {
        Step("name", fd);
        return AtomicFile::SysLink(fd, from, to);
    }
    int SysRename(const char* from, const char* to) override {
        Step("rename", -1);
        return AtomicFile::SysRename(from, to);
    }
    int SysUnlink(const char* path) override {
        struct stat st;
        Step(stat(path, &st) == 0 && IsTarget(st) ? "remove target" : "remove copy", -1);
        return AtomicFile::SysUnlink(path);
    }

private:
    bool IsTarget(const struct stat& st) const {
        struct stat t;
        return stat(m_target.c_str(), &t) == 0 && t.st_ino == st.st_ino && t.st_dev == st.st_dev;
    }
    void Step(const char* call, int fd) {
        if (++m_calls == m_killAt) raise(SIGKILL);
        if (!m_log) return;
        std::string entry = call;
        struct stat st;
        if (fd >= 0 && fstat(fd, &st) == 0)
            entry += S_ISDIR(st.st_mode) ? " folder" : IsTarget(st) ? " target" : " other";
        // Runs of the same call on the same file count as one.
        if (m_log->empty() || m_log->back() != entry) m_log->push_back(entry);
    }

    int m_killAt;
    std::string m_target;
    std::vector<std::string>* m_log;
    int m_calls = 0;
};

enum class Layout { SingleName, HardLinked, AnotherUsers };

struct LayoutRow {
    const char* name;
    Layout layout;
};

class InterruptedSaveTest : public testing::Test {
protected:
    InterruptedSaveTest() : m_clock(kNow) {
        SetCurrentClock(&m_clock);
        static int s_n = 0;
        m_dir = fs::temp_directory_path() / ("nelo-killed-" + std::to_string(::getpid()) + "-" + std::to_string(++s_n));
    }
    ~InterruptedSaveTest() override {
        SetCurrentClock(nullptr);
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    std::string File(const std::string& name) const { return (m_dir / name).string(); }

    /// A notebook of n memos with long values, so that saving it takes many writes.
    static std::string NotebookBytes(int n, const char* object) {
        Notebook notebook;
        std::string answer;
        for (int i = 0; i < n; ++i)
            notebook.RegisterMemo(answer, object + std::to_string(i) + "、値、"_sj + std::string(100, 'v'));
        return SaveNotebookBytes(notebook);
    }

    /// A fresh folder holding note.nel with bytes, laid out as the row says.
    void MakeFolder(Layout layout, const std::string& bytes) {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
        fs::create_directories(m_dir);
        std::string error;
        ASSERT_TRUE(WriteFileAtomically(File("note.nel"), bytes, error)) << error;
        if (layout == Layout::HardLinked) fs::create_hard_link(File("note.nel"), File("twin.nel"));
        if (layout == Layout::AnotherUsers) {
            // The superuser's file that everybody may write, saved by nobody: a new file
            // could not be given its owner, so it is written in place.
            ASSERT_EQ(chmod(m_dir.c_str(), 0777), 0);
            ASSERT_EQ(chmod(File("note.nel").c_str(), 0666), 0);
        }
    }

    /// Opens note.nel, replaces its content with newBytes' notebook and saves it in a
    /// child process that is killed at the n-th call of the save; the child's wait status.
    int SaveInChild(Layout layout, int killAt, const std::string& newBytes, std::vector<std::string>* log) {
        pid_t pid = fork();
        if (pid == 0) {
            if (layout == Layout::AnotherUsers &&
                (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
                _exit(99);
            Profile profile(File("profile-" + std::to_string(getpid()) + ".conf"));
            YesBox box;
            NotebookSession app(profile, box);
            if (!app.OpenNotebookFile(File("note.nel"))) _exit(98);
            Notebook loaded;
            LoadNotebookBytes(loaded, newBytes);
            TakeFileContents(app.GetNotebook(), loaded);
            app.GetNotebook().SetModifiedFlag(true);
            const std::string target = File("note.nel");
            app.SetFileFactory([&] { return std::make_unique<KilledFile>(killAt, target, log); });
            _exit(app.DoFileSave() ? 0 : 97);
        }
        int status = 0;
        if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
        return status;
    }

    /// The side files in the folder (temporary files and copies of old content).
    std::vector<std::string> SideFilesLeft() const {
        std::vector<std::string> left;
        for (const auto& e : fs::directory_iterator(m_dir)) {
            const std::string name = e.path().filename().string();
            if (name.find(".tmp") != std::string::npos || name.find(".bak") != std::string::npos) left.push_back(name);
        }
        return left;
    }

    FixedClock m_clock;
    fs::path m_dir;
};

TEST_F(InterruptedSaveTest, AKillAtAnyCallOfASaveLosesNothing) {
    const std::string oldBytes = NotebookBytes(3000, "古"_sj);
    const std::string newBytes = NotebookBytes(2000, "新"_sj);
    ASSERT_GT(oldBytes.size(), 4 * 65536u);
    const LayoutRow rows[] = {
        {"single name", Layout::SingleName},
        {"hard-linked", Layout::HardLinked},
        {"another user's", Layout::AnotherUsers},
    };
    for (const LayoutRow& r : rows) {
        SCOPED_TRACE(r.name);
        if (r.layout == Layout::AnotherUsers && geteuid() != 0) continue;  // needs to change the user
        int oldCount = 0, newCount = 0, offeredCount = 0, kills = 0;
        for (int k = 1;; ++k) {
            MakeFolder(r.layout, oldBytes);
            const int status = SaveInChild(r.layout, k, newBytes, nullptr);
            ASSERT_TRUE(WIFEXITED(status) || WIFSIGNALED(status)) << k;
            if (WIFEXITED(status)) {
                // The save ran to its end before its k-th call: every call has been tried.
                ASSERT_EQ(WEXITSTATUS(status), 0) << k;
                break;
            }
            ASSERT_EQ(WTERMSIG(status), SIGKILL) << k;
            ++kills;

            Profile profile(File("check.conf"));
            YesBox box;
            NotebookSession app(profile, box);
            ASSERT_TRUE(app.OpenNotebookFile(File("note.nel"))) << "killed at call " << k;
            std::string onDisk, error;
            ASSERT_TRUE(ReadWholeFile(File("note.nel"), onDisk, error));
            const bool offered = !box.m_shown.empty();
            if (offered) {
                // A mixed file: the copy made before the first byte holds the old content.
                ASSERT_EQ(box.m_shown, std::vector<std::string>{kQuestion}) << k;
                EXPECT_EQ(SaveNotebookBytes(app.GetNotebook()), oldBytes) << k;
                EXPECT_TRUE(app.GetNotebook().IsModified()) << k;
                EXPECT_EQ(app.GetPathName(), File("note.nel")) << k;
                ++offeredCount;
            } else {
                EXPECT_TRUE(onDisk == oldBytes || onDisk == newBytes) << "killed at call " << k;
                (onDisk == oldBytes ? oldCount : newCount)++;
            }
            if (r.layout == Layout::HardLinked) {
                EXPECT_TRUE(fs::equivalent(File("note.nel"), File("twin.nel"))) << k;
            }

            // The next save of the notebook writes it whole and cleans what the killed
            // one left.
            app.GetNotebook().SetModifiedFlag(true);
            ASSERT_TRUE(app.DoFileSave()) << k;
            EXPECT_EQ(SideFilesLeft(), std::vector<std::string>{}) << "killed at call " << k;
            ASSERT_TRUE(ReadWholeFile(File("note.nel"), onDisk, error));
            EXPECT_EQ(onDisk, SaveNotebookBytes(app.GetNotebook())) << k;
        }
        std::printf("%s: %d kills, one at every call of the save: %d old content, %d new, %d offered back, 0 lost\n",
                    r.name, kills, oldCount, newCount, offeredCount);
        EXPECT_GT(kills, 5);
        EXPECT_EQ(oldCount + newCount + offeredCount, kills);
        // Written in place, some kills fall between the first and the last byte.
        if (r.layout != Layout::SingleName) {
            EXPECT_GT(offeredCount, 0);
        }
    }
}

TEST_F(InterruptedSaveTest, AnInPlaceSaveHasItsCopyOnDiskBeforeTheFirstByteAndRemovesItLast) {
    const std::string oldBytes = NotebookBytes(10, "古"_sj);
    MakeFolder(Layout::HardLinked, oldBytes);
    std::vector<std::string> log;
    {
        Profile profile(File("p.conf"));
        YesBox box;
        NotebookSession app(profile, box);
        ASSERT_TRUE(app.OpenNotebookFile(File("note.nel")));
        std::string answer;
        app.GetNotebook().RegisterMemo(answer, "新、a、b"_sj);
        app.GetNotebook().SetModifiedFlag(true);
        const std::string target = File("note.nel");
        app.SetFileFactory([&] { return std::make_unique<KilledFile>(0, target, &log); });
        ASSERT_TRUE(app.DoFileSave());
    }
    const std::vector<std::string> expected = {
        "write other",      // the old content into the copy
        "sync other",       // ... onto the disk
        "name other",       // the copy gets its name
        "sync folder",      // ... and the name is on the disk
        "write target",     // only now the notebook itself
        "truncate target",  //
        "sync target",      // the new content on the disk
        "remove copy",      // and then the copy goes
        "sync folder",
    };
    EXPECT_EQ(log, expected);
}

TEST_F(InterruptedSaveTest, TheCopyIsOfferedOnlyWhenItLoadsAndTheAnswerIsYes) {
    const std::string oldBytes = NotebookBytes(10, "古"_sj);
    struct Row {
        const char* name;
        std::string copy;  // content of the copy beside the damaged notebook
        MbAnswer answer;
        bool opened;
        std::size_t shownCount;
    } rows[] = {
        {"accepted", oldBytes, MbAnswer::Yes, true, 1},
        {"declined", oldBytes, MbAnswer::No, false, 2},
        {"a copy that does not load is not offered", oldBytes.substr(0, 20), MbAnswer::Yes, false, 1},
    };
    for (const Row& r : rows) {
        MakeFolder(Layout::SingleName, "\x04\x91\xBE\x98 damaged");
        std::string copy;
        const int fd = CreateSideFile(SideFilePrefix(File("note.nel"), SideFileKind::Backup), 0600, copy);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(write(fd, r.copy.data(), r.copy.size()), static_cast<ssize_t>(r.copy.size()));
        close(fd);
        Profile profile(File("p.conf"));
        {
            // Its end gives up the notebook's lock, so the next open is not asked about it.
            YesBox box;
            box.m_answer = r.answer;
            NotebookSession app(profile, box);
            EXPECT_EQ(app.OpenNotebookFile(File("note.nel")), r.opened) << r.name;
            ASSERT_EQ(box.m_shown.size(), r.shownCount) << r.name;
            if (r.copy == oldBytes) {
                EXPECT_EQ(box.m_shown[0], kQuestion) << r.name;
            }
            if (!r.opened) {
                EXPECT_EQ(box.m_shown.back(), NotebookSession::FormatErrorText()) << r.name;
            }
        }

        // Nobody to ask: the file is refused and the copy named.
        YesBox piped;
        NotebookSession unattended(profile, piped);
        unattended.SetUnattended(true);
        EXPECT_FALSE(unattended.OpenNotebookFile(File("note.nel"))) << r.name;
        if (r.copy == oldBytes) {
            ASSERT_EQ(piped.m_shown.size(), 2u) << r.name;
            EXPECT_EQ(piped.m_shown[1], "前回の保存が途中で終わりました。保存前の内容が残っています: "_sj + copy);
        }
        // The copy stays until a save of the notebook succeeds.
        EXPECT_TRUE(fs::exists(copy)) << r.name;
    }
}

TEST_F(InterruptedSaveTest, OnlyTheLeftoversOfSavesThatEndedAreRemoved) {
    MakeFolder(Layout::SingleName, NotebookBytes(1, "古"_sj));
    const std::string tmpPrefix = SideFilePrefix(File("note.nel"), SideFileKind::Temporary);
    const std::string bakPrefix = SideFilePrefix(File("note.nel"), SideFileKind::Backup);
    std::string deadTmp, deadBak, liveTmp, otherTmp;
    for (auto [prefix, path] : {std::pair{tmpPrefix, &deadTmp},
                                {bakPrefix, &deadBak},
                                {tmpPrefix, &liveTmp},
                                {SideFilePrefix(File("other.nel"), SideFileKind::Temporary), &otherTmp}}) {
        int fd = CreateSideFile(prefix, 0600, *path);
        ASSERT_GE(fd, 0);
        close(fd);
    }
    // A save running in another process holds its temporary file.
    const int held = open(liveTmp.c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);

    std::string error;
    ASSERT_TRUE(WriteFileAtomically(File("note.nel"), "new", error)) << error;
    EXPECT_FALSE(fs::exists(deadTmp));
    EXPECT_FALSE(fs::exists(deadBak));
    EXPECT_TRUE(fs::exists(liveTmp));
    EXPECT_TRUE(fs::exists(otherTmp));  // another notebook's
    close(held);
}

}  // namespace
