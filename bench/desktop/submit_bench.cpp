// The cost of submitting one line in the desktop window as the conversation grows: the
// real main window (offscreen), filled to N lines of conversation by submitted lines,
// then M more lines submitted one by one, each followed by the repaint it causes.
// Prints microseconds per line at each size; flat means the cost does not grow with
// the conversation.
#include "BenchWindow.h"
#include "desktop/ConversationPane.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace nelo;

int main(int argc, char** argv) {
    BenchFolder dir;
    QApplication qapp(argc, argv);
    BenchWindow window(dir);
    MainWindow& frame = window.m_frame;

    const int samples = 500;
    std::printf("%-22s %12s %12s\n", "conversation lines", "median us", "mean us");
    int lines = frame.GetConversationPane()->blockCount();
    for (int target : {1000, 10000, 100000}) {
        // Each submission adds two lines (the echo and the answer).
        while (lines < target) {
            frame.SubmitLine(QStringLiteral("1+2"));
            lines += 2;
        }
        QApplication::processEvents();
        std::vector<double> us;
        us.reserve(samples);
        for (int i = 0; i < samples; ++i) {
            auto t0 = std::chrono::steady_clock::now();
            frame.SubmitLine(QStringLiteral("100-(2+3)*4"));
            QApplication::processEvents();
            auto t1 = std::chrono::steady_clock::now();
            us.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
        }
        lines += 2 * samples;
        std::vector<double> sorted = us;
        std::sort(sorted.begin(), sorted.end());
        double mean = 0;
        for (double v : us) mean += v;
        mean /= static_cast<double>(us.size());
        std::printf("%-22d %12.1f %12.1f\n", target, sorted[sorted.size() / 2], mean);
        std::fflush(stdout);
    }
    return 0;
}
