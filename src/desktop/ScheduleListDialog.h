// The schedule list on the screen: every entry in start order, "削除" for the selected
// one, and a month calendar beside it that shows the days holding an entry in bold and
// turns to the month of the entry the user selects. The calendar only shows; the rows
// and the deletion are the core's ScheduleListModel, and so are the calendar file's export
// and import ("iCalendar出力", "iCalendar読込み"), for which this dialog asks the file.
#pragma once

#include "desktop/ListDialog.h"

#include <QColor>
#include <QPalette>
#include <QString>
#include <utility>
#include <vector>

class RowListView;
namespace nelo {
class ScheduleListModel;
}  // namespace nelo
class QCalendarWidget;

class ScheduleListDialog : public ListDialog {
    Q_OBJECT
public:
    /// folder: where the calendar file dialogs start (the notebook's folder; empty: home).
    ScheduleListDialog(nelo::ScheduleListModel& dlg, nelo::MessageBox& messageBox, QWidget* parent,
                       const QString& folder = QString());

    RowListView* GetList() const { return m_listView; }

    /// The colours of Saturday (blue) and Sunday (red) for a palette, light or dark.
    static std::vector<std::pair<Qt::DayOfWeek, QColor>> WeekendColours(const QPalette& palette);

private:
    void OnDelete();
    void OnICalExport();
    void OnICalImport();
    /// The rows and the calendar's days afresh from the list.
    void Reload();
    void OnSelectionChanged();
    /// Bold for the days of the shown page that hold an entry; the selected entry's
    /// days highlighted.
    void MarkDays();

    /// First and last day (Julian day numbers) of an entry, row for row with the list.
    struct DaySpan {
        qint64 first;
        qint64 last;
    };

    nelo::ScheduleListModel& m_dlg;
    RowListView* m_listView = nullptr;
    QCalendarWidget* m_calendar = nullptr;
    std::vector<DaySpan> m_days;
    QString m_folder;
};
