// Recovery copies are as private as their notebook, fit the file system's names, and
// are mentioned once whatever their names hold; a profile that cannot be written is
// said once.
#include "app/RecoveryCopy.h"
#include "app/NotebookSession.h"

#include "notebook/NotebookSerialize.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace nelo;

namespace fs = std::filesystem;

namespace {

constexpr std::time_t kNow = 1054461600;  // 2003-06-01 10:00:00 UTC

class ShownBox : public MessageBox {
public:
    MbAnswer Show(const std::string& text, const std::string&, MbButtons, MbIcon) override {
        m_shown.push_back(text);
        return MbAnswer::Ok;
    }
    std::vector<std::string> m_shown;
};

class RecoveryCopyTest : public testing::Test {
protected:
    RecoveryCopyTest() : m_clock(kNow) {
        SetCurrentClock(&m_clock);
        static int s_n = 0;
        m_dir = fs::temp_directory_path() / ("nelo-copies-" + std::to_string(::getpid()) + "-" + std::to_string(++s_n));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "notes");
        const char* old = std::getenv("XDG_STATE_HOME");
        m_oldState = old ? old : "";
        setenv("XDG_STATE_HOME", (m_dir / "state").c_str(), 1);
        m_oldMask = umask(022);
    }
    ~RecoveryCopyTest() override {
        umask(m_oldMask);
        if (m_oldState.empty())
            unsetenv("XDG_STATE_HOME");
        else
            setenv("XDG_STATE_HOME", m_oldState.c_str(), 1);
        SetCurrentClock(nullptr);
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    static mode_t ModeOf(const fs::path& p) {
        struct stat st;
        return stat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 07777;
    }

    FixedClock m_clock;
    fs::path m_dir;
    std::string m_oldState;
    mode_t m_oldMask;
};

TEST_F(RecoveryCopyTest, ACopyIsAsPrivateAsItsNotebookInAPrivateFolder) {
    const struct {
        const char* name;
        const char* file;  // the notebook's file; nullptr: untitled
        mode_t mode;       // of the notebook's file
        mode_t expected;   // of the copy
    } rows[] = {
        {"untitled", nullptr, 0, 0600},
        {"a name not saved yet", "notes/new.nel", 0, 0600},
        {"private notebook", "notes/private.nel", 0600, 0600},
        {"shared with the group", "notes/group.nel", 0640, 0640},
        {"readable by all", "notes/public.nel", 0644, 0644},
    };
    for (const auto& r : rows) {
        const std::string notebookPath = r.file ? (m_dir / r.file).string() : std::string();
        Notebook notebook;
        if (r.mode != 0) {
            std::string error;
            ASSERT_TRUE(WriteFileAtomically(notebookPath, SaveNotebookBytes(notebook), error)) << error;
            ASSERT_EQ(chmod(notebookPath.c_str(), r.mode), 0);
        }
        std::string answer;
        notebook.RegisterMemo(answer, "秘密、暗証、1234"_sj);
        std::string path, error;
        ASSERT_TRUE(WriteRecoveryCopy(notebook, notebookPath, path, error)) << r.name << ": " << error;
        EXPECT_EQ(ModeOf(path), r.expected) << r.name;
    }
    // The folders the first copy made are the user's alone.
    EXPECT_EQ(ModeOf(m_dir / "state"), 0700u);
    EXPECT_EQ(ModeOf(m_dir / "state/Vantor"), 0700u);
    EXPECT_EQ(ModeOf(m_dir / "state/Vantor/Nelo"), 0700u);
}

TEST_F(RecoveryCopyTest, LongAndStrangeNamesGetACopyThatOpens) {
    std::string japanese;
    for (int i = 0; i < 80; ++i) japanese += "帳";
    const struct {
        const char* name;
        std::string file;
        std::string copyStart;  // the copy's name starts so
    } rows[] = {
        {"ASCII name of 250 bytes", std::string(246, 'n') + ".nel", std::string(200, 'n')},
        {"three-byte characters, 244 bytes", japanese + ".nel", japanese.substr(0, 210)},
        {"a line feed and an escape in the name", "two\nlines\x1b[2J.nel", "two_lines_[2J-20030601-100000"},
    };
    for (const auto& r : rows) {
        Notebook notebook;
        std::string answer;
        notebook.RegisterMemo(answer, "田中、電話、03"_sj);
        std::string path, error;
        ASSERT_TRUE(WriteRecoveryCopy(notebook, (m_dir / "notes" / r.file).string(), path, error))
            << r.name << ": " << error;
        const std::string name = fs::path(path).filename().string();
        EXPECT_LE(name.size(), 255u) << r.name;
        EXPECT_EQ(name.rfind(r.copyStart, 0), 0u) << r.name << ": " << name;
        EXPECT_EQ(name.substr(name.size() - 4), ".nel") << r.name;
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(path, bytes, error)) << r.name;
        Notebook loaded;
        LoadNotebookBytes(loaded, bytes);
        EXPECT_NE(loaded.GetMemos().Lookup("田中"_sj), nullptr) << r.name;
    }
}

TEST_F(RecoveryCopyTest, EveryCopyIsMentionedOnceWhateverItsNameHolds) {
    const fs::path folder = m_dir / "state/Vantor/Nelo";
    fs::create_directories(folder);
    // Copies as earlier versions could name them.
    const std::vector<std::string> names = {"a-20030601-100000.nel", "line\nfeed-20030601-100000.nel",
                                            "back\\slash-20030601-100000.nel"};
    for (const std::string& name : names) {
        std::string error;
        ASSERT_TRUE(WriteFileAtomically((folder / name).string(), "x", error)) << error;
    }
    EXPECT_EQ(TakeUnmentionedRecoveryCopies().size(), names.size());
    EXPECT_EQ(TakeUnmentionedRecoveryCopies(), std::vector<std::string>{});
    std::string error;
    ASSERT_TRUE(WriteFileAtomically((folder / "new\nline-20030602-100000.nel").string(), "x", error));
    EXPECT_EQ(TakeUnmentionedRecoveryCopies(), std::vector<std::string>{(folder / "new\nline-20030602-100000.nel")});
    EXPECT_EQ(TakeUnmentionedRecoveryCopies(), std::vector<std::string>{});
}

TEST(ProfileWarningTest, AProfileThatCannotBeWrittenIsSaidOnce) {
    const fs::path dir = fs::temp_directory_path() / ("nelo-profile-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    const struct {
        const char* name;
        const char* make;  // what takes the place of the profile's path
        std::string reason;
    } rows[] = {
        {"a folder in its place", "Nelo.conf/", "(Is a directory)"},
        {"its folder is a file", "Vantor", "(Not a directory)"},
    };
    for (const auto& r : rows) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        const std::string make = r.make;
        if (make.back() == '/')
            fs::create_directories(dir / "Vantor" / make);
        else
            std::ofstream(dir / make) << "x";
        const std::string path = (dir / "Vantor/Nelo.conf").string();
        Profile profile(path);
        ShownBox box;
        NotebookSession app(profile, box);
        EXPECT_TRUE(app.StartUp("", true)) << r.name;
        // Start-up says it, and what is written afterwards says nothing more.
        RecentFileList recent(profile);
        recent.Add("/tmp/a.nel");
        EXPECT_FALSE(recent.WriteList()) << r.name;
        EXPECT_FALSE(profile.WriteProfileInt("Settings", "x", 1)) << r.name;
        ASSERT_EQ(box.m_shown.size(), 1u) << r.name;
        EXPECT_EQ(box.m_shown[0], path + " に設定を保存できません。"_sj + r.reason +
                                      "最近使ったファイルなどの設定は次回に引き継がれません。"_sj)
            << r.name;
    }
    fs::remove_all(dir);
}

}  // namespace
