// Replacing a file without ever leaving it half written: the bytes go to a temporary
// file in the same folder, which is flushed, synced and then renamed over the target.
// The file keeps what makes it the user's file: a symbolic link stays a link and the
// file it names is written, a file the user may not write is refused, and a file that
// a rename would split from its other names or its owner is written in place, with its
// old content in a copy beside it until the new content is on disk.
#pragma once

#include "platform/ByteSink.h"
#include "platform/FileStamp.h"

#include <cstddef>
#include <string>
#include <sys/types.h>

/// A file being replaced. Open creates the temporary file beside the target, Write
/// streams bytes into it, Commit syncs it and renames it over the target. Until Commit
/// has succeeded the target is untouched; a temporary file that is not committed (a
/// failure anywhere, or the object destroyed first) is removed.
///
/// The target is the file path names after its symbolic links are followed. A target
/// without write permission (for anyone, or for this user) is refused. A target with
/// other hard links, or whose owner and group the new file could not be given, is
/// written in place instead: Open copies its content to a file beside it, Write goes
/// into the target itself, and a failed or abandoned save copies the old content back.
class CAtomicFile : public IByteSink {
public:
    CAtomicFile() = default;
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;
    ~CAtomicFile() override;

    /// Creates the temporary file for path; false with error set (UTF-8) when it cannot
    /// be created or the target may not be written. makeDirs creates missing parent
    /// folders first.
    bool Open(const std::string& path, std::string& error, bool makeDirs = false);
    /// Appends n bytes. After the first failure nothing more is written and Commit fails
    /// with that failure's reason.
    void Write(const char* p, std::size_t n) override;
    /// Syncs the temporary file and renames it over the target. On any failure, this one
    /// or an earlier write's, the temporary file is removed, error says why and false is
    /// returned.
    bool Commit(std::string& error);
    /// Removes the temporary file; the target stays as it was.
    void Abandon();

    /// The file written: the target of path's symbolic links (after Open).
    const std::string& GetTarget() const { return m_strPath; }
    /// True when Open chose to write the target in place.
    bool IsInPlace() const { return m_bInPlace; }
    /// The written file's identity and modification state after a successful Commit;
    /// after a failed one, that of a target written in place whose old content was put
    /// back, else nothing known.
    const CFileStamp& GetStamp() const { return m_stamp; }

protected:
    // The system calls that can fail after Open, replaceable by tests that inject failures.
    virtual ssize_t SysWrite(int fd, const char* p, std::size_t n);
    virtual int SysSync(int fd);
    virtual int SysRename(const char* from, const char* to);

private:
    bool Fail(std::string& error, int nErrno);
    bool OpenInPlace(const struct stat& st, std::string& error);
    bool CommitInPlace(std::string& error);
    /// Copies the saved old content back over the target; true when it is back on disk.
    bool RestoreInPlace();
    /// Closes the target and removes the copy of its old content, or keeps the copy (and
    /// says where in error) when the old content could not be put back.
    void EndInPlace(bool bRestore, std::string* error);

    std::string m_strPath;    // the target: path with its symbolic links followed
    std::string m_strTemp;    // the temporary file (replacing)
    std::string m_strBackup;  // the copy of the old content (in place)
    bool m_bInPlace = false;
    off_t m_nOldSize = 0;  // the target's size before an in-place save
    int m_fd = -1;
    int m_nWriteErrno = 0;       // the first failure of Write, 0 while there is none
    std::size_t m_nWritten = 0;  // bytes in the temporary file
    std::size_t m_nKicked = 0;   // bytes whose write-back to the disk has been started
    CFileStamp m_stamp;
};

/// Writes data to path atomically. On failure the old file is untouched, the temporary
/// file is removed, error says why (in UTF-8) and false is returned. makeDirs creates
/// missing parent folders first.
bool WriteFileAtomically(const std::string& path, const std::string& data, std::string& error, bool makeDirs = false);

/// Reads a whole file; false (with error set) when it cannot be opened or read. stamp,
/// when given, receives the identity of the file read.
bool ReadWholeFile(const std::string& path, std::string& data, std::string& error, CFileStamp* stamp = nullptr);
