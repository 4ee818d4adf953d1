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

QCheckBox* MakeCheckBox(const QString& text, const QString& objectName, bool checked, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(objectName);
    box->setChecked(checked);
    return box;
}

/// A field between two texts on one row ("開始の [10] 分前に通知"); the first text is
/// the field's label and accessible name.
QLabel* AddFieldRow(QGridLayout* grid, int row, const QString& before, QWidget* field, const QString& after,
                    const QString& accessibleName) {
    auto* beforeLabel = new QLabel(before, grid->parentWidget());
    beforeLabel->setObjectName(field->objectName() + QStringLiteral("Label"));
    beforeLabel->setBuddy(field);
    field->setAccessibleName(accessibleName);
    grid->addWidget(beforeLabel, row, 1);
    grid->addWidget(field, row, 2);
    grid->addWidget(new QLabel(after, grid->parentWidget()), row, 3);
    return beforeLabel;
}

}  // namespace

NotificationSettingsDialog::NotificationSettingsDialog(NotificationSettingsModel& dlg, QWidget* parent)
    : QDialog(parent), m_dlg(dlg) {
    setObjectName(QStringLiteral("notifySettingsDialog"));
    setWindowTitle(QStringLiteral("通知"));
    setAccessibleName(QStringLiteral("通知"));
    // Numbers and times only: no input method.
    setAttribute(Qt::WA_InputMethodEnabled, false);

    auto* layout = new QVBoxLayout(this);
    m_enabled = MakeCheckBox(QStringLiteral("予定を通知する(&E)"), QStringLiteral("remindersEnabled"),
                             dlg.GetSettings().enabled, this);
    layout->addWidget(m_enabled);

    auto* fields = new QWidget(this);
    auto* grid = new QGridLayout(fields);
    // The fields stand indented under the box that turns them on.
    grid->setColumnMinimumWidth(0, fontMetrics().averageCharWidth() * 3);
    grid->setContentsMargins(0, 0, 0, 0);
    m_minutes = new QSpinBox(fields);
    m_minutes->setObjectName(QStringLiteral("minutesBefore"));
    m_minutes->setRange(0, 1440);
    m_minutes->setValue(dlg.GetSettings().minutesBefore);
    AddFieldRow(grid, 0, QStringLiteral("時刻のある予定: 開始の(&M)"), m_minutes, QStringLiteral("分前に通知"),
                QStringLiteral("時刻のある予定を開始の何分前に通知するか"));
    m_allDayTime = new QTimeEdit(fields);
    m_allDayTime->setObjectName(QStringLiteral("allDayTime"));
    m_allDayTime->setDisplayFormat(QStringLiteral("HH:mm"));
    m_allDayTime->setTime(QTime(dlg.GetSettings().allDayMinute / 60, dlg.GetSettings().allDayMinute % 60));
    AddFieldRow(grid, 1, QStringLiteral("時刻のない予定: 当日の(&T)"), m_allDayTime, QStringLiteral("に通知"),
                QStringLiteral("時刻のない予定を当日の何時に通知するか"));
    grid->setColumnStretch(4, 1);
    layout->addWidget(fields);

    m_summary = MakeCheckBox(QStringLiteral("起動時に今日の予定を通知する(&S)"), QStringLiteral("startupSummary"),
                             dlg.GetSettings().startupSummary, this);
    layout->addWidget(m_summary);
    m_loginStartBox =
        MakeCheckBox(QStringLiteral("ログイン時に起動"), QStringLiteral("loginStart"), dlg.IsLoginStartChecked(), this);
    m_loginStartBox->setToolTip(QStringLiteral("ログインすると ＮＥＬＯ を最小化して起動し、予定を通知します"));
    layout->addWidget(m_loginStartBox);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addSpacing(fontMetrics().height() / 2);
    layout->addWidget(buttons);

    fields->setEnabled(m_enabled->isChecked());
    connect(m_enabled, &QCheckBox::toggled, fields, &QWidget::setEnabled);
    m_enabled->setFocus();
}

void NotificationSettingsDialog::accept() {
    ReminderSettings settings = m_dlg.GetSettings();
    settings.enabled = m_enabled->isChecked();
    settings.minutesBefore = m_minutes->value();
    const QTime t = m_allDayTime->time();
    settings.allDayMinute = t.hour() * 60 + t.minute();
    settings.startupSummary = m_summary->isChecked();
    m_dlg.SetSettings(settings);
    m_dlg.SetLoginStartChecked(m_loginStartBox->isChecked());
    if (m_dlg.OnOK()) QDialog::accept();
}
