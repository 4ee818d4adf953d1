// The desktop program's application object: Qt's, with one addition. Memory that runs
// out while an event is handled (std::bad_alloc) would otherwise end the program
// through std::terminate with the notebook's unsaved changes; here it reaches a handler
// that can keep them first.
#pragma once

#include <QApplication>
#include <functional>

class DesktopApplication : public QApplication {
    Q_OBJECT
public:
    DesktopApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    /// Called when an event handler runs out of memory; it is expected not to return
    /// (without a handler, or when it does return, the exception goes on).
    void SetOutOfMemoryHandler(std::function<void()> handler) { m_outOfMemory = std::move(handler); }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    std::function<void()> m_outOfMemory;
};
