#include "desktop/WindowSlot.h"

#include "platform/LockFile.h"

using namespace nelo;

WindowSlot::WindowSlot() {
    const std::string folder = LockFolder();
    if (folder.empty()) return;
    for (int n = 0; n < kSlots; ++n) {
        auto pLock = std::make_unique<LockFile>(folder + "/window-" + std::to_string(n) + ".lock");
        switch (pLock->TryLock()) {
        case LockResult::Taken:
            m_slot = n;
            m_lock = std::move(pLock);
            return;
        case LockResult::NotTaken: return;  // no slots to tell windows apart: the first
        case LockResult::Held: break;
        }
    }
    m_slot = kSlots - 1;
}

WindowSlot::~WindowSlot() = default;
