// Reminders of the schedule entries (CDesktopReminders) and their settings dialog.
#include "desktop/MainWindow.h"

#include "app/NotebookSession.h"
#include "desktop/DesktopReminders.h"
#include "desktop/NotificationSettingsDialog.h"
#include "models/NotificationSettingsModel.h"

void CMainFrame::StartReminders() {
    if (m_pReminders) return;
    m_pReminders = new CDesktopReminders(m_app, *this);
    m_pReminders->Start();
}

void CMainFrame::OnNotifySettings() {
    CNotifySettingsDlg dlg(m_app.GetProfile(), m_app.GetMessageBox());
    CNotifySettingsDialog dialog(dlg, this);
    if (dialog.exec() == QDialog::Accepted && m_pReminders) m_pReminders->ReloadSettings();
}
