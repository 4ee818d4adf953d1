// The cost of printing the conversation to a PDF file: the real main window
// (offscreen), its conversation pane filled with N lines (10,000 by default, 200
// pages), printed through the same path as the print dialog's PDF output. Prints the
// seconds it took; keeps the file when a name is given.
//   desktop_print_bench [LINES] [FILE.pdf]
#include "BenchWindow.h"
#include "desktop/ConversationPane.h"
#include "desktop/ConversationPrinter.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrinter>
#include <QStringList>
#include <chrono>
#include <cstdio>
#include <cstdlib>

using namespace nelo;

int main(int argc, char** argv) {
    BenchFolder dir;
    QApplication qapp(argc, argv);
    const int lineCount = argc > 1 ? std::atoi(argv[1]) : 10000;
    const QString pdf = argc > 2 ? QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath()
                                 : dir.filePath(QStringLiteral("print.pdf"));

    BenchWindow window(dir);
    MainWindow& frame = window.m_frame;

    // A conversation as the pane holds it: an echo and an answer, now and then a long
    // answer that wraps on paper.
    QStringList lines;
    for (int i = 0; lines.size() < lineCount; ++i) {
        lines.append(QStringLiteral("花子 >> %1＋%2").arg(i).arg(i * 7));
        lines.append(QStringLiteral("太郎 >> %1").arg(i * 8));
        if (i % 25 == 0)
            lines.append(
                QStringLiteral("太郎 >> 来週の月曜日から金曜日まで東京で研修があります。"
                               "会場は千代田区の本社ビル三階、大会議室です。"));
    }
    lines = lines.mid(0, lineCount);
    frame.GetConversationPane()->setPlainText(lines.join(QLatin1Char('\n')));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    ConversationPrinter::UseDefaultPaper(printer);
    auto t0 = std::chrono::steady_clock::now();
    const bool printed = frame.PrintConversation(printer);
    auto t1 = std::chrono::steady_clock::now();
    ConversationPrinter pages(lines);
    pages.Layout(printer);
    std::printf("%d lines, %d pages printed to PDF in %.2f s%s\n", lineCount, pages.PageCount(),
                std::chrono::duration<double>(t1 - t0).count(), printed ? "" : " (FAILED)");
    return printed ? 0 : 1;
}
