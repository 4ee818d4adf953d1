// F9 (reading a text file into the conversation) in the real window, offscreen, with
// its progress dialog: the time for 10,000 and 100,000 lines and the memory the window
// grew by, which should follow the text (about ten times for ten times the lines).
#include "BenchWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

using namespace nelo;

namespace {

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
    BenchFolder dir;
    QApplication qapp(argc, argv);
    std::printf("%-10s %10s %12s %14s\n", "lines", "ms", "text KiB", "grown KiB");
    for (int lines : {10000, 100000}) {
        BenchWindow window(dir);
        MainWindow& frame = window.m_frame;
        const QString path = dir.filePath(QStringLiteral("lines.txt"));
        QByteArray text;
        for (int i = 0; i < lines; ++i) text += QByteArray::number(i % 97) + "+" + QByteArray::number(i % 13) + "\n";
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) return 1;
        file.close();
        const long before = ResidentKiB();
        QElapsedTimer t;
        t.start();
        frame.ReadTextFile(path);
        const qint64 ms = t.elapsed();
        std::printf("%-10d %10lld %12lld %14ld\n", lines, static_cast<long long>(ms),
                    static_cast<long long>(text.size() / 1024), ResidentKiB() - before);
        std::fflush(stdout);
    }
    return 0;
}
