#include "desktop/DesktopApplication.h"

#include <new>

bool DesktopApplication::notify(QObject* pReceiver, QEvent* pEvent) {
    try {
        return QApplication::notify(pReceiver, pEvent);
    } catch (const std::bad_alloc&) {
        if (m_outOfMemory) m_outOfMemory();
        throw;
    }
}
