// Which of the program's windows open at the same time this one is: the first takes
// slot 0 and comes back where the last window was left; a second one, started while
// the first is open, takes slot 1 and is offset so that it does not hide the first. A
// slot is a lock file ("window-N.lock" in the lock folder), so the windows of separate
// processes count too, and a slot left by a program that ended is free again.
#pragma once

#include <memory>

namespace nelo {
class LockFile;
}  // namespace nelo

class WindowSlot {
public:
    /// Takes the lowest free slot.
    WindowSlot();
    ~WindowSlot();
    WindowSlot(const WindowSlot&) = delete;
    WindowSlot& operator=(const WindowSlot&) = delete;

    /// 0 for the first window, 1 for the second ...
    int Number() const { return m_slot; }

    /// The most slots told apart (later windows share the last offset).
    static constexpr int kSlots = 16;

private:
    int m_slot = 0;
    std::unique_ptr<nelo::LockFile> m_lock;
};
