#include "reminders/LoginStart.h"
#include "reminders/ReminderSettings.h"

#include "platform/Profile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace nelo;

namespace fs = std::filesystem;

namespace {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "nelo-reminders-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ec;
        fs::permissions(m_path, fs::perms::owner_all, ec);
        fs::remove_all(m_path, ec);
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

TEST(ReminderSettingsTest, MinuteOfDayTextsAreReadStrictly) {
    struct Row {
        const char* text;
        int minute;  // -1: refused
    };
    const Row rows[] = {{"09:00", 540}, {"9:05", 545}, {"00:00", 0}, {"23:59", 1439}, {"24:00", -1},
                        {"9:5", -1},    {"09:60", -1}, {":30", -1},  {"0900", -1},    {"09:00 ", -1},
                        {"-1:00", -1},  {"", -1},      {"１:00", -1}};
    for (const Row& r : rows) {
        int minute = -1;
        const bool ok = ParseMinuteOfDay(r.text, minute);
        EXPECT_EQ(ok ? minute : -1, r.minute) << r.text;
    }
    EXPECT_EQ(MinuteOfDayText(545), "09:05");
}

TEST(ReminderSettingsTest, ProfileValuesOutOfRangeReadAsDefaults) {
    TempFolder dir;
    const std::string path = dir.Path() + "/Nelo.conf";
    {
        std::ofstream out(path);
        out << "[Reminders]\nEnabled=2\nMinutesBefore=1441\nAllDayTime=25:00\nStartupSummary=x\n";
    }
    EXPECT_EQ(ReminderSettings::Read(Profile(path)), ReminderSettings{});
    {
        std::ofstream out(path);
        out << "[Reminders]\nEnabled=0\nMinutesBefore=1440\nAllDayTime=7:30\nStartupSummary=0\n";
    }
    const ReminderSettings read = ReminderSettings::Read(Profile(path));
    EXPECT_EQ(read, (ReminderSettings{false, 1440, 450, false}));

    Profile profile(dir.Path() + "/other.conf");
    const ReminderSettings written{true, 0, 23 * 60 + 59, false};
    ASSERT_TRUE(written.Write(profile));
    EXPECT_EQ(ReminderSettings::Read(Profile(profile.GetPath())), written);
}

class LoginStartTest : public ::testing::Test {
protected:
    LoginStartTest() {
        const char* old = std::getenv("XDG_CONFIG_HOME");
        m_old = old ? old : "";
        m_hadOld = old != nullptr;
        setenv("XDG_CONFIG_HOME", dir.Path().c_str(), 1);
    }
    ~LoginStartTest() override {
        if (m_hadOld)
            setenv("XDG_CONFIG_HOME", m_old.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
    }

    TempFolder dir;
    std::string m_old;
    bool m_hadOld = false;
};

TEST_F(LoginStartTest, TheEntryIsWrittenValidAndRemoved) {
    const std::string path = dir.Path() + "/autostart/com.vantor.Nelo.desktop";
    EXPECT_EQ(LoginStartPath(), path);
    EXPECT_FALSE(IsLoginStartSet());
    std::string error;
    ASSERT_TRUE(SetLoginStart(true, error)) << error;
    EXPECT_TRUE(IsLoginStartSet());
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), LoginStartEntry());
    EXPECT_NE(text.str().find("\nExec=nelo --minimized\n"), std::string::npos);
    if (std::system("command -v desktop-file-validate > /dev/null") == 0) {
        EXPECT_EQ(std::system(("desktop-file-validate '" + path + "'").c_str()), 0);
    }

    ASSERT_TRUE(SetLoginStart(false, error)) << error;
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(SetLoginStart(false, error)) << "absent already";
}

TEST_F(LoginStartTest, AHiddenEntryIsOffAndFailuresSaySo) {
    const std::string path = dir.Path() + "/autostart/com.vantor.Nelo.desktop";
    fs::create_directories(dir.Path() + "/autostart");
    {
        std::ofstream out(path);
        out << "[Desktop Entry]\nType=Application\nExec=nelo --minimized\nHidden=true\n";
    }
    EXPECT_FALSE(IsLoginStartSet());
    // A folder where the entry belongs can be neither replaced nor removed (even by root).
    fs::remove(path);
    fs::create_directories(path + "/inside");
    std::string error;
    EXPECT_FALSE(SetLoginStart(true, error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(SetLoginStart(false, error));
    EXPECT_NE(error.find("com.vantor.Nelo.desktop"), std::string::npos) << error;
}

}  // namespace
