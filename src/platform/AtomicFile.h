// Replacing a file without ever leaving it half written: the bytes go to a temporary
// file in the same folder (unnamed until it is complete, where the file system can),
// which is synced and then renamed over the target. The file keeps what makes it the
// user's file: a symbolic link stays a link and the file it names is written, a file
// the user may not write is refused, its owner, group, permissions, access control list
// and extended attributes stay, and a file that a rename would split from its other
// names or its owner is written in place, with its old content in a synced copy beside
// it until the new content is on disk. Only regular files are ever replaced: a folder,
// FIFO or device node at the path is refused.
#pragma once

#include "platform/ByteSink.h"
#include "platform/FileStamp.h"

#include <cstddef>
#include <string>
#include <sys/types.h>
#include <vector>

namespace nelo {

/// A file being replaced. Open creates the temporary file beside the target, Write
/// streams bytes into it, Commit syncs it and renames it over the target. Until Commit
/// has succeeded the target is untouched; a temporary file that is not committed (a
/// failure anywhere, or the object destroyed first) is removed, and one left by a save
/// that was killed is removed by the next save of the same file.
///
/// The target is the file path names after its symbolic links are followed. A target
/// without write permission (for anyone, or for this user) is refused. A target with
/// other hard links, or whose owner and group the new file could not be given, is
/// written in place instead: Open copies its content to a file beside it
/// ("NAME.bakXXXXXX") and syncs it, Write goes into the target itself, Commit syncs the
/// target and only then removes the copy, and a failed or abandoned save copies the old
/// content back. A save killed halfway leaves the copy, which InPlaceBackups finds.
class AtomicFile : public ByteSink {
public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile() override;

    /// Before Open: the permissions of a file that does not exist yet, exactly (the
    /// umask does not apply); without it, 0666 less the umask.
    void SetNewFileMode(mode_t mode) {
        m_newMode = mode;
        m_exactMode = true;
    }
    /// Before Open: folders that Open creates get these permissions less the umask;
    /// without it, 0777 less the umask.
    void SetFolderMode(mode_t mode) { m_folderMode = mode; }
    /// Before Open: the file only ever takes a name nobody uses. Open refuses an
    /// existing target and Commit fails with EEXIST when the name was taken meanwhile.
    void SetNewNameOnly() { m_newNameOnly = true; }

    /// Creates the temporary file for path; false with error set (UTF-8) when it cannot
    /// be created or the target may not be written. makeDirs creates missing parent
    /// folders first.
    bool Open(const std::string& path, std::string& error, bool makeDirs = false);
    /// Appends n bytes. After the first failure nothing more is written and Commit fails
    /// with that failure's reason.
    void Write(const char* p, std::size_t n) override;
    /// Syncs the temporary file and renames it over the target, then syncs the folder.
    /// On any failure before the rename, this one or an earlier write's, the temporary
    /// file is removed, error says why and false is returned. A folder that cannot be
    /// synced after the rename is a failure too (the new file is in place but may not
    /// survive a crash); GetStamp then describes the new file.
    bool Commit(std::string& error);
    /// Removes the temporary file; the target stays as it was.
    void Abandon();

    /// The written file's identity and modification state after a successful Commit
    /// (or one whose only failure was the folder's sync); after a failed one, that of a
    /// target written in place whose old content was put back, else nothing known.
    const FileStamp& GetStamp() const { return m_stamp; }

protected:
    // The system calls that change files, replaceable by tests that inject failures or
    // end the process at a chosen one. SysSync also syncs folders.
    virtual ssize_t SysWrite(int fd, const char* p, std::size_t n);
    virtual ssize_t SysWriteAt(int fd, const char* p, std::size_t n, off_t offset);
    virtual int SysSync(int fd);
    virtual int SysTruncate(int fd, off_t size);
    virtual int SysChmod(int fd, mode_t mode);
    /// Gives the file open as fd (unnamed when from is empty, else named from) the new
    /// name to, which must not exist.
    virtual int SysLink(int fd, const std::string& from, const std::string& to);
    virtual int SysRename(const char* from, const char* to);
    virtual int SysUnlink(const char* path);

private:
    bool Fail(std::string& error, int errorNumber);
    /// Creates the file the new content goes to (unnamed where the file system can),
    /// held as the save's side file; -1 with errno set.
    int CreateTemporary(mode_t mode, std::string& path);
    /// Gives the finished file open as fd (unnamed when path is empty, else named path)
    /// a new name starting with prefix; 0 or an errno.
    int NameFile(int fd, std::string& path, const std::string& prefix);
    /// Gives the new file the old one's owner, group, permissions and extended
    /// attributes (a new one: the permissions asked for). False with error set, or
    /// with inPlace set when the owner and group cannot be given.
    bool GiveAttributes(int fd, const struct stat* old, std::string& error, bool& inPlace);
    /// After a successful save: removes the copies that killed in-place saves left.
    void RemoveOldBackups();
    bool OpenInPlace(const struct stat& st, std::string& error);
    bool CommitInPlace(std::string& error);
    /// Copies the whole of from over the start of to; false (errno set) on any failure.
    bool CopyContent(int from, int to);
    /// Syncs the folder of the target; 0 or an errno.
    int SyncFolder();
    /// Copies the saved old content back over the target; true when it is back on disk.
    bool RestoreInPlace();
    /// Closes the target and removes the copy of its old content, or keeps the copy (and
    /// says where in error) when the old content could not be put back.
    void EndInPlace(bool restore, std::string* error);

    std::string m_path;    // the target: path with its symbolic links followed
    std::string m_temp;    // the temporary file's name (replacing), empty while unnamed
    std::string m_backup;  // the copy of the old content (in place)
    int m_backupFd = -1;   // held open while the copy is in use
    bool m_inPlace = false;
    off_t m_oldSize = 0;  // the target's size before an in-place save
    int m_fd = -1;
    int m_writeErrno = 0;       // the first failure of Write, 0 while there is none
    std::size_t m_written = 0;  // bytes in the temporary file
    std::size_t m_kicked = 0;   // bytes whose write-back to the disk has been started
    FileStamp m_stamp;
    mode_t m_newMode = 0666;
    bool m_exactMode = false;
    mode_t m_folderMode = 0777;
    bool m_newNameOnly = false;
};

/// What writing a file at path would replace, its symbolic links followed.
enum class WriteTarget {
    Missing,      ///< nothing yet: a new file
    RegularFile,  ///< a regular file, which a save or an export may replace
    Refused,      ///< a folder, FIFO, device node or socket, or a path that cannot be looked at
};
/// The check every save and export makes before it writes: may path be written, and
/// would that replace a file? error (UTF-8) says why for Refused.
WriteTarget ExamineWriteTarget(const std::string& path, std::string& error);

/// The copies of the old content that in-place saves of the file at path (its symbolic
/// links followed) left when they were killed, newest first.
std::vector<std::string> InPlaceBackups(const std::string& path);

/// Writes data to path atomically. On failure the old file is untouched, the temporary
/// file is removed, error says why (in UTF-8) and false is returned. makeDirs creates
/// missing parent folders first.
bool WriteFileAtomically(const std::string& path, const std::string& data, std::string& error, bool makeDirs = false);

/// Reads a whole file; false (with error set) when it cannot be opened or read. stamp,
/// when given, receives the identity of the file read.
bool ReadWholeFile(const std::string& path, std::string& data, std::string& error, FileStamp* stamp = nullptr);

}  // namespace nelo
