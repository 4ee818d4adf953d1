// A variable of the calculator: a name with a number (or, from a loaded file, a text).
#pragma once

#include <cstdint>
#include <string>

namespace nelo {

class Variable {
public:
    /// A symbol for loading: empty name, value 0.
    Variable() = default;
    /// A numeric symbol, as an assignment creates it.
    Variable(const std::string& name, double value) : m_name(name), m_value(value) {}

    /// The Variables dialog's line: the name, a blank, then the text or the number (ASCII).
    std::string GetDisplayText() const;
    void Serialize(class Archive& ar);

    std::string m_name;           ///< exactly as scanned
    double m_value = 0;           ///< the value of a numeric symbol
    std::string m_text;           ///< the value of a text symbol
    std::int32_t m_reserved = 0;  ///< never set here; carried through loading and saving
    std::int32_t m_kind = 0;      ///< 0 numeric, 1 text (text symbols only come from files)
};

}  // namespace nelo
