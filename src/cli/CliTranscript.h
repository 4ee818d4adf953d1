// The terminal's conversation pane: appended text goes to an output stream in UTF-8,
// each "\r\n" written as "\n", in large blocks unless the session is interactive. At a
// terminal, control characters in the text are shown instead of carried out.
#pragma once

#include "transcript/TranscriptView.h"

#include <cstdio>
#include <string>

class CliTranscript : public nelo::TranscriptView {
public:
    /// flushEachAppend: write at once (a terminal) instead of in large blocks;
    /// isTerminal: out is a terminal (see TerminalText.h).
    CliTranscript(std::FILE* out, bool flushEachAppend, bool isTerminal);
    ~CliTranscript() override { Flush(); }

    void AppendText(const std::string& text) override;
    void ClearText() override {}
    void Flush();

private:
    /// The start of n bytes of room after the text not yet written.
    char* Room(std::size_t n);

    std::FILE* m_out;
    bool m_flushEach;
    bool m_terminal;
    /// Converted text not yet written (UTF-8): the first m_used bytes of m_utf8, whose
    /// size is the room made for it.
    std::string m_utf8;
    std::size_t m_used = 0;
    /// The piece being appended, in code page 932 with "\n" line ends.
    std::string m_piece;
    /// The last long piece and its UTF-8 form.
    std::string m_lastLong;
    std::string m_lastLongUtf8;
};
