// The notebook's memo store: object name -> memo, in the 17-bucket order of the
// framework's string map, with a second index from the full-width form of each name so
// that a full-width query finds a name registered in half width, in constant time.
#pragma once

#include "memo/Memo.h"
#include "platform/HashSlots.h"
#include "platform/StringMap.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace nelo {

class MemoMap {
public:
    using Entries = std::vector<std::pair<std::string, std::unique_ptr<Memo>>>;

    std::size_t GetCount() const { return m_map.GetCount(); }
    bool IsEmpty() const { return m_map.IsEmpty(); }
    Memo* Lookup(const std::string& key) const { return m_map.Lookup(key); }
    Memo* SetAt(const std::string& key, std::unique_ptr<Memo> memo);
    /// Enters records as a file lists them, from the last back, each unless its key is
    /// there already (so of two with one key the later wins); null records stand for
    /// nothing. Records not entered stay in entries; the keys are taken.
    void AddFromLast(Entries& entries);
    bool RemoveKey(const std::string& key);
    void RemoveAll();
    void Reserve(std::size_t n) {
        m_map.Reserve(n);
        m_fullForms.Reserve(n);
    }

    template <class F>
    void ForEach(F f) const {
        m_map.ForEach(f);
    }

    /// The memo a query names: the exact key, else the first key in the map's order
    /// whose full-width form equals the query; nullptr when there is none.
    Memo* FindForQuery(const std::string& query) const;

private:
    StringMap<Memo> m_map;
    // The keys that differ from their full-width form, filed under the hash of that
    // form; each points to the map's own copy of the key.
    HashSlots<const std::string> m_fullForms;
};

}  // namespace nelo
