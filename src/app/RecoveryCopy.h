// Recovery copies: when the program is ended from outside (the terminal closes, the
// session ends) with unsaved changes, the notebook is written to a new file in the
// user's state folder instead of being lost. The next start mentions such copies once.
#pragma once

#include <string>
#include <vector>

namespace nelo {

class Notebook;

/// The folder of the recovery copies (the program's state folder).
std::string RecoveryFolder();

/// Writes the notebook in its file format, atomically, to a new file in the recovery
/// folder named after the notebook (notebookPath, empty while untitled) and the current date
/// and time ("memo-20030601-100000.nel", "-2" and so on when that name is taken). Never
/// replaces a file; leaves the notebook, its file name and its modified state alone.
/// False with error (UTF-8) when the copy could not be written.
bool WriteRecoveryCopy(Notebook& notebook, const std::string& notebookPath, std::string& path, std::string& error);

/// The recovery copies that have not been mentioned before (full paths, sorted by
/// name), and from now on counted as mentioned. Which copies were mentioned is kept in
/// the file "mentioned" of the recovery folder.
std::vector<std::string> TakeUnmentionedRecoveryCopies();

}  // namespace nelo
