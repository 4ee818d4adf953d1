// The variables dialog ("登録されている変数"): every calculator variable as
// "name value", and deletion of the selected one.
#pragma once

#include "models/RowList.h"

#include <functional>

namespace nelo {

class Calculator;
class Notebook;
class MessageBox;

class VariableListModel {
public:
    VariableListModel(Calculator* calc, MessageBox& messageBox) : m_calculator(calc), m_messageBox(messageBox) {}

    /// Lists every variable in the symbol table's order.
    void OnInitDialog();
    /// "削除": deletes the selected variable after a confirmation.
    void OnDelete();

    RowList m_list;  ///< one "name value" row per variable

private:
    Calculator* m_calculator;
    MessageBox& m_messageBox;
};

/// The document's variables command: runs the dialog on the calculator (interact plays
/// the user's part) and marks the document modified when the calculator's flag is set.
void RunVariablesCommand(Notebook& doc, MessageBox& messageBox,
                         const std::function<void(VariableListModel&)>& interact);

}  // namespace nelo
