#include "conversation/TextFileInput.h"

#include "conversation/LineDispatcher.h"
#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "text/Sjis.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nelo {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Kana, CJK symbols and ideographs, full- and half-width forms: what a Japanese text
// in UTF-8 holds and a code page 932 text misread as UTF-8 almost never gives.
bool IsJapaneseCodePoint(char32_t c) {
    return (c >= 0x3000 && c <= 0x30FF) || (c >= 0x31F0 && c <= 0x31FF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF) ||
           (c >= 0x20000 && c <= 0x3FFFF);
}

// Whether valid UTF-8 holds a Japanese character.
bool HasJapanese(std::string_view utf8) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto b = static_cast<unsigned char>(utf8[i]);
        std::size_t len = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        if (len >= 3 && i + len <= utf8.size()) {
            char32_t c = b & (len == 3 ? 0x0F : 0x07);
            for (std::size_t k = 1; k < len; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
            if (IsJapaneseCodePoint(c)) return true;
        }
        i += len;
    }
    return false;
}

bool HasHighByte(std::string_view bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) > 0x7F) return true;
    return false;
}

}  // namespace

// The encoding of a whole text decided line by line, with the same answer IsUtf8File
// gives for the text at once: a line end is never inside a character of either
// encoding, so the text is valid (and Japanese) exactly when its lines are.
class TextFileInput::EncodingVote {
public:
    void Add(std::string_view line, bool first) {
        if (!m_valid) return;
        if (first && line.substr(0, kBom.size()) == kBom) m_bom = true;
        if (!HasHighByte(line)) return;
        m_high = true;
        if (!IsValidUtf8(line)) {
            m_valid = false;
            return;
        }
        if (m_japanese || m_noCp932) return;
        if (HasJapanese(line)) {
            m_japanese = true;
            return;
        }
        m_scratch.clear();
        if (AppendCp932AsUtf8(line, m_scratch) > 0) m_noCp932 = true;
    }
    bool IsUtf8() const { return m_high && m_valid && (m_bom || m_japanese || m_noCp932); }

private:
    bool m_high = false;
    bool m_valid = true;
    bool m_bom = false;
    bool m_japanese = false;
    bool m_noCp932 = false;
    std::string m_scratch;
};

bool TextFileInput::IsUtf8File(std::string_view bytes) {
    if (!HasHighByte(bytes) || !IsValidUtf8(bytes)) return false;
    if (bytes.substr(0, kBom.size()) == kBom) return true;
    // A Japanese text usually shows a Japanese character early; only a text without one
    // is converted whole to see whether it is code page 932 at all.
    if (HasJapanese(bytes)) return true;
    std::string ignored;
    return AppendCp932AsUtf8(bytes, ignored) > 0;  // no code page 932 text
}

TextFileInput::TextFileInput(MessageBox& messageBox) : m_messageBox(messageBox) {}

TextFileInput::~TextFileInput() {
    if (m_fd >= 0) close(m_fd);
}

void TextFileInput::Tell(const std::string& text) { m_messageBox.Show(m_shownPath + text, "", MbButtons::Ok); }

std::string TextFileInput::Refusal(TextLineStream::Result result, std::string_view line, std::size_t lineNumber) const {
    if (result == TextLineStream::Result::TooLong)
        return std::to_string(lineNumber) + " 行目が長すぎます（1 行 "_sj + std::to_string(kMaxLineBytes >> 20) +
               " MB まで）。"_sj;
    if (line.find('\0') != std::string_view::npos)
        return std::to_string(lineNumber) + " 行目に NUL 文字があります（テキストファイルではありません）。"_sj;
    return {};
}

void TextFileInput::StartStream() {
    const int fd = m_fd;
    m_stream = std::make_unique<TextLineStream>(
        [fd](char* buffer, std::size_t n) { return static_cast<long>(read(fd, buffer, n)); }, kMaxLineBytes);
    m_firstLine = true;
}

bool TextFileInput::Open(const std::string& path, const StopCheck& stop) {
    m_shownPath = IsValidUtf8(path) ? Utf8ToCp932(path).text : path;
    // Opening a FIFO waits for its writer; a signal may end the wait.
    while ((m_fd = open(path.c_str(), O_RDONLY | O_CLOEXEC)) < 0 && errno == EINTR) {
        if (stop && stop()) {
            m_stopped = true;
            return false;
        }
    }
    int errorNumber = errno;
    struct stat st {};
    const bool statOk = m_fd >= 0 && fstat(m_fd, &st) == 0;
    if (statOk && S_ISDIR(st.st_mode)) errorNumber = EISDIR;
    if (m_fd < 0 || errorNumber == EISDIR) {
        // The system's reason, as for the notebook file itself.
        Tell(std::string("がオープンできません"_sj) + "(" + Utf8ToCp932(std::strerror(errorNumber)).text + ")");
        return false;
    }
    StartStream();
    if (statOk && S_ISREG(st.st_mode)) {
        if (!Scan(stop)) return false;
        if (lseek(m_fd, 0, SEEK_SET) == 0) {
            StartStream();
        } else {
            // Not to be read twice after all: each line decides for itself.
            m_wholeFileKnown = false;
            m_lineCount = -1;
        }
    }
    return true;
}

bool TextFileInput::Scan(const StopCheck& stop) {
    EncodingVote vote;
    long long lines = 0;
    bool bomLine = false;
    for (bool first = true;; first = false) {
        std::string_view line;
        TextLineStream::Result result = m_stream->Read(line, stop);
        if (result == TextLineStream::Result::End) break;
        if (result == TextLineStream::Result::Stopped) {
            m_stopped = true;
            return false;
        }
        // A read failure is told where the lines reach it.
        if (result == TextLineStream::Result::Failed) break;
        std::string refusal = Refusal(result, line, m_stream->GetLineNumber());
        if (!refusal.empty()) {
            Tell("を読み込めませんでした。"_sj + refusal);
            return false;
        }
        if (first && line == kBom) bomLine = true;
        vote.Add(line, first);
        if (!line.empty()) ++lines;
    }
    m_utf8 = vote.IsUtf8();
    // A line that was only the byte-order mark is empty once the mark is dropped.
    m_lineCount = lines - (m_utf8 && bomLine ? 1 : 0);
    m_wholeFileKnown = true;
    return true;
}

bool TextFileInput::Next(std::string& line, int& replacedCount, const StopCheck& stop) {
    if (!m_stream) return false;
    for (;;) {
        std::string_view bytes;
        TextLineStream::Result result = m_stream->Read(bytes, stop);
        switch (result) {
        case TextLineStream::Result::End: return false;
        case TextLineStream::Result::Stopped: m_stopped = true; return false;
        case TextLineStream::Result::Failed:
            Tell(std::string("がオープンできません"_sj) + "(" + Utf8ToCp932(std::strerror(m_stream->GetErrno())).text +
                 ")");
            return false;
        default: break;
        }
        std::string refusal = Refusal(result, bytes, m_stream->GetLineNumber());
        if (!refusal.empty()) {
            Tell("の読込みを止めました。"_sj + refusal);
            return false;
        }
        const bool first = m_firstLine;
        m_firstLine = false;
        const bool isUtf8 = m_wholeFileKnown ? m_utf8 : IsUtf8File(bytes);
        if (isUtf8 && first && bytes.substr(0, kBom.size()) == kBom) bytes.remove_prefix(kBom.size());
        if (bytes.empty()) continue;
        line.clear();
        replacedCount = 0;
        if (isUtf8)
            replacedCount = AppendUtf8AsCp932(bytes, line);
        else
            line.assign(bytes);
        return true;
    }
}

TextFileReadResult OnReadTextFile(LineDispatcher& view, MessageBox& messageBox, const std::string& path,
                                  const TextFileInput::ReplacedReport& report, const TextFileInput::StopCheck& stop) {
    TextFileReadResult result;
    TextFileInput input(messageBox);
    if (!input.Open(path, stop)) {
        result.stopped = input.WasStopped();
        return result;
    }
    result.lineCount = input.GetLineCount();
    std::string line;
    int replacedCount = 0;
    while (!(stop && stop()) && input.Next(line, replacedCount, stop)) {
        if (replacedCount > 0) {
            if (report)
                report(replacedCount);
            else
                messageBox.Show("シフトJIS（コードページ932）にない文字 "_sj + std::to_string(replacedCount) +
                                    " 個を「？」に置き換えました。"_sj,
                                "", MbButtons::Ok, MbIcon::Exclamation);
        }
        view.AppendInputText(line);
        view.ProcessLine(line);
        ++result.submittedCount;
    }
    result.stopped = input.WasStopped() || (stop && stop());
    return result;
}

}  // namespace nelo
