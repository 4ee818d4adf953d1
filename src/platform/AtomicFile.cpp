#include "platform/AtomicFile.h"

#include <cerrno>
#include <climits>
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

void SyncDir(const std::string& path) {
    int dfd = open(DirName(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
}

/// Follows the symbolic links of path to the file they name (which need not exist
/// yet); 0, or the errno that stopped it.
int ResolveLinks(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(target.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(st.st_mode)) return 0;
        std::string link(PATH_MAX, '\0');
        ssize_t n = readlink(target.c_str(), link.data(), link.size());
        if (n < 0) return errno;
        if (static_cast<std::size_t>(n) >= link.size()) return ENAMETOOLONG;
        link.resize(static_cast<std::size_t>(n));
        if (link.empty()) return ENOENT;
        target = link[0] == '/' ? link : DirName(target) + "/" + link;
    }
    return ELOOP;
}

/// Writes all n bytes at offset; false (errno set) when they do not all go.
bool WriteAllAt(int fd, const char* p, std::size_t n, off_t offset) {
    while (n > 0) {
        ssize_t w = pwrite(fd, p, n, offset);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
            if (w == 0) errno = ENOSPC;
            return false;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
        offset += w;
    }
    return true;
}

/// Copies the whole of from (read from its start) over the start of to; false (errno set)
/// on any failure.
bool CopyContent(int from, int to) {
    char buf[65536];
    off_t offset = 0;
    for (;;) {
        ssize_t r = pread(from, buf, sizeof buf, offset);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) return false;
        if (r == 0) return true;
        if (!WriteAllAt(to, buf, static_cast<std::size_t>(r), offset)) return false;
        offset += r;
    }
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
    m_stamp = CFileStamp();
    std::string target;
    if (int e = ResolveLinks(path, target)) {
        error = std::strerror(e);
        return false;
    }
    if (makeDirs) MakeDirs(DirName(target));
    struct stat st;
    bool bExists = stat(target.c_str(), &st) == 0;
    if (!bExists && errno != ENOENT) {
        error = std::strerror(errno);
        return false;
    }
    if (bExists && S_ISREG(st.st_mode)) {
        // A read-only file stays read-only: not even the superuser, whom the system lets
        // write anything, replaces a file that nobody has permission to write.
        if ((st.st_mode & 0222) == 0) {
            error = std::strerror(EACCES);
            return false;
        }
        if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
            error = std::strerror(errno);
            return false;
        }
    }
    m_strPath = target;
    m_nWriteErrno = 0;
    m_nWritten = m_nKicked = 0;
    // A rename would leave the other names of the file with the old content.
    if (bExists && S_ISREG(st.st_mode) && st.st_nlink > 1) return OpenInPlace(st, error);

    std::string tmpl = target + ".tmpXXXXXX";
    int fd = mkstemp(tmpl.data());
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    // Keep the owner, group and permissions of the file being replaced, else the usual
    // permissions.
    mode_t mode = 0666;
    if (bExists) {
        mode = st.st_mode & 07777;
        struct stat made;
        if (fstat(fd, &made) == 0 && (made.st_uid != st.st_uid || made.st_gid != st.st_gid) &&
            fchown(fd, st.st_uid, st.st_gid) != 0 && S_ISREG(st.st_mode)) {
            // The new file cannot belong to the old one's owner and group: the file is
            // written in place and keeps them.
            close(fd);
            unlink(tmpl.c_str());
            return OpenInPlace(st, error);
        }
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode &= ~mask;
    }
    fchmod(fd, mode);
    m_strTemp = std::move(tmpl);
    m_fd = fd;
    return true;
}

bool CAtomicFile::OpenInPlace(const struct stat& st, std::string& error) {
    int fd = open(m_strPath.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    // The old content goes to a file beside the target and onto the disk before the
    // target is touched.
    std::string backup = m_strPath + ".bakXXXXXX";
    int bfd = mkstemp(backup.data());
    if (bfd < 0) {
        error = std::strerror(errno);
        close(fd);
        return false;
    }
    if (!CopyContent(fd, bfd) || fsync(bfd) != 0) {
        error = std::strerror(errno);
        close(bfd);
        unlink(backup.c_str());
        close(fd);
        return false;
    }
    close(bfd);
    SyncDir(m_strPath);
    m_fd = fd;
    m_bInPlace = true;
    m_strBackup = std::move(backup);
    m_nOldSize = st.st_size;
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
    error = std::strerror(nErrno);
    m_stamp = CFileStamp();
    if (m_bInPlace) {
        EndInPlace(true, &error);
        return false;
    }
    Abandon();
    return false;
}

bool CAtomicFile::Commit(std::string& error) {
    if (m_fd < 0) return Fail(error, EBADF);
    if (m_nWriteErrno != 0) return Fail(error, m_nWriteErrno);
    if (m_bInPlace) return CommitInPlace(error);
    if (SysSync(m_fd) != 0) return Fail(error, errno);
    struct stat st;
    if (fstat(m_fd, &st) == 0) m_stamp = FileStampOf(st);
    int fd = m_fd;
    m_fd = -1;
    if (close(fd) != 0) return Fail(error, errno);
    if (SysRename(m_strTemp.c_str(), m_strPath.c_str()) != 0) return Fail(error, errno);
    m_strTemp.clear();
    // Make the rename itself durable.
    SyncDir(m_strPath);
    return true;
}

bool CAtomicFile::CommitInPlace(std::string& error) {
    if (ftruncate(m_fd, static_cast<off_t>(m_nWritten)) != 0) return Fail(error, errno);
    if (SysSync(m_fd) != 0) return Fail(error, errno);
    struct stat st;
    if (fstat(m_fd, &st) == 0) m_stamp = FileStampOf(st);
    // The new content is on disk: the copy of the old one has done its work.
    EndInPlace(false, nullptr);
    return true;
}

bool CAtomicFile::RestoreInPlace() {
    int bfd = open(m_strBackup.c_str(), O_RDONLY | O_CLOEXEC);
    if (bfd < 0) return false;
    bool ok = CopyContent(bfd, m_fd) && ftruncate(m_fd, m_nOldSize) == 0 && fsync(m_fd) == 0;
    close(bfd);
    struct stat st;
    if (ok && fstat(m_fd, &st) == 0) m_stamp = FileStampOf(st);
    return ok;
}

void CAtomicFile::EndInPlace(bool bRestore, std::string* error) {
    bool bKeepCopy = bRestore && m_fd >= 0 && !RestoreInPlace();
    if (m_fd >= 0) {
        close(m_fd);
        m_fd = -1;
    }
    if (bKeepCopy) {
        if (error) *error += "; the previous content is kept in " + m_strBackup;
    } else {
        unlink(m_strBackup.c_str());
        SyncDir(m_strPath);
    }
    m_strBackup.clear();
    m_bInPlace = false;
}

void CAtomicFile::Abandon() {
    if (m_bInPlace) {
        EndInPlace(true, nullptr);
        return;
    }
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

bool ReadWholeFile(const std::string& path, std::string& data, std::string& error, CFileStamp* stamp) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    data.clear();
    struct stat st;
    bool bStat = fstat(fd, &st) == 0;
    if (bStat && S_ISREG(st.st_mode) && st.st_size > 0) data.reserve(static_cast<size_t>(st.st_size));
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
    if (stamp) *stamp = bStat ? FileStampOf(st) : CFileStamp();
    return true;
}
