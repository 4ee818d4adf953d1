#include "desktop/BatchedPanes.h"

#include "transcript/TranscriptView.h"

using namespace nelo;

void BatchedInput::AppendInputText(const std::string& text) {
    // A line break asked for before any gathered text depends on what the pane holds.
    if (m_bEndWithBreak) {
        m_pane.EndWithLineBreak();
        m_bEndWithBreak = false;
    }
    m_strPending += text;
}

void BatchedInput::EndWithLineBreak() {
    if (m_strPending.empty())
        m_bEndWithBreak = true;
    else if (m_strPending.back() != '\n')
        m_strPending += '\n';
}

void BatchedInput::Flush() {
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

void BatchedConversation::OnPaneCleared() {
    m_strPending.clear();
    m_pane.ClearText();
}

void BatchedConversation::Flush() {
    if (m_strPending.empty()) return;
    m_pane.AppendText(m_strPending);
    m_strPending.clear();
}
