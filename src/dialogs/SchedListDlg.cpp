#include "dialogs/SchedListDlg.h"

#include "document/RumoDoc.h"
#include "platform/MessageBox.h"
#include "schedule/CmdPro.h"
#include "schedule/ICalendar.h"
#include "text/Sjis.h"

void CSchedListDlg::OnInitDialog() {
    m_list.ResetContent();
    const std::string strYear = CurrentYearText();
    std::string text;
    for (const auto& pEntry : m_pCmdPro->GetSchedules()) {
        pEntry->Format(text, strYear);
        m_list.AddString(text);
    }
    m_list.SetTopIndex(0);
}

const CSchedule* CSchedListDlg::GetEntry(int i) const {
    const auto& schedules = m_pCmdPro->GetSchedules();
    if (i < 0 || static_cast<std::size_t>(i) >= schedules.size()) return nullptr;
    return schedules[static_cast<std::size_t>(i)].get();
}

void CSchedListDlg::OnDelete() {
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
    if (!m_pCmdPro->DeleteSchedule(static_cast<std::size_t>(sel))) return;
    m_list.DeleteString(sel);
}

bool CSchedListDlg::OnICalExport(const std::string& path, const std::string& nameText) {
    std::string answer;
    const bool bOk = ExportICalendarFile(*m_pCmdPro, path, nameText, answer);
    m_messageBox.Show(answer, bOk ? "" : "エラー"_sj, MbButtons::Ok, bOk ? MbIcon::None : MbIcon::Exclamation);
    return bOk;
}

bool CSchedListDlg::OnICalImport(const std::string& path, const std::string& nameText) {
    std::string answer;
    const ICalImportResult result = ImportICalendarFile(*m_pCmdPro, path, nameText, answer);
    if (result.nRead > 0) {
        // The new entries join the list in start order, as the dialog shows it.
        m_pCmdPro->SortSchedules();
        OnInitDialog();
    }
    const bool bTrouble = result.bFileRefused || result.nRefused > 0;
    m_messageBox.Show(answer, "", MbButtons::Ok, bTrouble ? MbIcon::Exclamation : MbIcon::None);
    return result.nRead > 0;
}

void RunSchedListCommand(CRumoDoc& doc, IMessageBox& messageBox, const std::function<void(CSchedListDlg&)>& interact) {
    doc.m_cmdPro.SortSchedules();
    CSchedListDlg dlg(&doc.m_cmdPro, messageBox);
    dlg.OnInitDialog();
    if (interact) interact(dlg);
    doc.OnDialogClosed(DocSchedules);
}
