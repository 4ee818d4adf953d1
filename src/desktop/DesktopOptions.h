// The desktop program's command line: nelo [--new] [--minimized] [FILE.nel], --help,
// --version, and --quit-after-first-paint for the start-up benchmark.
#pragma once

#include <string>
#include <vector>

struct DesktopOptions {
    static constexpr const char* kUsage =
        "usage: nelo [--new] [--minimized] [FILE.nel]\n       nelo --help | --version\n";

    bool startNew = false;
    bool minimized = false;
    bool quitAfterFirstPaint = false;
    std::string file;

    /// Reads the arguments (those Qt took already removed). False when the program ends
    /// here (help, version, a wrong argument): status is then its exit status, and what
    /// it had to say is written.
    bool Parse(const std::vector<std::string>& args, int& status);
};
