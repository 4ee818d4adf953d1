// The notebook file on the terminal: start-up from the command line and the end of the
// session with unsaved changes (the commands themselves: RegisterFileCommands).
#pragma once

#include <string>
#include <vector>

class CliSession;

/// Processes the options and [FILE.nel] and opens the first notebook: the named file,
/// else the newest of the recent-file list (unless --new), else a new one. On a
/// terminal, recovery copies not mentioned before are mentioned. False when the program
/// should end at once with status (help or version shown, wrong arguments or
/// environment, a named file that could not be opened).
bool StartFromArguments(CliSession& session, const std::vector<std::string>& args, int& status);

/// At the end of the input (or \quit): true when the session may end. Unsaved changes
/// are offered for saving on a terminal, where only declining discards them; otherwise
/// a warning says they are not saved.
bool EndSession(CliSession& session);

/// The program is ended from outside (signo: SIGHUP or SIGTERM; 0 when the terminal
/// went away without one): unsaved changes go to a recovery copy, whose path is shown.
/// Returns the exit status.
int EndFromOutside(CliSession& session, int signo);

/// Memory ran out while a line or command was handled: unsaved changes go to a recovery
/// copy, as for an end from outside. Returns the exit status.
int EndOutOfMemory(CliSession& session);
