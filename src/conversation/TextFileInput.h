// Reading a text file into the conversation: every line of the file is shown in the
// input pane and processed as if it had been typed, in file order.
#pragma once

#include <functional>
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

    /// Told, before a line is processed, how many of its characters had no code page
    /// 932 form and were replaced by "？".
    using ReplacedReport = std::function<void(int nReplaced)>;

    /// Reads the file at path and collects its lines. When it cannot be opened or read
    /// to the end, says so in a message box and keeps the lines read before; returns
    /// false then.
    bool Read(const std::string& path);
    /// Shows and processes every collected line in order; report (when given) hears of
    /// replaced characters before their line is processed.
    void Submit(CSendView& view, const ReplacedReport& report = {}) const;

    const std::vector<std::string>& GetLines() const { return m_lines; }
    /// Per collected line: the characters replaced in it (counted on a long line's
    /// first piece).
    const std::vector<int>& GetReplaced() const { return m_replaced; }

    /// True when the file's bytes are to be read as UTF-8: a byte-order mark, or valid
    /// UTF-8 with bytes above 0x7F that is either no valid code page 932 or reads as
    /// Japanese characters in UTF-8. Bytes valid in both without Japanese in their UTF-8
    /// reading (half-width katakana, "ﾃｽﾄｱ") are code page 932.
    static bool IsUtf8File(std::string_view bytes);
    /// The file's bytes as code page 932: a UTF-8 file (see IsUtf8File) is converted
    /// (a byte-order mark dropped); anything else is taken as it is.
    static std::string DecodeFileBytes(std::string_view bytes);
    /// Appends the lines of code page 932 text: CR LF, LF and a lone CR end a line,
    /// empty lines are skipped, a line longer than kMaxPiece bytes becomes several
    /// pieces that never split a double-byte character, and a piece ends at a NUL.
    static void SplitLines(std::string_view text, std::vector<std::string>& lines);

private:
    IMessageBox& m_messageBox;
    std::vector<std::string> m_lines;
    std::vector<int> m_replaced;
};

/// The input pane's read-text-file command for a file the user chose. Replaced
/// characters go to report, or without one to a message box per line.
void OnReadTextFile(CSendView& view, IMessageBox& messageBox, const std::string& path,
                    const CTextFileInput::ReplacedReport& report = {});
