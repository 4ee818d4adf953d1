// A lock between programs through a file: whoever creates the file holds the lock until
// it removes the file again. The file names its holder in five lines (process id,
// program name, host name, machine id, boot id), the form Qt's QLockFile writes, and
// the lock is taken and given up as QLockFile does it (the file created exclusively,
// flock(2) held on it while it is held; only its sync to the disk is left out), so a
// QLockFile on the same path and this lock
// keep each other out. A file left behind by a process that no longer runs (killed,
// crashed, or from before the last boot) is taken over.
#pragma once

#include <string>

namespace nelo {

/// Who holds a lock, as its file says.
struct LockOwner {
    long long pid = 0;
    std::string program;    // the holder's program file name ("nelo", "nelo-cli")
    std::string host;       // host name
    std::string machineId;  // /etc/machine-id, empty when unknown
    std::string bootId;     // the kernel's boot id, empty when unknown
};

enum class LockResult {
    Taken,     // this object holds the lock now
    Held,      // a running process holds it (Holder() tells who)
    NotTaken,  // the file could not be made (no folder, no permission, disk full)
};

class LockFile {
public:
    explicit LockFile(std::string path) : m_path(std::move(path)) {}
    ~LockFile() { Unlock(); }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    const std::string& GetPath() const { return m_path; }
    bool IsLocked() const { return m_fd >= 0; }

    /// Takes the lock without waiting; a stale file is removed first.
    LockResult TryLock();
    /// Gives the lock up (removes the file); nothing when it is not held.
    void Unlock();
    /// The holder read by the last TryLock that found the lock held.
    const LockOwner& GetHolder() const { return m_holder; }

    /// Reads the holder from a lock file; false when it holds no process id.
    static bool ReadOwner(const std::string& path, LockOwner& owner);
    /// The holder this process writes into its lock files.
    static LockOwner ThisProcess();
    /// True when the holder cannot be running any more: on this machine, it started
    /// before the last boot, or no process of that id and program runs.
    static bool IsStale(const LockOwner& owner);

private:
    /// What a lock file found in the way is.
    enum class FoundFile { Stale, Standing, Gone };

    /// Writes who holds the lock into the file just made; Taken when it could.
    LockResult WriteOwnFile(int fd);
    /// Reads who holds the file in the way (waiting a little for one just made); the
    /// holder is kept when it can be read.
    FoundFile LookAtFoundFile();
    /// Removes the stale file unless another program is removing it or it has become
    /// a live lock meanwhile; true when it is gone.
    bool RemoveIfStillStale();
    /// Removes a stale file unless some process still holds flock(2) on it.
    bool RemoveStale();

    std::string m_path;
    int m_fd = -1;
    LockOwner m_holder;
};

/// The folder of the program's lock files: ${XDG_RUNTIME_DIR}/nelo, or, without a
/// runtime folder, "locks" in the state folder. Made (private to the user) when missing;
/// empty when it cannot be.
std::string LockFolder();

/// The lock file of a notebook in the lock folder (empty without one): its name carries
/// the notebook's file name and a hash of its full path, so that one notebook has one
/// lock whichever program opens it. canonicalPath: the notebook's absolute path with its
/// links resolved (as far as it exists).
std::string NotebookLockPath(const std::string& canonicalPath);

/// The path with its symbolic links resolved where it exists; the path itself otherwise.
std::string ResolvedPath(const std::string& absolutePath);

}  // namespace nelo
