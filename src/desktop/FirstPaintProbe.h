// --quit-after-first-paint: prints FIRSTPAINT_MONO_NS=<CLOCK_MONOTONIC nanoseconds> at the
// window's first paint event and quits on the next turn of the event loop (start-up
// benchmarks).
#pragma once

#include <QObject>

class FirstPaintProbe : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_seen = false;
};
