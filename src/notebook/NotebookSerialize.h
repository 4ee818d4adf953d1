// The notebook file as bytes: what File Save writes and File Open reads.
#pragma once

#include <cstddef>
#include <string>

namespace nelo {

class Notebook;

/// The largest notebook file, in bytes: about 11 million memos. Opening refuses a larger
/// file before holding it, and saving refuses to write one, so Nelo never writes a
/// notebook it would not open again. Loading takes about six times the file's size in
/// memory.
constexpr std::size_t kMaxNotebookBytes = std::size_t{256} << 20;
class ByteSink;

/// The bytes of the notebook file of notebook.
std::string SaveNotebookBytes(Notebook& notebook);

/// Streams the same bytes into sink as they are produced. Throws ArchiveException
/// when the notebook holds what the file cannot, or more than kMaxNotebookBytes (the
/// sink then has only a part).
void SaveDocument(Notebook& notebook, ByteSink& sink);

/// Reads a notebook file into notebook, which should be fresh: names, variables, schedules
/// (those that ended more than a day ago are dropped) and memos. Throws
/// ArchiveException when the bytes are not a notebook file, bytes after the memos
/// included.
void LoadNotebookBytes(Notebook& notebook, const std::string& bytes);

/// Moves what a file holds (names, variables, schedules, memos, the past-entries
/// notice) from loaded, a freshly loaded notebook, into notebook, whose old contents are destroyed.
/// The memory register and everything else of the notebook stays.
void TakeFileContents(Notebook& notebook, Notebook& loaded);

}  // namespace nelo
