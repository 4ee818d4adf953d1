#include "calc/Variable.h"

#include "calc/FormatNumber.h"

namespace nelo {

Variable Variable::MakeText(const std::string& name, const std::string& text) {
    Variable variable(name, 0);
    variable.m_text = text;
    variable.m_kind = 1;
    return variable;
}

std::string Variable::GetDisplayText() const {
    std::string text = m_name;
    text += ' ';
    if (IsText()) {
        text += m_text;
    } else {
        std::string number;
        FormatNumber(m_value, number);
        text += number;
    }
    return text;
}

}  // namespace nelo
