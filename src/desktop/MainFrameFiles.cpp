// The file commands: New, Open, Save, Save As, the recent files, and the save-changes
// question before the notebook is replaced or the window closes.
#include "desktop/MainFrame.h"

#include "app/RumoApp.h"

void CMainFrame::OnFileNew() {}
void CMainFrame::OnFileOpen() {}
void CMainFrame::OnFileSave() {}
void CMainFrame::OnFileSaveAs() {}
void CMainFrame::OnOpenRecentFile(int /*nIndex*/) {}
void CMainFrame::UpdateRecentFileMenu() {}

bool CMainFrame::MayClose() { return m_app.SaveModified(); }
