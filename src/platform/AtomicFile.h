// Replacing a file without ever leaving it half written: the bytes go to a temporary
// file in the same folder, which is flushed, synced and then renamed over the target.
#pragma once

#include <string>

/// Writes data to path atomically. On failure the old file is untouched, the temporary
/// file is removed, error says why (in UTF-8) and false is returned. makeDirs creates
/// missing parent folders first.
bool WriteFileAtomically(const std::string& path, const std::string& data, std::string& error,
                         bool makeDirs = false);

/// Reads a whole file; false (with error set) when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& data, std::string& error);
