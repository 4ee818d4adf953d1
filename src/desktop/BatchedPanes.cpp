#include "desktop/BatchedPanes.h"

#include "transcript/TranscriptView.h"

void CBatchedInput::AppendInputText(const std::string& text) {
    // A line break asked for before any gathered text depends on what the pane holds.
    if (m_bEndWithBreak) {
        m_pane.EndWithLineBreak();
        m_bEndWithBreak = false;
    }
    m_strPending += text;
}

void CBatchedInput::EndWithLineBreak() {
    if (m_strPending.empty())
        m_bEndWithBreak = true;
    else if (m_strPending.back() != '\n')
        m_strPending += '\n';
}

void CBatchedInput::Flush() {
    if (m_bEndWithBreak) {
        m_pane.EndWithLineBreak();
        m_bEndWithBreak = false;
        return;
    }
    if (m_strPending.empty()) return;
    m_pane.AppendInputText(m_strPending);
    // The pane then puts the caret on its empty last line and shows it.
    if (m_strPending.back() == '\n') m_pane.EndWithLineBreak();
    m_strPending.clear();
}

void CBatchedConversation::OnPaneCleared() {
    m_strPending.clear();
    m_pane.ClearText();
}

void CBatchedConversation::Flush() {
    if (m_strPending.empty()) return;
    m_pane.AppendText(m_strPending);
    m_strPending.clear();
}
