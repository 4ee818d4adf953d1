#include "platform/AtomicFile.h"

#include "platform/FileAttributes.h"
#include "platform/PathNames.h"
#include "platform/SideFiles.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nelo {

namespace {

// What a save says of a folder, FIFO, device node or socket where its file should go.
constexpr const char* kNotRegular = "Not a regular file";

void MakeDirs(const std::string& dir, mode_t mode) {
    if (dir.empty() || dir == "/" || dir == ".") return;
    struct stat st;
    if (stat(dir.c_str(), &st) == 0) return;
    MakeDirs(FolderOfPath(dir), mode);
    mkdir(dir.c_str(), mode);
}

/// Follows the symbolic links of path to the file they name (which need not exist
/// yet); 0, or the errno that stopped it. The path is never normalised by its text:
/// "link/../x" means what it means to the system.
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
        target = link[0] == '/' ? link : JoinPath(FolderOfPath(target), link);
    }
    return ELOOP;
}

/// Why a file of this kind must not be replaced by a save.
std::string RefusalOf(const struct stat& st) { return S_ISDIR(st.st_mode) ? std::strerror(EISDIR) : kNotRegular; }

// Past this many written bytes the temporary file's write-back to the disk is started,
// so that it runs while the rest is produced and the final sync has little left to do.
constexpr std::size_t kKickBytes = 1024 * 1024;

}  // namespace

AtomicFile::~AtomicFile() { Abandon(); }

ssize_t AtomicFile::SysWrite(int fd, const char* p, std::size_t n) { return write(fd, p, n); }
ssize_t AtomicFile::SysWriteAt(int fd, const char* p, std::size_t n, off_t offset) { return pwrite(fd, p, n, offset); }
int AtomicFile::SysSync(int fd) { return fsync(fd); }
int AtomicFile::SysTruncate(int fd, off_t size) { return ftruncate(fd, size); }
int AtomicFile::SysChmod(int fd, mode_t mode) { return fchmod(fd, mode); }
int AtomicFile::SysRename(const char* from, const char* to) { return rename(from, to); }
int AtomicFile::SysUnlink(const char* path) { return unlink(path); }

int AtomicFile::SysLink(int fd, const std::string& from, const std::string& to) {
    if (from.empty()) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        return linkat(AT_FDCWD, self.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW);
    }
    if (link(from.c_str(), to.c_str()) == 0) {
        unlink(from.c_str());
        return 0;
    }
    if (errno == EEXIST) return -1;
    // A file system without hard links: the name was free a moment ago.
    struct stat st;
    if (lstat(to.c_str(), &st) == 0) {
        errno = EEXIST;
        return -1;
    }
    return rename(from.c_str(), to.c_str());
}

bool AtomicFile::Open(const std::string& path, std::string& error, bool makeDirs) {
    Abandon();
    m_stamp = FileStamp();
    std::string target;
    if (int e = ResolveLinks(path, target)) {
        error = std::strerror(e);
        return false;
    }
    if (makeDirs) MakeDirs(FolderOfPath(target), m_folderMode);
    struct stat st;
    bool exists = stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT) {
        error = std::strerror(errno);
        return false;
    }
    if (exists && m_newNameOnly) {
        error = std::strerror(EEXIST);
        return false;
    }
    if (exists && !S_ISREG(st.st_mode)) {
        error = RefusalOf(st);
        return false;
    }
    if (exists) {
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
    m_path = target;
    m_writeErrno = 0;
    m_written = m_kicked = 0;
    // The temporary files of earlier saves of this file that were killed.
    for (const std::string& left : AbandonedSideFiles(target, SideFileKind::Temporary)) unlink(left.c_str());
    // A rename would leave the other names of the file with the old content.
    if (exists && st.st_nlink > 1) return OpenInPlace(st, error);

    // A file that takes another's place starts private and gets its permissions once it
    // belongs to the right owner; a new one is made with the permissions it keeps.
    const bool setMode = exists || m_exactMode;
    std::string temp;
    int fd = CreateTemporary(setMode ? 0600 : 0666, temp);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    m_fd = fd;
    m_temp = std::move(temp);
    bool inPlace = false;
    if (!GiveAttributes(fd, exists ? &st : nullptr, error, inPlace)) {
        Abandon();
        if (inPlace) return OpenInPlace(st, error);
        return false;
    }
    return true;
}

int AtomicFile::CreateTemporary(mode_t mode, std::string& path) {
    path.clear();
    int fd = CreateUnnamedFile(FolderOfPath(m_path), mode);
    if (fd < 0) fd = CreateSideFile(SideFilePrefix(m_path, SideFileKind::Temporary), mode, path);
    if (fd >= 0) HoldSideFile(fd);
    return fd;
}

int AtomicFile::NameFile(int fd, std::string& path, const std::string& prefix) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = RandomSideFileName(prefix);
        if (SysLink(fd, path, name) == 0) {
            path = std::move(name);
            return 0;
        }
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
}

bool AtomicFile::GiveAttributes(int fd, const struct stat* old, std::string& error, bool& inPlace) {
    inPlace = false;
    mode_t mode = m_newMode;
    if (old) {
        struct stat made;
        if (fstat(fd, &made) == 0 && (made.st_uid != old->st_uid || made.st_gid != old->st_gid) &&
            fchown(fd, old->st_uid, old->st_gid) != 0) {
            // The new file cannot belong to the old one's owner and group: the file is
            // written in place and keeps them.
            inPlace = true;
            return false;
        }
        mode = old->st_mode & 07777;
    } else if (!m_exactMode) {
        return true;
    }
    // The permissions first: the access control list then sets its own mask.
    if (SysChmod(fd, mode) != 0) {
        error = std::strerror(errno);
        return false;
    }
    if (old) {
        if (int e = CopyExtendedAttributes(m_path.c_str(), fd)) {
            error = std::strerror(e);
            return false;
        }
    }
    return true;
}

bool AtomicFile::CopyContent(int from, int to) {
    char buf[65536];
    off_t offset = 0;
    for (;;) {
        ssize_t r = pread(from, buf, sizeof buf, offset);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) return false;
        if (r == 0) return true;
        const char* p = buf;
        std::size_t n = static_cast<std::size_t>(r);
        while (n > 0) {
            ssize_t w = SysWriteAt(to, p, n, offset);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) {
                if (w == 0) errno = ENOSPC;
                return false;
            }
            p += w;
            n -= static_cast<std::size_t>(w);
            offset += w;
        }
    }
}

int AtomicFile::SyncFolder() {
    int dfd = open(FolderOfPath(m_path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A folder this process may not read cannot be synced by it; nothing to report.
    if (dfd < 0) return 0;
    int e = SysSync(dfd) == 0 ? 0 : errno;
    close(dfd);
    // File systems that cannot sync a folder say so with EINVAL.
    return e == EINVAL ? 0 : e;
}

bool AtomicFile::OpenInPlace(const struct stat& st, std::string& error) {
    int fd = open(m_path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    // The old content goes to a file beside the target, onto the disk and under its
    // name before the target is touched; the copy can be read by whoever reads the file.
    std::string backup;
    int bfd = CreateTemporary(st.st_mode & 0666, backup);
    int e = bfd < 0 ? errno : 0;
    if (e == 0 && (!CopyContent(fd, bfd) || SysSync(bfd) != 0)) e = errno;
    if (e == 0) e = NameFile(bfd, backup, SideFilePrefix(m_path, SideFileKind::Backup));
    if (e == 0) e = SyncFolder();
    if (e != 0) {
        error = std::strerror(e);
        if (bfd >= 0) close(bfd);
        if (!backup.empty()) unlink(backup.c_str());
        close(fd);
        return false;
    }
    m_fd = fd;
    m_backupFd = bfd;
    m_inPlace = true;
    m_backup = std::move(backup);
    m_oldSize = st.st_size;
    return true;
}

void AtomicFile::Write(const char* p, std::size_t n) {
    if (m_fd < 0 || m_writeErrno != 0) return;
    while (n > 0) {
        ssize_t w = SysWrite(m_fd, p, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
            // A regular file that takes nothing without an error is out of room.
            m_writeErrno = w < 0 && errno != 0 ? errno : ENOSPC;
            return;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
        m_written += static_cast<std::size_t>(w);
    }
#ifdef SYNC_FILE_RANGE_WRITE
    if (m_written - m_kicked >= kKickBytes) {
        // Only a head start: failures show in the sync of Commit.
        sync_file_range(m_fd, static_cast<off_t>(m_kicked), static_cast<off_t>(m_written - m_kicked),
                        SYNC_FILE_RANGE_WRITE);
        m_kicked = m_written;
    }
#endif
}

bool AtomicFile::Fail(std::string& error, int errorNumber) {
    error = std::strerror(errorNumber);
    m_stamp = FileStamp();
    if (m_inPlace) {
        EndInPlace(true, &error);
        return false;
    }
    Abandon();
    return false;
}

bool AtomicFile::Commit(std::string& error) {
    if (m_fd < 0) return Fail(error, EBADF);
    if (m_writeErrno != 0) return Fail(error, m_writeErrno);
    if (m_inPlace) return CommitInPlace(error);
    if (SysSync(m_fd) != 0) return Fail(error, errno);
    FileStamp stamp;
    struct stat st;
    if (fstat(m_fd, &st) == 0) stamp = FileStampOf(st);
    if (m_newNameOnly) {
        if (SysLink(m_fd, m_temp, m_path) != 0) return Fail(error, errno);
    } else {
        // An unnamed file gets a temporary name only now, complete and synced.
        if (m_temp.empty())
            if (int e = NameFile(m_fd, m_temp, SideFilePrefix(m_path, SideFileKind::Temporary))) return Fail(error, e);
        if (SysRename(m_temp.c_str(), m_path.c_str()) != 0) return Fail(error, errno);
    }
    m_temp.clear();
    // The file is in place; from here a failure means it may not survive a crash.
    int fd = m_fd;
    m_fd = -1;
    m_stamp = stamp;
    int e = close(fd) == 0 ? 0 : errno;
    if (e == 0) e = SyncFolder();
    if (e != 0) {
        error = std::string(std::strerror(e)) + " (syncing the folder after the file was replaced)";
        return false;
    }
    RemoveOldBackups();
    return true;
}

bool AtomicFile::CommitInPlace(std::string& error) {
    if (SysTruncate(m_fd, static_cast<off_t>(m_written)) != 0) return Fail(error, errno);
    if (SysSync(m_fd) != 0) return Fail(error, errno);
    struct stat st;
    if (fstat(m_fd, &st) == 0) m_stamp = FileStampOf(st);
    // The new content is on disk: the copy of the old one has done its work.
    EndInPlace(false, nullptr);
    RemoveOldBackups();
    return true;
}

void AtomicFile::RemoveOldBackups() {
    if (m_newNameOnly) return;
    for (const std::string& left : AbandonedSideFiles(m_path, SideFileKind::Backup)) unlink(left.c_str());
}

bool AtomicFile::RestoreInPlace() {
    bool ok =
        m_backupFd >= 0 && CopyContent(m_backupFd, m_fd) && SysTruncate(m_fd, m_oldSize) == 0 && SysSync(m_fd) == 0;
    struct stat st;
    if (ok && fstat(m_fd, &st) == 0) m_stamp = FileStampOf(st);
    return ok;
}

void AtomicFile::EndInPlace(bool restore, std::string* error) {
    bool keepCopy = restore && m_fd >= 0 && !RestoreInPlace();
    if (m_fd >= 0) {
        close(m_fd);
        m_fd = -1;
    }
    if (keepCopy) {
        if (error) *error += "; the previous content is kept in " + m_backup;
    } else {
        SysUnlink(m_backup.c_str());
        // A copy that comes back after a crash is only cleaned by the next save.
        SyncFolder();
    }
    if (m_backupFd >= 0) {
        close(m_backupFd);
        m_backupFd = -1;
    }
    m_backup.clear();
    m_inPlace = false;
}

void AtomicFile::Abandon() {
    if (m_inPlace) {
        EndInPlace(true, nullptr);
        return;
    }
    if (!m_temp.empty()) {
        unlink(m_temp.c_str());
        m_temp.clear();
    }
    if (m_fd >= 0) {
        close(m_fd);
        m_fd = -1;
    }
}

WriteTarget ExamineWriteTarget(const std::string& path, std::string& error) {
    std::string target;
    if (int e = ResolveLinks(path, target)) {
        error = std::strerror(e);
        return WriteTarget::Refused;
    }
    struct stat st;
    if (stat(target.c_str(), &st) != 0) {
        if (errno == ENOENT) return WriteTarget::Missing;
        error = std::strerror(errno);
        return WriteTarget::Refused;
    }
    if (S_ISREG(st.st_mode)) return WriteTarget::RegularFile;
    error = RefusalOf(st);
    return WriteTarget::Refused;
}

std::vector<std::string> InPlaceBackups(const std::string& path) {
    std::string target;
    if (ResolveLinks(path, target) != 0) return {};
    return AbandonedSideFiles(target, SideFileKind::Backup);
}

bool WriteFileAtomically(const std::string& path, const std::string& data, std::string& error, bool makeDirs) {
    AtomicFile file;
    if (!file.Open(path, error, makeDirs)) return false;
    file.Write(data.data(), data.size());
    return file.Commit(error);
}

bool ReadWholeFile(const std::string& path, std::string& data, std::string& error, FileStamp* stamp) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    data.clear();
    struct stat st;
    bool statOk = fstat(fd, &st) == 0;
    if (statOk && S_ISREG(st.st_mode) && st.st_size > 0) data.reserve(static_cast<size_t>(st.st_size));
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
    if (stamp) *stamp = statOk ? FileStampOf(st) : FileStamp();
    return true;
}

}  // namespace nelo
