// The command line both programs take: [--new] [FILE.nel], -h/--help, --version, and
// "--" before a file name that starts with "-". Each program says the outcome in its own
// words.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace nelo {

struct StartArguments {
    enum Outcome {
        Run,            ///< start with startNew and file
        Help,           ///< -h or --help
        Version,        ///< --version
        UnknownOption,  ///< bad is an option nobody knows
        TwoFiles,       ///< more than one file named
    };

    bool startNew = false;
    std::string file;
    std::string bad;

    /// Reads args (the program's name not among them). extraOption (when given) is asked
    /// about every other option first and returns true for one it takes.
    Outcome Parse(const std::vector<std::string>& args,
                  const std::function<bool(const std::string&)>& extraOption = {});
};

}  // namespace nelo
