// The user's folders the program keeps its files in.
#pragma once

#include <string>

namespace nelo {

/// The home folder ($HOME), or "." when it is not set.
std::string HomeFolder();
/// The program's state folder: ${XDG_STATE_HOME:-$HOME/.local/state}/Vantor/Nelo (a
/// relative XDG_STATE_HOME is ignored, as the base-directory rules say).
std::string UserStateFolder();
/// A path with a leading "~" or "~/" standing for the home folder; other paths as given.
std::string ExpandHomeFolder(const std::string& path);

}  // namespace nelo
