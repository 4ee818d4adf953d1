// The help page that ships with the program, in a window of its own beside the notebook.
#pragma once

#include <QTextBrowser>

class CHelpWindow : public QTextBrowser {
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* pParent = nullptr);

    /// Shows the page at the anchor (empty: the top) and brings the window forward.
    void ShowAt(const QString& anchor);

protected:
    void changeEvent(QEvent* pEvent) override;
};
