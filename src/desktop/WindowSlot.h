// Which of the program's windows open at the same time this one is: the first takes
// slot 0 and comes back where the last window was left; a second one, started while
// the first is open, takes slot 1 and is offset so that it does not hide the first. A
// slot is a lock file ("window-N.lock" in the lock folder), so the windows of separate
// processes count too, and a slot left by a program that ended is free again.
#pragma once

#include <memory>

class CLockFile;

class CWindowSlot {
public:
    /// Takes the lowest free slot.
    CWindowSlot();
    ~CWindowSlot();
    CWindowSlot(const CWindowSlot&) = delete;
    CWindowSlot& operator=(const CWindowSlot&) = delete;

    /// 0 for the first window, 1 for the second ...
    int Number() const { return m_nSlot; }

    /// The most slots told apart (later windows share the last offset).
    static constexpr int kSlots = 16;

private:
    int m_nSlot = 0;
    std::unique_ptr<CLockFile> m_pLock;
};
