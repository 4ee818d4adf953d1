// The input pane: the user types a line and Enter submits the logical line under the
// caret (its wrapped physical lines joined); every submitted line stays, so an earlier
// one can be submitted again. Enter that confirms an input method's composition belongs
// to the composition and submits nothing.
#pragma once

#include "conversation/LineDispatcher.h"

#include <QPlainTextEdit>

class InputPane : public QPlainTextEdit, public nelo::InputPaneWriter {
    Q_OBJECT
public:
    explicit InputPane(QWidget* parent = nullptr);

    void AppendInputText(const std::string& text) override;
    void EndWithLineBreak() override;

    /// True while an input method is composing (a pre-edit text is shown).
    bool IsComposing() const { return m_composing; }

Q_SIGNALS:
    /// Enter on a line that is not empty: the logical line under the caret.
    void LineSubmitted(const QString& line);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    /// Enter: takes the caret's logical line, or on an empty line puts the caret at its
    /// start and does nothing else.
    void SubmitCaretLine();

    bool m_composing = false;
};
