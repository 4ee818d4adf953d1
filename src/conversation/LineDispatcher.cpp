#include "conversation/LineDispatcher.h"

#include "notebook/LineRoute.h"
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

    m_notebook.AnswerLine(line);
    if (m_pane) m_pane->EndWithLineBreak();
    m_notebook.OnLineAnswered();
}

}  // namespace nelo
