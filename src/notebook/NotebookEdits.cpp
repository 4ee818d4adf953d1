// Changes the lists and the settings make to the notebook's own data: memo deletions and the names.
#include "notebook/Notebook.h"

namespace nelo {

bool Notebook::DeleteMemo(const std::string& object) {
    if (!m_memoMap.RemoveKey(object)) return false;
    NoteMemoChange();
    return true;
}

bool Notebook::DeleteMemoPair(const std::string& object, std::size_t i) {
    Memo* memo = m_memoMap.Lookup(object);
    if (!memo || i >= memo->GetPairCount()) return false;
    memo->RemovePair(i);
    if (memo->GetPairCount() == 0) m_memoMap.RemoveKey(object);
    NoteMemoChange();
    return true;
}

bool Notebook::SetNames(const std::string& responderName, const std::string& userName) {
    bool changed = false;
    if (responderName != m_responderName) {
        m_responderName = responderName;
        changed = true;
    }
    if (userName != m_userName) {
        m_userName = userName;
        changed = true;
    }
    if (!changed) return false;
    m_calc.SetChanged();
    SetModifiedFlag(true);
    NotifyDataChanged(NamesPart);
    return true;
}

}  // namespace nelo
