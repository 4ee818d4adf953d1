// Screenshots of the desktop program for the README: the real main window, offscreen,
// after the lines of a file were typed into its input pane one by one.
//   desktop_screenshot LINES.txt OUT.png [WIDTH HEIGHT]
// With OUT.pdf it prints the conversation to that file instead (A4, as printed).
#include "app/NotebookSession.h"
#include "desktop/ConversationPrinter.h"
#include "desktop/FontMapping.h"
#include "desktop/InputPane.h"
#include "desktop/MainWindow.h"
#include "desktop/QtMessageBox.h"
#include "platform/Profile.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>

using namespace nelo;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: desktop_screenshot LINES.txt OUT.png [WIDTH HEIGHT]\n");
        return 2;
    }
    QTemporaryDir dir;
    setenv("XDG_CONFIG_HOME", dir.path().toUtf8().constData(), 0);
    setenv("XDG_STATE_HOME", dir.path().toUtf8().constData(), 0);
    QApplication qapp(argc, argv);
    InstallFontSubstitutions();
    Profile profile;
    // The size goes through the saved placement, as the user's last window would.
    if (argc >= 5) {
        char rect[64];
        std::snprintf(rect, sizeof rect, "%04d %04d %04d %04d", 10, 10, 10 + std::atoi(argv[3]),
                      10 + std::atoi(argv[4]));
        profile.WriteProfileString("Window size", "Rect", rect);
    }
    QtMessageBox messageBox;
    NotebookSession app(profile, messageBox);
    MainWindow frame(app);
    messageBox.SetParent(&frame);
    frame.ShowFirstTime();
    app.StartUp(std::string(), true);

    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "desktop_screenshot: cannot read %s\n", argv[1]);
        return 1;
    }
    QTextStream in(&file);
    InputPane* inputPane = frame.GetInputPane();
    while (!in.atEnd()) {
        const QString line = in.readLine();
        for (char32_t u : line.toUcs4()) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUcs4(&u, 1));
            QApplication::sendEvent(inputPane, &press);
        }
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(inputPane, &enter);
        QApplication::processEvents();
    }
    QApplication::processEvents();
    const QString out = QString::fromLocal8Bit(argv[2]);
    bool ok = false;
    if (out.endsWith(QStringLiteral(".pdf"))) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out);
        ConversationPrinter::UseDefaultPaper(printer);
        ok = frame.PrintConversation(printer);
    } else {
        ok = frame.grab().save(out);
    }
    app.GetNotebook().SetModifiedFlag(false);
    return ok ? 0 : 1;
}
