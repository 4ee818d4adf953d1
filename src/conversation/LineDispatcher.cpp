#include "conversation/LineDispatcher.h"

#include "notebook/LineRoute.h"
#include "notebook/Notebook.h"

#include <cstring>

namespace nelo {

void LineDispatcher::AppendInputText(const std::string& text) {
    if (m_pane) m_pane->AppendInputText(text);
}

void LineDispatcher::ProcessLine(const std::string& rawLine) {
    // The line is a C string for every interpreter: it ends at its first NUL. Only a line
    // that holds one is copied.
    const void* nul = std::memchr(rawLine.data(), '\0', rawLine.size());
    if (nul != nullptr)
        m_line.assign(rawLine.data(), static_cast<std::size_t>(static_cast<const char*>(nul) - rawLine.data()));
    const std::string& line = nul != nullptr ? m_line : rawLine;
    if (line.empty()) return;

    m_notebook.AnswerLine(line);
    if (m_pane) m_pane->EndWithLineBreak();
    m_notebook.OnLineAnswered();
}

}  // namespace nelo
