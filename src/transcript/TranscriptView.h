// The conversation pane: everything the user submitted and every answer accumulates
// here, behind the welcome text. It is the listener kind that shows only the text: the
// notebook decides what is appended and when the pane starts afresh; a front end
// supplies where the text goes.
#pragma once

#include "notebook/NotebookListener.h"

#include <string>

namespace nelo {

class TranscriptView : public NotebookListener {
public:
    /// Puts text (code page 932, lines separated by "\r\n") at the end of the pane.
    virtual void AppendText(const std::string& text) = 0;
    /// Empties the pane.
    virtual void ClearText() = 0;

    void OnTextAppended(const std::string& text) final { AppendText(text); }
    void OnPaneCleared() final { ClearText(); }
};

/// A conversation pane that keeps its text in memory (tests, and front ends that draw
/// the text themselves).
class TextTranscript : public TranscriptView {
public:
    void AppendText(const std::string& text) override { m_text += text; }
    void ClearText() override { m_text.clear(); }
    const std::string& GetText() const { return m_text; }

private:
    std::string m_text;
};

}  // namespace nelo
