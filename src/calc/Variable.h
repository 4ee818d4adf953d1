// A variable of the calculator: a name with a number (or, from a loaded file, a text).
#pragma once

#include <cstdint>
#include <string>

namespace nelo {

class Variable {
public:
    /// A variable for loading: empty name, value 0.
    Variable() = default;
    /// A numeric variable, as an assignment creates it.
    Variable(const std::string& name, double value) : m_name(name), m_value(value) {}
    /// A text variable, as only files hold them.
    static Variable MakeText(const std::string& name, const std::string& text);

    /// The name, exactly as scanned.
    const std::string& GetName() const { return m_name; }
    /// The value of a numeric variable.
    double GetValue() const { return m_value; }
    /// True for a text variable, which arithmetic cannot use.
    bool IsText() const { return m_kind == 1; }
    /// The value of a text variable.
    const std::string& GetText() const { return m_text; }

    /// The variables list's line: the name, a blank, then the text or the number (ASCII).
    std::string GetDisplayText() const;
    void Serialize(class Archive& ar);

private:
    std::string m_name;
    double m_value = 0;
    std::string m_text;
    std::int32_t m_reserved = 0;  // never set here; carried through loading and saving
    std::int32_t m_kind = 0;      // 0 numeric, 1 text; stored as read, so other values survive a save
};

}  // namespace nelo
