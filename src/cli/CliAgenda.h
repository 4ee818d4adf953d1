// nelo-cli --agenda [DAYS] [FILE] [--json]: the entries from now through the end of the
// DAYS-th day after today (default 1: the rest of today and tomorrow) of FILE or the
// most recent notebook, printed and done. The notebook is only read: nothing is purged
// from it, its file and the recent-file list stay as they are, so it is safe in a shell
// start-up file, cron or a status bar.
#pragma once

#include <string>
#include <vector>

/// True when the arguments ask for the agenda ("--agenda" before any "--", and no
/// --help or --version, which take precedence).
bool IsAgendaRequest(const std::vector<std::string>& args);

/// Prints the agenda; returns the exit status: 0 (entries or none), 1 when the notebook
/// does not load, 2 for wrong arguments or clock variables.
int RunAgenda(const std::vector<std::string>& args);
