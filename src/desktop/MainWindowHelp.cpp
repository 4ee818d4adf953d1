// The about box and the help page that ships with the program.
#include "desktop/MainWindow.h"

#include "desktop/AboutDialog.h"
#include "desktop/HelpWindow.h"

#include "desktop/InputPane.h"

using namespace nelo;

void MainWindow::OnAbout() {
    AboutDialog dlg(this);
    dlg.exec();
}

void MainWindow::OnHelp() { ShowHelpPage(QString()); }

void MainWindow::OnContextHelp() {
    ShowHelpPage(ActivePane() == GetInputPane() ? QStringLiteral("input") : QStringLiteral("conversation"));
}

void MainWindow::ShowHelpPage(const QString& anchor) {
    if (!m_helpWindow) m_helpWindow = new HelpWindow(this);
    m_helpWindow->ShowAt(anchor, this);
}
