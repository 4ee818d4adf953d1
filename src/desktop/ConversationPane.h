// The conversation pane: read-only, selectable and copyable; the notebook appends the
// echoes and answers at its end and empties it for a new or opened notebook.
#pragma once

#include "transcript/TranscriptView.h"

#include <QPlainTextEdit>

class ConversationPane : public QPlainTextEdit, public nelo::TranscriptView {
    Q_OBJECT
public:
    explicit ConversationPane(QWidget* parent = nullptr);

    void AppendText(const std::string& text) override;
    void ClearText() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    /// The pane shows its last line: it keeps showing it when its lines are laid out
    /// anew (another font, another width).
    bool m_atEnd = true;
};
