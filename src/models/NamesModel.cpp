#include "models/NamesModel.h"

#include "notebook/Notebook.h"

bool OnSettings(CRumoDoc& doc, const std::function<void(CSetupDlg&)>& interact) {
    CSetupDlg dlg;
    dlg.m_strResponderName = doc.m_strResponderName;
    dlg.m_strUserName = doc.m_strUserName;
    if (interact) interact(dlg);
    if (dlg.GetResult() != CSetupDlg::kOk) return false;
    return doc.SetNames(dlg.m_strResponderName, dlg.m_strUserName);
}
