// F9 (reading a text file into the conversation) in the real window, offscreen, with
// its progress dialog: the time for 10,000 and 100,000 lines and the memory the window
// grew by, which should follow the text (about ten times for ten times the lines).
#include "app/RumoApp.h"
#include "desktop/MainFrame.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

class CSilentMessageBox : public IMessageBox {
public:
    MbAnswer Show(const std::string&, const std::string&, MbButtons, MbIcon) override { return MbAnswer::No; }
};

long ResidentKiB() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir dir;
    setenv("XDG_CONFIG_HOME", dir.path().toUtf8().constData(), 1);
    setenv("XDG_STATE_HOME", dir.path().toUtf8().constData(), 1);
    setenv("NELO_NOW", "2026-12-08 09:00:00", 1);
    QApplication qapp(argc, argv);
    std::printf("%-10s %10s %12s %14s\n", "lines", "ms", "text KiB", "grown KiB");
    for (int nLines : {10000, 100000}) {
        CProfile profile(dir.filePath(QStringLiteral("Nelo.conf")).toStdString());
        CSilentMessageBox messageBox;
        CRumoApp app(profile, messageBox);
        CMainFrame frame(app);
        frame.ShowFirstTime();
        app.StartUp(std::string(), true);
        QApplication::processEvents();
        const QString path = dir.filePath(QStringLiteral("lines.txt"));
        QByteArray text;
        for (int i = 0; i < nLines; ++i) text += QByteArray::number(i % 97) + "+" + QByteArray::number(i % 13) + "\n";
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) return 1;
        file.close();
        const long before = ResidentKiB();
        QElapsedTimer t;
        t.start();
        frame.ReadTextFile(path);
        const qint64 ms = t.elapsed();
        std::printf("%-10d %10lld %12lld %14ld\n", nLines, static_cast<long long>(ms),
                    static_cast<long long>(text.size() / 1024), ResidentKiB() - before);
        std::fflush(stdout);
        app.GetDocument().SetModifiedFlag(false);
    }
    return 0;
}
