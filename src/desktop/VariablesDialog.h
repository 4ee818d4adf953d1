// The variables dialog on the screen: every calculator variable as "name value", and
// "削除" for the selected one. The rows and the deletion are the core's CVariablesDlg.
#pragma once

#include "desktop/ListDialog.h"

class CListBoxView;
class CVariablesDlg;

class CVariablesDialog : public CListDialog {
    Q_OBJECT
public:
    CVariablesDialog(CVariablesDlg& dlg, IMessageBox& messageBox, QWidget* pParent);

    CListBoxView* GetList() const { return m_pList; }

private:
    void OnDelete();

    CVariablesDlg& m_dlg;
    CListBoxView* m_pList = nullptr;
};
