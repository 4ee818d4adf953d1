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

QPushButton* MakeButton(const QString& text, const QString& objectName, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setAccessibleName(text);
    // Enter never presses a button that merely is the default.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QLineEdit* MakeField(const QString& label, const QString& objectName, QWidget* parent, QGridLayout* grid, int row) {
    auto* labelWidget = new QLabel(label, parent);
    labelWidget->setObjectName(objectName + QStringLiteral("Label"));
    auto* field = new QLineEdit(parent);
    field->setObjectName(objectName);
    field->setAccessibleName(label);
    // Names are Japanese: the input method stays available in both fields.
    field->setAttribute(Qt::WA_InputMethodEnabled, true);
    labelWidget->setBuddy(field);
    grid->addWidget(labelWidget, row, 0);
    grid->addWidget(field, row, 1);
    return field;
}

}  // namespace

SetupDialog::SetupDialog(NamesModel& dlg, QWidget* parent) : QDialog(parent), m_dlg(dlg) {
    setObjectName(QStringLiteral("setupDialog"));
    setWindowTitle(QStringLiteral("設定"));
    setAccessibleName(QStringLiteral("設定"));
    const QFontMetrics fm = fontMetrics();

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(UnitsX(fm, 7), UnitsY(fm, 5), UnitsX(fm, 7), UnitsY(fm, 5));
    grid->setHorizontalSpacing(UnitsX(fm, 5));
    grid->setVerticalSpacing(UnitsY(fm, 6));
    m_userNameField = MakeField(QStringLiteral("あなたの名前"), QStringLiteral("userName"), this, grid, 0);
    m_responderNameField = MakeField(QStringLiteral("回答者の名前"), QStringLiteral("responderName"), this, grid, 1);
    m_ok = MakeButton(QStringLiteral("OK"), QStringLiteral("okButton"), this);
    m_cancel = MakeButton(QStringLiteral("ｷｬﾝｾﾙ"), QStringLiteral("cancelButton"), this);
    grid->addWidget(m_ok, 0, 2);
    grid->addWidget(m_cancel, 1, 2);
    // The fields take 55 units, the buttons 50, as the dialog was drawn.
    grid->setColumnMinimumWidth(1, UnitsX(fm, 55) * 3 / 2);
    grid->setColumnStretch(1, 1);
    m_ok->setMinimumWidth(UnitsX(fm, 50));
    m_cancel->setMinimumWidth(UnitsX(fm, 50));
    setTabOrder(m_userNameField, m_responderNameField);
    setTabOrder(m_responderNameField, m_ok);
    setTabOrder(m_ok, m_cancel);

    m_userNameField->setText(ToQString(dlg.GetUserName()));
    m_responderNameField->setText(ToQString(dlg.GetResponderName()));
    connect(m_ok, &QPushButton::clicked, this, &SetupDialog::OnOkButton);
    connect(m_cancel, &QPushButton::clicked, this, &SetupDialog::reject);
    m_userNameField->setFocus();
}

void SetupDialog::OnOkButton() {
    int user = 0, responder = 0;
    m_dlg.SetUserName(ToCp932(m_userNameField->text(), &user));
    m_dlg.SetResponderName(ToCp932(m_responderNameField->text(), &responder));
    m_replaced = user + responder;
    m_dlg.OnOkButton();
    QDialog::accept();
}

void SetupDialog::reject() {
    m_dlg.OnCancel();
    QDialog::reject();
}

void SetupDialog::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Enter presses a button only when that button has the focus.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        } else {
            m_dlg.OnOK();
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
