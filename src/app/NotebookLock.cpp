#include "app/NotebookLock.h"

#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "text/Sjis.h"

namespace nelo {

namespace {

/// The lock of lockPath, taken; nullptr when no lock file can be made or a running
/// program holds it (holder then says who).
std::unique_ptr<LockFile> TakeLock(const std::string& lockPath, bool& held, LockOwner& holder) {
    held = false;
    if (lockPath.empty()) return nullptr;
    auto lock = std::make_unique<LockFile>(lockPath);
    switch (lock->TryLock()) {
    case LockResult::Taken: return lock;
    case LockResult::Held:
        held = true;
        holder = lock->GetHolder();
        return nullptr;
    case LockResult::NotTaken: break;
    }
    // A lock that cannot be written (a read-only runtime folder) only loses the warning.
    return nullptr;
}

std::string LockPathOf(const std::string& absolutePath) { return NotebookLockPath(ResolvedPath(absolutePath)); }

}  // namespace

std::string NotebookLock::HolderText(const LockOwner& owner) {
    std::string text;
    const LockOwner me = LockFile::ThisProcess();
    if (!owner.host.empty() && owner.host != me.host) text += "ホスト "_sj + Utf8ToCp932(owner.host).text + " の"_sj;
    text += owner.program.empty() ? std::string("ほかのプログラム"_sj) : Utf8ToCp932(owner.program).text;
    if (owner.pid > 0) text += "（プロセス番号 "_sj + std::to_string(owner.pid) + "）"_sj;
    return text;
}

bool NotebookLock::Prepare(const std::string& absolutePath, MessageBox& messageBox, bool unattended) {
    Abandon();
    m_pendingPath = absolutePath;
    m_isPending = true;
    // The notebook open now keeps its lock (reopened, by this or another of its names).
    const std::string lockPath = LockPathOf(absolutePath);
    if (IsHeld() && m_lock->GetPath() == lockPath) return true;
    bool held = false;
    LockOwner holder;
    m_pendingLock = TakeLock(lockPath, held, holder);
    if (!held) return true;

    const std::string said = Utf8ToCp932(absolutePath).text + " は "_sj + HolderText(holder) + "で開かれています。"_sj;
    if (unattended) {
        messageBox.Show(said + "そのまま開きます（入力が端末ではないため確認できません）。"_sj, std::string(),
                        MbButtons::Ok, MbIcon::Exclamation);
        return true;
    }
    const std::string question =
        said + "\n両方で変更すると、あとから保存したほうが先の変更を上書きします。\nそれでも開きますか?"_sj;
    if (messageBox.Show(question, std::string(), MbButtons::YesNo, MbIcon::Exclamation) == MbAnswer::Yes) return true;
    Abandon();
    return false;
}

void NotebookLock::Commit() {
    if (!m_isPending) return;
    // Without a lock of its own, the notebook prepared keeps the open one's only when
    // that is its lock too.
    if (m_pendingLock || !IsHeld() || m_lock->GetPath() != LockPathOf(m_pendingPath)) m_lock = std::move(m_pendingLock);
    m_path = m_pendingPath;
    Abandon();
}

void NotebookLock::Abandon() {
    m_pendingLock.reset();
    m_pendingPath.clear();
    m_isPending = false;
}

void NotebookLock::Release() {
    Abandon();
    m_lock.reset();
    m_path.clear();
}

void NotebookLock::Follow(const std::string& absolutePath) {
    Abandon();
    m_path = absolutePath;
    const std::string lockPath = LockPathOf(absolutePath);
    if (IsHeld() && m_lock->GetPath() == lockPath) return;
    // Saved under a new name, or opened anyway while another program had it: the lock
    // is taken when it is free.
    bool held = false;
    LockOwner holder;
    m_lock = TakeLock(lockPath, held, holder);
}

}  // namespace nelo
