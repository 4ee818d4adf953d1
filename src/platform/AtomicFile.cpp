#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string DirName(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

void MakeDirs(const std::string& dir) {
    if (dir.empty() || dir == "/" || dir == ".") return;
    struct stat st;
    if (stat(dir.c_str(), &st) == 0) return;
    MakeDirs(DirName(dir));
    mkdir(dir.c_str(), 0777);
}

bool WriteAll(int fd, const char* p, size_t n) {
    while (n > 0) {
        ssize_t w = write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::string& data, std::string& error, bool makeDirs) {
    std::string dir = DirName(path);
    if (makeDirs) MakeDirs(dir);
    std::string tmpl = path + ".tmpXXXXXX";
    int fd = mkstemp(tmpl.data());
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    // Keep the permissions of the file being replaced, else the usual ones.
    struct stat st;
    mode_t mode = 0666;
    if (stat(path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode &= ~mask;
    }
    fchmod(fd, mode);
    bool ok = WriteAll(fd, data.data(), data.size()) && fsync(fd) == 0;
    int savedErrno = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && rename(tmpl.c_str(), path.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        unlink(tmpl.c_str());
        error = std::strerror(savedErrno);
        return false;
    }
    // Make the rename itself durable.
    int dfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& data, std::string& error) {
    int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    data.clear();
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) data.reserve(static_cast<size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        ssize_t r = read(fd, buf, sizeof buf);
        if (r < 0) {
            if (errno == EINTR) continue;
            error = std::strerror(errno);
            close(fd);
            return false;
        }
        if (r == 0) break;
        data.append(buf, static_cast<size_t>(r));
    }
    close(fd);
    return true;
}
