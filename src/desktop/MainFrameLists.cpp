// The list dialogs: variables (F2), schedules (F3), memos (F4).
#include "desktop/MainFrame.h"

void CMainFrame::OnVariables() {}
void CMainFrame::OnSchedules() {}
void CMainFrame::OnMemos() {}
