// What tells whether a file changed after it was read or written: which file it is
// (device and inode) and its modification state (size, modification time to the
// nanosecond).
#pragma once

#include <cstdint>
#include <string>

struct stat;

namespace nelo {

struct FileStamp {
    bool known = false;  ///< false: nothing was recorded
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t seconds = 0;
    std::int64_t nanoseconds = 0;

    bool operator==(const FileStamp&) const = default;
};

/// The stamp of a file the system described in st.
FileStamp FileStampOf(const struct stat& st);

/// The stamp of the file at path, symbolic links followed; false (errno set) when the
/// file cannot be looked at.
bool GetFileStamp(const std::string& path, FileStamp& stamp);

}  // namespace nelo
