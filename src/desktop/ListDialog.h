// What the three list dialogs (variables, schedules, memos) share: controls placed in
// dialog units of the dialog's font, so the layout keeps its proportions in any font;
// named buttons and labels; message boxes owned by the dialog while it is open; and
// Japanese input off everywhere but the one field that takes it.
#pragma once

#include <QDialog>

namespace nelo {
class MessageBox;
}  // namespace nelo
class QLabel;
class QPushButton;

class ListDialog : public QDialog {
    Q_OBJECT
public:
    ListDialog(nelo::MessageBox& messageBox, const QString& title, QWidget* parent);
    ~ListDialog() override;

    /// The rectangle of x, y, cx, cy dialog units in pixels.
    QRect DluRect(int x, int y, int cx, int cy) const;

protected:
    /// Sets the dialog's fixed size in dialog units.
    void SetDluSize(int cx, int cy);
    void Place(QWidget* widget, int x, int y, int cx, int cy) const;
    QPushButton* AddButton(const QString& text, const QString& objectName, int x, int y, int cx, int cy);
    QLabel* AddLabel(const QString& text, const QString& objectName, int x, int y, int cx, int cy);
    /// Japanese input stays on in field alone (nullptr: nowhere).
    void EnableInputMethodOnlyIn(QWidget* field);

private:
    nelo::MessageBox& m_messageBox;
    // The message box's owner before the dialog opened, given back when it closes.
    QWidget* m_oldBoxParent = nullptr;
    double m_unitX = 1.5;
    double m_unitY = 1.5;
};
