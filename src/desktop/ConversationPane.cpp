#include "desktop/ConversationPane.h"

#include "desktop/QtText.h"

#include <QScrollBar>
#include <QTextCursor>

CConversationPane::CConversationPane(QWidget* pParent) : QPlainTextEdit(pParent) {
    setObjectName(QStringLiteral("conversationPane"));
    setAccessibleName(QStringLiteral("会話"));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Nothing here is ever undone, and an undo history would grow with the conversation.
    setUndoRedoEnabled(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void CConversationPane::AppendText(const std::string& text) {
    QString q = ToQString(text);
    q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(q);
    // The newest line shows, whatever the user scrolled to.
    QScrollBar* pBar = verticalScrollBar();
    pBar->setValue(pBar->maximum());
}

void CConversationPane::ClearText() { clear(); }
