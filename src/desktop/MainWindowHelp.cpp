// The about box and the help page that ships with the program.
#include "desktop/MainWindow.h"

#include "desktop/AboutDialog.h"
#include "desktop/HelpWindow.h"

#include "desktop/InputPane.h"

void CMainFrame::OnAbout() {
    CAboutDlg dlg(this);
    dlg.exec();
}

void CMainFrame::OnHelp() { ShowHelpPage(QString()); }

void CMainFrame::OnContextHelp() {
    ShowHelpPage(ActivePane() == GetInputPane() ? QStringLiteral("input") : QStringLiteral("conversation"));
}

void CMainFrame::ShowHelpPage(const QString& anchor) {
    if (!m_pHelpWindow) m_pHelpWindow = new CHelpWindow(this);
    m_pHelpWindow->ShowAt(anchor, this);
}
