// The about box and the help page that ships with the program.
#include "desktop/MainFrame.h"

void CMainFrame::OnAbout() {}
void CMainFrame::OnHelp() {}
