#include "models/ScheduleListModel.h"

#include "notebook/Notebook.h"
#include "platform/MessageBox.h"
#include "schedule/ScheduleBook.h"
#include "text/Sjis.h"

namespace nelo {

void ScheduleListModel::FillRows() {
    m_list.ResetContent();
    const std::string year = CurrentYearText();
    std::string text;
    for (const auto& entry : m_scheduleBook->GetSchedules()) {
        entry->Format(text, year);
        m_list.AddString(text);
    }
    m_list.SetTopIndex(0);
}

const ScheduleEntry* ScheduleListModel::GetEntry(int i) const {
    const auto& schedules = m_scheduleBook->GetSchedules();
    if (i < 0 || static_cast<std::size_t>(i) >= schedules.size()) return nullptr;
    return schedules[static_cast<std::size_t>(i)].get();
}

void ScheduleListModel::OnDelete() {
    int sel = m_list.GetCurSel();
    if (sel < 0) {
        m_messageBox.Show("削除する予定を選択してください。"_sj, "", MbButtons::Ok);
        return;
    }
    if (m_messageBox.Show("選択されている予定を削除してよいですか？"_sj, "削除確認"_sj, MbButtons::OkCancel) !=
        MbAnswer::Ok)
        return;
    // Rows and entries stay in step while the dialog is open; a row without its entry
    // (the list changed behind the dialog) deletes nothing.
    if (!m_scheduleBook->DeleteSchedule(static_cast<std::size_t>(sel))) return;
    m_list.DeleteString(sel);
}

void ScheduleListModel::OnEntriesAdded() {
    m_scheduleBook->SortSchedules();
    FillRows();
}

void RunSchedListCommand(Notebook& notebook, MessageBox& messageBox,
                         const std::function<void(ScheduleListModel&)>& interact) {
    notebook.GetScheduleBook().SortSchedules();
    ScheduleListModel model(&notebook.GetScheduleBook(), messageBox);
    model.FillRows();
    if (interact) interact(model);
    notebook.OnListClosed(SchedulesPart);
}

}  // namespace nelo
