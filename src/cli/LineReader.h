// Where the terminal program's lines come from: stdin read in large blocks, or, on a
// terminal, a line editor with history.
#pragma once

#include <string>

class CLineReader {
public:
    /// interactive: stdin is a terminal (prompt, editing, history).
    explicit CLineReader(bool interactive);
    ~CLineReader();

    /// The next line without its LF or CR LF; false at the end of input.
    bool ReadLine(std::string& line);
    /// Asks a question on the terminal and reads the reply.
    bool Ask(const std::string& prompt, std::string& reply);
    bool IsInteractive() const { return m_bInteractive; }

private:
    bool FillBuffer();

    bool m_bInteractive;
    std::string m_strBuffer;
    std::size_t m_nPos = 0;
    bool m_bEof = false;
};
