#include "platform/LimitedRead.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nelo {

namespace {

// Closes a file however its reading ends.
class FileCloser {
public:
    explicit FileCloser(int fd) : m_fd(fd) {}
    ~FileCloser() { close(m_fd); }
    FileCloser(const FileCloser&) = delete;
    FileCloser& operator=(const FileCloser&) = delete;

private:
    int m_fd;
};

// The size of a file found too large while reading it: what the system now says it
// is, or what was read if that is more.
std::uint64_t SizeFoundTooLarge(int fd, std::uint64_t bytesRead) {
    struct stat now {};
    const std::uint64_t statedSize = fstat(fd, &now) == 0 ? static_cast<std::uint64_t>(now.st_size) : 0;
    return statedSize > bytesRead ? statedSize : bytesRead;
}

// Reads the file to its end; false (result says why, data empty) when reading fails or
// the file holds more than maxBytes.
bool ReadToEnd(int fd, bool regular, std::size_t maxBytes, std::string& data, LimitedReadResult& result) {
    char buffer[65536];
    for (;;) {
        const ssize_t r = read(fd, buffer, sizeof buffer);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) {
            result.error = std::strerror(errno);
            data.clear();
            return false;
        }
        if (r == 0) return true;
        const auto count = static_cast<std::size_t>(r);
        if (count > maxBytes - data.size()) {
            result.tooLarge = true;
            if (regular) result.size = SizeFoundTooLarge(fd, data.size() + std::uint64_t{count});
            data.clear();
            data.shrink_to_fit();
            return false;
        }
        data.append(buffer, count);
    }
}

}  // namespace

LimitedReadResult ReadFileWithin(const std::string& path, std::size_t maxBytes, std::string& data, FileStamp* stamp) {
    LimitedReadResult result;
    data.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.error = std::strerror(errno);
        return result;
    }
    const FileCloser closer(fd);
    struct stat st {};
    const bool statOk = fstat(fd, &st) == 0;
    const bool regular = statOk && S_ISREG(st.st_mode);
    // A regular file the system already knows to be too large is not read; otherwise
    // its size only spares growing the buffer, and what is read decides.
    if (regular && static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        result.tooLarge = true;
        result.size = static_cast<std::uint64_t>(st.st_size);
        return result;
    }
    if (regular && st.st_size > 0) data.reserve(static_cast<std::size_t>(st.st_size));
    if (!ReadToEnd(fd, regular, maxBytes, data, result)) return result;
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
