#include "platform/FileStamp.h"

#include <sys/stat.h>

namespace nelo {

FileStamp FileStampOf(const struct stat& st) {
    FileStamp stamp;
    stamp.known = true;
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    stamp.size = static_cast<std::int64_t>(st.st_size);
    stamp.seconds = static_cast<std::int64_t>(st.st_mtim.tv_sec);
    stamp.nanoseconds = static_cast<std::int64_t>(st.st_mtim.tv_nsec);
    return stamp;
}

bool GetFileStamp(const std::string& path, FileStamp& stamp) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return false;
    stamp = FileStampOf(st);
    return true;
}

}  // namespace nelo
