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

std::string Reason(int nErrno) { return "(" + Utf8ToCp932(std::strerror(nErrno)).text + ")"; }

}  // namespace

std::string ICalTooLargeText(std::size_t size, bool bSizeKnown, std::size_t limit) {
    // A size that rounds to the limit is told as over it.
    const bool bShowSize = bSizeKnown && Megabytes(size) != Megabytes(limit);
    const std::string shown = bShowSize ? Megabytes(size) : Megabytes(limit) + " を超えています"_sj;
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
    bool bOk = fstat(fd, &st) == 0;
    int nErrno = errno;
    if (bOk && S_ISDIR(st.st_mode)) {
        close(fd);
        error = "フォルダーです。"_sj;
        return false;
    }
    const bool bRegular = bOk && S_ISREG(st.st_mode);
    if (bRegular && static_cast<unsigned long long>(st.st_size) > limit) {
        close(fd);
        error = ICalTooLargeText(static_cast<std::size_t>(st.st_size), true, limit);
        return false;
    }
    // What is read counts, not what stat says: a pipe, a device or a file that grows.
    char buffer[1 << 16];
    while (bOk) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            bOk = n == 0;
            nErrno = errno;
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
    if (!bOk) {
        error = Reason(nErrno);
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
            text.bShiftJis = true;
            return text;
        }
    }
    // Bytes that are neither are read as UTF-8; each entry reports what it lost.
    text.utf8.assign(bytes);
    return text;
}

}  // namespace nelo
