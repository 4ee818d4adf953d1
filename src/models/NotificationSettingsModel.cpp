#include "models/NotificationSettingsModel.h"

#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "reminders/LoginStart.h"
#include "text/Sjis.h"

namespace nelo {

NotificationSettingsModel::NotificationSettingsModel(Profile& profile, MessageBox& messageBox)
    : m_settings(ReminderSettings::Read(profile)),
      m_loginStart(IsLoginStartSet()),
      m_profile(profile),
      m_messageBox(messageBox),
      m_loginStartWas(m_loginStart) {}

bool NotificationSettingsModel::OnOK() {
    if (m_settings.minutesBefore < 0 || m_settings.minutesBefore > ReminderSettings::kMaxMinutesBefore) {
        m_messageBox.Show("通知は開始の 0 分前から 1440 分前までで指定してください。"_sj, "", MbButtons::Ok,
                          MbIcon::Exclamation);
        return false;
    }
    if (m_settings.allDayMinute < 0 || m_settings.allDayMinute >= 24 * 60) {
        m_messageBox.Show("時刻のない予定の通知時刻は 00:00 から 23:59 までで指定してください。"_sj, "", MbButtons::Ok,
                          MbIcon::Exclamation);
        return false;
    }
    if (!m_settings.Write(m_profile)) {
        m_messageBox.Show("設定を保存できませんでした。("_sj + Utf8ToCp932(m_profile.GetPath()).text + ")", "",
                          MbButtons::Ok, MbIcon::Exclamation);
        return false;
    }
    if (m_loginStart != m_loginStartWas) {
        std::string error;
        if (!SetLoginStart(m_loginStart, error)) {
            m_messageBox.Show("ログイン時の起動を設定できませんでした。("_sj + Utf8ToCp932(error).text + ")", "",
                              MbButtons::Ok, MbIcon::Exclamation);
            return false;
        }
        m_loginStartWas = m_loginStart;
    }
    return true;
}

}  // namespace nelo
