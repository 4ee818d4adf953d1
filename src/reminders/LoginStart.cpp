#include "reminders/LoginStart.h"

#include "platform/AtomicFile.h"
#include "platform/UserFolders.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace nelo {

std::string LoginStartPath() {
    // A relative XDG_CONFIG_HOME is ignored, as the base-directory rules say.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const std::string base = xdg && xdg[0] == '/' ? std::string(xdg) : HomeFolder() + "/.config";
    return base + "/autostart/com.vantor.Nelo.desktop";
}

std::string LoginStartEntry() {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Nelo\n"
           "Name[ja]=ＮＥＬＯ\n"
           "Comment=Reminders of the schedule entries\n"
           "Comment[ja]=予定を通知します\n"
           "Exec=nelo --minimized\n"
           "Icon=com.vantor.Nelo\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool IsLoginStartSet() {
    std::string text, error;
    if (!ReadWholeFile(LoginStartPath(), text, error)) return false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        if (text.compare(pos, end - pos, "Hidden=true") == 0) return false;
        pos = end + 1;
    }
    return true;
}

bool SetLoginStart(bool isOn, std::string& error) {
    const std::string path = LoginStartPath();
    if (isOn) return WriteFileAtomically(path, LoginStartEntry(), error, true);
    if (std::remove(path.c_str()) == 0 || errno == ENOENT) return true;
    error = path + ": " + std::strerror(errno);
    return false;
}

}  // namespace nelo
