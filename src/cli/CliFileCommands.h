// The notebook file on the terminal: start-up from the command line and the end of the
// input with unsaved changes (the commands themselves: RegisterFileCommands).
#pragma once

#include <string>
#include <vector>

class CCliSession;

/// Processes [--new] [FILE.nel] and opens the first document: the named file, else the
/// newest of the recent-file list (unless --new), else a new one. False when the
/// program should end at once with status (help shown, or wrong arguments).
bool StartFromArguments(CCliSession& session, const std::vector<std::string>& args, int& status);

/// At the end of the input: true when the session may end. Unsaved changes are offered
/// for saving on a terminal (cancel returns false to go on reading); otherwise, or when
/// bFinal (the terminal has nothing more to read), a warning says they are not saved.
bool EndSession(CCliSession& session, bool bFinal);
