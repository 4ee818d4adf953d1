#include "desktop/WindowSlot.h"

#include "platform/LockFile.h"

using namespace nelo;

WindowSlot::WindowSlot() {
    const std::string folder = LockFolder();
    if (folder.empty()) return;
    for (int n = 0; n < kSlots; ++n) {
        auto lock = std::make_unique<LockFile>(folder + "/window-" + std::to_string(n) + ".lock");
        switch (lock->TryLock()) {
        case LockResult::Taken:
            m_slot = n;
            m_lock = std::move(lock);
            return;
        case LockResult::NotTaken: return;  // no slots to tell windows apart: the first
        case LockResult::Held: break;
        }
    }
    m_slot = kSlots - 1;
}

WindowSlot::~WindowSlot() = default;
