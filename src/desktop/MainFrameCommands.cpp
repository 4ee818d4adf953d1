// Text-file input (F9) and the settings dialog (F5).
#include "desktop/MainFrame.h"

void CMainFrame::OnReadTextFile() {}
void CMainFrame::OnSettings() {}
