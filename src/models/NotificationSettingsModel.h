// The notification settings ("通知"): reminders on or off, how many minutes before an
// entry, the time of day for entries without a time, the start-up summary, and
// 「ログイン時に起動」 (the autostart entry). The settings live in the profile, the
// autostart entry in its own file.
#pragma once

#include "reminders/ReminderSettings.h"

namespace nelo {

class Profile;
class MessageBox;

class NotificationSettingsModel {
public:
    /// The fields start with the profile's settings and whether the autostart entry is set.
    NotificationSettingsModel(Profile& profile, MessageBox& messageBox);

    /// OK: checks the fields, stores the settings and writes or removes the autostart
    /// entry when its box changed. False when a field is out of range or something could
    /// not be written (a message box says which); the dialog then stays open.
    bool OnOK();

    /// The fields of the reminders.
    const ReminderSettings& GetSettings() const { return m_settings; }
    void SetSettings(const ReminderSettings& settings) { m_settings = settings; }
    /// The box 「ログイン時に起動」.
    bool IsLoginStartChecked() const { return m_loginStart; }
    void SetLoginStartChecked(bool loginStart) { m_loginStart = loginStart; }

private:
    ReminderSettings m_settings;
    bool m_loginStart = false;
    Profile& m_profile;
    MessageBox& m_messageBox;
    bool m_loginStartWas = false;
};

}  // namespace nelo
