// The commands that open dialogs: text-file input, settings, about, help.
#include "desktop/MainFrame.h"

void CMainFrame::OnReadTextFile() {}
void CMainFrame::OnSettings() {}
void CMainFrame::OnAbout() {}
void CMainFrame::OnHelp() {}
