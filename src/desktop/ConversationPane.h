// The conversation pane: read-only, selectable and copyable; the document appends the
// echoes and answers at its end and empties it for a new or opened notebook.
#pragma once

#include "view/RumoView.h"

#include <QPlainTextEdit>

class CConversationPane : public QPlainTextEdit, public CRumoView {
    Q_OBJECT
public:
    explicit CConversationPane(QWidget* pParent = nullptr);

    void AppendText(const std::string& text) override;
    void ClearText() override;
};
