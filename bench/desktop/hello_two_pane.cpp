// The start-up peer of the desktop program: a Qt window with a splitter holding a
// QTextEdit and a QPlainTextEdit, nothing else. With --quit-after-first-paint it prints
// FIRSTPAINT_MONO_NS=<CLOCK_MONOTONIC ns> at its first paint event and quits, through the
// same probe nelo uses.
#include "desktop/FirstPaintProbe.h"

#include <QApplication>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTextEdit>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FirstPaintProbe probe;
    if (app.arguments().contains(QStringLiteral("--quit-after-first-paint"))) app.installEventFilter(&probe);
    QMainWindow window;
    auto* splitter = new QSplitter(Qt::Vertical, &window);
    splitter->addWidget(new QTextEdit(splitter));
    splitter->addWidget(new QPlainTextEdit(splitter));
    window.setCentralWidget(splitter);
    window.resize(760, 600);
    window.show();
    return QApplication::exec();
}
