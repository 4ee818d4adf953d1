// Where the terminal program's lines come from: stdin read in large blocks, or, on a
// terminal, a line editor with history. Either way a signal (CliSignals) ends the wait
// for input at once: the reader then returns false as at the end of the input, and the
// caller asks CliSignals what happened.
#pragma once

#include <cwchar>
#include <string>

struct editline;
struct history;

class LineReader {
public:
    /// interactive: stdin is a terminal (prompt, editing, history). A line longer than
    /// maxLine bytes is not held: it is read past and given as too long.
    LineReader(bool interactive, std::size_t maxLine);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    /// The next line without its line break (LF, CR LF or a lone CR); false at the end
    /// of the input or when a signal came. A line too long to be held comes back empty,
    /// with WasLineTooLong true.
    bool ReadLine(std::string& line);
    bool WasLineTooLong() const { return m_lineTooLong; }
    /// Asks a question on the terminal and reads the reply; false at Ctrl-D, Ctrl-C or
    /// another signal.
    bool Ask(const std::string& prompt, std::string& reply);
    bool IsInteractive() const { return m_interactive; }
    /// True once the terminal has gone away (hung up, unreadable, or only ends of input
    /// many times in a row): nothing more can be read or asked.
    bool IsInputGone() const { return m_inputGone || m_emptyEnds > kMaxEmptyEnds; }

private:
    bool FillBuffer();
    bool ReadBufferedLine(std::string& line);
    /// Gives the line of len bytes at start, or marks it too long.
    void GiveLine(const char* start, std::size_t len, std::string& line);
    /// Gives the line of len bytes at the read position and moves past its line break.
    void TakeBufferedLine(std::size_t len, bool endsWithCr, std::string& line);
    /// The input ended or a signal came: what is left without a line break is the last
    /// line; false when there is none (or a signal came first).
    bool TakeLastLine(std::string& line);
    bool ReadTerminal(const std::string& prompt, std::string& line);
    bool ReadTerminalOnce(const std::string& prompt, std::string& line);
#ifdef NELO_HAVE_LIBEDIT
    static char* PromptOf(editline* el);
    static int ReadChar(editline* el, wchar_t* out);
#endif

    /// Ends of input in a row with neither a line nor an answer that make a terminal
    /// count as gone even without a hang-up signal.
    static constexpr int kMaxEmptyEnds = 100;

    bool m_interactive;
    std::size_t m_maxLine;
    bool m_lineTooLong = false;
    bool m_dropping = false;  // reading past a line too long to be held
    int m_emptyEnds = 0;
    bool m_inputGone = false;
    std::string m_buffer;
    std::size_t m_pos = 0;
    bool m_eof = false;
#ifdef NELO_HAVE_LIBEDIT
    editline* m_edit = nullptr;
    history* m_history = nullptr;
    std::string m_prompt;
    std::mbstate_t m_mbState{};
#endif
};
