// nelo: the notebook's desktop window.
#include "app/NotebookSession.h"
#include "desktop/BoundedTeardown.h"
#include "desktop/DesktopApplication.h"
#include "desktop/DesktopOptions.h"
#include "desktop/FirstPaintProbe.h"
#include "desktop/FontMapping.h"
#include "desktop/MainWindow.h"
#include "desktop/QtMessageBox.h"
#include "desktop/SessionEnd.h"
#include "platform/Clock.h"
#include "platform/Profile.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

using namespace nelo;

namespace {

bool HaveDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // Help and version work without a display: they are answered before Qt starts.
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--") break;
        if (a == "-h" || a == "--help" || a == "--version") {
            int status = 0;
            DesktopOptions().Parse({a}, status);
            return status;
        }
    }
    std::string clockMessage;
    if (!CheckFrozenClockSetting(clockMessage)) {
        std::fprintf(stderr, "nelo: %s\n", clockMessage.c_str());
        return 2;
    }
    if (!HaveDisplay()) {
        std::fprintf(
            stderr, "nelo: 画面（DISPLAY または WAYLAND_DISPLAY）がありません。端末では nelo-cli を使ってください。\n");
        return 1;
    }

    DesktopApplication qapp(argc, argv);
    BoundedTeardown teardown;
    QApplication::setApplicationName(QStringLiteral("Nelo"));
    QApplication::setOrganizationName(QStringLiteral("Vantor"));
    // The desktop entry and icon installed under this name: the session shows the window as that application.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.vantor.Nelo"));
    InstallFontSubstitutions();
    std::vector<std::string> args;
    const QStringList qargs = QApplication::arguments();
    for (qsizetype i = 1; i < qargs.size(); ++i) args.push_back(qargs[i].toLocal8Bit().toStdString());
    DesktopOptions options;
    int status = 0;
    if (!options.Parse(args, status)) {
        teardown.SetStatus(status);
        return status;
    }

    // Qt's own dialogs and buttons speak Japanese, like the rest of the program.
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    Profile profile;
    QtMessageBox messageBox;
    NotebookSession app(profile, messageBox);
    MainWindow frame(app);
    messageBox.SetParent(&frame);
    FirstPaintProbe probe;
    if (options.quitAfterFirstPaint) qapp.installEventFilter(&probe);
    // Logout, SIGTERM and SIGHUP, a broken display connection and memory running out
    // keep unsaved changes in a recovery copy.
    SessionEnd sessionEnd(app, &frame);
    qapp.SetOutOfMemoryHandler([&sessionEnd] { sessionEnd.EndOutOfMemory(); });
    try {
        frame.SetStartMinimized(options.minimized);
        frame.ShowFirstTime();
        if (!frame.StartUp(options.file, options.startNew)) {
            teardown.SetStatus(1);
            return 1;
        }
        if (!options.quitAfterFirstPaint) {
            frame.MentionRecoveryCopies();
            frame.StartReminders();
        }
        const int exitStatus = QApplication::exec();
        teardown.SetStatus(exitStatus);
        return exitStatus;
    } catch (const std::bad_alloc&) {
        sessionEnd.EndOutOfMemory();
    }
}
