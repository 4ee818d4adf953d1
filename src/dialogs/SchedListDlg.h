// The schedule list ("予定一覧"): every entry in its display form, one row per entry
// of the (already sorted) schedule list, and deletion of the selected entry.
#pragma once

#include "dialogs/ListBox.h"

#include <functional>
#include <string>

class CCmdPro;
class CRumoDoc;
class CSchedule;
class IMessageBox;

class CSchedListDlg {
public:
    CSchedListDlg(CCmdPro* pCmdPro, IMessageBox& messageBox) : m_pCmdPro(pCmdPro), m_messageBox(messageBox) {}

    /// One row per entry, in list order; the first row at the top.
    void OnInitDialog();
    /// "削除": deletes the selected entry after a confirmation.
    void OnDelete();
    /// "iCalendar出力": writes every entry to path and tells how it went (nameText names
    /// the file in the message). True when the file was written.
    bool OnICalExport(const std::string& path, const std::string& nameText);
    /// "iCalendar読込み": registers the events of path, tells the numbers and the reasons,
    /// and shows the rows afresh in start order. True when an event was registered.
    bool OnICalImport(const std::string& path, const std::string& nameText);
    /// The entry row i shows; nullptr for a row that is no entry.
    const CSchedule* GetEntry(int i) const;

    CListBox m_list;  ///< row i shows element i of the schedule list

private:
    CCmdPro* m_pCmdPro;
    IMessageBox& m_messageBox;
};

/// The document's schedules command: sorts the list by start, runs the dialog on it
/// (interact plays the user's part) and marks the document modified when the list's
/// flag is set.
void RunSchedListCommand(CRumoDoc& doc, IMessageBox& messageBox, const std::function<void(CSchedListDlg&)>& interact);
