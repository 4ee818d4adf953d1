#include "desktop/ConversationPane.h"

#include "desktop/QtText.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QScrollBar>
#include <QTextCursor>

using namespace nelo;

ConversationPane::ConversationPane(QWidget* pParent) : QPlainTextEdit(pParent) {
    setObjectName(QStringLiteral("conversationPane"));
    setAccessibleName(QStringLiteral("会話"));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Nothing here is ever undone, and an undo history would grow with the conversation.
    setUndoRedoEnabled(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    QScrollBar* pBar = verticalScrollBar();
    connect(pBar, &QScrollBar::valueChanged, this, [this, pBar](int nValue) { m_atEnd = nValue >= pBar->maximum(); });
    connect(pBar, &QScrollBar::rangeChanged, this, [this, pBar](int, int nMax) {
        if (m_atEnd) pBar->setValue(nMax);
    });
}

void ConversationPane::AppendText(const std::string& text) {
    QString q = ToQString(text);
    q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(q);
    // The newest line shows, whatever the user scrolled to.
    QScrollBar* pBar = verticalScrollBar();
    pBar->setValue(pBar->maximum());
}

void ConversationPane::ClearText() { clear(); }

void ConversationPane::changeEvent(QEvent* pEvent) {
    const bool bAtEnd = m_atEnd;
    QPlainTextEdit::changeEvent(pEvent);
    if (pEvent->type() != QEvent::FontChange) return;
    // The pane does not measure its scroll range again for another font by itself (it
    // would stop short of the last lines): its layout tells it the size changed.
    QAbstractTextDocumentLayout* pLayout = document()->documentLayout();
    Q_EMIT pLayout->documentSizeChanged(pLayout->documentSize());
    if (bAtEnd) verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}
