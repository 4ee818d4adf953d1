// The document's memo store: object name -> memo, in the 17-bucket order of the
// framework's string map, with a second index from the full-width form of each name so
// that a full-width query finds a name registered in half width, in constant time.
#pragma once

#include "memo/Memo.h"
#include "platform/StringMap.h"

#include <memory>
#include <string>
#include <unordered_map>

class CMemoMap {
public:
    std::size_t GetCount() const { return m_map.GetCount(); }
    bool IsEmpty() const { return m_map.IsEmpty(); }
    CMemo* Lookup(const std::string& key) const { return m_map.Lookup(key); }
    CMemo* SetAt(const std::string& key, std::unique_ptr<CMemo> memo);
    bool RemoveKey(const std::string& key);
    void RemoveAll();
    void Reserve(std::size_t n) {
        m_map.Reserve(n);
        m_fullForms.reserve(n);
    }

    template <class F>
    void ForEach(F f) const {
        m_map.ForEach(f);
    }
    using Position = CStringMap<CMemo>::Position;
    Position GetStartPosition() const { return m_map.GetStartPosition(); }
    void GetNextAssoc(Position& pos, std::string& key, CMemo*& value) const { m_map.GetNextAssoc(pos, key, value); }

    /// The memo a query names: the exact key, else the first key in the map's order
    /// whose full-width form equals the query; nullptr when there is none.
    CMemo* FindForQuery(const std::string& query) const;

private:
    CStringMap<CMemo> m_map;
    // Full-width form -> the keys that differ from their full-width form.
    std::unordered_multimap<std::string, std::string> m_fullForms;
};
