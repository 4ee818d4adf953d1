#include "cli/CliView.h"

#include "platform/CodePage.h"

void CCliView::AppendText(const std::string& text) {
    CodePageResult utf8 = Cp932ToUtf8(text);
    const std::string& s = utf8.text;
    m_strBuffer.reserve(m_strBuffer.size() + s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
        m_strBuffer.push_back(s[i]);
    }
    if (m_bFlushEach || m_strBuffer.size() >= (1u << 16)) Flush();
}

void CCliView::Flush() {
    if (m_strBuffer.empty()) return;
    std::fwrite(m_strBuffer.data(), 1, m_strBuffer.size(), m_pOut);
    std::fflush(m_pOut);
    m_strBuffer.clear();
}
