// Printing the conversation: print, direct print, preview, printer setup.
#include "desktop/MainFrame.h"

void CMainFrame::OnPrint() {}
void CMainFrame::OnPrintDirect() {}
void CMainFrame::OnPrintPreview() {}
void CMainFrame::OnPrintSetup() {}
