#include "cli/CliTranscript.h"

#include "cli/TerminalText.h"
#include "platform/CodePage.h"

#include <cstring>

using namespace nelo;

namespace {

// Pieces at least this long are answers worth remembering in UTF-8 (the examples, a
// listing asked for again); shorter ones convert faster than they compare.
constexpr std::size_t kRememberedPieceBytes = 256;

}  // namespace

void CliTranscript::AppendText(const std::string& text) {
    // The piece in code page 932 with "\r\n" turned into "\n" (a trail byte is never CR
    // or LF, so the bytes can be scanned as they are).
    m_strPiece.clear();
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(end - p)));
        if (!cr) {
            m_strPiece.append(p, end);
            break;
        }
        m_strPiece.append(p, cr);
        if (cr + 1 < end && cr[1] == '\n') {
            m_strPiece.push_back('\n');
            p = cr + 2;
        } else {
            m_strPiece.push_back('\r');
            p = cr + 1;
        }
    }
    if (m_strPiece.size() < kRememberedPieceBytes) {
        AppendCp932AsUtf8(m_strPiece, m_strUtf8);
    } else {
        // A long piece is often the same answer again: convert it once.
        if (m_strPiece != m_strLastLong) {
            m_strLastLongUtf8.clear();
            AppendCp932AsUtf8(m_strPiece, m_strLastLongUtf8);
            m_strLastLong.swap(m_strPiece);
        }
        m_strUtf8 += m_strLastLongUtf8;
    }
    if (m_bFlushEach || m_strUtf8.size() >= (1u << 16)) Flush();
}

void CliTranscript::Flush() {
    if (m_strUtf8.empty()) return;
    WriteShownText(m_pOut, m_strUtf8, m_bTerminal);
    m_strUtf8.clear();
}
