#include "calc/Variable.h"

#include "calc/FormatNumber.h"

namespace nelo {

std::string Variable::GetDisplayText() const {
    std::string text = m_name;
    text += ' ';
    if (m_kind == 1) {
        text += m_text;
    } else {
        std::string number;
        FormatNumber(m_value, number);
        text += number;
    }
    return text;
}

}  // namespace nelo
