#include "memo/MemoMap.h"

#include "text/JText.h"

#include <cstdint>

namespace nelo {

namespace {

// How many keys ahead a batch asks for the index slots it will need: enough to cover
// a trip to memory, few enough that the slots are still cached when their turn comes.
constexpr std::size_t kPrefetchAhead = 8;

}  // namespace

Memo* MemoMap::SetAt(const std::string& key, std::unique_ptr<Memo> memo) {
    const std::string* newKey = nullptr;
    Memo* p = m_map.SetAt(key, std::move(memo), newKey);
    if (newKey) {
        std::string full = ToFullWidth(*newKey);
        if (full != *newKey) m_fullForms.Insert(m_fullForms.HashOf(full), newKey);
    }
    return p;
}

void MemoMap::AddFromLast(Entries& entries) {
    // Room for the records read (null ones stand for nothing), which the file did hold.
    std::size_t records = 0;
    for (const auto& entry : entries) records += entry.second != nullptr;
    m_map.Reserve(GetCount() + records);

    // The indexes of a large notebook are far bigger than the caches, so each key is
    // hashed first and its slot asked for a few keys before it goes in.
    std::vector<std::uint64_t> hashes(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) hashes[i] = m_map.HashOf(entries[i].first);
    std::vector<std::pair<std::uint64_t, const std::string*>> fullForms;
    fullForms.reserve(records);
    for (std::size_t i = entries.size(); i-- > 0;) {
        if (i >= kPrefetchAhead) m_map.Prefetch(hashes[i - kPrefetchAhead]);
        auto& [key, memo] = entries[i];
        const std::string* storedKey = nullptr;
        if (!memo || !m_map.Add(std::move(key), hashes[i], memo, storedKey)) continue;
        std::string full = ToFullWidth(*storedKey);
        if (full != *storedKey) fullForms.emplace_back(m_fullForms.HashOf(full), storedKey);
    }
    // Only the keys that differ from their full-width form take room here.
    m_fullForms.Reserve(m_fullForms.GetCount() + fullForms.size());
    for (std::size_t i = 0; i < fullForms.size(); ++i) {
        if (i + kPrefetchAhead < fullForms.size()) m_fullForms.Prefetch(fullForms[i + kPrefetchAhead].first);
        m_fullForms.Insert(fullForms[i].first, fullForms[i].second);
    }
}

bool MemoMap::RemoveKey(const std::string& key) {
    if (!m_map.Lookup(key)) return false;
    std::string full = ToFullWidth(key);
    if (full != key) m_fullForms.Erase(m_fullForms.HashOf(full), [&key](const std::string& k) { return k == key; });
    m_map.RemoveKey(key);
    return true;
}

void MemoMap::RemoveAll() {
    m_map.RemoveAll();
    m_fullForms.Clear();
}

Memo* MemoMap::FindForQuery(const std::string& query) const {
    if (Memo* p = m_map.Lookup(query)) return p;
    const std::string* best = nullptr;
    m_fullForms.ForEachOf(m_fullForms.HashOf(query), [&](const std::string& key) {
        // The hash may (rarely) be shared by another form.
        if ((!best || m_map.ComesBefore(key, *best)) && ToFullWidth(key) == query) best = &key;
    });
    return best ? m_map.Lookup(*best) : nullptr;
}

}  // namespace nelo
