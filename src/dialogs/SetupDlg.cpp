#include "dialogs/SetupDlg.h"

#include "document/RumoDoc.h"

bool OnSettings(CRumoDoc& doc, const std::function<void(CSetupDlg&)>& interact) {
    CSetupDlg dlg;
    dlg.m_strResponderName = doc.m_strResponderName;
    dlg.m_strUserName = doc.m_strUserName;
    if (interact) interact(dlg);
    if (dlg.GetResult() != CSetupDlg::kOk) return false;

    bool changed = false;
    if (dlg.m_strResponderName != doc.m_strResponderName) {
        doc.m_strResponderName = dlg.m_strResponderName;
        changed = true;
    }
    if (dlg.m_strUserName != doc.m_strUserName) {
        doc.m_strUserName = dlg.m_strUserName;
        changed = true;
    }
    if (changed) {
        doc.m_calc.m_bCalcChanged = 1;
        doc.SetModifiedFlag(true);
    }
    return changed;
}
