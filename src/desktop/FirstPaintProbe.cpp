#include "desktop/FirstPaintProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <ctime>

bool FirstPaintProbe::eventFilter(QObject* watched, QEvent* event) {
    if (!m_seen && event->type() == QEvent::Paint) {
        m_seen = true;
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        std::printf("FIRSTPAINT_MONO_NS=%lld\n", static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec);
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    return QObject::eventFilter(watched, event);
}
