// Text-file input (F9) and the settings dialog (F5).
#include "desktop/MainWindow.h"

#include "app/NotebookSession.h"
#include "conversation/TextFileInput.h"
#include "notebook/Notebook.h"
#include "desktop/BatchedPanes.h"
#include "desktop/ConversationPane.h"
#include "desktop/FileDialogs.h"
#include "desktop/InputPane.h"
#include "desktop/QtText.h"
#include "desktop/SetupDialog.h"
#include "models/NamesModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <algorithm>
#include <climits>

using namespace nelo;

namespace {

/// How often a long read lets the window repaint and the cancel button work.
constexpr qint64 kRepaintEveryMs = 50;
/// The most lines the panes take in one piece (laying them out takes longer than
/// answering them, so the pieces stay small enough to keep the window responsive).
constexpr int kLinesPerFlush = 256;

// A batch stands in for the conversation pane as the notebook's listener while it lives.
class ListenerSwap {
public:
    ListenerSwap(Notebook& doc, NotebookListener* pane, NotebookListener* batch)
        : m_doc(doc), m_pane(pane), m_batch(batch) {
        m_doc.RemoveListener(m_pane);
        m_doc.AddListener(m_batch);
    }
    ~ListenerSwap() {
        m_doc.RemoveListener(m_batch);
        m_doc.AddListener(m_pane);
    }
    ListenerSwap(const ListenerSwap&) = delete;
    ListenerSwap& operator=(const ListenerSwap&) = delete;

private:
    Notebook& m_doc;
    NotebookListener* m_pane;
    NotebookListener* m_batch;
};

// Shows how far the read has come and lets the window keep up with its events; until
// the progress dialog shows, typing waits for the end of the read.
void ShowReadProgress(QProgressDialog& progress, long long done, long long total, const QString& totalText) {
    progress.setLabelText(QStringLiteral("テキストを読み込んでいます... %1%2 行").arg(done).arg(totalText));
    if (total >= 0) progress.setValue(static_cast<int>(std::min<long long>(done, progress.maximum())));
    QApplication::processEvents(progress.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

void MainWindow::OnReadTextFile() {
    if (m_readingTextFile) return;
    const QString path = AskTextFileToRead(this, DialogFolder());
    if (path.isEmpty()) return;
    ReadTextFile(path);
}

void MainWindow::ReadTextFile(const QString& path, int progressDelayMs) {
    if (m_readingTextFile) return;
    m_readingTextFile = true;
    // Until the progress dialog shows, the window only keeps up with what is not typing
    // (a signal that ends the session among it); typing waits for the end of the read.
    QElapsedTimer sinceKeptUp;
    sinceKeptUp.start();
    // A close of the window asked meanwhile stops the reading.
    const TextFileInput::StopCheck keepUp = [this, &sinceKeptUp] {
        if (sinceKeptUp.elapsed() >= kRepaintEveryMs) {
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            sinceKeptUp.restart();
        }
        return m_closeAfterRead;
    };
    TextFileInput reader(m_session.GetMessageBox());
    if (!reader.Open(PathFromQString(path), keepUp)) {
        m_readingTextFile = false;
        CloseIfAskedWhileReading();
        return;
    }
    // A file read through beforehand has its lines counted; a pipe or a device does not.
    TextReadCount count;
    count.total = reader.GetLineCount();
    count.totalText = count.total >= 0 ? QStringLiteral(" / %1").arg(count.total) : QString();

    QProgressDialog progress(QStringLiteral("テキストを読み込んでいます..."), QStringLiteral("ｷｬﾝｾﾙ"), 0,
                             static_cast<int>(count.total >= 0 ? std::min<long long>(count.total, INT_MAX) : 0), this);
    progress.setObjectName(QStringLiteral("readTextFileProgress"));
    progress.setWindowTitle(QStringLiteral("テキスト読込み"));
    // While the text is read, the window takes no typing, no commands and no second F9.
    // It is disabled rather than blocked by a modal dialog: a blocked window would not
    // even hear its close button, and closing it stops the reading, then closes.
    progress.setWindowModality(Qt::NonModal);
    QPointer<QWidget> focus = focusWidget();
    setEnabled(false);
    progress.setEnabled(true);
    progress.setMinimumDuration(progressDelayMs);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setValue(0);

    int replacedCount = 0;
    const bool canceled = ReadTextLines(reader, progress, keepUp, count, replacedCount);
    progress.close();
    setEnabled(true);
    if (focus) focus->setFocus();
    if (replacedCount > 0)
        ShowNotice(QStringLiteral("%1 文字は使えない文字のため「？」に置き換えました。").arg(replacedCount));
    if (canceled)
        ShowNotice(QStringLiteral("テキスト読込みを取り消しました（%1%2 行）。").arg(count.done).arg(count.totalText));
    m_readingTextFile = false;
    CloseIfAskedWhileReading();
}

bool MainWindow::ReadTextLines(TextFileInput& reader, QProgressDialog& progress, const std::function<bool()>& keepUp,
                               TextReadCount& count, int& replacedCount) {
    // The panes take the text at each progress step only: laying them out and scrolling
    // them after every line would cost more than the lines themselves.
    Notebook& doc = m_session.GetNotebook();
    BatchedInput input(*m_input);
    BatchedConversation conversation(*m_conversation);
    LineDispatcher view(doc, &input);
    // The conversation pane listens again however the loop ends.
    const ListenerSwap swap(doc, m_conversation, &conversation);
    auto flush = [&] {
        conversation.Flush();
        input.Flush();
    };
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    int gatheredCount = 0;
    bool canceled = false;
    std::string line;
    int lineReplacedCount = 0;
    while (reader.Next(line, lineReplacedCount, keepUp)) {
        replacedCount += lineReplacedCount;
        view.AppendInputText(line);
        view.ProcessLine(line);
        ++count.done;
        const bool repaint = sinceRepaint.elapsed() >= kRepaintEveryMs;
        if (repaint || ++gatheredCount >= kLinesPerFlush) {
            flush();
            gatheredCount = 0;
        }
        if (!repaint) continue;
        ShowReadProgress(progress, count.done, count.total, count.totalText);
        sinceRepaint.restart();
        // A cancel at the last line has nothing left to cancel; a close ends the read.
        if (progress.wasCanceled() || m_closeAfterRead) {
            canceled = !m_closeAfterRead && (count.total < 0 || count.done < count.total);
            break;
        }
    }
    flush();
    return canceled;
}

// The window was asked to close while it read: now it does, with the usual question.
void MainWindow::CloseIfAskedWhileReading() {
    if (!m_closeAfterRead) return;
    m_closeAfterRead = false;
    close();
}

void MainWindow::OnSettings() {
    int replacedCount = 0;
    ::OnSettings(m_session.GetNotebook(), [this, &replacedCount](NamesModel& dlg) {
        SetupDialog dialog(dlg, this);
        dialog.exec();
        replacedCount = dialog.ReplacedCharacters();
    });
    if (replacedCount > 0)
        ShowNotice(QStringLiteral("%1 文字は使えない文字のため「？」に置き換えました。").arg(replacedCount));
}
