// The variables dialog ("登録されている変数"): every calculator variable as
// "name value", and deletion of the selected one.
#pragma once

#include "models/RowList.h"

#include <functional>

class CCalcNum;
class CRumoDoc;
class IMessageBox;

class CVariablesDlg {
public:
    CVariablesDlg(CCalcNum* pCalc, IMessageBox& messageBox) : m_pCalc(pCalc), m_messageBox(messageBox) {}

    /// Lists every variable in the symbol table's order.
    void OnInitDialog();
    /// "削除": deletes the selected variable after a confirmation.
    void OnDelete();

    CListBox m_list;  ///< one "name value" row per variable

private:
    CCalcNum* m_pCalc;
    IMessageBox& m_messageBox;
};

/// The document's variables command: runs the dialog on the calculator (interact plays
/// the user's part) and marks the document modified when the calculator's flag is set.
void RunVariablesCommand(CRumoDoc& doc, IMessageBox& messageBox, const std::function<void(CVariablesDlg&)>& interact);
