#include "models/NotificationSettingsModel.h"

#include "platform/Profile.h"
#include "reminders/LoginStart.h"
#include "text/Sjis.h"
#include "ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace nelo;

namespace {

class NotificationSettingsModelTest : public ::testing::Test {
protected:
    NotificationSettingsModelTest() : profile(folder.File("Nelo.conf")) {
        const char* old = std::getenv("XDG_CONFIG_HOME");
        if (old) m_old = old;
        setenv("XDG_CONFIG_HOME", folder.File("config").c_str(), 1);
    }
    ~NotificationSettingsModelTest() override { setenv("XDG_CONFIG_HOME", m_old.c_str(), 1); }

    static std::string Read(const std::string& path) {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    TempFolder folder;
    Profile profile;
    std::string m_old;
};

TEST_F(NotificationSettingsModelTest, FieldsOutOfRangeKeepTheDialogOpenAndStoreNothing) {
    struct Row {
        int minutes, allDayMinute;
        std::string message;
    };
    const Row rows[] = {
        {1441, 540, "通知は開始の 0 分前から 1440 分前までで指定してください。"_sj},
        {-1, 540, "通知は開始の 0 分前から 1440 分前までで指定してください。"_sj},
        {10, 1440, "時刻のない予定の通知時刻は 00:00 から 23:59 までで指定してください。"_sj},
    };
    for (const Row& r : rows) {
        ScriptedMessageBox mb;
        NotificationSettingsModel model(profile, mb);
        ReminderSettings settings;
        settings.minutesBefore = r.minutes;
        settings.allDayMinute = r.allDayMinute;
        model.SetSettings(settings);
        model.SetLoginStartChecked(true);
        EXPECT_FALSE(model.OnOK());
        ASSERT_EQ(mb.GetShown().size(), 1u);
        EXPECT_EQ(mb.GetShown()[0].text, r.message);
    }
    EXPECT_FALSE(std::filesystem::exists(profile.GetPath()));
    EXPECT_FALSE(IsLoginStartSet());
}

TEST_F(NotificationSettingsModelTest, OkStoresTheSettingsAndTheAutostartEntryOnlyWhenItsBoxChanged) {
    ScriptedMessageBox mb;
    {
        NotificationSettingsModel model(profile, mb);
        EXPECT_EQ(model.GetSettings(), ReminderSettings{});
        EXPECT_FALSE(model.IsLoginStartChecked());
        model.SetSettings({false, 30, 8 * 60, false});
        model.SetLoginStartChecked(true);
        ASSERT_TRUE(model.OnOK());
    }
    EXPECT_EQ(ReminderSettings::Read(Profile(profile.GetPath())), (ReminderSettings{false, 30, 480, false}));
    EXPECT_EQ(Read(LoginStartPath()), LoginStartEntry());

    // An entry the user edited stays as it is while the box is left alone.
    std::ofstream(LoginStartPath()) << LoginStartEntry() << "X-Edited=true\n";
    {
        NotificationSettingsModel model(profile, mb);
        EXPECT_EQ(model.GetSettings().minutesBefore, 30);
        EXPECT_TRUE(model.IsLoginStartChecked());
        ASSERT_TRUE(model.OnOK());
    }
    EXPECT_EQ(Read(LoginStartPath()), LoginStartEntry() + "X-Edited=true\n");
    {
        NotificationSettingsModel model(profile, mb);
        model.SetLoginStartChecked(false);
        ASSERT_TRUE(model.OnOK());
    }
    EXPECT_FALSE(std::filesystem::exists(LoginStartPath()));
    EXPECT_TRUE(mb.GetShown().empty());
}

TEST_F(NotificationSettingsModelTest, AnAutostartEntryThatCannotBeWrittenIsReported) {
    std::filesystem::create_directories(LoginStartPath() + "/inside");
    ScriptedMessageBox mb;
    NotificationSettingsModel model(profile, mb);
    model.SetLoginStartChecked(true);
    EXPECT_FALSE(model.OnOK());
    ASSERT_EQ(mb.GetShown().size(), 1u);
    EXPECT_EQ(mb.GetShown()[0].text.rfind("ログイン時の起動を設定できませんでした。("_sj, 0), 0u)
        << mb.GetShown()[0].text;
}

}  // namespace
