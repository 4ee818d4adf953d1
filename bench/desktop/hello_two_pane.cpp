// The start-up peer of the desktop program: a Qt window with a splitter holding a
// QTextEdit and a QPlainTextEdit, nothing else. With --quit-after-first-paint it prints
// FIRSTPAINT_MONO_NS=<CLOCK_MONOTONIC ns> at its first paint event and quits, as nelo does.
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTextEdit>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace {

class CProbe : public QObject {
protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override {
        if (!m_bSeen && pEvent->type() == QEvent::Paint) {
            m_bSeen = true;
            timespec ts{};
            clock_gettime(CLOCK_MONOTONIC, &ts);
            std::printf("FIRSTPAINT_MONO_NS=%lld\n", static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(pWatched, pEvent);
    }

private:
    bool m_bSeen = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    CProbe probe;
    if (app.arguments().contains(QStringLiteral("--quit-after-first-paint"))) app.installEventFilter(&probe);
    QMainWindow window;
    auto* pSplitter = new QSplitter(Qt::Vertical, &window);
    pSplitter->addWidget(new QTextEdit(pSplitter));
    pSplitter->addWidget(new QPlainTextEdit(pSplitter));
    window.setCentralWidget(pSplitter);
    window.resize(760, 600);
    window.show();
    return QApplication::exec();
}
