// Files a save keeps beside the file it writes: the temporary file that becomes the new
// file ("NAME.tmpXXXXXX"), and the copy of the old content while a file is written in
// place ("NAME.bakXXXXXX"). Their names start with the file's own name, cut short where
// it is long so that they fit the folder's limit on name length, so the leftovers of a
// save that was killed can be found again from the file's name. A save holds a lock on
// its side files while it runs: a side file nobody holds is a leftover.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace nelo {

enum class SideFileKind { Temporary, Backup };

/// The path every side file of target of this kind starts with: target's folder, its
/// name (cut at a character boundary when six more characters would not fit the
/// folder's limit) and ".tmp" or ".bak".
std::string SideFilePrefix(const std::string& target, SideFileKind kind);

/// A name that fits the folder's limit on name length: name itself, or its first bytes
/// (cut at a character boundary) followed by suffix, within the limit of folder. For
/// files whose name is made from another's (recovery copies).
std::string FitFileName(const std::string& folder, const std::string& name, const std::string& suffix);

/// Creates an unnamed file in folder (O_TMPFILE) that can later be given a name by
/// NameSideFile; -1 (errno set) when the file system cannot make one.
int CreateUnnamedFile(const std::string& folder, mode_t mode);
/// Creates a new file named prefix and six random characters; -1 (errno set) on failure.
int CreateSideFile(const std::string& prefix, mode_t mode, std::string& path);

/// prefix followed by six random characters (letters and digits).
std::string RandomSideFileName(const std::string& prefix);

/// Locks fd as the side file of a running save (a lock that ends with the process).
void HoldSideFile(int fd);

/// The side files of kind beside target that no running save holds (left by a save that
/// was killed), newest first.
std::vector<std::string> AbandonedSideFiles(const std::string& target, SideFileKind kind);

}  // namespace nelo
