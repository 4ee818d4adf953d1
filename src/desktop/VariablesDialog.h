// The variables dialog on the screen: every calculator variable as "name value", and
// "削除" for the selected one. The rows and the deletion are the core's VariableListModel.
#pragma once

#include "desktop/ListDialog.h"

class RowListView;
namespace nelo {
class VariableListModel;
}  // namespace nelo

class VariablesDialog : public ListDialog {
    Q_OBJECT
public:
    VariablesDialog(nelo::VariableListModel& dlg, nelo::MessageBox& messageBox, QWidget* parent);

    RowListView* GetList() const { return m_listView; }

private:
    void OnDelete();

    nelo::VariableListModel& m_dlg;
    RowListView* m_listView = nullptr;
};
