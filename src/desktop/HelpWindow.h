// The help page that ships with the program, in a window of its own beside the notebook.
#pragma once

#include <QTextBrowser>

class HelpWindow : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    /// Shows the page at the anchor (empty: the top) and brings the window forward.
    /// Opened afresh, it goes beside beside (the notebook's window), whole on that
    /// window's screen.
    void ShowAt(const QString& anchor, const QWidget* beside = nullptr);

    /// Where a window of the given frame size goes beside the frame rcBeside on a
    /// screen's available area: to its right where it fits, else to its left, else over
    /// it; always whole on the screen (shrunk to it when larger).
    static QRect PlaceBeside(const QSize& frameSize, const QRect& rcBeside, const QRect& screen);

protected:
    void changeEvent(QEvent* event) override;
};
