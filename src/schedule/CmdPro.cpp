#include "schedule/CmdPro.h"

// Interim: schedules and command words arrive with the command processor.
int CCmdPro::DoCommand(std::string&, const std::string&) { return 0; }

void CCmdPro::DeleteContents() {
    m_bSchedChanged = 0;
    m_bPastPurged = 0;
}
