#include "desktop/InputPane.h"

#include "desktop/QtText.h"

#include <QAbstractTextDocumentLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace nelo;

InputPane::InputPane(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("inputPane"));
    setAccessibleName(QStringLiteral("入力"));
    // Japanese is typed here: the input method is on whenever the pane has the focus.
    setAttribute(Qt::WA_InputMethodEnabled, true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void InputPane::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (enter && mods == Qt::NoModifier) {
        // Enter while an input method composes belongs to the composition; a held Enter
        // repeats, and only a single press submits (an auto-repeat would send the same
        // line again and again). Neither inserts a line break.
        if (!m_composing && !event->isAutoRepeat()) SubmitCaretLine();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void InputPane::inputMethodEvent(QInputMethodEvent* event) {
    QPlainTextEdit::inputMethodEvent(event);
    m_composing = !event->preeditString().isEmpty();
}

void InputPane::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() != QEvent::FontChange) return;
    // Another font: the scroll range is measured again and the caret stays in sight.
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    Q_EMIT layout->documentSizeChanged(layout->documentSize());
    ensureCursorVisible();
}

void InputPane::SubmitCaretLine() {
    QTextCursor cursor = textCursor();
    // A block is one logical line: the text between two line breaks, however it wraps.
    const QTextBlock block = cursor.block();
    const QString line = block.text();
    if (line.isEmpty()) {
        cursor.setPosition(block.position());
        setTextCursor(cursor);
        return;
    }
    Q_EMIT LineSubmitted(line);
}

namespace {

/// Inserts text that cannot be undone, as the program's own insertions are: Ctrl+Z
/// never takes back a line break the program put after a submitted line. Like the
/// rich-edit control's, such an insertion ends what could be undone before it.
void InsertWithoutUndo(QTextDocument& document, QTextCursor& cursor, const QString& text) {
    document.setUndoRedoEnabled(false);
    cursor.insertText(text);
    document.setUndoRedoEnabled(true);
}

}  // namespace

void InputPane::AppendInputText(const std::string& text) {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    InsertWithoutUndo(*document(), cursor, ToQString(text));
    setTextCursor(cursor);
}

void InputPane::EndWithLineBreak() {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    // The pane ends with a line break exactly when its last block is empty and is not
    // the only one.
    const QTextBlock last = document()->lastBlock();
    if (!(last.text().isEmpty() && document()->blockCount() > 1))
        InsertWithoutUndo(*document(), cursor, QStringLiteral("\n"));
    setTextCursor(cursor);
    ensureCursorVisible();
}
