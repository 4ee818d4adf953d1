// Saving and loading the variables: the Variable record and the calculator's table.
#include "calc/Calculator.h"
#include "calc/Variable.h"
#include "platform/Archive.h"

#include <memory>
#include <utility>
#include <vector>

namespace nelo {

namespace {

// The variable record's class name and schema in files.
const ArchiveClass kVariableClass = {"CSymbol", 2};

}  // namespace

void Variable::Serialize(Archive& ar) {
    if (ar.IsStoring())
        ar << m_name << m_value << m_text << m_reserved << m_kind;
    else
        ar >> m_name >> m_value >> m_text >> m_reserved >> m_kind;
}

void Calculator::Serialize(Archive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(m_variables.GetCount());
        m_variables.ForEach([&ar](const std::string& key, const Variable& variable) {
            ar.WriteString(key);
            ar.WriteOwnedObject(&variable, kVariableClass);  // the table owns each once
        });
        return;
    }
    // Each entry takes at least a one-byte key and a two-byte tag.
    std::size_t n = ar.ReadCount(3);
    std::vector<std::pair<std::string, std::unique_ptr<Variable>>> entries;
    entries.reserve(Archive::ReserveHint(n));
    for (std::size_t i = 0; i < n; ++i) {
        auto& [key, variable] = entries.emplace_back();
        ar.ReadString(key);
        variable = ar.ReadObject<Variable>(kVariableClass);
    }
    // Entered from the last one back, so that the table keeps the order it was saved in
    // (each bucket is listed newest first); of two entries with one key the later wins.
    std::size_t records = 0;  // null records stand for nothing
    for (const auto& entry : entries) records += entry.second != nullptr;
    m_variables.Reserve(m_variables.GetCount() + records);
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        const std::string* storedKey = nullptr;
        if (it->second) m_variables.Add(std::move(it->first), it->second, storedKey);
    }
}

}  // namespace nelo
