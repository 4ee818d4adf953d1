// The variables dialog on the screen: every calculator variable as "name value", and
// "削除" for the selected one. The rows and the deletion are the core's VariableListModel.
#pragma once

#include "desktop/ListDialog.h"

class RowListView;
class VariableListModel;

class VariablesDialog : public ListDialog {
    Q_OBJECT
public:
    VariablesDialog(VariableListModel& dlg, MessageBox& messageBox, QWidget* pParent);

    RowListView* GetList() const { return m_pList; }

private:
    void OnDelete();

    VariableListModel& m_dlg;
    RowListView* m_pList = nullptr;
};
