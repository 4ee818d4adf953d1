#include "cli/CliCommands.h"
#include "cli/CliSession.h"

#include <cstdio>

using namespace nelo;

void RegisterBasicCommands(CliSession& session) {
    session.AddCommand("help", "\\help", "このヘルプ", [&session](const std::string&) {
        session.PrintHelp(stdout, false);
        return true;
    });
    session.AddCommand("quit", "\\quit", "終了", [](const std::string&) { return false; });
}
