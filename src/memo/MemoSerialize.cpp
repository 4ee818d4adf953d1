#include "memo/MemoSerialize.h"

#include "memo/Memo.h"
#include "memo/MemoMap.h"

#include <memory>
#include <utility>
#include <vector>

namespace nelo {

const ArchiveClass kMemoClass = {"CMemo", 0};

namespace {

void SerializeStrings(Archive& ar, std::vector<std::string>& strings) {
    if (ar.IsStoring()) {
        ar.WriteCount(strings.size());
        for (const std::string& s : strings) ar.WriteString(s);
        return;
    }
    std::size_t n = ar.ReadCount(1);
    strings.clear();
    strings.reserve(Archive::ReserveHint(n));
    for (std::size_t i = 0; i < n; ++i) ar.ReadString(strings.emplace_back());
}

}  // namespace

void Memo::Serialize(Archive& ar) {
    if (ar.IsStoring())
        ar.WriteString(m_object);
    else
        ar.ReadString(m_object);
    SerializeStrings(ar, m_attrNames);
    SerializeStrings(ar, m_attrValues);
    // Every use of a memo pairs name i with value i.
    if (ar.IsLoading() && m_attrNames.size() != m_attrValues.size()) Archive::ThrowFormat(ArchiveException::BadCount);
}

void SerializeMemoMap(Archive& ar, MemoMap& map) {
    if (ar.IsStoring()) {
        ar.WriteCount(map.GetCount());
        map.ForEach([&ar](const std::string& key, const Memo& memo) {
            ar.WriteString(key);
            ar.WriteOwnedObject(&memo, kMemoClass);  // the map owns each memo once
        });
        return;
    }
    // Each entry takes at least a one-byte key and a two-byte tag.
    std::size_t n = ar.ReadCount(3);
    MemoMap::Entries entries;
    entries.reserve(Archive::ReserveHint(n));
    for (std::size_t i = 0; i < n; ++i) {
        auto& [key, memo] = entries.emplace_back();
        ar.ReadString(key);
        memo = ar.ReadObject<Memo>(kMemoClass);
    }
    // The file lists each bucket newest first; entering the records from the last one
    // back gives the map the order it had when it was saved, so saving it again gives
    // the same bytes. Of two entries with one key the later one wins.
    map.AddFromLast(entries);
}

}  // namespace nelo
