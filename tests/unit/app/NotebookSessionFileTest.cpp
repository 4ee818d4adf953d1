#include "app/NotebookSession.h"

#include "notebook/NotebookSerialize.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "schedule/ScheduleEntry.h"
#include "text/Sjis.h"
#include "transcript/TranscriptView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <deque>
#include <functional>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace nelo;

namespace fs = std::filesystem;

namespace {

constexpr std::time_t kNow = 1054461600;  // 2003-06-01 10:00:00 UTC

class AnswerBox : public MessageBox {
public:
    MbAnswer Show(const std::string& text, const std::string&, MbButtons buttons, MbIcon) override {
        m_shown.push_back(text);
        if (buttons == MbButtons::Ok) return MbAnswer::Ok;
        if (m_answers.empty()) {
            ADD_FAILURE() << "unexpected question";
            return MbAnswer::Cancel;
        }
        MbAnswer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    std::deque<MbAnswer> m_answers;
    std::vector<std::string> m_shown;
};

class NotebookSessionFileTest : public testing::Test {
protected:
    NotebookSessionFileTest() : m_clock(kNow) {
        SetCurrentClock(&m_clock);
        static int s_n = 0;
        m_dir = fs::temp_directory_path() / ("nelo-file-" + std::to_string(::getpid()) + "-" + std::to_string(++s_n));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_profile = std::make_unique<Profile>((m_dir / "profile.conf").string());
        m_app = std::make_unique<NotebookSession>(*m_profile, m_box);
        m_app->GetNotebook().AddListener(&m_view);
    }
    ~NotebookSessionFileTest() override {
        m_app->GetNotebook().RemoveListener(&m_view);
        SetCurrentClock(nullptr);
        fs::remove_all(m_dir);
    }
    std::string File(const std::string& name) const { return (m_dir / name).string(); }
    Notebook& Doc() { return m_app->GetNotebook(); }

    /// A notebook with one variable, one memo and one schedule that ended 25 hours ago.
    std::string WriteNotebook(const std::string& name) {
        Notebook notebook;
        notebook.GetCalculator().AddVariable(Variable("x", 3.0));
        std::string answer;
        notebook.RegisterMemo(answer, "山田、電話、1"_sj);
        const auto pastTime = static_cast<std::int32_t>(kNow - 25 * 3600);
        notebook.GetScheduleBook().AddSchedule(std::make_unique<ScheduleEntry>(pastTime, pastTime, "past", "", ""));
        std::string error;
        EXPECT_TRUE(WriteFileAtomically(File(name), SaveNotebookBytes(notebook), error));
        return File(name);
    }

    FixedClock m_clock;
    fs::path m_dir;
    AnswerBox m_box;
    TextTranscript m_view;
    std::unique_ptr<Profile> m_profile;
    std::unique_ptr<NotebookSession> m_app;
};

TEST_F(NotebookSessionFileTest, OpenReplacesTheContentsButKeepsTheMemoryRegister) {
    std::string path = WriteNotebook("a.nel");
    m_app->OnFileNew();
    std::string answer;
    Doc().GetCalculator().Calculate(answer, "４２"_sj);
    ASSERT_EQ(answer, "４２"_sj);
    Doc().RegisterMemo(answer, "古い、a、b"_sj);
    ASSERT_TRUE(m_app->OpenWithQuestion(path));
    EXPECT_EQ(Doc().GetCalculator().GetMemory(), 42);
    EXPECT_EQ(Doc().GetMemos().Lookup("古い"_sj), nullptr);
    EXPECT_NE(Doc().GetMemos().Lookup("山田"_sj), nullptr);
    EXPECT_NE(Doc().GetCalculator().FindVariable("x"), nullptr);
    // The schedule that ended 25 hours ago is gone and the welcome says so.
    EXPECT_TRUE(Doc().GetScheduleBook().GetSchedules().empty());
    EXPECT_NE(m_view.GetText().find("過去の予定を削除しました。\r\n"_sj), std::string::npos);
    EXPECT_EQ(m_app->GetPathName(), path);
    EXPECT_EQ(m_app->GetTitle(), "a.nel");
    EXPECT_FALSE(Doc().IsModified());
}

struct BadOpenRow {
    const char* name;
    std::string bytes;
    bool formatError;
};

TEST_F(NotebookSessionFileTest, AFileThatFailsLeavesTheDocumentAsItWas) {
    const BadOpenRow rows[] = {
        {"cut off", std::string("\x04\x91\xBE\x98", 4), true},
        {"wrong class", std::string("\0\0\1\0\1a\xFF\xFF\2\0\5\0CMemo", 16), true},
        {"missing", std::string(), false},
    };
    for (const BadOpenRow& r : rows) {
        m_app->OnFileNew();
        Doc().GetCalculator().AddVariable(Variable("keep", 1.0));
        Doc().SetNames(Doc().GetResponderName(), "利用者"_sj);
        Doc().SetModifiedFlag(true);
        m_box.m_shown.clear();
        std::string path = File(std::string(r.name) + ".nel");
        if (r.formatError) {
            std::string error;
            ASSERT_TRUE(WriteFileAtomically(path, r.bytes, error));
        }
        EXPECT_FALSE(m_app->OpenNotebookFile(path)) << r.name;
        EXPECT_NE(Doc().GetCalculator().FindVariable("keep"), nullptr) << r.name;
        EXPECT_EQ(Doc().GetUserName(), "利用者"_sj) << r.name;
        EXPECT_TRUE(Doc().IsModified()) << r.name;
        EXPECT_TRUE(m_app->GetPathName().empty()) << r.name;
        ASSERT_EQ(m_box.m_shown.size(), 1u) << r.name;
        if (r.formatError) {
            EXPECT_EQ(m_box.m_shown[0], "予期しないﾌｧｲﾙ形式です。"_sj) << r.name;
        }
    }
}

// A file whose system calls fail at a chosen step: writing (after a given number of
// bytes, the last write before it cut short), syncing a file or the folder, setting the
// permissions or renaming, or an exception thrown from inside a write.
class FailingFile : public AtomicFile {
public:
    enum class Step { Write, Throw, Sync, FolderSync, Chmod, Rename };
    FailingFile(Step step, std::size_t failAt, int errorNumber)
        : m_step(step), m_failAt(failAt), m_errno(errorNumber) {}

protected:
    ssize_t SysWrite(int fd, const char* p, std::size_t n) override {
        if (m_step == Step::Write || m_step == Step::Throw) {
            if (m_written >= m_failAt) {
                if (m_step == Step::Throw) throw std::bad_alloc();
                errno = m_errno;
                return -1;
            }
            n = std::min(n, m_failAt - m_written);
        }
        ssize_t w = AtomicFile::SysWrite(fd, p, n);
        if (w > 0) m_written += static_cast<std::size_t>(w);
        return w;
    }
    int SysSync(int fd) override {
        struct stat st;
        const bool isFolder = fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
        if (m_step != (isFolder ? Step::FolderSync : Step::Sync)) return AtomicFile::SysSync(fd);
        errno = m_errno;
        return -1;
    }
    int SysChmod(int fd, mode_t mode) override {
        if (m_step != Step::Chmod) return AtomicFile::SysChmod(fd, mode);
        errno = m_errno;
        return -1;
    }
    int SysRename(const char* from, const char* to) override {
        if (m_step != Step::Rename) return AtomicFile::SysRename(from, to);
        errno = m_errno;
        return -1;
    }

private:
    Step m_step;
    std::size_t m_failAt;
    int m_errno;
    std::size_t m_written = 0;
};

struct FailedSaveRow {
    const char* name;
    FailingFile::Step step;
    std::size_t failAt;  // bytes written before a write fails
    int errorNumber;
    const char* reason;  // in the message
};

TEST_F(NotebookSessionFileTest, AFailedSaveKeepsTheOldFileAndTheModifiedState) {
    const FailedSaveRow rows[] = {
        {"first write", FailingFile::Step::Write, 0, ENOSPC, "No space left on device"},
        {"short write, then a full disk", FailingFile::Step::Write, 100000, ENOSPC, "No space left on device"},
        {"input/output error late in the file", FailingFile::Step::Write, 250000, EIO, "Input/output error"},
        {"exception in the middle", FailingFile::Step::Throw, 70000, 0, "out of memory"},
        {"sync", FailingFile::Step::Sync, 0, EIO, "Input/output error"},
        {"rename", FailingFile::Step::Rename, 0, EACCES, "Permission denied"},
    };
    // A file with a second hard link is written in place, its old content in a copy beside it.
    for (bool linked : {false, true})
        for (const FailedSaveRow& r : rows) {
            SCOPED_TRACE(linked ? "hard-linked" : "single name");
            if (linked && r.step == FailingFile::Step::Rename) continue;  // written in place: nothing renamed
            fs::remove_all(m_dir);
            fs::create_directories(m_dir);
            m_app->SetFileFactory(nullptr);
            std::string path = File("keep.nel");
            m_app->OnFileNew();
            ASSERT_TRUE(m_app->SaveNotebookTo(path)) << r.name;
            if (linked) fs::create_hard_link(path, File("twin.nel"));
            std::string before, error;
            ASSERT_TRUE(ReadWholeFile(path, before, error));

            // Far more than the archive buffers at once, so a save writes many times.
            Doc().GetCalculator().AddVariable(Variable("y", 2.0));
            Doc().GetCalculator().SetChanged();
            std::string answer;
            for (int i = 0; i < 3000; ++i)
                Doc().RegisterMemo(answer, "名前"_sj + std::to_string(i) + "、値、"_sj + std::string(100, 'v'));
            Doc().SetModifiedFlag(true);
            const std::string wanted = SaveNotebookBytes(Doc());
            ASSERT_GT(wanted.size(), 300000u);

            m_box.m_shown.clear();
            m_app->SetFileFactory([&r] { return std::make_unique<FailingFile>(r.step, r.failAt, r.errorNumber); });
            EXPECT_FALSE(m_app->DoFileSave()) << r.name;
            EXPECT_FALSE(m_app->SaveNotebookTo(File("other.nel"))) << r.name;
            EXPECT_TRUE(Doc().IsModified()) << r.name;
            EXPECT_TRUE(Doc().GetCalculator().IsChanged()) << r.name;
            EXPECT_EQ(m_app->GetPathName(), path) << r.name;
            std::string after;
            ASSERT_TRUE(ReadWholeFile(path, after, error));
            EXPECT_EQ(after, before) << r.name;
            EXPECT_FALSE(fs::exists(File("other.nel"))) << r.name;
            if (linked) {
                ASSERT_TRUE(ReadWholeFile(File("twin.nel"), after, error));
                EXPECT_EQ(after, before) << r.name;
            }
            // No temporary file or copy of the old content is left behind.
            for (const auto& e : fs::directory_iterator(m_dir)) {
                EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << r.name << ": " << e.path();
                EXPECT_EQ(e.path().filename().string().find(".bak"), std::string::npos) << r.name << ": " << e.path();
            }
            ASSERT_EQ(m_box.m_shown.size(), 2u) << r.name;
            EXPECT_NE(m_box.m_shown[0].find(r.reason), std::string::npos) << r.name << ": " << m_box.m_shown[0];

            // Once the disk behaves, the same save goes through with the same bytes.
            m_app->SetFileFactory(nullptr);
            EXPECT_TRUE(m_app->DoFileSave()) << r.name;
            ASSERT_TRUE(ReadWholeFile(path, after, error));
            EXPECT_EQ(after, wanted) << r.name;
            EXPECT_FALSE(Doc().IsModified()) << r.name;
            if (linked) {
                EXPECT_TRUE(fs::equivalent(path, File("twin.nel"))) << r.name;
                ASSERT_TRUE(ReadWholeFile(File("twin.nel"), after, error));
                EXPECT_EQ(after, wanted) << r.name;
                EXPECT_EQ(fs::hard_link_count(path), 2u) << r.name;
            }
        }
}

TEST_F(NotebookSessionFileTest, AFailedChmodOrFolderSyncIsReportedNotAnsweredAsSaved) {
    const struct {
        const char* name;
        FailingFile::Step step;
        bool replaced;  // the failure came after the new file took the old one's place
    } rows[] = {
        {"permissions of the new file", FailingFile::Step::Chmod, false},
        {"folder after the rename", FailingFile::Step::FolderSync, true},
    };
    for (const auto& r : rows) {
        m_app->SetFileFactory(nullptr);
        const std::string path = WriteNotebook("synced.nel");
        ASSERT_TRUE(m_app->OpenNotebookFile(path)) << r.name;
        std::string before, error;
        ASSERT_TRUE(ReadWholeFile(path, before, error));
        std::string answer;
        Doc().RegisterMemo(answer, "新、a、1"_sj);
        Doc().SetModifiedFlag(true);
        const std::string wanted = SaveNotebookBytes(Doc());
        m_box.m_shown.clear();
        m_app->SetFileFactory([&r] { return std::make_unique<FailingFile>(r.step, 0, EIO); });
        EXPECT_FALSE(m_app->DoFileSave()) << r.name;
        ASSERT_EQ(m_box.m_shown.size(), 1u) << r.name;
        EXPECT_EQ(m_box.m_shown[0].rfind(path + " に保存できませんでした。(Input/output error"_sj, 0), 0u)
            << r.name << ": " << m_box.m_shown[0];
        EXPECT_TRUE(Doc().IsModified()) << r.name;
        std::string after;
        ASSERT_TRUE(ReadWholeFile(path, after, error));
        EXPECT_EQ(after, r.replaced ? wanted : before) << r.name;
        for (const auto& e : fs::directory_iterator(m_dir))
            EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << r.name << ": " << e.path();
        // The file this notebook wrote is still its own: saving again asks nothing.
        m_app->SetFileFactory(nullptr);
        EXPECT_TRUE(m_app->DoFileSave()) << r.name;
        EXPECT_EQ(m_box.m_shown.size(), 1u) << r.name;
        EXPECT_FALSE(Doc().IsModified()) << r.name;
    }
}

TEST_F(NotebookSessionFileTest, SaveIntoAMissingFolderFails) {
    m_app->OnFileNew();
    Doc().SetModifiedFlag(true);
    EXPECT_FALSE(m_app->SaveNotebookTo(File("no/such/folder/a.nel")));
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_TRUE(m_app->GetPathName().empty());
}

TEST_F(NotebookSessionFileTest, SaveOpenAndNewClearTheChangeFlags) {
    std::string path = WriteNotebook("flags.nel");
    m_clock.Set(kNow - 2 * 86400);  // nothing in the notebook is past yet
    const std::function<bool()> operations[] = {
        [&] { return m_app->SaveNotebookTo(File("s.nel")); },
        [&] { return m_app->OpenNotebookFile(path); },
        [&] { return m_app->NewWithQuestion(); },
    };
    for (const auto& operation : operations) {
        m_app->OnFileNew();
        Doc().GetCalculator().SetChanged();
        Doc().GetScheduleBook().SetChanged();
        Doc().SetMemoChanged();
        Doc().SetModifiedFlag(false);  // so that New asks nothing
        ASSERT_TRUE(operation());
        EXPECT_FALSE(Doc().GetCalculator().IsChanged());
        EXPECT_FALSE(Doc().GetScheduleBook().IsChanged());
        EXPECT_FALSE(Doc().IsMemoChanged());
        EXPECT_FALSE(Doc().IsModified());
        // The next answered line leaves the notebook unmodified.
        EXPECT_FALSE(Doc().AnyChangeFlag());
    }
}

struct QuestionRow {
    MbAnswer answer;
    bool goesOn;
    bool saved;
};

TEST_F(NotebookSessionFileTest, TheSaveChangesQuestion) {
    const QuestionRow rows[] = {
        {MbAnswer::Yes, true, true},
        {MbAnswer::No, true, false},
        {MbAnswer::Cancel, false, false},
    };
    for (const QuestionRow& r : rows) {
        m_app->OnFileNew();
        ASSERT_TRUE(m_app->SaveNotebookTo(File("q.nel")));
        std::string answer;
        Doc().RegisterMemo(answer, "問、a、b"_sj);
        Doc().SetModifiedFlag(true);
        m_box.m_shown.clear();
        m_box.m_answers = {r.answer};
        EXPECT_EQ(m_app->NewWithQuestion(), r.goesOn);
        ASSERT_EQ(m_box.m_shown.size(), 1u);
        EXPECT_EQ(m_box.m_shown[0], "q.nel への変更を保存しますか?"_sj);
        Notebook saved;
        std::string bytes, error;
        ASSERT_TRUE(ReadWholeFile(File("q.nel"), bytes, error));
        LoadNotebookBytes(saved, bytes);
        EXPECT_EQ(saved.GetMemos().Lookup("問"_sj) != nullptr, r.saved);
        EXPECT_EQ(Doc().GetMemos().Lookup("問"_sj) != nullptr, !r.goesOn);
    }
}

TEST_F(NotebookSessionFileTest, UnattendedQuestionWarnsAndGoesOnWithoutSaving) {
    m_app->OnFileNew();
    Doc().SetModifiedFlag(true);
    m_app->SetUnattended(true);
    EXPECT_TRUE(m_app->NewWithQuestion());
    ASSERT_EQ(m_box.m_shown.size(), 1u);
    EXPECT_EQ(m_box.m_shown[0].rfind("無題 への変更を保存せずに続けます"_sj, 0), 0u);
}

TEST_F(NotebookSessionFileTest, UntitledSaveNeedsAName) {
    m_app->OnFileNew();
    EXPECT_FALSE(m_app->DoFileSave());
    m_app->SetPathPrompt([this](std::string& path) {
        path = File("named.nel");
        return true;
    });
    EXPECT_TRUE(m_app->DoFileSave());
    EXPECT_TRUE(fs::exists(File("named.nel")));
}

TEST_F(NotebookSessionFileTest, RecentFilesAreNewestFirstAndAtMostFour) {
    m_app->OnFileNew();
    for (const char* name : {"1.nel", "2.nel", "3.nel", "4.nel", "5.nel", "3.nel"})
        ASSERT_TRUE(m_app->SaveNotebookTo(File(name)));
    Profile reread(m_profile->GetPath());
    EXPECT_EQ(reread.GetProfileString("Recent File List", "File1"), File("3.nel"));
    EXPECT_EQ(reread.GetProfileString("Recent File List", "File2"), File("5.nel"));
    EXPECT_EQ(reread.GetProfileString("Recent File List", "File3"), File("4.nel"));
    EXPECT_EQ(reread.GetProfileString("Recent File List", "File4"), File("2.nel"));
}

TEST_F(NotebookSessionFileTest, StartUpChoosesTheFile) {
    std::string a = WriteNotebook("a.nel");
    std::string b = WriteNotebook("b.nel");
    m_profile->WriteProfileString("Recent File List", "File1", a);

    m_app->StartUp("", false);
    EXPECT_EQ(m_app->GetPathName(), a);
    m_app->StartUp(b, false);
    EXPECT_EQ(m_app->GetPathName(), b);
    m_app->StartUp("", true);
    EXPECT_TRUE(m_app->GetPathName().empty());
    EXPECT_EQ(Doc().GetCalculator().GetVariableCount(), 0u);

    // A recent file that no longer opens: reported, and a new notebook stays.
    fs::remove(b);
    m_box.m_shown.clear();
    m_app->StartUp("", false);
    EXPECT_TRUE(m_app->GetPathName().empty());
    EXPECT_EQ(m_box.m_shown.size(), 1u);
    EXPECT_NE(m_view.GetText().find("「例」と入力すると"_sj), std::string::npos);
    // ... and only once: the entry has left the list.
    m_box.m_shown.clear();
    EXPECT_TRUE(m_app->StartUp("", false));
    EXPECT_TRUE(m_box.m_shown.empty());
    EXPECT_TRUE(m_app->GetRecentFileList().GetEntries().empty() || m_app->GetRecentFileList().GetEntries()[0] != b);

    // A named file that does not exist yet: a new notebook that carries the name and is
    // not in the recent list before it is saved.
    EXPECT_TRUE(m_app->StartUp(b, false));
    EXPECT_EQ(m_app->GetPathName(), b);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(m_box.m_shown.size(), 1u);
    EXPECT_NE(m_app->GetRecentFileList().GetEntries()[0], b);

    // A named file that exists but does not open: false, the program ends.
    std::ofstream(b, std::ios::binary) << "not a notebook";
    EXPECT_FALSE(m_app->StartUp(b, false));
}

TEST_F(NotebookSessionFileTest, ARecentNotebookThatNoLongerLoadsIsNamedAndLeavesTheList) {
    const std::string damaged = File("damaged.nel");
    const std::string bytes = "not a notebook";
    std::ofstream(damaged, std::ios::binary) << bytes;
    m_profile->WriteProfileString("Recent File List", "File1", damaged);
    EXPECT_TRUE(m_app->StartUp("", false));
    EXPECT_TRUE(m_app->GetPathName().empty());
    ASSERT_EQ(m_box.m_shown.size(), 1u);
    EXPECT_EQ(m_box.m_shown[0], damaged + " は予期しないﾌｧｲﾙ形式です。最近使ったファイルの一覧から外しました。"_sj);
    // The file stays as it was; the next start says nothing.
    std::ifstream in(damaged, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bytes);
    m_box.m_shown.clear();
    EXPECT_TRUE(m_app->StartUp("", false));
    EXPECT_TRUE(m_box.m_shown.empty());
}

TEST_F(NotebookSessionFileTest, ANotebookOpenInAnotherProgramIsOpenedOnlyWhenWanted) {
    const fs::path runtime = m_dir / "runtime";
    fs::create_directories(runtime);
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    const std::string oldRuntime = old ? old : "";
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    const std::string a = WriteNotebook("a.nel");
    ASSERT_TRUE(m_app->OpenNotebookFile(a));
    EXPECT_TRUE(m_app->GetNotebookLock().IsHeld());

    // A second program on the same notebook (here: in this process, which the lock
    // tells apart all the same).
    AnswerBox box2;
    Profile profile2((m_dir / "profile2.conf").string());
    auto second = std::make_unique<NotebookSession>(profile2, box2);
    const std::string said = a + " は "_sj + program_invocation_short_name + "（プロセス番号 "_sj +
                             std::to_string(getpid()) + "）で開かれています。"_sj;
    struct Row {
        const char* name;
        bool unattended;
        MbAnswer answer;
        bool opened;
    };
    const Row rows[] = {
        {"cancelled", false, MbAnswer::No, false},
        {"opened anyway", false, MbAnswer::Yes, true},
        {"unattended: said, and opened", true, MbAnswer::Ok, true},
    };
    for (const Row& r : rows) {
        second->OnFileNew();
        second->SetUnattended(r.unattended);
        box2.m_shown.clear();
        if (!r.unattended) box2.m_answers = {r.answer};
        EXPECT_EQ(second->OpenNotebookFile(a), r.opened) << r.name;
        EXPECT_EQ(second->GetPathName(), r.opened ? a : std::string()) << r.name;
        EXPECT_FALSE(second->GetNotebookLock().IsHeld()) << r.name;
        ASSERT_EQ(box2.m_shown.size(), 1u) << r.name;
        EXPECT_EQ(box2.m_shown[0].rfind(said, 0), 0u) << r.name << ": " << box2.m_shown[0];
    }
    // The first lets it go; the second takes the lock at its next save, and the first
    // is then the one that is asked.
    m_app->OnFileNew();
    EXPECT_FALSE(m_app->GetNotebookLock().IsHeld());
    ASSERT_TRUE(second->DoFileSave());
    EXPECT_TRUE(second->GetNotebookLock().IsHeld());
    m_box.m_answers = {MbAnswer::No};
    EXPECT_FALSE(m_app->OpenNotebookFile(a));
    EXPECT_EQ(m_box.m_answers.size(), 0u);
    // Ending the program gives the lock up.
    second.reset();
    m_box.m_shown.clear();
    EXPECT_TRUE(m_app->OpenNotebookFile(a));
    EXPECT_TRUE(m_box.m_shown.empty());
    EXPECT_TRUE(m_app->GetNotebookLock().IsHeld());
    if (old)
        setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
    else
        unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace

namespace {

enum class DiskChange { None, Replaced, SameSizeInPlace, OnlyTheTime, Deleted };

struct ChangedOnDiskRow {
    const char* name;
    DiskChange change;
    bool unattended;
    std::vector<MbAnswer> answers;  // to the overwrite question; empty: none may come
    bool saved;
};

TEST_F(NotebookSessionFileTest, AFileChangedOnDiskIsNotOverwrittenUnasked) {
    const ChangedOnDiskRow rows[] = {
        {"unchanged", DiskChange::None, false, {}, true},
        {"replaced, overwrite", DiskChange::Replaced, false, {MbAnswer::Yes}, true},
        {"replaced, cancel", DiskChange::Replaced, false, {MbAnswer::No}, false},
        {"same size written in place", DiskChange::SameSizeInPlace, false, {MbAnswer::No}, false},
        {"only the modification time", DiskChange::OnlyTheTime, false, {MbAnswer::No}, false},
        {"deleted", DiskChange::Deleted, false, {}, true},
        {"replaced, nobody to ask", DiskChange::Replaced, true, {}, false},
    };
    const std::string path = File("shared.nel");
    for (const ChangedOnDiskRow& r : rows) {
        m_app->SetUnattended(false);
        WriteNotebook("shared.nel");
        ASSERT_TRUE(m_app->OpenNotebookFile(path));
        std::string answer;
        Doc().RegisterMemo(answer, "ここ、a、1"_sj);
        Doc().SetModifiedFlag(true);
        const std::string mine = SaveNotebookBytes(Doc());

        // Another program's save.
        std::string theirs, error;
        ASSERT_TRUE(ReadWholeFile(path, theirs, error));
        switch (r.change) {
        case DiskChange::None: break;
        case DiskChange::Replaced:
            theirs += "x";
            ASSERT_TRUE(WriteFileAtomically(path, theirs, error));
            break;
        case DiskChange::SameSizeInPlace: {
            theirs[theirs.size() - 1] ^= 1;
            std::ofstream(path, std::ios::binary | std::ios::in | std::ios::out) << theirs;
            [[fallthrough]];
        }
        case DiskChange::OnlyTheTime: {
            // A clock tick may be coarser than two writes: a time of its own.
            fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(3));
            break;
        }
        case DiskChange::Deleted: fs::remove(path); break;
        }
        m_app->SetUnattended(r.unattended);
        m_box.m_shown.clear();
        m_box.m_answers.assign(r.answers.begin(), r.answers.end());
        EXPECT_EQ(m_app->DoFileSave(), r.saved) << r.name;
        EXPECT_TRUE(m_box.m_answers.empty()) << r.name;
        std::string now;
        ASSERT_TRUE(ReadWholeFile(path, now, error)) << r.name;
        EXPECT_EQ(now, r.saved ? mine : theirs) << r.name;
        EXPECT_EQ(Doc().IsModified(), !r.saved) << r.name;
        const std::string changed = path + " はほかのプログラムで変更されています。"_sj;
        if (r.unattended) {
            ASSERT_EQ(m_box.m_shown.size(), 1u) << r.name;
            EXPECT_EQ(m_box.m_shown[0],
                      changed + "上書きせずに保存を取りやめました（入力が端末ではないため確認できません）。"_sj);
        } else if (!r.answers.empty()) {
            ASSERT_EQ(m_box.m_shown.size(), 1u) << r.name;
            EXPECT_EQ(m_box.m_shown[0], changed + "上書きしますか?"_sj) << r.name;
        } else {
            EXPECT_TRUE(m_box.m_shown.empty()) << r.name;
        }
        // What this notebook wrote last is the file it knows: the next save asks nothing.
        if (r.saved) {
            Doc().SetModifiedFlag(true);
            EXPECT_TRUE(m_app->DoFileSave()) << r.name;
            EXPECT_EQ(m_box.m_shown.size(), r.answers.size()) << r.name;
        }
    }
}

}  // namespace

TEST(NotebookPathTest, WithNotebookExtensionAddsItOnlyToANameWithoutOne) {
    const struct {
        const char* path;
        const char* expected;
    } rows[] = {
        {"memo", "memo.nel"},     {"/tmp/memo", "/tmp/memo.nel"},         {"memo.nel", "memo.nel"},
        {"memo.txt", "memo.txt"}, {"/tmp/a.b/memo", "/tmp/a.b/memo.nel"}, {"/tmp/.hidden", "/tmp/.hidden.nel"},
        {"/tmp/", "/tmp/"},
    };
    for (const auto& row : rows) EXPECT_EQ(WithNotebookExtension(row.path), row.expected) << row.path;
}

TEST(NotebookPathTest, AbsolutePathNamesWhatTheSystemOpens) {
    const fs::path dir = fs::temp_directory_path() / ("nelo-paths-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "real/sub/deeper");
    fs::create_directories(dir / "plain");
    fs::create_symlink(dir / "real/sub", dir / "link");
    fs::create_symlink("real/sub/deeper", dir / "rel");
    for (const char* name : {"x.nel", "real/x.nel", "real/sub/x.nel", "file.nel"}) std::ofstream(dir / name) << name;
    const char* rows[] = {
        "link/../x.nel",         // the parent of real/sub: real/x.nel, not ./x.nel
        "link/deeper/../x.nel",  // a real folder inside the link's: real/sub/x.nel
        "rel/../../x.nel",       // a relative link two levels down
        "link/../../x.nel",      //
        "plain/../x.nel",        // no link: the same as by text
        "./real/./sub/x.nel",    //
        "missing/../x.nel",      // the system refuses these, and so must the path
        "file.nel/../x.nel",     //
        "real//sub///x.nel",     //
        "link/../sub/../x.nel",  //
        "../",                   // a folder
    };
    std::error_code ec;
    const fs::path cwd = fs::current_path();
    fs::current_path(dir);
    for (const std::string row : rows) {
        const std::string absolute = AbsolutePath(row);
        EXPECT_EQ(absolute[0], '/') << row;
        struct stat a, b;
        const bool opens = stat(row.c_str(), &a) == 0;
        EXPECT_EQ(stat(absolute.c_str(), &b) == 0, opens) << row << " -> " << absolute;
        if (opens) {
            EXPECT_TRUE(a.st_ino == b.st_ino && a.st_dev == b.st_dev) << row << " -> " << absolute;
        }
    }
    EXPECT_EQ(AbsolutePath("link/../x.nel"), (dir / "real/x.nel").string());
    EXPECT_EQ(AbsolutePath("/.."), "/");
    fs::current_path(cwd);
    fs::remove_all(dir, ec);
}
