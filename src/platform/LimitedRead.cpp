#include "platform/LimitedRead.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nelo {

LimitedReadResult ReadFileWithin(const std::string& path, std::size_t maxBytes, std::string& data, FileStamp* stamp) {
    LimitedReadResult result;
    data.clear();
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.error = std::strerror(errno);
        return result;
    }
    struct stat st {};
    const bool statOk = fstat(fd, &st) == 0;
    const bool regular = statOk && S_ISREG(st.st_mode);
    // A regular file the system already knows to be too large is not read; otherwise
    // its size only spares growing the buffer, and what is read decides.
    if (regular && static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        close(fd);
        result.tooLarge = true;
        result.size = static_cast<std::uint64_t>(st.st_size);
        return result;
    }
    if (regular && st.st_size > 0) data.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t r = read(fd, buffer, sizeof buffer);
        if (r < 0) {
            if (errno == EINTR) continue;
            result.error = std::strerror(errno);
            close(fd);
            data.clear();
            return result;
        }
        if (r == 0) break;
        if (static_cast<std::size_t>(r) > maxBytes - data.size()) {
            result.tooLarge = true;
            if (regular) {
                struct stat now {};
                std::uint64_t bytesRead = data.size() + static_cast<std::uint64_t>(r);
                std::uint64_t statedSize = fstat(fd, &now) == 0 ? static_cast<std::uint64_t>(now.st_size) : 0;
                result.size = statedSize > bytesRead ? statedSize : bytesRead;
            }
            close(fd);
            data.clear();
            data.shrink_to_fit();
            return result;
        }
        data.append(buffer, static_cast<std::size_t>(r));
    }
    close(fd);
    if (stamp) *stamp = statOk ? FileStampOf(st) : FileStamp();
    result.ok = true;
    return result;
}

std::string MegabyteText(std::uint64_t bytes) {
    const std::uint64_t mb = std::uint64_t{1} << 20;
    if (bytes % mb == 0) return std::to_string(bytes / mb) + " MB";
    const std::uint64_t tenths = bytes / mb * 10 + ((bytes % mb) * 10 + mb - 1) / mb;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " MB";
}

}  // namespace nelo
