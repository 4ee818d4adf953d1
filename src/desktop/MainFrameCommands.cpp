// Text-file input (F9) and the settings dialog (F5).
#include "desktop/MainFrame.h"

#include "app/RumoApp.h"
#include "conversation/TextFileInput.h"
#include "document/RumoDoc.h"
#include "desktop/BatchedPanes.h"
#include "desktop/ConversationPane.h"
#include "desktop/FileDialogs.h"
#include "desktop/InputPane.h"
#include "desktop/QtText.h"
#include "desktop/SetupDialog.h"
#include "dialogs/SetupDlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>

namespace {

/// How often a long read lets the window repaint and the cancel button work.
constexpr qint64 kRepaintEveryMs = 50;
/// The most lines the panes take in one piece (laying them out takes longer than
/// answering them, so the pieces stay small enough to keep the window responsive).
constexpr int kLinesPerFlush = 256;

}  // namespace

void CMainFrame::OnReadTextFile() {
    if (m_bReadingTextFile) return;
    const QString path = AskTextFileToRead(this, DialogFolder());
    if (path.isEmpty()) return;
    ReadTextFile(path);
}

void CMainFrame::ReadTextFile(const QString& path, int nProgressDelayMs) {
    if (m_bReadingTextFile) return;
    m_bReadingTextFile = true;
    CTextFileInput reader(m_app.GetMessageBox());
    reader.Read(PathFromQString(path));
    const std::vector<std::string>& lines = reader.GetLines();
    const std::vector<int>& replaced = reader.GetReplaced();

    QProgressDialog progress(QStringLiteral("テキストを読み込んでいます..."), QStringLiteral("ｷｬﾝｾﾙ"), 0,
                             static_cast<int>(lines.size()), this);
    progress.setObjectName(QStringLiteral("readTextFileProgress"));
    progress.setWindowTitle(QStringLiteral("テキスト読込み"));
    // While the text is read, the window takes no typing, no commands and no second F9.
    // It is disabled rather than blocked by a modal dialog: a blocked window would not
    // even hear its close button, and closing it stops the reading, then closes.
    progress.setWindowModality(Qt::NonModal);
    QPointer<QWidget> pFocus = focusWidget();
    setEnabled(false);
    progress.setEnabled(true);
    progress.setMinimumDuration(nProgressDelayMs);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setValue(0);

    // The panes take the text at each progress step only: laying them out and scrolling
    // them after every line would cost more than the lines themselves.
    CRumoDoc& doc = m_app.GetDocument();
    CBatchedInput input(*m_pInput);
    CBatchedConversation conversation(*m_pConversation);
    CSendView view(doc, &input);
    // The conversation pane listens again however the loop ends.
    struct CListenerSwap {
        CRumoDoc& doc;
        IDocListener* pPane;
        IDocListener* pBatch;
        CListenerSwap(CRumoDoc& d, IDocListener* p, IDocListener* b) : doc(d), pPane(p), pBatch(b) {
            doc.RemoveListener(pPane);
            doc.AddListener(pBatch);
        }
        ~CListenerSwap() {
            doc.RemoveListener(pBatch);
            doc.AddListener(pPane);
        }
    } swap(doc, m_pConversation, &conversation);
    auto flush = [&] {
        conversation.Flush();
        input.Flush();
    };
    int nReplaced = 0;
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    int nGathered = 0;
    std::size_t i = 0;
    for (; i < lines.size(); ++i) {
        if (i < replaced.size()) nReplaced += replaced[i];
        view.AppendInputText(lines[i]);
        view.ProcessLine(lines[i]);
        const bool bRepaint = sinceRepaint.elapsed() >= kRepaintEveryMs;
        if (bRepaint || ++nGathered >= kLinesPerFlush) {
            flush();
            nGathered = 0;
        }
        if (bRepaint) {
            progress.setLabelText(
                QStringLiteral("テキストを読み込んでいます... %1 / %2 行").arg(i + 1).arg(lines.size()));
            progress.setValue(static_cast<int>(i + 1));
            // Until the progress dialog shows, typing waits for the end of the read.
            QApplication::processEvents(progress.isVisible() ? QEventLoop::AllEvents
                                                             : QEventLoop::ExcludeUserInputEvents);
            sinceRepaint.restart();
            if (progress.wasCanceled() || m_bCloseAfterRead) {
                ++i;
                break;
            }
        }
    }
    flush();
    progress.close();
    setEnabled(true);
    if (pFocus) pFocus->setFocus();
    if (nReplaced > 0) ShowNotice(QStringLiteral("%1 文字は使えない文字のため「？」に置き換えました。").arg(nReplaced));
    if (i < lines.size())
        ShowNotice(QStringLiteral("テキスト読込みを取り消しました（%1 / %2 行）。").arg(i).arg(lines.size()));
    m_bReadingTextFile = false;
    // The window was asked to close while it read: now it does, with the usual question.
    if (m_bCloseAfterRead) {
        m_bCloseAfterRead = false;
        close();
    }
}

void CMainFrame::OnSettings() {
    int nReplaced = 0;
    ::OnSettings(m_app.GetDocument(), [this, &nReplaced](CSetupDlg& dlg) {
        CSetupDialog dialog(dlg, this);
        dialog.exec();
        nReplaced = dialog.ReplacedCharacters();
    });
    if (nReplaced > 0) ShowNotice(QStringLiteral("%1 文字は使えない文字のため「？」に置き換えました。").arg(nReplaced));
}
