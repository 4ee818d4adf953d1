// nelo-cli: the notebook on a terminal. Lines come from stdin in UTF-8; the
// conversation goes to stdout, message boxes to stderr.
#include "cli/CliAgenda.h"
#include "cli/CliFileCommands.h"
#include "cli/CliSession.h"
#include "cli/CliSignals.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <new>
#include <string>
#include <unistd.h>
#include <vector>

using namespace nelo;

int main(int argc, char** argv) {
    const bool interactive = isatty(STDIN_FILENO) != 0;
    // Only the line editor needs the terminal's character set: a run from a pipe does
    // without reading the locale.
    if (interactive) {
        std::setlocale(LC_CTYPE, "");
        // Typed lines are UTF-8 whatever the locale says: in a locale without it the
        // editor would drop every Japanese character.
        if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) std::setlocale(LC_CTYPE, "C.UTF-8");
    }
    InstallCliSignalHandlers(interactive);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (IsAgendaRequest(args)) std::_Exit(RunAgenda(args));
    // The session is never destroyed: freeing a large notebook record by record takes
    // longer than loading it did, and the system takes the memory back at once.
    auto* session = new CliSession(interactive);
    int status = 0;
    try {
        status = session->Run(args);
    } catch (const std::bad_alloc&) {
        // What was being built is gone again; the notebook itself is still whole.
        status = EndOutOfMemory(*session);
    }
    session->GetView().Flush();
    // Nor is the notebook's lock given up by a destructor.
    session->GetNotebookSession().ReleaseNotebookLock();
    std::fflush(stdout);
    std::fflush(stderr);
    if (int signo = PendingTermination()) EndBySignal(signo);
    std::_Exit(status);
}
