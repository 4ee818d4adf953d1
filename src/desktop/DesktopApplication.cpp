#include "desktop/DesktopApplication.h"

#include <new>

bool DesktopApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        if (m_outOfMemory) m_outOfMemory();
        throw;
    }
}
