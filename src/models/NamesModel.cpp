#include "models/NamesModel.h"

#include "notebook/Notebook.h"

namespace nelo {

bool OnSettings(Notebook& doc, const std::function<void(NamesModel&)>& interact) {
    NamesModel dlg;
    dlg.SetResponderName(doc.GetResponderName());
    dlg.SetUserName(doc.GetUserName());
    if (interact) interact(dlg);
    if (dlg.GetResult() != NamesModel::kOk) return false;
    return doc.SetNames(dlg.GetResponderName(), dlg.GetUserName());
}

}  // namespace nelo
