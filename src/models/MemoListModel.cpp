#include "models/MemoListModel.h"

#include "notebook/Notebook.h"
#include "platform/MessageBox.h"
#include "text/Sjis.h"

#include <vector>

namespace nelo {

void MemoListModel::FillRows() {
    m_listObjects.ResetContent();
    ClearPairs();
    bool first = true;
    m_notebook->GetMemos().ForEach([&](const std::string& key, const Memo& memo) {
        m_listObjects.AddString(key);
        if (first) {
            for (std::size_t i = 0; i < memo.GetPairCount(); ++i) {
                m_listNames.AddString(memo.GetName(i));
                m_listValues.AddString(memo.GetValue(i));
            }
            m_listObjects.SetCurSel(0);
            first = false;
        }
    });
}

void MemoListModel::ClearPairs() {
    m_listNames.ResetContent();
    m_listValues.ResetContent();
}

bool MemoListModel::ShowObject(const std::string& object) {
    const Memo* memo = m_notebook->GetMemos().Lookup(object);
    if (!memo) return false;
    ClearPairs();
    for (std::size_t i = 0; i < memo->GetPairCount(); ++i) {
        m_listNames.AddString(memo->GetName(i));
        m_listValues.AddString(memo->GetValue(i));
    }
    return true;
}

void MemoListModel::OnSelChangeObjects() {
    int sel = m_listObjects.GetCurSel();
    // A row whose memo lost its last pair stays listed; choosing it changes nothing, and
    // the pair deletion then finds no memo for it, so no other object's pair can go.
    if (sel >= 0) ShowObject(m_listObjects.GetText(sel));
}

void MemoListModel::SelectObject(int i) {
    m_listObjects.SetCurSel(i);
    OnSelChangeObjects();
}

int MemoListModel::FindObjectRow(const std::string& object) const {
    // The object with exactly that name wins; another letter case is found only when no
    // row has the name as typed ("A" and "a" are two objects).
    const std::vector<std::string>& rows = m_listObjects.GetRows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i] == object) return static_cast<int>(i);
    return m_listObjects.FindStringExact(-1, object);
}

void MemoListModel::OnSearch(const std::string& name) {
    m_listObjects.SetCurSel(FindObjectRow(name));
    // The pair lists always belong to the selected row, even when the row matched only
    // with another letter case; otherwise a pair deletion could hit the wrong object.
    int sel = m_listObjects.GetCurSel();
    if (sel < 0 || !ShowObject(m_listObjects.GetText(sel))) ClearPairs();
}

void MemoListModel::OnSelChangeNames() { m_listValues.SetCurSel(m_listNames.GetCurSel()); }

void MemoListModel::OnSelChangeValues() { m_listNames.SetCurSel(m_listValues.GetCurSel()); }

void MemoListModel::SelectPair(int i) {
    m_listNames.SetCurSel(i);
    OnSelChangeNames();
}

void MemoListModel::OnDeleteObject() {
    int sel = m_listObjects.GetCurSel();
    if (sel < 0) {
        m_messageBox.Show("削除するオブジェクトを選択してください。"_sj, "", MbButtons::Ok);
        return;
    }
    if (m_messageBox.Show("選択されているオブジェクトを削除してよいですか？"_sj, "削除確認"_sj, MbButtons::OkCancel,
                          MbIcon::None) != MbAnswer::Ok)
        return;
    std::string object = m_listObjects.GetText(sel);
    m_listObjects.DeleteString(sel);
    if (m_notebook->DeleteMemo(object)) ClearPairs();
}

void MemoListModel::OnDeleteAttribute() {
    int r = m_listNames.GetCurSel();
    if (r < 0) {
        m_messageBox.Show("削除する属性を選択してください。"_sj, "", MbButtons::Ok);
        return;
    }
    if (m_messageBox.Show("選択されている属性を削除してよいですか？"_sj, "削除確認"_sj, MbButtons::OkCancel,
                          MbIcon::None) != MbAnswer::Ok)
        return;
    int sel = m_listObjects.GetCurSel();
    if (sel < 0) return;
    const std::string object = m_listObjects.GetText(sel);
    const Memo* memo = m_notebook->GetMemos().Lookup(object);
    if (!memo) return;
    auto i = static_cast<std::size_t>(r);
    if (i >= memo->GetPairCount() || m_listNames.GetText(r) != memo->GetName(i)) return;
    m_notebook->DeleteMemoPair(object, i);
    m_listNames.DeleteString(r);
    m_listValues.DeleteString(r);
}

void MemoListModel::OnExport() {
    MemoCsvExport exporter(m_messageBox, m_exportPath.empty() ? std::string(kMemoCsvFileName) : m_exportPath,
                           m_exportEncoding);
    if (!m_exportName.empty()) exporter.SetFileNameText(m_exportName);
    exporter.SetOverwrite(m_exportOverwrite);
    exporter.Export(m_notebook->GetMemos());
}

void RunMemoListCommand(Notebook& notebook, MessageBox& messageBox,
                        const std::function<void(MemoListModel&)>& interact) {
    MemoListModel model(notebook, messageBox);
    model.FillRows();
    if (interact) interact(model);
    notebook.OnListClosed(MemosPart);
}

}  // namespace nelo
