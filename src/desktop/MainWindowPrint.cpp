// Printing the conversation: print, direct print, preview, printer setup. The four
// share one printer for the session, so the paper chosen in the setup is the paper
// printed on.
#include "app/NotebookSession.h"
#include "desktop/ConversationPane.h"
#include "desktop/ConversationPrinter.h"
#include "desktop/MainWindow.h"
#include "desktop/QtText.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

using namespace nelo;

namespace {

// The number of pages the preview shows side by side, kept between sessions.
constexpr const char* kSettingsSection = "Settings";
constexpr const char* kPreviewPagesEntry = "PreviewPages";

}  // namespace

void MainWindow::PrinterDeleter::operator()(QPrinter* previewPrinter) const { delete previewPrinter; }

QPrinter& MainWindow::Printer() {
    if (!m_printer) {
        m_printer.reset(new QPrinter(QPrinter::HighResolution));
        ConversationPrinter::UseDefaultPaper(*m_printer);
    }
    // Every command starts from the whole conversation (a page range chosen for one
    // print is not kept for the next), named after the notebook for the print queue.
    m_printer->setPrintRange(QPrinter::AllPages);
    m_printer->setDocName(ToQString(m_session.GetTitle()));
    return *m_printer;
}

bool MainWindow::PrintConversation(QPrinter& printer) {
    // Printing counts as a change to the notebook: closing afterwards asks to save.
    m_session.GetNotebook().SetModifiedFlag();
    ConversationPrinter job(ConversationPrinter::LinesOf(*m_conversation->document()));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool printed = job.Print(printer, LocalTime(CurrentClock().Now()));
    QApplication::restoreOverrideCursor();
    if (!printed) {
        QString text = QStringLiteral("印刷できませんでした。");
        if (printer.outputFormat() == QPrinter::PdfFormat)
            text += QStringLiteral("\n%1 に書き込めません。").arg(printer.outputFileName());
        m_session.GetMessageBox().Show(ToCp932(text), std::string(), MbButtons::Ok, MbIcon::Exclamation);
    }
    return printed;
}

void MainWindow::OnPrint() {
    QPrinter& printer = Printer();
    m_session.GetNotebook().SetModifiedFlag();
    ConversationPrinter pages(ConversationPrinter::LinesOf(*m_conversation->document()));
    pages.Layout(printer);
    QPrintDialog dlg(&printer, this);
    dlg.setObjectName(QStringLiteral("printDialog"));
    dlg.setAccessibleName(dlg.windowTitle());
    dlg.setMinMax(1, pages.PageCount());
    if (dlg.exec() != QDialog::Accepted) return;
    PrintConversation(printer);
}

void MainWindow::OnPrintDirect() {
    QPrinter& printer = Printer();
    if (printer.outputFormat() != QPrinter::NativeFormat || printer.printerName().isEmpty()) {
        QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull() && !QPrinterInfo::availablePrinters().isEmpty())
            info = QPrinterInfo::availablePrinters().constFirst();
        if (info.isNull()) {
            m_session.GetMessageBox().Show(
                ToCp932(QStringLiteral("印刷できるプリンタがありません。\n"
                                       "ファイルメニューの「印刷」でPDFファイルに印刷できます。")),
                std::string(), MbButtons::Ok, MbIcon::Exclamation);
            return;
        }
        printer.setPrinterName(info.printerName());
        printer.setOutputFileName(QString());
    }
    PrintConversation(printer);
}

void MainWindow::OnPrintPreview() {
    QPrinter& printer = Printer();
    m_session.GetNotebook().SetModifiedFlag();
    QPrintPreviewDialog dlg(&printer, this);
    dlg.setObjectName(QStringLiteral("printPreviewDialog"));
    dlg.setAccessibleName(dlg.windowTitle());
    connect(&dlg, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* previewPrinter) { PrintConversation(*previewPrinter); });

    // One page or two side by side, as the user last left it.
    Profile& profile = m_session.GetProfile();
    auto* single = dlg.findChild<QAction*>(QStringLiteral("singleModeAction"));
    auto* facing = dlg.findChild<QAction*>(QStringLiteral("facingModeAction"));
    if (facing && profile.GetProfileInt(kSettingsSection, kPreviewPagesEntry, 1) == 2) facing->trigger();
    if (single)
        connect(single, &QAction::triggered, this,
                [&profile] { profile.WriteProfileInt(kSettingsSection, kPreviewPagesEntry, 1); });
    if (facing)
        connect(facing, &QAction::triggered, this,
                [&profile] { profile.WriteProfileInt(kSettingsSection, kPreviewPagesEntry, 2); });
    dlg.exec();
}

void MainWindow::OnPrintSetup() {
    QPageSetupDialog dlg(&Printer(), this);
    dlg.setObjectName(QStringLiteral("pageSetupDialog"));
    dlg.setAccessibleName(dlg.windowTitle());
    dlg.exec();
}
