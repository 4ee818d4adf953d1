#include "desktop/ConversationPane.h"

#include "desktop/QtText.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QScrollBar>
#include <QTextCursor>

using namespace nelo;

ConversationPane::ConversationPane(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("conversationPane"));
    setAccessibleName(QStringLiteral("会話"));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Nothing here is ever undone, and an undo history would grow with the conversation.
    setUndoRedoEnabled(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    QScrollBar* bar = verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, [this, bar](int value) { m_atEnd = value >= bar->maximum(); });
    connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int max) {
        if (m_atEnd) bar->setValue(max);
    });
}

void ConversationPane::AppendText(const std::string& text) {
    QString q = ToQString(text);
    q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(q);
    // The newest line shows, whatever the user scrolled to.
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->maximum());
}

void ConversationPane::ClearText() { clear(); }

void ConversationPane::changeEvent(QEvent* event) {
    const bool atEnd = m_atEnd;
    QPlainTextEdit::changeEvent(event);
    if (event->type() != QEvent::FontChange) return;
    // The pane does not measure its scroll range again for another font by itself (it
    // would stop short of the last lines): its layout tells it the size changed.
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    Q_EMIT layout->documentSizeChanged(layout->documentSize());
    if (atEnd) verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}
