#include "cli/CliTranscript.h"

#include "cli/TerminalText.h"
#include "platform/CodePage.h"

#include <cstring>

using namespace nelo;

namespace {

// Pieces at least this long are answers worth remembering in UTF-8 (the examples, a
// listing asked for again); shorter ones convert faster than they compare.
constexpr std::size_t kRememberedPieceBytes = 256;

// Output that is no terminal goes out in blocks of about this size: a few system calls
// for a long input instead of one every few lines.
constexpr std::size_t kBlockBytes = std::size_t{1} << 18;

}  // namespace

CliTranscript::CliTranscript(std::FILE* out, bool flushEachAppend, bool isTerminal)
    : m_out(out), m_flushEach(flushEachAppend), m_terminal(isTerminal) {
    // Room for a block and the piece that fills it, made once rather than by doubling.
    // Room() fills it as the first block is written, and not again for each piece.
    if (!m_flushEach) m_utf8.reserve(2 * kBlockBytes);
}

char* CliTranscript::Room(std::size_t n) {
    if (m_utf8.size() - m_used < n) m_utf8.resize(m_used + n);
    return m_utf8.data() + m_used;
}

void CliTranscript::AppendText(const std::string& text) {
    if (text.size() < kRememberedPieceBytes) {
        char* const start = Room(Cp932LinesUtf8Room(text.size()));
        m_used += static_cast<std::size_t>(WriteCp932LinesAsUtf8(text, start) - start);
        if (m_flushEach || m_used >= kBlockBytes) Flush();
        return;
    }
    // The piece in code page 932 with "\r\n" turned into "\n" (a trail byte is never CR
    // or LF, so the bytes can be scanned as they are).
    m_piece.clear();
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(end - p)));
        if (!cr) {
            m_piece.append(p, end);
            break;
        }
        m_piece.append(p, cr);
        if (cr + 1 < end && cr[1] == '\n') {
            m_piece.push_back('\n');
            p = cr + 2;
        } else {
            m_piece.push_back('\r');
            p = cr + 1;
        }
    }
    // A long piece is often the same answer again: convert it once.
    if (m_piece != m_lastLong) {
        m_lastLongUtf8.clear();
        AppendCp932AsUtf8(m_piece, m_lastLongUtf8);
        m_lastLong.swap(m_piece);
    }
    if (!m_lastLongUtf8.empty()) std::memcpy(Room(m_lastLongUtf8.size()), m_lastLongUtf8.data(), m_lastLongUtf8.size());
    m_used += m_lastLongUtf8.size();
    if (m_flushEach || m_used >= kBlockBytes) Flush();
}

void CliTranscript::Flush() {
    if (m_used == 0) return;
    WriteShownText(m_out, std::string_view(m_utf8.data(), m_used), m_terminal);
    m_used = 0;
}
