#include "desktop/BatchedPanes.h"

#include "transcript/TranscriptView.h"

using namespace nelo;

void BatchedInput::AppendInputText(const std::string& text) {
    // A line break asked for before any gathered text depends on what the pane holds.
    if (m_endWithBreak) {
        m_pane.EndWithLineBreak();
        m_endWithBreak = false;
    }
    m_pending += text;
}

void BatchedInput::EndWithLineBreak() {
    if (m_pending.empty())
        m_endWithBreak = true;
    else if (m_pending.back() != '\n')
        m_pending += '\n';
}

void BatchedInput::Flush() {
    if (m_endWithBreak) {
        m_pane.EndWithLineBreak();
        m_endWithBreak = false;
        return;
    }
    if (m_pending.empty()) return;
    m_pane.AppendInputText(m_pending);
    // The pane then puts the caret on its empty last line and shows it.
    if (m_pending.back() == '\n') m_pane.EndWithLineBreak();
    m_pending.clear();
}

void BatchedConversation::OnPaneCleared() {
    m_pending.clear();
    m_pane.ClearText();
}

void BatchedConversation::Flush() {
    if (m_pending.empty()) return;
    m_pane.AppendText(m_pending);
    m_pending.clear();
}
