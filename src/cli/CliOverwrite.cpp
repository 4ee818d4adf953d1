#include "cli/CliOverwrite.h"

#include "cli/CliSession.h"
#include "platform/AtomicFile.h"

#include <cctype>

using namespace nelo;

bool TakeForceOption(std::string& argText) {
    static const std::string kForce = "--force";
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!argText.empty() && isBlank(argText.back())) argText.pop_back();
    // Before the path: "--force PATH".
    if (argText.compare(0, kForce.size(), kForce) == 0 &&
        (argText.size() == kForce.size() || isBlank(argText[kForce.size()]))) {
        auto rest = argText.find_first_not_of(" \t", kForce.size());
        argText = rest == std::string::npos ? std::string() : argText.substr(rest);
        return true;
    }
    // After it: "PATH --force".
    if (argText.size() > kForce.size() && argText.compare(argText.size() - kForce.size(), kForce.size(), kForce) == 0 &&
        isBlank(argText[argText.size() - kForce.size() - 1])) {
        argText.erase(argText.size() - kForce.size());
        while (!argText.empty() && isBlank(argText.back())) argText.pop_back();
        return true;
    }
    return false;
}

bool MayReplaceFile(CliSession& session, const std::string& path, bool force, bool ask, const char* command) {
    std::string error;
    if (force || ExamineWriteTarget(path, error) != WriteTarget::RegularFile) return true;
    if (!session.IsInteractive()) {
        const std::string quoted = path.find_first_of(" \t") == std::string::npos ? path : "\"" + path + "\"";
        session.Notice(path + " はすでにあります。上書きせずに取りやめました（入力が端末ではないため確認できません。" +
                       "上書きするときは " + command + " --force " + quoted + "）。");
        return false;
    }
    if (!ask) return true;
    std::string reply;
    if (!session.GetReader().Ask(path + " はすでにあります。上書きしますか? [y/N] ", reply)) return false;
    for (char& c : reply) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return reply == "y" || reply == "yes";
}
