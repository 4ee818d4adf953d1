#include "dialogs/VariablesDlg.h"

#include "calc/CalcNum.h"
#include "document/RumoDoc.h"
#include "platform/MessageBox.h"
#include "text/Sjis.h"

void CVariablesDlg::OnInitDialog() {
    m_list.ResetContent();
    m_pCalc->m_mapSymbols.ForEach(
        [this](const std::string&, const CSymbol& symbol) { m_list.AddString(symbol.GetDisplayText()); });
}

void CVariablesDlg::OnDelete() {
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

    // Every symbol shown with that row's text goes; the walk always runs to the end.
    auto& symbols = m_pCalc->m_mapSymbols;
    auto pos = symbols.GetStartPosition();
    std::string key;
    CSymbol* pSymbol = nullptr;
    while (pos) {
        symbols.GetNextAssoc(pos, key, pSymbol);
        if (pSymbol->GetDisplayText() == text) {
            symbols.RemoveKey(key);
            m_pCalc->m_bCalcChanged = 1;
        }
    }
}

void RunVariablesCommand(CRumoDoc& doc, IMessageBox& messageBox, const std::function<void(CVariablesDlg&)>& interact) {
    CVariablesDlg dlg(&doc.m_calc, messageBox);
    dlg.OnInitDialog();
    if (interact) interact(dlg);
    if (doc.m_calc.m_bCalcChanged == 1) doc.SetModifiedFlag(true);
}
