#include "conversation/LineDispatcher.h"

#include "conversation/LineRoute.h"
#include "notebook/Notebook.h"

#include <cstring>

namespace nelo {

void LineDispatcher::AppendInputText(const std::string& text) {
    if (m_pane) m_pane->AppendInputText(text);
}

void LineDispatcher::ProcessLine(const std::string& rawLine) {
    // The line is a C string for every interpreter: it ends at its first NUL.
    std::string& line = m_line;
    line.assign(rawLine.c_str(), std::strlen(rawLine.c_str()));
    if (line.empty()) return;

    LineRoute route = ClassifyLine(line, m_handedOn);
    const std::string& text = m_handedOn;

    m_out.assign(m_notebook.m_userName);
    m_out += " >> ";
    m_out += text;
    m_out += "\r\n";
    m_notebook.AppendToViews(m_out);

    std::string& answer = m_answer;
    answer.clear();
    switch (route) {
    case LineRoute::Command:
        if (m_notebook.m_scheduleBook.DoCommand(answer, text) == 0) m_notebook.Converse(answer, text);
        break;
    case LineRoute::Arithmetic: m_notebook.m_calc.Calculate(answer, text); break;
    case LineRoute::TimeArithmetic: m_notebook.m_calc.CalculateTime(answer, text); break;
    case LineRoute::MemoRegistration: m_notebook.RegisterMemo(answer, text); break;
    case LineRoute::MemoQuery: m_notebook.QueryMemo(answer, text); break;
    }

    if (m_notebook.m_namePrefix >= 1) {
        m_out.assign(m_notebook.m_responderName);
        m_out += " >> ";
    } else {
        m_out.clear();
    }
    m_out += answer;
    m_out += "\r\n";
    m_notebook.AppendToViews(m_out);

    if (m_pane) m_pane->EndWithLineBreak();
    m_notebook.OnLineAnswered();
}

}  // namespace nelo
