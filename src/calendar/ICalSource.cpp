#include "calendar/ICalSource.h"

#include "platform/CodePage.h"
#include "text/Sjis.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nelo {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string Megabytes(std::size_t bytes) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
    return buf;
}

std::string Reason(int errorNumber) { return "(" + Utf8ToCp932(std::strerror(errorNumber)).text + ")"; }

}  // namespace

std::string ICalTooLargeText(std::size_t size, bool sizeKnown, std::size_t limit) {
    // A size that rounds to the limit is told as over it.
    const bool showSize = sizeKnown && Megabytes(size) != Megabytes(limit);
    const std::string shown = showSize ? Megabytes(size) : Megabytes(limit) + " を超えています"_sj;
    return "ファイルが大きすぎます（"_sj + shown + "。読み込めるのは "_sj + Megabytes(limit) + " までです）。"_sj;
}

bool ReadICalFile(const std::string& path, std::size_t limit, std::string& bytes, std::string& error) {
    bytes.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error = Reason(errno);
        return false;
    }
    struct stat st;
    bool ok = fstat(fd, &st) == 0;
    int errorNumber = errno;
    if (ok && S_ISDIR(st.st_mode)) {
        close(fd);
        error = "フォルダーです。"_sj;
        return false;
    }
    const bool regular = ok && S_ISREG(st.st_mode);
    if (regular && static_cast<unsigned long long>(st.st_size) > limit) {
        close(fd);
        error = ICalTooLargeText(static_cast<std::size_t>(st.st_size), true, limit);
        return false;
    }
    // What is read counts, not what stat says: a pipe, a device or a file that grows.
    char buffer[1 << 16];
    while (ok) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            errorNumber = errno;
            break;
        }
        if (bytes.size() + static_cast<std::size_t>(n) > limit) {
            close(fd);
            bytes.clear();
            bytes.shrink_to_fit();
            error = ICalTooLargeText(0, false, limit);
            return false;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    if (!ok) {
        error = Reason(errorNumber);
        return false;
    }
    return true;
}

ICalText DecodeICalBytes(std::string_view bytes) {
    ICalText text;
    if (bytes.substr(0, kBom.size()) == kBom) bytes.remove_prefix(kBom.size());
    if (!IsValidUtf8(bytes)) {
        std::string converted;
        if (AppendCp932AsUtf8(bytes, converted) == 0) {
            text.utf8 = std::move(converted);
            text.isShiftJis = true;
            return text;
        }
    }
    // Bytes that are neither are read as UTF-8; each entry reports what it lost.
    text.utf8.assign(bytes);
    return text;
}

}  // namespace nelo
