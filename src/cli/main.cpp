// nelo-cli: the notebook on a terminal. Lines come from stdin in UTF-8; the
// conversation goes to stdout, message boxes to stderr.
#include "cli/CliSession.h"

#include <clocale>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    std::setlocale(LC_CTYPE, "");
    std::vector<std::string> args(argv + 1, argv + argc);
    CCliSession session(isatty(STDIN_FILENO) != 0);
    return session.Run(args);
}
