// Reminders of the schedule entries (DesktopReminders) and their settings dialog.
#include "desktop/MainWindow.h"

#include "app/NotebookSession.h"
#include "desktop/DesktopReminders.h"
#include "desktop/NotificationSettingsDialog.h"
#include "models/NotificationSettingsModel.h"

using namespace nelo;

void MainWindow::StartReminders() {
    if (m_reminders) return;
    m_reminders = new DesktopReminders(m_session, *this);
    m_reminders->Start();
}

void MainWindow::OnNotifySettings() {
    NotificationSettingsModel dlg(m_session.GetProfile(), m_session.GetMessageBox());
    NotificationSettingsDialog dialog(dlg, this);
    if (dialog.exec() == QDialog::Accepted && m_reminders) m_reminders->ReloadSettings();
}
