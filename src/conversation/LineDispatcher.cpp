#include "conversation/LineDispatcher.h"

#include "conversation/LineRoute.h"
#include "notebook/Notebook.h"

#include <cstring>

namespace nelo {

void LineDispatcher::AppendInputText(const std::string& text) {
    if (m_pPane) m_pPane->AppendInputText(text);
}

void LineDispatcher::ProcessLine(const std::string& rawLine) {
    // The line is a C string for every interpreter: it ends at its first NUL.
    std::string& line = m_strLine;
    line.assign(rawLine.c_str(), std::strlen(rawLine.c_str()));
    if (line.empty()) return;

    LineRoute route = ClassifyLine(line, m_strHandedOn);
    const std::string& text = m_strHandedOn;

    m_strOut.assign(m_doc.m_strUserName);
    m_strOut += " >> ";
    m_strOut += text;
    m_strOut += "\r\n";
    m_doc.AppendToViews(m_strOut);

    std::string& answer = m_strAnswer;
    answer.clear();
    switch (route) {
    case LineRoute::Command:
        if (m_doc.m_cmdPro.DoCommand(answer, text) == 0) m_doc.Converse(answer, text);
        break;
    case LineRoute::Arithmetic: m_doc.m_calc.Calculate(answer, text); break;
    case LineRoute::TimeArithmetic: m_doc.m_calc.CalculateTime(answer, text); break;
    case LineRoute::MemoRegistration: m_doc.RegisterMemo(answer, text); break;
    case LineRoute::MemoQuery: m_doc.QueryMemo(answer, text); break;
    }

    if (m_doc.m_bNamePrefix >= 1) {
        m_strOut.assign(m_doc.m_strResponderName);
        m_strOut += " >> ";
    } else {
        m_strOut.clear();
    }
    m_strOut += answer;
    m_strOut += "\r\n";
    m_doc.AppendToViews(m_strOut);

    if (m_pPane) m_pPane->EndWithLineBreak();
    m_doc.OnLineAnswered();
}

}  // namespace nelo
