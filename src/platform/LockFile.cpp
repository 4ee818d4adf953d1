#include "platform/LockFile.h"

#include "platform/PathNames.h"
#include "platform/UserFolders.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nelo {

namespace {

// A lock file that names no process yet may be one being written this moment; one
// that stays unreadable this long was left half-written.
constexpr std::time_t kUnreadableStaleSeconds = 30;
// The lengths of the two ids as the system writes them (hex digits; a UUID).
constexpr std::size_t kMachineIdLength = 32;
constexpr std::size_t kBootIdLength = 36;

std::string ReadStart(const char* path, std::size_t max) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::string();
    std::string text(max, '\0');
    std::size_t n = 0;
    while (n < max) {
        const ssize_t got = read(fd, text.data() + n, max - n);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        n += static_cast<std::size_t>(got);
    }
    close(fd);
    text.resize(n);
    // Only the first line counts, without its line break.
    const std::size_t end = text.find('\n');
    if (end != std::string::npos) text.resize(end);
    return text;
}

/// The file name of the program a process runs; empty when it cannot be told (the
/// process belongs to someone else); "/gone/" when no such process exists.
std::string ProgramOf(long long pid) {
    char link[64];
    std::snprintf(link, sizeof link, "/proc/%lld/exe", pid);
    char target[4096];
    const ssize_t n = readlink(link, target, sizeof target - 1);
    if (n < 0) return errno == ENOENT || errno == ESRCH ? std::string("/gone/") : std::string();
    std::string path(target, static_cast<std::size_t>(n));
    // A program replaced while it runs (an upgrade) is still the same program.
    static constexpr const char kDeleted[] = " (deleted)";
    if (path.size() > sizeof kDeleted - 1 &&
        path.compare(path.size() - (sizeof kDeleted - 1), std::string::npos, kDeleted) == 0)
        path.resize(path.size() - (sizeof kDeleted - 1));
    return FileNameOfPath(path);
}

bool IsRunning(long long pid, const std::string& program) {
    if (pid <= 0 || pid > INT_MAX) return false;
    if (kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH) return false;
    // A process id used again by another program does not hold the lock.
    const std::string running = ProgramOf(pid);
    if (!running.empty() && !program.empty() && running != FileNameOfPath(program)) return false;
    return running != "/gone/";
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool MakeFolders(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash))) return false;
    return mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

/// FNV-1a, 64 bits: enough to tell the paths of one user's notebooks apart.
std::uint64_t PathHash(const std::string& text) {
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

}  // namespace

LockOwner LockFile::ThisProcess() {
    LockOwner me;
    me.pid = getpid();
    me.program = ProgramOf(me.pid);
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) == 0) me.host = host;
    me.machineId = ReadStart("/etc/machine-id", kMachineIdLength);
    if (me.machineId.empty()) me.machineId = ReadStart("/var/lib/dbus/machine-id", kMachineIdLength);
    me.bootId = ReadStart("/proc/sys/kernel/random/boot_id", kBootIdLength);
    return me;
}

bool LockFile::ReadOwner(const std::string& path, LockOwner& owner) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char buf[4096];
    std::string text;
    for (;;) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buf, static_cast<std::size_t>(n));
        if (text.size() > 64 * 1024) break;
    }
    close(fd);
    std::string lines[5];
    std::size_t at = 0;
    for (std::string& line : lines) {
        if (at >= text.size()) break;
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        line = text.substr(at, end - at);
        at = end + 1;
    }
    long long pid = 0;
    const std::string& pidLine = lines[0];
    const auto [end, ec] = std::from_chars(pidLine.data(), pidLine.data() + pidLine.size(), pid);
    if (ec != std::errc() || end != pidLine.data() + pidLine.size() || pid <= 0) return false;
    owner = {pid, lines[1], lines[2], lines[3], lines[4]};
    return true;
}

bool LockFile::IsStale(const LockOwner& owner) {
    const LockOwner me = ThisProcess();
    bool sameMachine = owner.host.empty() || owner.host == me.host;
    if (!owner.machineId.empty() && !me.machineId.empty()) sameMachine = owner.machineId == me.machineId;
    // A process on another machine cannot be looked at: its lock stands.
    if (!sameMachine) return false;
    if (!owner.bootId.empty() && !me.bootId.empty() && owner.bootId != me.bootId) return true;
    return !IsRunning(owner.pid, owner.program);
}

LockResult LockFile::TryLock() {
    if (IsLocked()) return LockResult::Taken;
    m_holder = LockOwner();
    // Twice at most: once more after a stale file was removed.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = open(m_path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return WriteOwnFile(fd);
        if (errno != EEXIST) return LockResult::NotTaken;
        const FoundFile found = LookAtFoundFile();
        if (found == FoundFile::Gone) continue;  // gone meanwhile: try again
        if (found == FoundFile::Standing || !RemoveIfStillStale()) return LockResult::Held;
    }
    return LockResult::Held;
}

LockResult LockFile::WriteOwnFile(int fd) {
    // Held while the lock is: nobody removes the file as stale meanwhile.
    flock(fd, LOCK_EX | LOCK_NB);
    const LockOwner me = ThisProcess();
    const std::string text =
        std::to_string(me.pid) + '\n' + me.program + '\n' + me.host + '\n' + me.machineId + '\n' + me.bootId + '\n';
    if (!WriteAll(fd, text)) {
        close(fd);
        unlink(m_path.c_str());
        return LockResult::NotTaken;
    }
    // Not synced to the disk: after a crash of the machine the boot id tells the file is
    // stale anyway, and a sync on a disk-backed folder costs the start-up.
    m_fd = fd;
    return LockResult::Taken;
}

LockFile::FoundFile LockFile::LookAtFoundFile() {
    LockOwner owner;
    bool ownerRead = ReadOwner(m_path, owner);
    // A file made this moment is written the next: a short wait tells its holder.
    for (int wait = 0; !ownerRead && wait < 10; ++wait) {
        const timespec pause{0, 10 * 1000 * 1000};
        nanosleep(&pause, nullptr);
        ownerRead = ReadOwner(m_path, owner);
    }
    if (ownerRead) {
        m_holder = owner;
        return IsStale(owner) ? FoundFile::Stale : FoundFile::Standing;
    }
    struct stat st;
    if (stat(m_path.c_str(), &st) != 0) return FoundFile::Gone;
    return std::time(nullptr) - st.st_mtime > kUnreadableStaleSeconds ? FoundFile::Stale : FoundFile::Standing;
}

bool LockFile::RemoveIfStillStale() {
    // Two programs that both found the file stale must not both remove it (the second
    // would remove the first one's new lock).
    LockFile removal(m_path + ".rmlock");
    if (removal.TryLock() != LockResult::Taken) return false;
    LockOwner again;
    const bool still = ReadOwner(m_path, again) ? IsStale(again) : true;
    return still && RemoveStale();
}

bool LockFile::RemoveStale() {
    const int fd = open(m_path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT;
    const bool removed = flock(fd, LOCK_EX | LOCK_NB) == 0 && unlink(m_path.c_str()) == 0;
    close(fd);
    return removed;
}

void LockFile::Unlock() {
    if (m_fd < 0) return;
    unlink(m_path.c_str());
    close(m_fd);
    m_fd = -1;
}

std::string LockFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat st;
    std::string folder;
    if (runtime && runtime[0] == '/' && stat(runtime, &st) == 0 && S_ISDIR(st.st_mode))
        folder = std::string(runtime) + "/nelo";
    else
        folder = UserStateFolder() + "/locks";
    return MakeFolders(folder) ? folder : std::string();
}

std::string NotebookLockPath(const std::string& canonicalPath) {
    std::string folder = LockFolder();
    if (folder.empty()) return folder;
    // The file name, cut at a character boundary of UTF-8, keeps the lock readable.
    std::string name = FileNameOfPath(canonicalPath);
    if (name.size() > 80) {
        std::size_t cut = 80;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
        name.resize(cut);
    }
    char hash[24];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(PathHash(canonicalPath)));
    return JoinPath(folder, name + "-" + hash + ".lock");
}

std::string ResolvedPath(const std::string& absolutePath) {
    if (char* resolved = realpath(absolutePath.c_str(), nullptr)) {
        std::string path(resolved);
        std::free(resolved);
        return path;
    }
    // A notebook not saved yet: its folder, resolved, and its name.
    const std::size_t slash = absolutePath.rfind('/');
    if (slash == std::string::npos || slash == 0) return absolutePath;
    char* folder = realpath(absolutePath.substr(0, slash).c_str(), nullptr);
    if (!folder) return absolutePath;
    std::string path = std::string(folder) + absolutePath.substr(slash);
    std::free(folder);
    return path;
}

}  // namespace nelo
