#include "app/StartArguments.h"

namespace nelo {

StartArguments::Outcome StartArguments::Parse(const std::vector<std::string>& args,
                                              const std::function<bool(const std::string&)>& extraOption) {
    bool optionsAllowed = true;
    for (const std::string& a : args) {
        if (optionsAllowed && (a == "-h" || a == "--help")) return Help;
        if (optionsAllowed && a == "--version") return Version;
        if (optionsAllowed && a == "--new") {
            startNew = true;
        } else if (optionsAllowed && a == "--") {
            optionsAllowed = false;
        } else if (optionsAllowed && a.size() > 1 && a[0] == '-') {
            if (extraOption && extraOption(a)) continue;
            bad = a;
            return UnknownOption;
        } else if (file.empty()) {
            file = a;
        } else {
            return TwoFiles;
        }
    }
    return Run;
}

}  // namespace nelo
