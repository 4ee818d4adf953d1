// Notebook files that are cut off or lie about their counts, and saving where the disk is
// full or the folder cannot be written: the open notebook and the old file stay as they were.
#include "unit/notebook/OkBox.h"
#include "app/NotebookSession.h"

#include "notebook/NotebookSerialize.h"
#include "platform/Archive.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <new>
#include <string>
#include <sys/mount.h>
#include <unistd.h>
#include <vector>

using namespace nelo;

namespace {
std::atomic<long long> g_bytesAllocated{0};
}  // namespace

// The replaced allocation functions pair malloc with free, which g++ cannot see through.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    g_bytesAllocated += static_cast<long long>(size);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace fs = std::filesystem;

namespace {

constexpr std::time_t kNow = 1054461600;  // 2003-06-01 10:00:00 UTC

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s.push_back(static_cast<char>(b));
    return s;
}

class HostileFileTest : public testing::Test {
protected:
    HostileFileTest() : m_clock(kNow) {
        SetCurrentClock(&m_clock);
        static int s_n = 0;
        m_dir =
            fs::temp_directory_path() / ("nelo-hostile-" + std::to_string(::getpid()) + "-" + std::to_string(++s_n));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_profile = std::make_unique<Profile>((m_dir / "profile.conf").string());
        m_app = std::make_unique<NotebookSession>(*m_profile, m_box);
    }
    ~HostileFileTest() override {
        Unmount();
        SetCurrentClock(nullptr);
        std::error_code ec;
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(m_dir, ec);
    }
    Notebook& Doc() { return m_app->GetNotebook(); }

    /// Mounts a tmpfs of the given size in the test folder; false where that is not allowed.
    bool MountSmallDisk(const std::string& size) {
        m_mount = (m_dir / "disk").string();
        fs::create_directories(m_mount);
        std::string options = "size=" + size;
        if (mount("tmpfs", m_mount.c_str(), "tmpfs", 0, options.c_str()) != 0) return false;
        m_mounted = true;
        return true;
    }
    void Unmount() {
        if (m_mounted) umount2(m_mount.c_str(), MNT_DETACH);
        m_mounted = false;
    }

    /// The open notebook the failures must not touch: one variable, one memo, a name.
    void FillOpenNotebook() {
        std::string answer;
        Doc().GetCalculator().Calculate(answer, "半径＝５"_sj);
        Doc().RegisterMemo(answer, "山田、電話、０３"_sj);
        Doc().SetNames(Doc().GetResponderName(), "利用者"_sj);
        Doc().SetModifiedFlag(true);
        m_openBytes = SaveNotebookBytes(Doc());
    }
    void ExpectOpenNotebookUnchanged(const std::string& where) {
        EXPECT_EQ(SaveNotebookBytes(Doc()), m_openBytes) << where;
        EXPECT_TRUE(Doc().IsModified()) << where;
    }

    FixedClock m_clock;
    fs::path m_dir;
    OkBox m_box;
    std::unique_ptr<Profile> m_profile;
    std::unique_ptr<NotebookSession> m_app;
    std::string m_openBytes;
    std::string m_mount;
    bool m_mounted = false;
};

TEST_F(HostileFileTest, EveryCutOfTheSavedNotebooksIsRefusedAndTheOpenOneStays) {
    const char* const files[] = {"notebook.nel", "memo49.nel", "purge.nel", "empty16.nel"};
    FillOpenNotebook();
    const std::string path = (m_dir / "cut.nel").string();
    for (const char* name : files) {
        const std::string bytes = ReadBytes(fs::path(NELO_SOURCE_DIR) / "tests/data" / name);
        ASSERT_GT(bytes.size(), 0u) << name;
        for (std::size_t n = 0; n < bytes.size(); ++n) {
            const std::string where = std::string(name) + " cut at " + std::to_string(n);
            std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes.substr(0, n);
            m_box.m_shown.clear();
            EXPECT_FALSE(m_app->OpenNotebookFile(path)) << where;
            ASSERT_EQ(m_box.m_shown.size(), 1u) << where;
            EXPECT_EQ(m_box.m_shown[0], "予期しないﾌｧｲﾙ形式です。"_sj) << where;
            ExpectOpenNotebookUnchanged(where);
            EXPECT_TRUE(m_app->GetPathName().empty()) << where;
        }
    }
}

struct DamagedByteRow {
    const char* name;
    const char* file;
    std::size_t offset;  // the byte changed, or the file's size to append
    int value;
};

TEST_F(HostileFileTest, ANotebookWithBytesAfterTheMemosIsRefused) {
    // A count or length one too small leaves bytes after the memos: loading what comes
    // before them would drop a memo or cut a value, and the next save would keep it so.
    const DamagedByteRow rows[] = {
        {"memo count 1 -> 0", "memo49.nel", 0x0E, 0},       {"last value length 2 -> 1", "memo49.nel", 0x2E, 1},
        {"memo count 3 -> 2", "notebook.nel", 0x110, 2},    {"one zero byte appended", "notebook.nel", 0x175, 0},
        {"a line break appended", "empty16.nel", 16, '\n'},
    };
    FillOpenNotebook();
    const std::string path = (m_dir / "damaged.nel").string();
    for (const DamagedByteRow& r : rows) {
        std::string bytes = ReadBytes(fs::path(NELO_SOURCE_DIR) / "tests/data" / r.file);
        ASSERT_LE(r.offset, bytes.size()) << r.name;
        if (r.offset == bytes.size())
            bytes.push_back(static_cast<char>(r.value));
        else
            bytes[r.offset] = static_cast<char>(r.value);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        m_box.m_shown.clear();
        EXPECT_FALSE(m_app->OpenNotebookFile(path)) << r.name;
        ASSERT_EQ(m_box.m_shown.size(), 1u) << r.name;
        EXPECT_EQ(m_box.m_shown[0], "予期しないﾌｧｲﾙ形式です。"_sj) << r.name;
        ExpectOpenNotebookUnchanged(r.name);
    }
}

struct HugeCountRow {
    const char* name;
    std::string bytes;
};

TEST_F(HostileFileTest, CountsOfFourBillionInATinyFileAllocateNothing) {
    const std::string names = Bytes({0, 0});
    const std::string fourBillion = Bytes({0xFF, 0xFF, 0x00, 0x28, 0x6B, 0xEE});  // 4,000,000,000
    const std::string pad(8, '\0');
    const HugeCountRow rows[] = {
        {"variables", names + fourBillion + pad},
        {"schedules", names + Bytes({0, 0}) + fourBillion + pad},
        {"memos", names + Bytes({0, 0, 0, 0}) + fourBillion + pad},
        {"pairs of one memo",
         names + Bytes({0, 0, 0, 0, 1, 0, 1, 'k', 0xFF, 0xFF, 0, 0, 5, 0}) + "CMemo" + Bytes({1, 'k'}) + fourBillion},
        {"length of a name", Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF}) + pad + pad},
    };
    for (const HugeCountRow& r : rows) {
        Notebook notebook;
        long long before = g_bytesAllocated;
        EXPECT_THROW(LoadNotebookBytes(notebook, r.bytes), ArchiveException) << r.name;
        EXPECT_LT(g_bytesAllocated - before, 4096) << r.name << ", " << r.bytes.size() << " bytes";
    }
}

struct FullDiskRow {
    const char* name;
    const char* size;    // of the disk
    std::size_t filler;  // bytes written to fill it before the save
    int memos;           // memos of 100 bytes added before the save
};

TEST_F(HostileFileTest, SavingOntoAFullDiskKeepsTheOldFile) {
    const FullDiskRow rows[] = {
        // Nothing left: the first write fails.
        {"full", "64k", 256 * 1024, 1},
        // Room for a part: the save streams some blocks of the file, then runs out.
        {"fills midway", "512k", 320 * 1024, 3000},
    };
    for (const FullDiskRow& r : rows) {
        if (!MountSmallDisk(r.size)) GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
        const std::string path = m_mount + "/full.nel";
        m_app->OnFileNew();
        FillOpenNotebook();
        ASSERT_TRUE(m_app->SaveNotebookTo(path)) << r.name;
        const std::string before = ReadBytes(path);

        // Fill the disk, then grow the notebook beyond what is left.
        {
            std::ofstream filler(m_mount + "/filler", std::ios::binary);
            const std::string block(4096, 'x');
            for (std::size_t n = 0; n < r.filler && filler; n += block.size())
                filler.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
        std::string answer;
        Doc().RegisterMemo(answer, "長い、値、"_sj + std::string(20000, 'a'));
        for (int i = 0; i < r.memos; ++i)
            Doc().RegisterMemo(answer, "名前"_sj + std::to_string(i) + "、値、"_sj + std::string(100, 'v'));
        Doc().SetModifiedFlag(true);
        m_openBytes = SaveNotebookBytes(Doc());
        m_box.m_shown.clear();
        EXPECT_FALSE(m_app->DoFileSave()) << r.name;
        ASSERT_EQ(m_box.m_shown.size(), 1u) << r.name;
        EXPECT_NE(m_box.m_shown[0].find(std::strerror(ENOSPC)), std::string::npos) << m_box.m_shown[0];
        EXPECT_TRUE(ReadBytes(path) == before) << r.name;
        ExpectOpenNotebookUnchanged(r.name);
        // No half-written temporary file is left behind.
        int files = 0;
        for (const auto& e : fs::directory_iterator(m_mount)) files += e.path().filename() != "filler";
        EXPECT_EQ(files, 1) << r.name;

        // With the room back, the same save goes through.
        fs::remove(m_mount + "/filler");
        EXPECT_TRUE(m_app->DoFileSave()) << r.name;
        EXPECT_TRUE(ReadBytes(path) == m_openBytes) << r.name;
        Unmount();
    }
}

TEST_F(HostileFileTest, SavingIntoAReadOnlyFolderKeepsTheOldFile) {
    std::string folder;
    if (geteuid() != 0) {
        folder = (m_dir / "ro").string();
        fs::create_directories(folder);
    } else {
        // Permissions do not stop root: a read-only mount does.
        if (!MountSmallDisk("64k")) GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
        folder = m_mount;
    }
    const std::string path = folder + "/ro.nel";
    FillOpenNotebook();
    ASSERT_TRUE(m_app->SaveNotebookTo(path));
    const std::string before = ReadBytes(path);
    if (geteuid() != 0) {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    } else {
        ASSERT_EQ(mount("tmpfs", m_mount.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k"), 0)
            << std::strerror(errno);
    }

    std::string answer;
    Doc().RegisterMemo(answer, "新しい、メモ、１"_sj);
    Doc().SetModifiedFlag(true);
    m_openBytes = SaveNotebookBytes(Doc());
    m_box.m_shown.clear();
    EXPECT_FALSE(m_app->DoFileSave());
    EXPECT_FALSE(m_app->SaveNotebookTo(folder + "/other.nel"));
    ASSERT_EQ(m_box.m_shown.size(), 2u);
    const std::string reason = std::strerror(geteuid() != 0 ? EACCES : EROFS);
    EXPECT_NE(m_box.m_shown[0].find(reason), std::string::npos) << m_box.m_shown[0];
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_FALSE(fs::exists(folder + "/other.nel"));
    EXPECT_EQ(m_app->GetPathName(), path);
    ExpectOpenNotebookUnchanged("read-only folder");
}

}  // namespace
