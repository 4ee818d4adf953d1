#include "desktop/ScheduleListDialog.h"

#include "calendar/ICalendar.h"
#include "calendar/ScheduleListCalendar.h"
#include "desktop/RowListView.h"
#include "desktop/QtText.h"
#include "models/ScheduleListModel.h"
#include "platform/Clock.h"
#include "schedule/ScheduleEntry.h"

#include <QCalendarWidget>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QTextCharFormat>
#include <algorithm>

using namespace nelo;

namespace {

const QString kICalFilter = QStringLiteral("iCalendar (*.ics)");
const QString kAllFilesFilter = QStringLiteral("すべてのﾌｧｲﾙ (*)");

// The local day of a time as a Julian day number.
qint64 LocalDay(std::int32_t t) {
    const std::tm tm = LocalTime(t);
    return QDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday).toJulianDay();
}

}  // namespace

std::vector<std::pair<Qt::DayOfWeek, QColor>> ScheduleListDialog::WeekendColours(const QPalette& palette) {
    // Deep shades on a light background, light ones on a dark background: both stay
    // readable against the calendar's days.
    const bool dark = palette.color(QPalette::Base).lightness() < 128;
    return {{Qt::Saturday, dark ? QColor(0x80, 0xB0, 0xFF) : QColor(0x00, 0x40, 0xC0)},
            {Qt::Sunday, dark ? QColor(0xFF, 0x80, 0x80) : QColor(0xC0, 0x00, 0x00)}};
}

ScheduleListDialog::ScheduleListDialog(ScheduleListModel& dlg, MessageBox& messageBox, QWidget* parent,
                                       const QString& folder)
    : ListDialog(messageBox, QStringLiteral("予定一覧"), parent),
      m_dlg(dlg),
      m_folder(folder.isEmpty() ? QDir::homePath() : folder) {
    setObjectName(QStringLiteral("schedListDialog"));
    SetDluSize(351, 170);
    m_listView = new RowListView(m_dlg.GetListForView(), QStringLiteral("予定一覧"), this);
    m_listView->setObjectName(QStringLiteral("scheduleList"));
    Place(m_listView, 7, 7, 170, 156);

    m_calendar = new QCalendarWidget(this);
    m_calendar->setObjectName(QStringLiteral("calendar"));
    m_calendar->setAccessibleName(QStringLiteral("カレンダー"));
    m_calendar->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    m_calendar->setFirstDayOfWeek(Qt::Sunday);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    // As Japanese calendars show them: Saturday blue, Sunday red.
    for (const auto& [day, colour] : WeekendColours(m_calendar->palette())) {
        QTextCharFormat format = m_calendar->weekdayTextFormat(day);
        format.setForeground(colour);
        m_calendar->setWeekdayTextFormat(day, format);
    }
    // It shows; the user may turn its pages but selects nothing with it.
    m_calendar->setSelectionMode(QCalendarWidget::NoSelection);
    Place(m_calendar, 184, 7, 160, 120);
    // The month of today as the program's clock tells it.
    const std::tm now = LocalNow();
    m_calendar->setSelectedDate(QDate(now.tm_year + 1900, now.tm_mon + 1, now.tm_mday));
    m_calendar->setCurrentPage(now.tm_year + 1900, now.tm_mon + 1);

    QPushButton* deleteButton = AddButton(QStringLiteral("削除"), QStringLiteral("deleteButton"), 184, 149, 50, 14);
    QPushButton* exportButton =
        AddButton(QStringLiteral("iCalendar出力"), QStringLiteral("icalExportButton"), 184, 131, 78, 14);
    QPushButton* import =
        AddButton(QStringLiteral("iCalendar読込み"), QStringLiteral("icalImportButton"), 266, 131, 78, 14);
    QPushButton* ok = AddButton(QStringLiteral("OK"), QStringLiteral("okButton"), 294, 149, 50, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(deleteButton, &QPushButton::clicked, this, [this] { OnDelete(); });
    connect(exportButton, &QPushButton::clicked, this, [this] { OnICalExport(); });
    connect(import, &QPushButton::clicked, this, [this] { OnICalImport(); });
    connect(m_listView, &RowListView::SelectionChangedByUser, this, [this] { OnSelectionChanged(); });
    connect(m_calendar, &QCalendarWidget::currentPageChanged, this, [this] { MarkDays(); });
    EnableInputMethodOnlyIn(nullptr);

    Reload();
    m_listView->setFocus();
}

void ScheduleListDialog::Reload() {
    const int rows = m_dlg.GetList().GetCount();
    m_days.clear();
    m_days.reserve(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        const ScheduleEntry* entry = m_dlg.GetEntry(i);
        const qint64 first = entry ? LocalDay(entry->GetStartTime()) : 0;
        const qint64 last =
            entry && entry->GetEndTime() > entry->GetStartTime() ? LocalDay(entry->GetEndTime()) : first;
        m_days.push_back({first, last});
    }
    m_listView->Reload();
    MarkDays();
}

void ScheduleListDialog::OnICalExport() {
    QFileDialog fileDialog(this, QStringLiteral("iCalendar出力"));
    fileDialog.setObjectName(QStringLiteral("icalExportDialog"));
    fileDialog.setOption(QFileDialog::DontUseNativeDialog);
    fileDialog.setAcceptMode(QFileDialog::AcceptSave);
    fileDialog.setFileMode(QFileDialog::AnyFile);
    fileDialog.setNameFilters({kICalFilter, kAllFilesFilter});
    fileDialog.setDefaultSuffix(QStringLiteral("ics"));
    // The export asks its own question before it replaces a file.
    fileDialog.setOption(QFileDialog::DontConfirmOverwrite);
    fileDialog.setDirectory(m_folder);
    fileDialog.selectFile(QDir(m_folder).filePath(QString::fromUtf8(kICalFileName)));
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty()) return;
    const QString path = fileDialog.selectedFiles().first();
    OnSchedListICalExport(m_dlg, PathFromQString(path), ToCp932(QFileInfo(path).fileName()));
}

void ScheduleListDialog::OnICalImport() {
    QFileDialog fileDialog(this, QStringLiteral("iCalendar読込み"));
    fileDialog.setObjectName(QStringLiteral("icalImportDialog"));
    fileDialog.setOption(QFileDialog::DontUseNativeDialog);
    fileDialog.setAcceptMode(QFileDialog::AcceptOpen);
    fileDialog.setFileMode(QFileDialog::ExistingFile);
    fileDialog.setNameFilters({kICalFilter, kAllFilesFilter});
    fileDialog.setDirectory(m_folder);
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty()) return;
    const QString path = fileDialog.selectedFiles().first();
    if (OnSchedListICalImport(m_dlg, PathFromQString(path), ToCp932(QFileInfo(path).fileName()))) Reload();
}

void ScheduleListDialog::OnSelectionChanged() {
    const int selectedRow = m_dlg.GetList().GetCurSel();
    if (selectedRow >= 0 && static_cast<std::size_t>(selectedRow) < m_days.size()) {
        const QDate day = QDate::fromJulianDay(m_days[static_cast<std::size_t>(selectedRow)].first);
        if (day.year() != m_calendar->yearShown() || day.month() != m_calendar->monthShown()) {
            m_calendar->setCurrentPage(day.year(), day.month());
            return;  // the page change marks the days
        }
    }
    MarkDays();
}

void ScheduleListDialog::MarkDays() {
    // The page shows parts of the months before and after it.
    const QDate first = QDate(m_calendar->yearShown(), m_calendar->monthShown(), 1).addDays(-7);
    const qint64 from = first.toJulianDay();
    const qint64 to = first.addDays(7 + 31 + 14).toJulianDay();
    m_calendar->setDateTextFormat(QDate(), QTextCharFormat());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    for (const DaySpan& days : m_days) {
        for (qint64 d = std::max(days.first, from); d <= std::min(days.last, to); ++d)
            m_calendar->setDateTextFormat(QDate::fromJulianDay(d), bold);
    }
    const int selectedRow = m_dlg.GetList().GetCurSel();
    if (selectedRow >= 0 && static_cast<std::size_t>(selectedRow) < m_days.size()) {
        const DaySpan& days = m_days[static_cast<std::size_t>(selectedRow)];
        QTextCharFormat selected = bold;
        selected.setBackground(palette().highlight());
        selected.setForeground(palette().highlightedText());
        for (qint64 d = std::max(days.first, from); d <= std::min(days.last, to); ++d)
            m_calendar->setDateTextFormat(QDate::fromJulianDay(d), selected);
    }
}

void ScheduleListDialog::OnDelete() {
    const int selectedRow = m_dlg.GetList().GetCurSel();
    const int before = m_dlg.GetList().GetCount();
    m_dlg.OnDelete();
    if (m_dlg.GetList().GetCount() < before) {
        m_days.erase(m_days.begin() + selectedRow);
        m_listView->RemoveRow(selectedRow);
        MarkDays();
    } else {
        m_listView->ShowSelection();
    }
}
