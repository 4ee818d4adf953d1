// One program at a time on a notebook: the lock of the notebook that is open, taken
// when a file is opened or saved under a new name and given up when another notebook
// takes its place or the program ends. Both programs take the same lock file for the
// same notebook (platform/LockFile.h), so nelo and nelo-cli see each other. A notebook
// open elsewhere is not refused: the user is told who has it and may open it anyway.
#pragma once

#include "platform/LockFile.h"

#include <memory>
#include <string>

namespace nelo {

class MessageBox;

class NotebookLock {
public:
    /// Before the notebook at absolutePath takes the place of the open one: takes its
    /// lock. When a running program holds it, asks whether to open it all the same (the
    /// notebook is then open without its lock); unattended, says so and goes on. False
    /// when the user chose not to open it. The open notebook keeps its own lock until
    /// Commit.
    bool Prepare(const std::string& absolutePath, MessageBox& messageBox, bool unattended);
    /// The notebook prepared is the open one now: its lock (if taken) replaces the old.
    void Commit();
    /// The notebook prepared did not open: its lock is given up, the old one stays.
    void Abandon();
    /// No notebook file is open any more (File New): the lock is given up.
    void Release();
    /// The open notebook was saved under absolutePath: takes that lock if nobody has it
    /// (without a question: the file is written already).
    void Follow(const std::string& absolutePath);

    /// The notebook the lock belongs to (absolute, as given); empty when none.
    const std::string& GetPath() const { return m_path; }
    /// True while this program holds the open notebook's lock file.
    bool IsHeld() const { return m_lock && m_lock->IsLocked(); }

    /// The text that tells who holds a lock (code page 932): "nelo-cli（プロセス番号 1234）",
    /// with the host in front when it is another machine.
    static std::string HolderText(const LockOwner& owner);

private:
    std::string m_path;
    std::unique_ptr<LockFile> m_lock;
    std::string m_pendingPath;
    std::unique_ptr<LockFile> m_pendingLock;
    bool m_isPending = false;
};

}  // namespace nelo
