// The parts of a path, as text: what the file functions need to name a folder, a file in
// it, or a neighbour. Nothing here touches the file system.
#pragma once

#include <string>

namespace nelo {

/// The folder a path names its file in: "." for a bare name, "/" for a file at the root.
std::string FolderOfPath(const std::string& path);
/// The last part of a path (the whole path when it has no slash).
std::string FileNameOfPath(const std::string& path);
/// folder + "/" + name, built in one string.
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace nelo
