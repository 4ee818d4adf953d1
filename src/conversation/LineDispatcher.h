// The input pane's logic: one submitted line is echoed, routed to its interpreter and
// answered. Front ends own the editing; they hand complete lines to ProcessLine.
#pragma once

#include <string>

namespace nelo {

class Notebook;

/// What the input pane's control offers the line handler (the desktop program's edit
/// control; the terminal has none).
class InputPaneWriter {
public:
    virtual ~InputPaneWriter() = default;
    /// Puts text at the end of the pane, without a line break.
    virtual void AppendInputText(const std::string& text) = 0;
    /// Makes the pane end with a line break and puts the caret after it.
    virtual void EndWithLineBreak() = 0;
};

class LineDispatcher {
public:
    explicit LineDispatcher(Notebook& notebook, InputPaneWriter* pane = nullptr) : m_notebook(notebook), m_pane(pane) {}

    /// Has the notebook answer one line (code page 932, no line-break characters; the line
    /// ends at its first NUL); an empty line is not answered.
    void ProcessLine(const std::string& line);
    /// Shows a line read from a file at the end of the input pane, as if typed.
    void AppendInputText(const std::string& text);

    Notebook& GetNotebook() { return m_notebook; }

private:
    Notebook& m_notebook;
    InputPaneWriter* m_pane;
    std::string m_line;  // reused between lines
};

}  // namespace nelo
