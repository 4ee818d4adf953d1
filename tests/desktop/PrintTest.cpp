// Printing the conversation, read back from the PDF it prints: the pages, the header
// and its date, the page number, the lines kept clear of it, the embedded Mincho font;
// and the commands around it (the print dialog, the preview's page setting, direct
// print without a printer).
#include "DesktopTestSupport.h"
#include "desktop/ConversationPane.h"
#include "desktop/ConversationPrinter.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QXmlStreamReader>

using namespace nelo;

namespace {

/// One word of `pdftotext -bbox`, in points from the top left of the paper.
struct Word {
    QString text;
    QRectF box;
};
using Page = QList<Word>;

/// Runs a poppler tool; its standard output, or a null string when it failed.
QString Run(const QString& tool, const QStringList& args) {
    QProcess process;
    process.start(tool, args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool HavePoppler() {
    for (const char* tool : {"pdfinfo", "pdftotext", "pdffonts"})
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty()) return false;
    return true;
}

QList<Page> Words(const QString& pdf) {
    QList<Page> pages;
    QXmlStreamReader xml(Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("page")) pages.append(Page());
        if (xml.name() != QLatin1String("word") || pages.isEmpty()) continue;
        auto at = [&](const char* name) { return xml.attributes().value(QLatin1String(name)).toDouble(); };
        QRectF box(QPointF(at("xMin"), at("yMin")), QPointF(at("xMax"), at("yMax")));
        pages.last().append({xml.readElementText(), box});
    }
    return pages;
}

/// The word on the page with this text (the first one).
const Word* Find(const Page& page, const QString& text) {
    for (const Word& word : page)
        if (word.text == text) return &word;
    return nullptr;
}

QStringList NumberedLines(int n) {
    QStringList lines;
    for (int i = 1; i <= n; ++i) lines.append(QStringLiteral("太郎 >> 行%1の答えです").arg(i));
    return lines;
}

}  // namespace

class PrintTest : public QObject {
    Q_OBJECT

    TestEnvironment m_env;
    std::unique_ptr<WindowFixture> m_fix;

    /// The margins of the last PDF printed: the top left of its printable area.
    QMarginsF m_margins;

    MainWindow& Frame() { return *m_fix->m_window; }
    void Fill(const QStringList& lines) { Frame().GetConversationPane()->setPlainText(lines.join(QLatin1Char('\n'))); }
    /// Prints the conversation to a PDF file in the temporary folder, as the print dialog
    /// would have it with a PDF file chosen.
    QString PrintToPdf(const QString& name) {
        const QString pdf = m_env.File(name);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        ConversationPrinter::UseDefaultPaper(printer);
        m_margins = printer.pageLayout().margins(QPageLayout::Point);
        if (!Frame().PrintConversation(printer)) return QString();
        return pdf;
    }

private Q_SLOTS:
    void init() { m_fix = std::make_unique<WindowFixture>(); }
    void cleanup() { m_fix.reset(); }

    void pagesFollowTheLineCount_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("pageCount");
        QTest::newRow("49 lines") << 49 << 1;
        QTest::newRow("50 lines: a second page with header and number only") << 50 << 2;
        QTest::newRow("51 lines") << 51 << 2;
        QTest::newRow("120 lines") << 120 << 3;
    }
    void pagesFollowTheLineCount() {
        QFETCH(int, lines);
        QFETCH(int, pageCount);
        Fill(NumberedLines(lines));
        QVERIFY(!m_fix->m_app.GetNotebook().IsModified());
        const QString pdf = PrintToPdf(QStringLiteral("lines.pdf"));
        QVERIFY(!pdf.isEmpty());
        QVERIFY2(m_fix->m_app.GetNotebook().IsModified(), "printing marks the notebook modified");
        if (!HavePoppler()) QSKIP("poppler-utils (pdfinfo, pdftotext, pdffonts) not installed");
        const QString info = Run(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(pageCount))), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size:.*\\(A4\\)"))), qPrintable(info));
        const QList<Page> pages = Words(pdf);
        QCOMPARE(pages.size(), pageCount);
        // The last line printed is the last line of the conversation, on the last page
        // that has lines.
        const int lastWithLines = (lines - 1) / 50;
        QVERIFY(Find(pages[lastWithLines], QStringLiteral("行%1の答えです").arg(lines)));
    }

    void aPageReadsAsTheLayoutSays() {
        Fill(NumberedLines(120));
        const QString pdf = PrintToPdf(QStringLiteral("layout.pdf"));
        QVERIFY(!pdf.isEmpty());
        if (!HavePoppler()) QSKIP("poppler-utils (pdfinfo, pdftotext, pdffonts) not installed");

        // The header and the frozen date of printing, blank-padded.
        const QString text = Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QCOMPARE(text.count(QRegularExpression(QStringLiteral("ＮＥＬＯ Ver1\\.00 +2026/12/ 8 09:00:00\\n"))), 3);
        for (int page : {1, 2, 3})
            QVERIFY2(text.contains(QRegularExpression(QStringLiteral(" %1 頁\\n").arg(page))), qPrintable(text));

        const QList<Page> pages = Words(pdf);
        QCOMPARE(pages.size(), 3);
        const int bodyLines[] = {50, 50, 20};
        for (int p = 0; p < 3; ++p) {
            const Page& page = pages[p];
            const QString where = QStringLiteral("page %1").arg(p + 1);
            const Word* title = Find(page, QStringLiteral("ＮＥＬＯ"));
            const Word* timeWord = Find(page, QStringLiteral("09:00:00"));
            const Word* knownNumber = Find(page, QStringLiteral("%1").arg(p + 1));
            const Word* pageWord = Find(page, QStringLiteral("頁"));
            QVERIFY2(title && timeWord && knownNumber && pageWord, qPrintable(where));
            // Measured from the top left of the printable area: the header half an inch
            // down and in, the page number 10.5 inches down, both ending 7.5 inches in.
            auto near = [](double a, double b) { return qAbs(a - b) < 1.5; };
            QVERIFY2(near(title->box.top(), m_margins.top() + 36), qPrintable(where));
            QVERIFY2(near(title->box.left(), m_margins.left() + 36), qPrintable(where));
            QVERIFY2(near(pageWord->box.top(), m_margins.top() + 756), qPrintable(where));
            QVERIFY2(near(pageWord->box.right(), m_margins.left() + 540), qPrintable(where));
            QVERIFY2(near(timeWord->box.right(), m_margins.left() + 540), qPrintable(where));

            // Every body line between the header and the page number, clear of both.
            int body = 0;
            const QRectF number = knownNumber->box.united(pageWord->box);
            for (const Word& word : page) {
                if (word.box.top() <= title->box.top() + 1 || &word == knownNumber || &word == pageWord) continue;
                if (word.text.endsWith(QStringLiteral("の答えです"))) {
                    ++body;
                    QVERIFY2(word.box.top() >= title->box.bottom(), qPrintable(where + u' ' + word.text));
                }
                QVERIFY2(word.box.bottom() <= number.top(), qPrintable(where + u' ' + word.text));
            }
            QCOMPARE(body, bodyLines[p]);
        }
        // Page 2 begins with line 51.
        QVERIFY(Find(pages[1], QStringLiteral("行51の答えです")));
        QVERIFY(!Find(pages[1], QStringLiteral("行50の答えです")));

        // The Japanese text is set in an embedded Mincho face (the columns emb, sub, uni),
        // the fixed-pitch IPAMincho where it is installed, never its proportional sister.
        const QString fonts = Run(QStringLiteral("pdffonts"), {pdf});
        QVERIFY2(fonts.contains(QRegularExpression(
                     QStringLiteral("(Mincho|明朝)\\S*\\s.*\\syes\\s+(yes|no)\\s+(yes|no)\\s+\\d+"))),
                 qPrintable(fonts));
        if (QFontDatabase::hasFamily(QStringLiteral("IPAMincho"))) {
            QVERIFY2(fonts.contains(
                         QRegularExpression(QStringLiteral("^IPAMincho\\s"), QRegularExpression::MultilineOption)),
                     qPrintable(fonts));
            QVERIFY2(!fonts.contains(QStringLiteral("IPAPMincho")), qPrintable(fonts));
        }
    }

    void aWrappedLineKeepsAllItsTextAndCountsEachRow() {
        QString longLine = QStringLiteral("花子 >> ");
        for (int i = 0; i < 12; ++i) longLine += QStringLiteral("東京都千代田区の%1番目の予定について").arg(i);
        QStringList lines = NumberedLines(49);
        lines.insert(10, longLine);
        ConversationPrinter job(lines);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        ConversationPrinter::UseDefaultPaper(printer);
        job.Layout(printer);
        const QStringList rows = job.Rows();
        const int wrappedCount = static_cast<int>(rows.size()) - 49;
        QVERIFY2(wrappedCount >= 3, "the long line should take several rows on paper");
        QCOMPARE(rows.mid(10, wrappedCount).join(QString()), longLine);
        QCOMPARE(job.PageCount(), 2);
        QFontMetricsF metrics(ConversationPrinter::PrintFont(), &printer);
        for (const QString& row : rows)
            QVERIFY(metrics.horizontalAdvance(row.trimmed()) <= job.PageLayout().WrapWidth());
    }

    void thePrintDialogPrintsToTheChosenPdfFile() {
        Fill(NumberedLines(60));
        const QString pdf = m_env.File(QStringLiteral("dialog.pdf"));
        ModalWatchdog watchdog;
        bool sawDialog = false;
        watchdog.Expect([&](QWidget* modal) {
            auto* dialog = qobject_cast<QPrintDialog*>(modal);
            sawDialog = dialog && dialog->objectName() == QLatin1String("printDialog");
            if (!dialog) {
                modal->close();
                return;
            }
            QCOMPARE(dialog->maxPage(), 2);
            // Without a printer the dialog offers only the PDF file; with one, choose it.
            if (auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers")))
                printers->setCurrentIndex(printers->count() - 1);
            auto* file = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
            if (!file) {
                dialog->reject();
                return;
            }
            file->setText(pdf);
            dialog->accept();
        });
        Frame().GetConversationPane()->setFocus();
        QTRY_VERIFY(Frame().findChild<QAction*>(QStringLiteral("actionPrint"))->isEnabled());
        Frame().findChild<QAction*>(QStringLiteral("actionPrint"))->trigger();
        QVERIFY(sawDialog);
        QCOMPARE(watchdog.Unanswered(), 0);
        QVERIFY2(QFile::exists(pdf), "the dialog's PDF file should be written");
        if (!HavePoppler()) QSKIP("poppler-utils (pdfinfo, pdftotext, pdffonts) not installed");
        QVERIFY(Run(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))));
    }

    void thePreviewKeepsItsPageCount() {
        Fill(NumberedLines(120));
        Profile& profile = m_fix->m_app.GetProfile();
        profile.WriteProfileInt("Settings", "PreviewPages", 2);
        QAction* preview = Frame().findChild<QAction*>(QStringLiteral("actionPrintPreview"));
        Frame().GetConversationPane()->setFocus();
        QTRY_VERIFY(preview->isEnabled());

        ModalWatchdog watchdog;
        QPrintPreviewWidget::ViewMode opened = QPrintPreviewWidget::AllPagesView;
        int previewPages = 0;
        watchdog.Expect([&](QWidget* modal) {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(modal);
            if (!dialog || dialog->objectName() != QLatin1String("printPreviewDialog")) {
                modal->close();
                return;
            }
            auto* widget = dialog->findChild<QPrintPreviewWidget*>();
            opened = widget->viewMode();
            previewPages = widget->pageCount();
            // NELO_GRAB_DIR: a picture of the preview, to look at.
            const QByteArray dir = qgetenv("NELO_GRAB_DIR");
            if (!dir.isEmpty()) {
                QTest::qWait(200);
                dialog->grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("preview.png")));
            }
            dialog->findChild<QAction*>(QStringLiteral("singleModeAction"))->trigger();
            dialog->reject();
        });
        preview->trigger();
        QCOMPARE(watchdog.Unanswered(), 0);
        QCOMPARE(opened, QPrintPreviewWidget::FacingPagesView);
        QCOMPARE(previewPages, 3);
        QCOMPARE(profile.GetProfileInt("Settings", "PreviewPages", 0), 1);
        QVERIFY(m_fix->m_app.GetNotebook().IsModified());
    }

    void aPdfThatCannotBeWrittenIsReported() {
        Fill(NumberedLines(3));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_env.File(QStringLiteral("no such folder/out.pdf")));
        QVERIFY(!Frame().PrintConversation(printer));
        QCOMPARE(m_fix->m_messageBox.m_shown.size(), size_t(1));
        QVERIFY(
            QString::fromStdString(m_fix->m_messageBox.m_shown[0]).contains(QStringLiteral("印刷できませんでした")));
    }

    void directPrintWithoutAPrinterSaysSo() {
        if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("a printer is installed here");
        Fill(NumberedLines(3));
        Frame().GetConversationPane()->setFocus();
        QAction* direct = Frame().findChild<QAction*>(QStringLiteral("actionPrintDirect"));
        QTRY_VERIFY(direct->isEnabled());
        direct->trigger();
        QCOMPARE(m_fix->m_messageBox.m_shown.size(), size_t(1));
        QVERIFY(
            QString::fromStdString(m_fix->m_messageBox.m_shown[0]).contains(QStringLiteral("プリンタがありません")));
    }
};

int main(int argc, char** argv) {
    // The font names as a Japanese desktop shows them ("IPA明朝", "IPA P明朝"): the
    // printed page's face must be found under those too.
    qputenv("LANG", "ja_JP.UTF-8");
    qunsetenv("LC_ALL");
    qunsetenv("LANGUAGE");
    QApplication app(argc, argv);
    PrintTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "PrintTest.moc"
