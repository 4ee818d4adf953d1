#include "models/NamesModel.h"

#include "notebook/Notebook.h"

namespace nelo {

bool OnSettings(Notebook& notebook, const std::function<void(NamesModel&)>& interact) {
    NamesModel model;
    model.SetResponderName(notebook.GetResponderName());
    model.SetUserName(notebook.GetUserName());
    if (interact) interact(model);
    if (model.GetResult() != NamesModel::Ok) return false;
    return notebook.SetNames(model.GetResponderName(), model.GetUserName());
}

}  // namespace nelo
