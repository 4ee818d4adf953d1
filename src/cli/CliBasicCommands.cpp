#include "cli/CliCommands.h"
#include "cli/CliSession.h"

void RegisterBasicCommands(CCliSession& session) {
    session.AddCommand("help", "\\help", "このヘルプ", [&session](const std::string&) {
        session.PrintHelp();
        return true;
    });
    session.AddCommand("quit", "\\quit", "終了", [](const std::string&) { return false; });
}
