// Reading a text file into the conversation: every line of the file is shown in the
// input pane and processed as if it had been typed, in file order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CSendView;
class IMessageBox;

class CTextFileInput {
public:
    /// The most bytes one submitted piece of a long line holds.
    static constexpr std::size_t kMaxPiece = 254;

    explicit CTextFileInput(IMessageBox& messageBox) : m_messageBox(messageBox) {}

    /// Reads the file at path and collects its lines. When it cannot be opened or read
    /// to the end, says so in a message box and keeps the lines read before; returns
    /// false then.
    bool Read(const std::string& path);
    /// Shows and processes every collected line in order.
    void Submit(CSendView& view) const;

    const std::vector<std::string>& GetLines() const { return m_lines; }

    /// The file's bytes as code page 932: a valid UTF-8 file with bytes above 0x7F is
    /// converted (a byte-order mark dropped); anything else is taken as it is.
    static std::string DecodeFileBytes(std::string_view bytes);
    /// Appends the lines of code page 932 text: CR LF, LF and a lone CR end a line,
    /// empty lines are skipped, a line longer than kMaxPiece bytes becomes several
    /// pieces that never split a double-byte character, and a piece ends at a NUL.
    static void SplitLines(std::string_view text, std::vector<std::string>& lines);

private:
    IMessageBox& m_messageBox;
    std::vector<std::string> m_lines;
};

/// The input pane's read-text-file command for a file the user chose.
void OnReadTextFile(CSendView& view, IMessageBox& messageBox, const std::string& path);
