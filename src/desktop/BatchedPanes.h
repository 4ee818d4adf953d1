// While many lines are processed at once (a text file read with F9), the echoes, answers
// and input lines are gathered here and handed to the panes in one piece at each
// repaint: the panes then lay out and scroll once per batch instead of once per line.
// The panes end up with exactly the text the lines would have given one by one.
#pragma once

#include "conversation/LineDispatcher.h"
#include "notebook/NotebookListener.h"

#include <string>

namespace nelo {
class TranscriptView;
}  // namespace nelo

/// Stands in for the input pane: lines shown and the final line breaks.
class BatchedInput : public nelo::InputPaneWriter {
public:
    explicit BatchedInput(nelo::InputPaneWriter& pane) : m_pane(pane) {}
    void AppendInputText(const std::string& text) override;
    void EndWithLineBreak() override;
    /// Hands what was gathered to the pane.
    void Flush();

private:
    nelo::InputPaneWriter& m_pane;
    std::string m_pending;
    bool m_endWithBreak = false;
};

/// Stands in for the conversation pane as the notebook's listener.
class BatchedConversation : public nelo::NotebookListener {
public:
    explicit BatchedConversation(nelo::TranscriptView& pane) : m_pane(pane) {}
    void OnTextAppended(const std::string& text) override { m_pending += text; }
    void OnPaneCleared() override;
    /// Hands what was gathered to the pane.
    void Flush();

private:
    nelo::TranscriptView& m_pane;
    std::string m_pending;
};
