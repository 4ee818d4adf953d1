// The list dialogs: variables (F2), schedules (F3), memos (F4). Each runs the core's
// command, which fills the dialog's rows before it opens and lets the notebook mark
// itself modified after it closes when the dialog changed its part of the notebook.
#include "desktop/MainWindow.h"

#include "app/NotebookSession.h"
#include "desktop/MemoListDialog.h"
#include "desktop/QtText.h"
#include "desktop/ScheduleListDialog.h"
#include "desktop/VariablesDialog.h"
#include "models/MemoListModel.h"
#include "models/ScheduleListModel.h"
#include "models/VariableListModel.h"

#include <QDir>
#include <QFileInfo>

using namespace nelo;

void MainWindow::OnVariables() {
    MessageBox& messageBox = m_session.GetMessageBox();
    RunVariablesCommand(m_session.GetNotebook(), messageBox, [&](VariableListModel& dlg) {
        VariablesDialog dialog(dlg, messageBox, this);
        dialog.exec();
    });
}

void MainWindow::OnSchedules() { OpenScheduleList({}); }

void MainWindow::OpenScheduleList(const std::function<bool(const ScheduleEntry&)>& select) {
    MessageBox& messageBox = m_session.GetMessageBox();
    // The calendar file dialogs start in the notebook's folder (home for an untitled one).
    const std::string& path = m_session.GetPathName();
    const QString folder = path.empty() ? QDir::homePath() : QFileInfo(PathToQString(path)).absolutePath();
    RunSchedListCommand(m_session.GetNotebook(), messageBox, [&](ScheduleListModel& dlg) {
        for (int i = 0; select && i < dlg.GetList().GetCount(); ++i) {
            if (const ScheduleEntry* entry = dlg.GetEntry(i); entry && select(*entry)) {
                dlg.Select(i);
                break;
            }
        }
        ScheduleListDialog dialog(dlg, messageBox, this, folder);
        dialog.exec();
    });
}

void MainWindow::OnMemos() {
    MessageBox& messageBox = m_session.GetMessageBox();
    // The export proposes the notebook's folder; an untitled notebook has none, so home.
    const std::string& path = m_session.GetPathName();
    const QString folder = path.empty() ? QDir::homePath() : QFileInfo(PathToQString(path)).absolutePath();
    RunMemoListCommand(m_session.GetNotebook(), messageBox, [&](MemoListModel& dlg) {
        MemoListDialog dialog(dlg, messageBox, folder, this);
        dialog.exec();
    });
}
