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

// Past this many written bytes the temporary file's write-back to the disk is started,
// so that it runs while the rest is produced and the final sync has little left to do.
constexpr std::size_t nKickBytes = 1024 * 1024;

}  // namespace

CAtomicFile::~CAtomicFile() { Abandon(); }

ssize_t CAtomicFile::SysWrite(int fd, const char* p, std::size_t n) { return write(fd, p, n); }
int CAtomicFile::SysSync(int fd) { return fsync(fd); }
int CAtomicFile::SysRename(const char* from, const char* to) { return rename(from, to); }

bool CAtomicFile::Open(const std::string& path, std::string& error, bool makeDirs) {
    Abandon();
    if (makeDirs) MakeDirs(DirName(path));
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
    m_strPath = path;
    m_strTemp = std::move(tmpl);
    m_fd = fd;
    m_nWriteErrno = 0;
    m_nWritten = m_nKicked = 0;
    return true;
}

void CAtomicFile::Write(const char* p, std::size_t n) {
    if (m_fd < 0 || m_nWriteErrno != 0) return;
    while (n > 0) {
        ssize_t w = SysWrite(m_fd, p, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
            // A regular file that takes nothing without an error is out of room.
            m_nWriteErrno = w < 0 && errno != 0 ? errno : ENOSPC;
            return;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
        m_nWritten += static_cast<std::size_t>(w);
    }
#ifdef SYNC_FILE_RANGE_WRITE
    if (m_nWritten - m_nKicked >= nKickBytes) {
        // Only a head start: failures show in the sync of Commit.
        sync_file_range(m_fd, static_cast<off_t>(m_nKicked), static_cast<off_t>(m_nWritten - m_nKicked),
                        SYNC_FILE_RANGE_WRITE);
        m_nKicked = m_nWritten;
    }
#endif
}

bool CAtomicFile::Fail(std::string& error, int nErrno) {
    Abandon();
    error = std::strerror(nErrno);
    return false;
}

bool CAtomicFile::Commit(std::string& error) {
    if (m_fd < 0) return Fail(error, EBADF);
    if (m_nWriteErrno != 0) return Fail(error, m_nWriteErrno);
    if (SysSync(m_fd) != 0) return Fail(error, errno);
    int fd = m_fd;
    m_fd = -1;
    if (close(fd) != 0) return Fail(error, errno);
    if (SysRename(m_strTemp.c_str(), m_strPath.c_str()) != 0) return Fail(error, errno);
    m_strTemp.clear();
    // Make the rename itself durable.
    int dfd = open(DirName(m_strPath).c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
    return true;
}

void CAtomicFile::Abandon() {
    if (m_fd >= 0) {
        close(m_fd);
        m_fd = -1;
    }
    if (!m_strTemp.empty()) {
        unlink(m_strTemp.c_str());
        m_strTemp.clear();
    }
}

bool WriteFileAtomically(const std::string& path, const std::string& data, std::string& error, bool makeDirs) {
    CAtomicFile file;
    if (!file.Open(path, error, makeDirs)) return false;
    file.Write(data.data(), data.size());
    return file.Commit(error);
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
