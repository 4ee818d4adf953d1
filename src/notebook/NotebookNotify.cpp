// What the notebook's listeners hear: the pane's text and the welcome, the modified
// state, the title, and which data changed.
#include "notebook/Notebook.h"

#include "platform/Clock.h"
#include "text/Sjis.h"

#include <algorithm>

namespace nelo {

void Notebook::AddListener(NotebookListener* listener) {
    if (std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
        m_listeners.push_back(listener);
}

void Notebook::RemoveListener(NotebookListener* listener) {
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener), m_listeners.end());
}

void Notebook::AppendToViews(const std::string& text) {
    for (NotebookListener* p : m_listeners) p->OnTextAppended(text);
    // Appending to the conversation pane marks the notebook modified, as a rich-edit
    // control's modify flag does; the line handler settles the real state afterwards,
    // and only that is reported.
    m_modified = true;
}

std::string Notebook::WelcomeText(const std::string& userName, int hour) {
    const char* greeting = hour < 12 ? "おはようございます。"_sj : hour < 18 ? "こんにちは。"_sj : "こんばんは。"_sj;
    std::string text = userName;
    text += "さん、"_sj;
    text += greeting;
    text += "\r\n";
    text += "このＮＥＬＯは、個人情報と予定管理及び日常の計算を"_sj;
    text += "行うことができます。\r\n"_sj;
    text += "「例」と入力すると入力例が表示されます。\r\n"_sj;
    return text;
}

void Notebook::StartConversation() {
    for (NotebookListener* p : m_listeners) p->OnPaneCleared();
    std::string text = WelcomeText(m_userName, LocalNow().tm_hour);
    if (m_scheduleBook.IsPastPurged()) {
        text += "過去の予定を削除しました。\r\n"_sj;
        // The next answered line leaves the notebook modified.
        m_scheduleBook.SetChanged();
    }
    for (NotebookListener* p : m_listeners) p->OnTextAppended(text);
    m_showsNames = true;
    SetModifiedFlag(false);
}

void Notebook::SetModifiedFlag(bool modified) {
    m_modified = modified;
    if (modified == m_reportedModified) return;
    m_reportedModified = modified;
    for (NotebookListener* p : m_listeners) p->OnModifiedChanged(modified);
}

void Notebook::OnLineAnswered() {
    ReportDataChanges();
    SetModifiedFlag(AnyChangeFlag());
}

void Notebook::OnListClosed(unsigned part) {
    ReportDataChanges();
    const bool changed = ((part & MemosPart) && IsMemoChanged()) ||
                         ((part & SchedulesPart) && m_scheduleBook.IsChanged()) ||
                         ((part & VariablesPart) && m_calc.IsChanged());
    if (changed) SetModifiedFlag(true);
}

void Notebook::SetClean() {
    // Otherwise every answered line after a save would mark the notebook modified again.
    m_calc.ClearChanged();
    m_scheduleBook.ClearChanged();
    ClearMemoChanged();
    SetModifiedFlag(false);
}

void Notebook::OnContentsReplaced() {
    TakeDataChanges();
    NotifyDataChanged(AllParts);
}

void Notebook::SetTitle(const std::string& title) {
    if (title == m_title) return;
    m_title = title;
    for (NotebookListener* p : m_listeners) p->OnTitleChanged(m_title);
}

unsigned Notebook::TakeDataChanges() {
    unsigned what = 0;
    if (m_calc.GetChangeCount() != m_seenCalcChanges) what |= VariablesPart;
    if (m_scheduleBook.GetChangeCount() != m_seenSchedChanges) what |= SchedulesPart;
    if (m_memoChanges != m_seenMemoChanges) what |= MemosPart;
    m_seenCalcChanges = m_calc.GetChangeCount();
    m_seenSchedChanges = m_scheduleBook.GetChangeCount();
    m_seenMemoChanges = m_memoChanges;
    return what;
}

void Notebook::ReportDataChanges() {
    if (const unsigned what = TakeDataChanges()) NotifyDataChanged(what);
}

void Notebook::NotifyDataChanged(unsigned what) {
    for (NotebookListener* p : m_listeners) p->OnDataChanged(what);
}

}  // namespace nelo
