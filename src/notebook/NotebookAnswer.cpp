// A typed line's way through the notebook: the echo, the route, the interpreter, the
// answer.
#include "notebook/LineRoute.h"
#include "notebook/Notebook.h"

namespace nelo {

void Notebook::AnswerLine(const std::string& line) {
    const LineRoute route = ClassifyLine(line, m_handedOn, m_asciiForm);
    const std::string& text = m_handedOn;

    m_out.assign(m_userName);
    m_out += " >> ";
    m_out += text;
    m_out += "\r\n";
    AppendToViews(m_out);

    std::string& answer = m_answer;
    answer.clear();
    switch (route) {
    case LineRoute::Command:
        // The schedule book first: a line it reads as an entry or a query is its, whatever
        // the first word ends in. A line that is no sequence of words is neither's.
        if (!m_commandLine.Read(text) ||
            (!m_scheduleBook.Answer(m_commandLine, answer) && !m_dateCommands.Answer(m_commandLine, answer)))
            Converse(answer, text);
        break;
    case LineRoute::Arithmetic: m_calc.Calculate(answer, text, m_asciiForm.empty() ? nullptr : &m_asciiForm); break;
    case LineRoute::TimeArithmetic: m_calc.CalculateTime(answer, text); break;
    case LineRoute::MemoRegistration: RegisterMemo(answer, text); break;
    case LineRoute::MemoQuery: QueryMemo(answer, text); break;
    }

    if (m_showsNames) {
        m_out.assign(m_responderName);
        m_out += " >> ";
    } else {
        m_out.clear();
    }
    m_out += answer;
    m_out += "\r\n";
    AppendToViews(m_out);
}

}  // namespace nelo
