#include "app/StartArguments.h"

namespace nelo {

StartArguments::Outcome StartArguments::Parse(const std::vector<std::string>& args,
                                              const std::function<bool(const std::string&)>& extraOption) {
    bool bOptions = true;
    for (const std::string& a : args) {
        if (bOptions && (a == "-h" || a == "--help")) return kHelp;
        if (bOptions && a == "--version") return kVersion;
        if (bOptions && a == "--new") {
            bNew = true;
        } else if (bOptions && a == "--") {
            bOptions = false;
        } else if (bOptions && a.size() > 1 && a[0] == '-') {
            if (extraOption && extraOption(a)) continue;
            strBad = a;
            return kUnknownOption;
        } else if (strFile.empty()) {
            strFile = a;
        } else {
            return kTwoFiles;
        }
    }
    return kRun;
}

}  // namespace nelo
