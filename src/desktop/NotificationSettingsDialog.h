// The notification settings ("通知") over the core's NotificationSettingsModel: reminders on or
// off, minutes before an entry, the time for entries without a time, the start-up
// summary and 「ログイン時に起動」. OK stores them (and stays open when the core says
// something could not be stored); ｷｬﾝｾﾙ and Escape change nothing.
#pragma once

#include <QDialog>

namespace nelo {
class NotificationSettingsModel;
}  // namespace nelo
class QCheckBox;
class QSpinBox;
class QTimeEdit;

class NotificationSettingsDialog : public QDialog {
    Q_OBJECT
public:
    NotificationSettingsDialog(nelo::NotificationSettingsModel& dlg, QWidget* parent = nullptr);

    void accept() override;

private:
    nelo::NotificationSettingsModel& m_dlg;
    QCheckBox* m_enabled = nullptr;
    QSpinBox* m_minutes = nullptr;
    QTimeEdit* m_allDayTime = nullptr;
    QCheckBox* m_summary = nullptr;
    QCheckBox* m_loginStartBox = nullptr;
};
