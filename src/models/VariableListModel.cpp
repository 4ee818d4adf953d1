#include "models/VariableListModel.h"

#include "calc/Calculator.h"
#include "notebook/Notebook.h"
#include "platform/MessageBox.h"
#include "text/Sjis.h"

namespace nelo {

void VariableListModel::FillRows() {
    m_list.ResetContent();
    m_calculator->ForEachVariable(
        [this](const std::string&, const Variable& variable) { m_list.AddString(variable.GetDisplayText()); });
}

void VariableListModel::OnDelete() {
    int sel = m_list.GetCurSel();
    if (sel < 0) {
        m_messageBox.Show("削除する変数を選択してください。"_sj, "", MbButtons::Ok);
        return;
    }
    if (m_messageBox.Show("選択されている変数を削除してよいですか？"_sj, "削除確認"_sj, MbButtons::OkCancel) !=
        MbAnswer::Ok)
        return;
    const std::string text = m_list.GetText(sel);
    m_list.DeleteString(sel);

    m_calculator->DeleteVariablesShownAs(text);
}

void RunVariablesCommand(Notebook& notebook, MessageBox& messageBox,
                         const std::function<void(VariableListModel&)>& interact) {
    VariableListModel model(&notebook.GetCalculator(), messageBox);
    model.FillRows();
    if (interact) interact(model);
    notebook.OnListClosed(VariablesPart);
}

}  // namespace nelo
