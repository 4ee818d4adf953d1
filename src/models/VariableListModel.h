// The variables list ("登録されている変数"): every calculator variable as
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

    /// Lists every variable in the calculator's table order.
    void FillRows();
    /// "削除": deletes the selected variable after a confirmation.
    void OnDelete();

    /// One "name value" row per variable; the view selects in it.
    const RowList& GetList() const { return m_list; }
    RowList& GetList() { return m_list; }

private:
    RowList m_list;
    Calculator* m_calculator;
    MessageBox& m_messageBox;
};

/// The notebook's variables command: runs the list on the calculator (interact plays
/// the user's part) and marks the notebook modified when the calculator's flag is set.
void RunVariablesCommand(Notebook& notebook, MessageBox& messageBox,
                         const std::function<void(VariableListModel&)>& interact);

}  // namespace nelo
