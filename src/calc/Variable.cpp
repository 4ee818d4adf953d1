#include "calc/Variable.h"

#include "calc/FormatNumber.h"

namespace nelo {

std::string Variable::GetDisplayText() const {
    std::string text = m_strName;
    text += ' ';
    if (m_nKind == 1) {
        text += m_strText;
    } else {
        std::string number;
        FormatNumber(m_dValue, number);
        text += number;
    }
    return text;
}

}  // namespace nelo
