// One run of the terminal program: the application, its conversation pane on stdout,
// the input lines and the backslash commands.
#pragma once

#include "app/RumoApp.h"
#include "cli/CliMessageBox.h"
#include "cli/CliView.h"
#include "cli/LineReader.h"
#include "conversation/SendView.h"
#include "platform/Profile.h"

#include <string>
#include <vector>

class CCliSession {
public:
    CCliSession(bool interactive);
    ~CCliSession();

    /// Processes arguments and input; returns the exit status.
    int Run(const std::vector<std::string>& args);

private:
    /// Submits one line typed in UTF-8 (converted to code page 932 first).
    void SubmitLine(const std::string& utf8Line);
    /// Runs a line that starts with "\"; false when the session should end.
    bool RunCommand(const std::string& line);
    void Notice(const std::string& utf8Text);

    CLineReader m_reader;
    CCliMessageBox m_messageBox;
    CProfile m_profile;
    CCliView m_view;
    CRumoApp m_app;
    CSendView m_sendView;
};
