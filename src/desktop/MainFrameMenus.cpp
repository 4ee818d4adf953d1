// The menus, the tool bar, the status bar and the enabling of commands by focus.
#include "desktop/MainFrame.h"

void CMainFrame::CreateActions() {}
void CMainFrame::CreateMenus() {}
void CMainFrame::CreateToolBar() {}
void CMainFrame::CreateStatusBar() {}
void CMainFrame::UpdateCommandStates() {}
