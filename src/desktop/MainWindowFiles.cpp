// The file commands: New, Open, Save, Save As, the recent files, and the save-changes
// question before the notebook is replaced or the window closes. The core asks the
// question and reports failures; the window adds the file dialogs and the menu.
#include "desktop/MainWindow.h"

#include "app/RecoveryCopy.h"
#include "app/NotebookSession.h"
#include "desktop/FileDialogs.h"
#include "desktop/QtText.h"
#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "text/Sjis.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

using namespace nelo;

bool MainWindow::StartUp(const std::string& fileArg, bool startNew) {
    const bool ok = m_session.StartUp(fileArg, startNew);
    UpdateRecentFileMenu();
    return ok;
}

void MainWindow::MentionRecoveryCopies() {
    const std::vector<std::string> copies = TakeUnmentionedRecoveryCopies();
    if (copies.empty()) return;
    std::string text = "前回保存されなかった変更の復元用コピーがあります（「ﾌｧｲﾙ」メニューの「開く」で開けます）:"_sj;
    for (const std::string& c : copies) text += "\n" + Utf8ToCp932(c).text;
    m_session.GetMessageBox().Show(text, std::string(), MbButtons::Ok, MbIcon::Information);
}

void MainWindow::InstallPathPrompt() {
    m_session.SetPathPrompt([this](std::string& path) { return AskSavePath(path); });
}

bool MainWindow::AskSavePath(std::string& path) {
    // The current name is offered; an untitled notebook offers its title as the file name.
    QString suggested = m_session.GetPathName().empty()
                            ? QDir(DialogFolder()).filePath(ToQString(m_session.GetTitle()) + QStringLiteral(".nel"))
                            : PathToQString(m_session.GetPathName());
    const QString chosen = AskNotebookToSave(this, suggested);
    if (chosen.isEmpty()) return false;
    path = PathFromQString(chosen);
    return true;
}

QString MainWindow::DialogFolder() const {
    if (!m_session.GetPathName().empty()) return QFileInfo(PathToQString(m_session.GetPathName())).absolutePath();
    // A desktop program has no meaningful current folder: an untitled notebook starts at home.
    return QDir::homePath();
}

void MainWindow::OnFileNew() {
    m_session.NewWithQuestion();
    UpdateRecentFileMenu();
}

void MainWindow::OnFileOpen() {
    // The dialog comes first, as in every program: cancelling it keeps the notebook
    // without a question.
    const QString chosen = AskNotebookToOpen(this, DialogFolder());
    if (chosen.isEmpty()) return;
    m_session.OpenWithQuestion(PathFromQString(chosen));
    UpdateRecentFileMenu();
}

void MainWindow::OnFileSave() {
    m_session.DoFileSave();
    UpdateRecentFileMenu();
}

void MainWindow::OnFileSaveAs() {
    std::string path;
    if (AskSavePath(path)) m_session.SaveNotebookTo(path);
    UpdateRecentFileMenu();
}

void MainWindow::OnOpenRecentFile(int index) {
    const RecentFileList& list = m_session.GetRecentFileList();
    if (index < 0 || static_cast<std::size_t>(index) >= list.GetEntries().size()) return;
    const std::string path = list.GetEntries()[static_cast<std::size_t>(index)];
    // The notebook already shown is only kept.
    if (!m_session.GetPathName().empty() && AbsolutePath(path) == m_session.GetPathName()) return;
    if (!m_session.SaveModified()) {
        UpdateRecentFileMenu();
        return;
    }
    // An entry that does not open any more leaves the list (the core says so).
    m_session.OpenRecentFile(path);
    UpdateRecentFileMenu();
}

void MainWindow::UpdateRecentFileMenu() {
    const std::vector<std::string>& entries = m_session.GetRecentFileList().GetEntries();
    for (std::size_t i = 0; i < std::size(m_recentActions); ++i) {
        QAction* action = m_recentActions[i];
        if (!action) continue;
        if (i < entries.size()) {
            const QString path = PathToQString(entries[i]);
            action->setText(RecentFileMenuText(static_cast<int>(i), path));
            action->setStatusTip(QDir::toNativeSeparators(path));
            action->setEnabled(true);
            action->setVisible(true);
        } else if (i == 0) {
            // An empty list shows one grey entry in the list's place.
            action->setText(QStringLiteral("最新のﾌｧｲﾙ"));
            action->setStatusTip(QString());
            action->setEnabled(false);
            action->setVisible(true);
        } else {
            action->setVisible(false);
        }
    }
}

bool MainWindow::MayClose() {
    const bool ok = m_session.SaveModified();
    UpdateRecentFileMenu();
    return ok;
}
