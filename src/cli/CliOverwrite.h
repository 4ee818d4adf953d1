// Commands that write a file the user names (\save PATH, \export PATH) never replace
// another file unasked: on a terminal the user is asked, in a pipe the command is
// refused unless it was given with --force.
#pragma once

#include <string>

class CliSession;

/// Takes "--force" off the start or the end of a command's argument text; true when it
/// was there.
bool TakeForceOption(std::string& argText);

/// Before command writes path (UTF-8): true when nothing is there yet, when it is not a
/// regular file (the write itself refuses that and says why), when force is set, or
/// when the user agrees to replace the file. On a terminal the question is asked here
/// when ask (an empty answer is no), else left to the command; in a pipe the command is
/// refused with a notice that names "command --force".
bool MayReplaceFile(CliSession& session, const std::string& path, bool force, bool ask, const char* command);
