#include "cli/CliView.h"

#include "platform/CodePage.h"

#include <cstring>

void CCliView::AppendText(const std::string& text) {
    // Collect code page 932 text with "\r\n" turned into "\n" (a trail byte is never CR
    // or LF, so the bytes can be scanned as they are); convert whole blocks at a time.
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(end - p)));
        if (!cr) {
            m_strBuffer.append(p, end);
            break;
        }
        m_strBuffer.append(p, cr);
        if (cr + 1 < end && cr[1] == '\n') {
            m_strBuffer.push_back('\n');
            p = cr + 2;
        } else {
            m_strBuffer.push_back('\r');
            p = cr + 1;
        }
    }
    if (m_bFlushEach || m_strBuffer.size() >= (1u << 16)) Flush();
}

void CCliView::Flush() {
    if (m_strBuffer.empty()) return;
    m_strUtf8.clear();
    AppendCp932AsUtf8(m_strBuffer, m_strUtf8);
    std::fwrite(m_strUtf8.data(), 1, m_strUtf8.size(), m_pOut);
    std::fflush(m_pOut);
    m_strBuffer.clear();
}
