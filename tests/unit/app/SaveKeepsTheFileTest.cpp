// A save keeps what makes the file the user's: a symbolic link stays a link and the file
// it names gets the new content, a file the user may not write is left as it is, and the
// owner, group and permissions of the file stay.
#include "unit/notebook/OkBox.h"
#include "app/NotebookSession.h"

#include "notebook/NotebookSerialize.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

using namespace nelo;

namespace fs = std::filesystem;

namespace {

constexpr std::time_t kNow = 1054461600;  // 2003-06-01 10:00:00 UTC

std::string ReadBytes(const std::string& path) {
    std::string data, error;
    return ReadWholeFile(path, data, error) ? data : "(unreadable: " + error + ")";
}

/// Runs fn in a child process as the unprivileged user nobody; its exit status, or -1
/// when this process cannot change its user.
int RunAsNobody(const std::function<int()>& fn) {
    if (geteuid() != 0) return -1;
    pid_t pid = fork();
    if (pid == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(99);
        _exit(fn());
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) return -2;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -3;
}

class SaveKeepsTheFileTest : public testing::Test {
protected:
    SaveKeepsTheFileTest() : m_clock(kNow) {
        SetCurrentClock(&m_clock);
        static int s_n = 0;
        m_dir = fs::temp_directory_path() / ("nelo-keep-" + std::to_string(::getpid()) + "-" + std::to_string(++s_n));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "data");
        fs::create_directories(m_dir / "sub");
        m_profile = std::make_unique<Profile>((m_dir / "profile.conf").string());
        m_app = std::make_unique<NotebookSession>(*m_profile, m_box);
    }
    ~SaveKeepsTheFileTest() override {
        SetCurrentClock(nullptr);
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    std::string File(const std::string& name) const { return (m_dir / name).string(); }
    Notebook& Doc() { return m_app->GetNotebook(); }

    /// Writes an empty notebook at path and returns its bytes.
    std::string WriteEmptyNotebook(const std::string& path) {
        Notebook notebook;
        std::string bytes = SaveNotebookBytes(notebook), error;
        EXPECT_TRUE(WriteFileAtomically(path, bytes, error)) << error;
        return bytes;
    }
    /// Adds a memo to the open notebook and returns the bytes it saves to.
    std::string ChangeNotebook() {
        std::string answer;
        Doc().RegisterMemo(answer, "山田、電話、０３"_sj);
        Doc().SetModifiedFlag(true);
        return SaveNotebookBytes(Doc());
    }
    /// No temporary file and no copy of an old content anywhere in the test folder.
    void ExpectNoLeftovers(const std::string& where) {
        for (const auto& e : fs::recursive_directory_iterator(m_dir)) {
            std::string name = e.path().filename().string();
            EXPECT_TRUE(name.find(".tmp") == std::string::npos && name.find(".bak") == std::string::npos)
                << where << ": " << e.path();
        }
    }

    FixedClock m_clock;
    fs::path m_dir;
    OkBox m_box;
    std::unique_ptr<Profile> m_profile;
    std::unique_ptr<NotebookSession> m_app;
};

struct LinkRow {
    const char* name;
    std::vector<std::pair<const char*, std::string>> links;  // made in order: link, what it names
    const char* opened;                                      // the path the user gives
    const char* target;                                      // the file written
    bool targetExists;
};

TEST_F(SaveKeepsTheFileTest, SavingThroughSymbolicLinksWritesTheFileTheyName) {
    const std::string absoluteTarget = File("data/real.nel");
    const LinkRow rows[] = {
        {"relative link beside the file", {{"data/link.nel", "real.nel"}}, "data/link.nel", "data/real.nel", true},
        {"chain of links across folders",
         {{"b.nel", "data/real.nel"}, {"sub/a.nel", "../b.nel"}},
         "sub/a.nel",
         "data/real.nel",
         true},
        {"absolute link", {{"sub/abs.nel", absoluteTarget}}, "sub/abs.nel", "data/real.nel", true},
        {"link to a file not there yet", {{"sub/new.nel", "../data/new.nel"}}, "sub/new.nel", "data/new.nel", false},
    };
    for (const LinkRow& r : rows) {
        fs::remove_all(m_dir / "data");
        fs::remove_all(m_dir / "sub");
        fs::remove(m_dir / "b.nel");
        fs::create_directories(m_dir / "data");
        fs::create_directories(m_dir / "sub");
        for (const auto& [link, to] : r.links) fs::create_symlink(to, m_dir / link);
        const std::string opened = File(r.opened);
        if (r.targetExists) {
            WriteEmptyNotebook(File(r.target));
            ASSERT_TRUE(m_app->OpenNotebookFile(opened)) << r.name;
        } else {
            m_app->OnFileNew();
        }
        const std::string wanted = ChangeNotebook();
        EXPECT_TRUE(m_app->SaveNotebookTo(opened)) << r.name;

        EXPECT_EQ(ReadBytes(File(r.target)), wanted) << r.name;
        for (const auto& [link, to] : r.links) {
            EXPECT_TRUE(fs::is_symlink(m_dir / link)) << r.name << ": " << link;
            EXPECT_EQ(fs::read_symlink(m_dir / link).string(), to) << r.name << ": " << link;
        }
        ExpectNoLeftovers(r.name);
        // The notebook and the recent-file list keep the path as the user gave it.
        EXPECT_EQ(m_app->GetPathName(), opened) << r.name;
        EXPECT_EQ(Profile(m_profile->GetPath()).GetProfileString("Recent File List", "File1"), opened) << r.name;
        // And the next save goes the same way.
        const std::string again = ChangeNotebook();
        EXPECT_TRUE(m_app->DoFileSave()) << r.name;
        EXPECT_EQ(ReadBytes(File(r.target)), again) << r.name;
        EXPECT_TRUE(fs::is_symlink(opened)) << r.name;
    }
}

TEST_F(SaveKeepsTheFileTest, AReadOnlyNotebookIsNotReplaced) {
    const std::string path = File("ro.nel");
    const std::string before = WriteEmptyNotebook(path);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    struct stat old;
    ASSERT_EQ(stat(path.c_str(), &old), 0);
    ASSERT_TRUE(m_app->OpenNotebookFile(path));
    ChangeNotebook();
    m_box.m_shown.clear();
    EXPECT_FALSE(m_app->DoFileSave());
    ASSERT_EQ(m_box.m_shown.size(), 1u);
    EXPECT_EQ(m_box.m_shown[0], path + " に保存できませんでした。(Permission denied)"_sj);
    EXPECT_EQ(ReadBytes(path), before);
    struct stat now;
    ASSERT_EQ(stat(path.c_str(), &now), 0);
    EXPECT_EQ(now.st_ino, old.st_ino);
    EXPECT_EQ(now.st_mode & 07777, 0444u);
    EXPECT_TRUE(Doc().IsModified());
    ExpectNoLeftovers("read-only");
}

TEST_F(SaveKeepsTheFileTest, TheOwnerGroupAndPermissionsStay) {
    if (geteuid() != 0) GTEST_SKIP() << "giving a file to another owner needs the superuser";
    const std::string path = File("theirs.nel");
    WriteEmptyNotebook(path);
    ASSERT_EQ(chown(path.c_str(), 12345, 23456), 0);
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(m_app->OpenNotebookFile(path));
    const std::string wanted = ChangeNotebook();
    EXPECT_TRUE(m_app->DoFileSave());
    EXPECT_EQ(ReadBytes(path), wanted);
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 12345u);
    EXPECT_EQ(st.st_gid, 23456u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

struct OtherUserRow {
    const char* name;
    mode_t mode;          // of the file, which belongs to the superuser
    int expectedOutcome;  // 0 saved, 1 refused with "Permission denied"
};

TEST_F(SaveKeepsTheFileTest, AnotherUsersFileIsWrittenInPlaceOrRefused) {
    const OtherUserRow rows[] = {
        {"writable for everyone", 0666, 0},
        {"writable for its owner only", 0644, 1},
        {"read-only", 0444, 1},
    };
    ASSERT_EQ(chmod(m_dir.c_str(), 0777), 0);
    for (const OtherUserRow& r : rows) {
        const std::string path = File("shared.nel");
        fs::remove(path);
        const std::string before = WriteEmptyNotebook(path);
        ASSERT_EQ(chmod(path.c_str(), r.mode), 0);
        struct stat old;
        ASSERT_EQ(stat(path.c_str(), &old), 0);
        int status = RunAsNobody([&path] {
            std::string error;
            if (WriteFileAtomically(path, "new content", error)) return 0;
            return error == std::strerror(EACCES) ? 1 : 2;
        });
        if (status == -1) GTEST_SKIP() << "changing the user needs the superuser";
        ASSERT_EQ(status, r.expectedOutcome) << r.name;
        struct stat now;
        ASSERT_EQ(stat(path.c_str(), &now), 0);
        EXPECT_EQ(ReadBytes(path), r.expectedOutcome == 0 ? "new content" : before) << r.name;
        EXPECT_EQ(now.st_ino, old.st_ino) << r.name;
        EXPECT_EQ(now.st_uid, old.st_uid) << r.name;
        EXPECT_EQ(now.st_gid, old.st_gid) << r.name;
        EXPECT_EQ(now.st_mode, old.st_mode) << r.name;
        ExpectNoLeftovers(r.name);
    }
}

/// An access control list in the form the system keeps it (system.posix_acl_access):
/// the owner, the user nobody and the owning group read and write, the mask read and
/// write, others nothing.
std::string SharedWithNobodyAcl(unsigned groupPerm) {
    std::string acl;
    auto put = [&acl](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) acl += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put(2, 4);  // version
    const std::uint32_t kNoId = 0xFFFFFFFF;
    const std::uint32_t entries[][3] = {
        {0x01, 6, kNoId}, {0x02, 6, 65534}, {0x04, groupPerm, kNoId}, {0x10, 6, kNoId}, {0x20, 0, kNoId}};
    for (const auto& e : entries) {
        put(e[0], 2);
        put(e[1], 2);
        put(e[2], 4);
    }
    return acl;
}

std::string Attribute(const std::string& path, const char* name) {
    std::string value(4096, '\0');
    ssize_t n = getxattr(path.c_str(), name, value.data(), value.size());
    if (n < 0) return "(none)";
    value.resize(static_cast<std::size_t>(n));
    return value;
}

TEST_F(SaveKeepsTheFileTest, TheAccessControlListAndExtendedAttributesStay) {
    const std::string path = File("acl.nel");
    WriteEmptyNotebook(path);
    // The owning group may only read, though the mask (the group bits) says read and
    // write for the user named in the list: a file that took only the permissions would
    // let the whole group write.
    const std::string acl = SharedWithNobodyAcl(4);
    if (setxattr(path.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0 ||
        setxattr(path.c_str(), "user.nelo.test", "kept", 4, 0) != 0)
        GTEST_SKIP() << "no access control lists or user attributes here: " << std::strerror(errno);
    struct stat old;
    ASSERT_EQ(stat(path.c_str(), &old), 0);
    ASSERT_TRUE(m_app->OpenNotebookFile(path));
    for (int i = 0; i < 2; ++i) {
        struct stat before;
        ASSERT_EQ(stat(path.c_str(), &before), 0);
        const std::string wanted = ChangeNotebook();
        ASSERT_TRUE(m_app->DoFileSave());
        EXPECT_EQ(ReadBytes(path), wanted);
        struct stat now;
        ASSERT_EQ(stat(path.c_str(), &now), 0);
        EXPECT_NE(now.st_ino, before.st_ino);  // replaced, not written in place
        EXPECT_EQ(now.st_mode, old.st_mode);
        EXPECT_EQ(Attribute(path, "system.posix_acl_access"), acl);
        EXPECT_EQ(Attribute(path, "user.nelo.test"), "kept");
    }
    ExpectNoLeftovers("acl");
}

TEST_F(SaveKeepsTheFileTest, ANameNearTheFileSystemsLimitSavesInEveryWay) {
    std::string japanese;
    for (int i = 0; i < 83; ++i) japanese += "帳";
    const struct {
        const char* name;
        std::string file;
    } rows[] = {
        {"255 bytes", std::string(251, 'n') + ".nel"},
        {"250 bytes", std::string(246, 'n') + ".nel"},
        {"253 bytes of three-byte characters", japanese + ".nel"},
    };
    for (const auto& r : rows) {
        ASSERT_LE(r.file.size(), 255u);
        const std::string path = File(r.file);
        fs::remove(path);
        m_app->OnFileNew();
        std::string wanted = ChangeNotebook();
        EXPECT_TRUE(m_app->SaveNotebookTo(path)) << r.name;
        wanted = ChangeNotebook();
        EXPECT_TRUE(m_app->DoFileSave()) << r.name;
        EXPECT_EQ(ReadBytes(path), wanted) << r.name;
        // In place, with the old content in a copy beside it.
        fs::create_hard_link(path, File("twin.nel"));
        wanted = ChangeNotebook();
        EXPECT_TRUE(m_app->DoFileSave()) << r.name;
        EXPECT_EQ(ReadBytes(File("twin.nel")), wanted) << r.name;
        fs::remove(File("twin.nel"));
        ExpectNoLeftovers(r.name);
    }
}

}  // namespace
