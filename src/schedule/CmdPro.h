// The command processor: schedule lines, command words and unit/year words.
#pragma once

#include <string>

class CCmdPro {
public:
    /// Answers a line of route Command; 0 when the line is none of its forms.
    int DoCommand(std::string& answer, const std::string& text);
    /// Deletes every schedule entry and clears both flags.
    void DeleteContents();

    int m_bSchedChanged = 0;  ///< the schedule list changed since the last new or open
    int m_bPastPurged = 0;    ///< past entries were removed when the document was loaded
};
