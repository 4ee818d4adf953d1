#include "memo/MemoMap.h"

#include "text/JText.h"

CMemo* CMemoMap::SetAt(const std::string& key, std::unique_ptr<CMemo> memo) {
    bool isNew = m_map.Lookup(key) == nullptr;
    CMemo* p = m_map.SetAt(key, std::move(memo));
    if (isNew) {
        std::string full = ToFullWidth(key);
        if (full != key) m_fullForms.emplace(std::move(full), key);
    }
    return p;
}

bool CMemoMap::RemoveKey(const std::string& key) {
    if (!m_map.RemoveKey(key)) return false;
    std::string full = ToFullWidth(key);
    if (full != key) {
        auto range = m_fullForms.equal_range(full);
        for (auto it = range.first; it != range.second; ++it)
            if (it->second == key) {
                m_fullForms.erase(it);
                break;
            }
    }
    return true;
}

void CMemoMap::RemoveAll() {
    m_map.RemoveAll();
    m_fullForms.clear();
}

CMemo* CMemoMap::FindForQuery(const std::string& query) const {
    if (CMemo* p = m_map.Lookup(query)) return p;
    auto range = m_fullForms.equal_range(query);
    const std::string* best = nullptr;
    for (auto it = range.first; it != range.second; ++it)
        if (!best || m_map.ComesBefore(it->second, *best)) best = &it->second;
    return best ? m_map.Lookup(*best) : nullptr;
}
