// A memo: attribute/value pairs recorded about one named object.
#pragma once

#include <string>
#include <vector>

namespace nelo {

class Memo {
public:
    Memo() = default;
    explicit Memo(std::string object) : m_object(std::move(object)) {}

    /// Appends one pair; a name may occur more than once.
    void AddPair(const std::string& name, const std::string& value) {
        m_attrNames.push_back(name);
        m_attrValues.push_back(value);
    }
    /// Removes pair i (both arrays stay the same length).
    void RemovePair(std::size_t i) {
        m_attrNames.erase(m_attrNames.begin() + static_cast<std::ptrdiff_t>(i));
        m_attrValues.erase(m_attrValues.begin() + static_cast<std::ptrdiff_t>(i));
    }
    std::size_t GetPairCount() const { return m_attrNames.size(); }
    /// The named object; equal to the record's key in the memo map.
    const std::string& GetObjectName() const { return m_object; }
    const std::string& GetName(std::size_t i) const { return m_attrNames[i]; }
    const std::string& GetValue(std::size_t i) const { return m_attrValues[i]; }
    const std::vector<std::string>& GetNames() const { return m_attrNames; }
    const std::vector<std::string>& GetValues() const { return m_attrValues; }
    void Serialize(class Archive& ar);

private:
    std::string m_object;                   ///< equal to the record's key in the memo map
    std::vector<std::string> m_attrNames;   ///< in registration order
    std::vector<std::string> m_attrValues;  ///< element i belongs to m_attrNames[i]
};

}  // namespace nelo
