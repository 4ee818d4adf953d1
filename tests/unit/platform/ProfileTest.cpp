#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/Profile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace nelo;

namespace fs = std::filesystem;

namespace {

class ProfileTest : public testing::Test {
protected:
    ProfileTest() {
        m_dir = fs::temp_directory_path() / ("nelo-profile-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
    }
    ~ProfileTest() override { fs::remove_all(m_dir); }
    fs::path m_dir;
};

TEST_F(ProfileTest, MissingValuesReadAsDefaults) {
    Profile profile((m_dir / "Vantor" / "Nelo.conf").string());
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File1", "???"), "???");
    EXPECT_EQ(profile.GetProfileInt("Window size", "max", 0), 0);
}

TEST_F(ProfileTest, ValuesSurviveAReload) {
    std::string path = (m_dir / "Vantor" / "Nelo.conf").string();
    {
        Profile profile(path);
        EXPECT_TRUE(profile.WriteProfileString("Recent File List", "File1", "/tmp/a b.nel"));
        EXPECT_TRUE(profile.WriteProfileString("SendViewFont", "FontAttr", "f800000f 0 180 0 0 80 32 ＭＳ Ｐゴシック"));
        EXPECT_TRUE(profile.WriteProfileInt("Window size", "icon", 1));
        EXPECT_TRUE(profile.WriteProfileString("Odd", "Text", "line1\nline2\\"));
    }
    Profile again(path);
    EXPECT_EQ(again.GetProfileString("Recent File List", "File1"), "/tmp/a b.nel");
    EXPECT_EQ(again.GetProfileString("SendViewFont", "FontAttr"), "f800000f 0 180 0 0 80 32 ＭＳ Ｐゴシック");
    EXPECT_EQ(again.GetProfileInt("Window size", "icon", 0), 1);
    EXPECT_EQ(again.GetProfileString("Odd", "Text"), "line1\nline2\\");
}

TEST_F(ProfileTest, DefaultPathFollowsXdg) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", "/x/y", 1);
    EXPECT_EQ(Profile::DefaultPath(), "/x/y/Vantor/Nelo.conf");
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

TEST_F(ProfileTest, FailedAtomicWriteKeepsOldFile) {
    fs::create_directories(m_dir);
    std::string path = (m_dir / "f").string();
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, "old", error));
    fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
    bool ok = WriteFileAtomically(path, "new", error);
    fs::permissions(m_dir, fs::perms::owner_all);
    if (::geteuid() != 0) {
        EXPECT_FALSE(ok);  // root may write anywhere
    }
    std::string data;
    ASSERT_TRUE(ReadWholeFile(path, data, error));
    EXPECT_EQ(data, ok ? "new" : "old");
    for (auto& e : fs::directory_iterator(m_dir)) EXPECT_EQ(e.path().filename(), "f");
}

TEST(Clock, TimestampParsing) {
    setenv("TZ", "UTC0", 1);
    tzset();
    std::time_t t;
    ASSERT_TRUE(ParseLocalTimestamp("2003-06-01 10:00:00", t));
    EXPECT_EQ(t, 1054461600);
    ASSERT_TRUE(ParseLocalTimestamp("2004-02-29 23:59:59", t));
    // Not the form, or a date or time that does not exist.
    for (const char* bad : {"2003-06-01", "2003-13-01 10:00:00", "2003-06-01 10:00:00x", "2003-02-30 10:00:00",
                            "2003-02-29 10:00:00", "1900-02-29 00:00:00", "2003-04-31 00:00:00", "2003-06-01 24:00:00",
                            "2003-06-01 10:60:00", "2003-06-01 10:00:60", "2003-6-1 10:00:00", "+2003-06-01 10:00:00",
                            " 2003-06-01 10:00:00", "2003-06-01T10:00:00", "2003-06-01 10:00", "yesterday"})
        EXPECT_FALSE(ParseLocalTimestamp(bad, t)) << bad;
    std::tm tm = LocalTime(1054461600);
    EXPECT_EQ(tm.tm_hour, 10);
    EXPECT_EQ(MakeLocalTime(2003, 6, 31, 0, 0, 0), MakeLocalTime(2003, 7, 1, 0, 0, 0));  // normalised
}

}  // namespace
