#include "platform/SideFiles.h"

#include "platform/PathNames.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nelo {

namespace {

constexpr std::size_t kRandomChars = 6;

/// The longest name the file system of folder takes.
std::size_t NameLimit(const std::string& folder) {
    long n = pathconf(folder.c_str(), _PC_NAME_MAX);
    return n > 0 ? static_cast<std::size_t>(n) : NAME_MAX;
}

/// The first n bytes of name, fewer when byte n is inside a UTF-8 character.
std::string CutAtCharacter(const std::string& name, std::size_t n) {
    if (name.size() <= n) return name;
    while (n > 0 && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80) --n;
    return name.substr(0, n);
}

const char* KindSuffix(SideFileKind kind) { return kind == SideFileKind::Temporary ? ".tmp" : ".bak"; }

}  // namespace

std::string FitFileName(const std::string& folder, const std::string& name, const std::string& suffix) {
    const std::size_t limit = NameLimit(folder);
    if (suffix.size() >= limit) return suffix;
    return CutAtCharacter(name, limit - suffix.size()) + suffix;
}

std::string SideFilePrefix(const std::string& target, SideFileKind kind) {
    const std::string folder = FolderOfPath(target);
    const std::string suffix = KindSuffix(kind);
    std::string name = FitFileName(folder, FileNameOfPath(target), suffix + std::string(kRandomChars, 'X'));
    name.resize(name.size() - kRandomChars);
    return (target.find('/') == std::string::npos ? std::string() : folder + "/") + name;
}

std::string RandomSideFileName(const std::string& prefix) {
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[kRandomChars];
    if (getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
        // Without the kernel's randomness the clock and the process differ enough: a name
        // that is taken is tried again with the next one.
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        unsigned long v = static_cast<unsigned long>(ts.tv_nsec) ^ (static_cast<unsigned long>(getpid()) << 20);
        for (unsigned char& b : bytes) {
            b = static_cast<unsigned char>(v);
            v = v * 6364136223846793005ul + 1442695040888963407ul;
            b ^= static_cast<unsigned char>(v >> 33);
        }
    }
    std::string name = prefix;
    for (unsigned char b : bytes) name += kChars[b % (sizeof kChars - 1)];
    return name;
}

int CreateUnnamedFile(const std::string& folder, mode_t mode) {
#ifdef O_TMPFILE
    int fd = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
    if (fd < 0) return -1;
    // The file gets its name through /proc; without it the file could never be named.
    std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (access(self.c_str(), F_OK) != 0) {
        close(fd);
        errno = EOPNOTSUPP;
        return -1;
    }
    return fd;
#else
    (void)folder;
    (void)mode;
    errno = EOPNOTSUPP;
    return -1;
#endif
}

int CreateSideFile(const std::string& prefix, mode_t mode, std::string& path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = RandomSideFileName(prefix);
        int fd = open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            path = std::move(candidate);
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    errno = EEXIST;
    return -1;
}

void HoldSideFile(int fd) {
    // Best effort: a file system without locks only loses the cleaning of leftovers.
    while (flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

std::vector<std::string> AbandonedSideFiles(const std::string& target, SideFileKind kind) {
    const std::string prefix = SideFilePrefix(target, kind);
    const std::string folder = FolderOfPath(prefix);
    const std::string namePrefix = FileNameOfPath(prefix);
    std::vector<std::pair<timespec, std::string>> found;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return {};
    while (dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name.size() != namePrefix.size() + kRandomChars || name.compare(0, namePrefix.size(), namePrefix) != 0)
            continue;
        const std::string path = prefix.find('/') == std::string::npos ? name : JoinPath(folder, name);
        int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st;
        // A running save holds its side files; the lock taken here only asks.
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_SH | LOCK_NB) == 0)
            found.emplace_back(st.st_mtim, path);
        close(fd);
    }
    closedir(dir);
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        if (a.first.tv_sec != b.first.tv_sec) return a.first.tv_sec > b.first.tv_sec;
        if (a.first.tv_nsec != b.first.tv_nsec) return a.first.tv_nsec > b.first.tv_nsec;
        return a.second < b.second;
    });
    std::vector<std::string> paths;
    paths.reserve(found.size());
    for (auto& f : found) paths.push_back(std::move(f.second));
    return paths;
}

}  // namespace nelo
