#include "desktop/SetupDialog.h"

#include "desktop/QtText.h"
#include "models/NamesModel.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace nelo;

namespace {

/// Horizontal and vertical dialog units of the dialog's font, so that the layout keeps
/// its proportions at any font size.
int UnitsX(const QFontMetrics& fm, int n) { return (fm.averageCharWidth() * n + 3) / 4; }
int UnitsY(const QFontMetrics& fm, int n) { return (fm.height() * n + 7) / 8; }

QPushButton* MakeButton(const QString& text, const QString& objectName, QWidget* pParent) {
    auto* pButton = new QPushButton(text, pParent);
    pButton->setObjectName(objectName);
    pButton->setAccessibleName(text);
    // Enter never presses a button that merely is the default.
    pButton->setAutoDefault(false);
    pButton->setDefault(false);
    return pButton;
}

QLineEdit* MakeField(const QString& label, const QString& objectName, QWidget* pParent, QGridLayout* pGrid, int nRow) {
    auto* pLabel = new QLabel(label, pParent);
    pLabel->setObjectName(objectName + QStringLiteral("Label"));
    auto* pField = new QLineEdit(pParent);
    pField->setObjectName(objectName);
    pField->setAccessibleName(label);
    // Names are Japanese: the input method stays available in both fields.
    pField->setAttribute(Qt::WA_InputMethodEnabled, true);
    pLabel->setBuddy(pField);
    pGrid->addWidget(pLabel, nRow, 0);
    pGrid->addWidget(pField, nRow, 1);
    return pField;
}

}  // namespace

SetupDialog::SetupDialog(NamesModel& dlg, QWidget* pParent) : QDialog(pParent), m_dlg(dlg) {
    setObjectName(QStringLiteral("setupDialog"));
    setWindowTitle(QStringLiteral("設定"));
    setAccessibleName(QStringLiteral("設定"));
    const QFontMetrics fm = fontMetrics();

    auto* pGrid = new QGridLayout(this);
    pGrid->setContentsMargins(UnitsX(fm, 7), UnitsY(fm, 5), UnitsX(fm, 7), UnitsY(fm, 5));
    pGrid->setHorizontalSpacing(UnitsX(fm, 5));
    pGrid->setVerticalSpacing(UnitsY(fm, 6));
    m_userNameField = MakeField(QStringLiteral("あなたの名前"), QStringLiteral("userName"), this, pGrid, 0);
    m_responderNameField = MakeField(QStringLiteral("回答者の名前"), QStringLiteral("responderName"), this, pGrid, 1);
    m_ok = MakeButton(QStringLiteral("OK"), QStringLiteral("okButton"), this);
    m_cancel = MakeButton(QStringLiteral("ｷｬﾝｾﾙ"), QStringLiteral("cancelButton"), this);
    pGrid->addWidget(m_ok, 0, 2);
    pGrid->addWidget(m_cancel, 1, 2);
    // The fields take 55 units, the buttons 50, as the dialog was drawn.
    pGrid->setColumnMinimumWidth(1, UnitsX(fm, 55) * 3 / 2);
    pGrid->setColumnStretch(1, 1);
    m_ok->setMinimumWidth(UnitsX(fm, 50));
    m_cancel->setMinimumWidth(UnitsX(fm, 50));
    setTabOrder(m_userNameField, m_responderNameField);
    setTabOrder(m_responderNameField, m_ok);
    setTabOrder(m_ok, m_cancel);

    m_userNameField->setText(ToQString(dlg.m_userName));
    m_responderNameField->setText(ToQString(dlg.m_responderName));
    connect(m_ok, &QPushButton::clicked, this, &SetupDialog::OnOkButton);
    connect(m_cancel, &QPushButton::clicked, this, &SetupDialog::reject);
    m_userNameField->setFocus();
}

void SetupDialog::OnOkButton() {
    int nUser = 0, nResponder = 0;
    m_dlg.m_userName = ToCp932(m_userNameField->text(), &nUser);
    m_dlg.m_responderName = ToCp932(m_responderNameField->text(), &nResponder);
    m_replaced = nUser + nResponder;
    m_dlg.OnOkButton();
    QDialog::accept();
}

void SetupDialog::reject() {
    m_dlg.OnCancel();
    QDialog::reject();
}

void SetupDialog::keyPressEvent(QKeyEvent* pEvent) {
    const int key = pEvent->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Enter presses a button only when that button has the focus.
        if (auto* pButton = qobject_cast<QPushButton*>(focusWidget())) {
            pButton->click();
        } else {
            m_dlg.OnOK();
        }
        pEvent->accept();
        return;
    }
    QDialog::keyPressEvent(pEvent);
}
