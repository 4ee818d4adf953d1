#include "desktop/NotificationSettingsDialog.h"

#include "models/NotificationSettingsModel.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

using namespace nelo;

namespace {

QCheckBox* MakeCheckBox(const QString& text, const QString& objectName, bool bChecked, QWidget* pParent) {
    auto* pBox = new QCheckBox(text, pParent);
    pBox->setObjectName(objectName);
    pBox->setChecked(bChecked);
    return pBox;
}

/// A field between two texts on one row ("開始の [10] 分前に通知"); the first text is
/// the field's label and accessible name.
QLabel* AddFieldRow(QGridLayout* pGrid, int nRow, const QString& before, QWidget* pField, const QString& after,
                    const QString& accessibleName) {
    auto* pBefore = new QLabel(before, pGrid->parentWidget());
    pBefore->setObjectName(pField->objectName() + QStringLiteral("Label"));
    pBefore->setBuddy(pField);
    pField->setAccessibleName(accessibleName);
    pGrid->addWidget(pBefore, nRow, 1);
    pGrid->addWidget(pField, nRow, 2);
    pGrid->addWidget(new QLabel(after, pGrid->parentWidget()), nRow, 3);
    return pBefore;
}

}  // namespace

NotificationSettingsDialog::NotificationSettingsDialog(NotificationSettingsModel& dlg, QWidget* pParent)
    : QDialog(pParent), m_dlg(dlg) {
    setObjectName(QStringLiteral("notifySettingsDialog"));
    setWindowTitle(QStringLiteral("通知"));
    setAccessibleName(QStringLiteral("通知"));
    // Numbers and times only: no input method.
    setAttribute(Qt::WA_InputMethodEnabled, false);

    auto* pLayout = new QVBoxLayout(this);
    m_enabled = MakeCheckBox(QStringLiteral("予定を通知する(&E)"), QStringLiteral("remindersEnabled"),
                             dlg.m_settings.bEnabled, this);
    pLayout->addWidget(m_enabled);

    auto* pFields = new QWidget(this);
    auto* pGrid = new QGridLayout(pFields);
    // The fields stand indented under the box that turns them on.
    pGrid->setColumnMinimumWidth(0, fontMetrics().averageCharWidth() * 3);
    pGrid->setContentsMargins(0, 0, 0, 0);
    m_minutes = new QSpinBox(pFields);
    m_minutes->setObjectName(QStringLiteral("minutesBefore"));
    m_minutes->setRange(0, 1440);
    m_minutes->setValue(dlg.m_settings.nMinutesBefore);
    AddFieldRow(pGrid, 0, QStringLiteral("時刻のある予定: 開始の(&M)"), m_minutes, QStringLiteral("分前に通知"),
                QStringLiteral("時刻のある予定を開始の何分前に通知するか"));
    m_allDayTime = new QTimeEdit(pFields);
    m_allDayTime->setObjectName(QStringLiteral("allDayTime"));
    m_allDayTime->setDisplayFormat(QStringLiteral("HH:mm"));
    m_allDayTime->setTime(QTime(dlg.m_settings.nAllDayMinute / 60, dlg.m_settings.nAllDayMinute % 60));
    AddFieldRow(pGrid, 1, QStringLiteral("時刻のない予定: 当日の(&T)"), m_allDayTime, QStringLiteral("に通知"),
                QStringLiteral("時刻のない予定を当日の何時に通知するか"));
    pGrid->setColumnStretch(4, 1);
    pLayout->addWidget(pFields);

    m_summary = MakeCheckBox(QStringLiteral("起動時に今日の予定を通知する(&S)"), QStringLiteral("startupSummary"),
                             dlg.m_settings.bStartupSummary, this);
    pLayout->addWidget(m_summary);
    m_loginStartBox =
        MakeCheckBox(QStringLiteral("ログイン時に起動"), QStringLiteral("loginStart"), dlg.m_loginStart, this);
    m_loginStartBox->setToolTip(QStringLiteral("ログインすると ＮＥＬＯ を最小化して起動し、予定を通知します"));
    pLayout->addWidget(m_loginStartBox);

    auto* pButtons = new QDialogButtonBox(this);
    QPushButton* pOk = pButtons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    pOk->setObjectName(QStringLiteral("okButton"));
    pOk->setDefault(true);
    QPushButton* pCancel = pButtons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    pCancel->setObjectName(QStringLiteral("cancelButton"));
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    pLayout->addSpacing(fontMetrics().height() / 2);
    pLayout->addWidget(pButtons);

    pFields->setEnabled(m_enabled->isChecked());
    connect(m_enabled, &QCheckBox::toggled, pFields, &QWidget::setEnabled);
    m_enabled->setFocus();
}

void NotificationSettingsDialog::accept() {
    m_dlg.m_settings.bEnabled = m_enabled->isChecked();
    m_dlg.m_settings.nMinutesBefore = m_minutes->value();
    const QTime t = m_allDayTime->time();
    m_dlg.m_settings.nAllDayMinute = t.hour() * 60 + t.minute();
    m_dlg.m_settings.bStartupSummary = m_summary->isChecked();
    m_dlg.m_loginStart = m_loginStartBox->isChecked();
    if (m_dlg.OnOK()) QDialog::accept();
}
