// Reading a whole file that must not exceed a size: the limit applies to the bytes
// actually read, so a file that grows while it is read, a file the system reports as
// empty (/proc) or a device without end (/dev/zero) is measured like any other, and
// no more than the limit and one block is ever held.
#pragma once

#include "platform/FileStamp.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace nelo {

struct LimitedReadResult {
    bool ok = false;        ///< data holds the whole file
    bool tooLarge = false;  ///< the file holds more than the limit
    /// The file's size in bytes when too large: what the system says of a regular file
    /// (at least the limit and one byte), 0 when it cannot be known (a pipe, a device).
    std::uint64_t size = 0;
    std::string error;  ///< why it failed otherwise (the system's words, UTF-8)
};

/// Reads the file at path into data when it holds at most maxBytes bytes. stamp, when
/// given, receives the identity of the file read.
LimitedReadResult ReadFileWithin(const std::string& path, std::size_t maxBytes, std::string& data,
                                 FileStamp* stamp = nullptr);

/// A size in bytes as messages give it: megabytes with one decimal, rounded up
/// ("256.1 MB"), or whole megabytes when it is a whole number of them ("256 MB").
std::string MegabyteText(std::uint64_t bytes);

}  // namespace nelo
