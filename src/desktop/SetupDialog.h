// The settings dialog ("設定") over the core's NamesModel: the user's name and the
// responder's name. Enter in a field accepts nothing, so a name is never taken half
// typed; only the OK button accepts, Escape and ｷｬﾝｾﾙ cancel.
#pragma once

#include <QDialog>

namespace nelo {
class NamesModel;
}  // namespace nelo
class QLineEdit;
class QPushButton;

class SetupDialog : public QDialog {
    Q_OBJECT
public:
    SetupDialog(nelo::NamesModel& dlg, QWidget* parent = nullptr);

    /// The number of characters the fields held that have no code page 932 form (they
    /// were stored as "？").
    int ReplacedCharacters() const { return m_replaced; }

public Q_SLOTS:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnOkButton();

    nelo::NamesModel& m_dlg;
    QLineEdit* m_userNameField = nullptr;
    QLineEdit* m_responderNameField = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    int m_replaced = 0;
};
