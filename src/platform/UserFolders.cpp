#include "platform/UserFolders.h"

#include <cstdlib>

namespace nelo {

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) : std::string(".");
}

std::string UserStateFolder() {
    const char* xdg = std::getenv("XDG_STATE_HOME");
    std::string base = xdg && xdg[0] == '/' ? std::string(xdg) : HomeFolder() + "/.local/state";
    return base + "/Vantor/Nelo";
}

std::string ExpandHomeFolder(const std::string& path) {
    if (path == "~") return HomeFolder();
    if (path.rfind("~/", 0) == 0) return HomeFolder() + path.substr(1);
    return path;
}

}  // namespace nelo
