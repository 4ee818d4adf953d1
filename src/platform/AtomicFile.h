// Replacing a file without ever leaving it half written: the bytes go to a temporary
// file in the same folder, which is flushed, synced and then renamed over the target.
#pragma once

#include "platform/ByteSink.h"

#include <cstddef>
#include <string>
#include <sys/types.h>

/// A file being replaced. Open creates the temporary file beside the target, Write
/// streams bytes into it, Commit syncs it and renames it over the target. Until Commit
/// has succeeded the target is untouched; a temporary file that is not committed (a
/// failure anywhere, or the object destroyed first) is removed.
class CAtomicFile : public IByteSink {
public:
    CAtomicFile() = default;
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;
    ~CAtomicFile() override;

    /// Creates the temporary file for path; false with error set (UTF-8) when it cannot
    /// be created. makeDirs creates missing parent folders first.
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

protected:
    // The system calls that can fail after Open, replaceable by tests that inject failures.
    virtual ssize_t SysWrite(int fd, const char* p, std::size_t n);
    virtual int SysSync(int fd);
    virtual int SysRename(const char* from, const char* to);

private:
    bool Fail(std::string& error, int nErrno);

    std::string m_strPath;
    std::string m_strTemp;
    int m_fd = -1;
    int m_nWriteErrno = 0;      // the first failure of Write, 0 while there is none
    std::size_t m_nWritten = 0;  // bytes in the temporary file
    std::size_t m_nKicked = 0;   // bytes whose write-back to the disk has been started
};

/// Writes data to path atomically. On failure the old file is untouched, the temporary
/// file is removed, error says why (in UTF-8) and false is returned. makeDirs creates
/// missing parent folders first.
bool WriteFileAtomically(const std::string& path, const std::string& data, std::string& error,
                         bool makeDirs = false);

/// Reads a whole file; false (with error set) when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& data, std::string& error);
