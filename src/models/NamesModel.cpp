#include "models/NamesModel.h"

#include "notebook/Notebook.h"

namespace nelo {

bool OnSettings(Notebook& doc, const std::function<void(NamesModel&)>& interact) {
    NamesModel dlg;
    dlg.m_strResponderName = doc.m_strResponderName;
    dlg.m_strUserName = doc.m_strUserName;
    if (interact) interact(dlg);
    if (dlg.GetResult() != NamesModel::kOk) return false;
    return doc.SetNames(dlg.m_strResponderName, dlg.m_strUserName);
}

}  // namespace nelo
