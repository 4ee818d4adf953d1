#include "models/NamesModel.h"

#include "notebook/Notebook.h"

namespace nelo {

bool OnSettings(Notebook& doc, const std::function<void(NamesModel&)>& interact) {
    NamesModel dlg;
    dlg.m_responderName = doc.GetResponderName();
    dlg.m_userName = doc.GetUserName();
    if (interact) interact(dlg);
    if (dlg.GetResult() != NamesModel::kOk) return false;
    return doc.SetNames(dlg.m_responderName, dlg.m_userName);
}

}  // namespace nelo
