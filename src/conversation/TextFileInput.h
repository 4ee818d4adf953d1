// Reading a text file into the conversation: every line of the file is shown in the
// input pane and processed as if it had been typed, in file order. The file is read
// line by line, so its size does not matter; each line is submitted whole.
#pragma once

#include "conversation/TextLineStream.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace nelo {

class LineDispatcher;
class MessageBox;

class TextFileInput {
public:
    /// The longest line a file may hold, in bytes. Nobody types such a line: a file
    /// that has one is not a text to be read line by line.
    static constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

    using StopCheck = TextLineStream::StopCheck;
    /// Told, before a line is processed, how many of its characters had no code page
    /// 932 form and were replaced by "？".
    using ReplacedReport = std::function<void(int replacedCount)>;

    explicit TextFileInput(MessageBox& messageBox);
    ~TextFileInput();
    TextFileInput(const TextFileInput&) = delete;
    TextFileInput& operator=(const TextFileInput&) = delete;

    /// Opens the file at path. A file that can be read twice (a regular file) is read
    /// through once first: its encoding is decided over the whole text, its lines are
    /// counted, and a file with a NUL byte or a line longer than kMaxLineBytes is
    /// refused before any line is given. When the file cannot be opened or is refused,
    /// says why in a message box and returns false.
    bool Open(const std::string& path, const StopCheck& stop = {});
    /// How many lines Next will give; -1 when that cannot be known beforehand (a pipe,
    /// a device), whose lines each decide their own encoding.
    long long GetLineCount() const { return m_lineCount; }
    /// The next non-empty line as code page 932, and how many of its characters had no
    /// code page 932 form. False at the end of the file, when stop said so
    /// (WasStopped), or when the rest cannot be read: a read failure, a NUL byte or an
    /// over-long line is said in a message box, and the lines given before stand.
    bool Next(std::string& line, int& replacedCount, const StopCheck& stop = {});
    bool WasStopped() const { return m_stopped; }

    /// True when text is to be read as UTF-8: a byte-order mark, or valid UTF-8 with
    /// bytes above 0x7F that is either no valid code page 932 or reads as Japanese
    /// characters in UTF-8. Bytes valid in both without Japanese in their UTF-8 reading
    /// (half-width katakana, "ﾃｽﾄｱ") are code page 932.
    static bool IsUtf8File(std::string_view bytes);

private:
    class EncodingVote;

    /// Reads the whole file once: encoding, line count, and the first line that makes it
    /// unreadable (said in a message box; false then).
    bool Scan(const StopCheck& stop);
    void StartStream();
    /// A message box about the file: its name, then text.
    void Tell(const std::string& text);
    /// Why line lineNumber stops the reading (code page 932), or empty when it does not.
    std::string Refusal(TextLineStream::Result result, std::string_view line, std::size_t lineNumber) const;

    MessageBox& m_messageBox;
    std::string m_shownPath;  // the path as messages show it
    int m_fd = -1;
    std::unique_ptr<TextLineStream> m_stream;
    long long m_lineCount = -1;
    bool m_wholeFileKnown = false;  // read through once: the encoding is the file's
    bool m_utf8 = false;
    bool m_firstLine = true;
    bool m_stopped = false;
};

/// What a read of a whole file did.
struct TextFileReadResult {
    std::size_t submittedCount = 0;  ///< lines processed
    long long lineCount = -1;        ///< lines the file holds, -1 when unknown
    bool stopped = false;            ///< the stop check ended it early
};

/// The read-text-file command for a file the user chose: every line is shown and
/// processed until the end of the file or until stop says so (checked between lines and
/// while reading). Replaced characters go to report, or without one to a message box per
/// line.
TextFileReadResult OnReadTextFile(LineDispatcher& view, MessageBox& messageBox, const std::string& path,
                                  const TextFileInput::ReplacedReport& report = {},
                                  const TextFileInput::StopCheck& stop = {});

}  // namespace nelo
