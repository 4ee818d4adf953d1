// The schedule list ("予定一覧"): every entry in its display form, one row per entry
// of the (already sorted) schedule list, and deletion of the selected entry.
#pragma once

#include "models/RowList.h"

#include <functional>
#include <string>

namespace nelo {

class ScheduleBook;
class Notebook;
class ScheduleEntry;
class MessageBox;

class ScheduleListModel {
public:
    ScheduleListModel(ScheduleBook* scheduleBook, MessageBox& messageBox)
        : m_scheduleBook(scheduleBook), m_messageBox(messageBox) {}

    /// One row per entry, in list order; the first row at the top.
    void FillRows();
    /// "削除": deletes the selected entry after a confirmation.
    void OnDelete();
    /// After entries were added behind the list (a calendar file read in): the list in
    /// start order, shown afresh.
    void OnEntriesAdded();
    /// The entry row i shows; nullptr for a row that is no entry.
    const ScheduleEntry* GetEntry(int i) const;

    /// The rows as shown: row i shows element i of the schedule list.
    const RowList& GetList() const { return m_list; }
    /// The rows for a view that shows them and lets the user select one.
    RowList& GetListForView() { return m_list; }
    /// Selects row i (-1, or a row beyond the list: none).
    void Select(int i) { m_list.SetCurSel(i); }

    /// The schedule book the list shows, and where it asks and tells.
    ScheduleBook& GetScheduleBook() { return *m_scheduleBook; }
    MessageBox& GetMessageBox() { return m_messageBox; }

private:
    RowList m_list;
    ScheduleBook* m_scheduleBook;
    MessageBox& m_messageBox;
};

/// The notebook's schedules command: sorts the list by start, runs the list on it
/// (interact plays the user's part) and marks the notebook modified when the list's
/// flag is set.
void RunSchedListCommand(Notebook& notebook, MessageBox& messageBox,
                         const std::function<void(ScheduleListModel&)>& interact);

}  // namespace nelo
