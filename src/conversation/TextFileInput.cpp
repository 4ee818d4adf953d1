#include "conversation/TextFileInput.h"

#include "conversation/SendView.h"
#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "text/JText.h"
#include "text/Sjis.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Adds one piece as the line handler would receive it: up to its first NUL, and only
// when something is left.
void AddPiece(std::string_view piece, std::vector<std::string>& lines) {
    auto nul = piece.find('\0');
    if (nul != std::string_view::npos) piece = piece.substr(0, nul);
    if (!piece.empty()) lines.emplace_back(piece);
}

// Cuts one line (no line ends in it) into pieces of at most kMaxPiece bytes.
void SplitLongLine(std::string_view line, std::vector<std::string>& lines) {
    const std::size_t max = CTextFileInput::kMaxPiece;
    while (line.size() > max) {
        // Walk the characters of the piece: a lead byte in its last place would take
        // the character apart, so the piece ends before it.
        std::size_t i = 0;
        std::size_t len = max;
        while (i < max) {
            if (IsLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size()) {
                if (i + 1 == max) {
                    len = i;
                    break;
                }
                i += 2;
            } else {
                ++i;
            }
        }
        AddPiece(line.substr(0, len), lines);
        line.remove_prefix(len);
    }
    AddPiece(line, lines);
}

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

// Calls line for each line of text (CR LF, LF and a lone CR end a line), line ends
// left out. The bytes CR and LF stand only for themselves in both encodings.
template <class F>
void ForEachLine(std::string_view text, F line) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        line(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        start = end + 1;
    }
}

}  // namespace

bool CTextFileInput::IsUtf8File(std::string_view bytes) {
    bool high = false;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) > 0x7F) {
            high = true;
            break;
        }
    if (!high || !IsValidUtf8(bytes)) return false;
    if (bytes.substr(0, kBom.size()) == kBom) return true;
    // A Japanese text usually shows a Japanese character early; only a text without one
    // is converted whole to see whether it is code page 932 at all.
    if (HasJapanese(bytes)) return true;
    std::string ignored;
    return AppendCp932AsUtf8(bytes, ignored) > 0;  // no code page 932 text
}

std::string CTextFileInput::DecodeFileBytes(std::string_view bytes) {
    if (!IsUtf8File(bytes)) return std::string(bytes);
    if (bytes.substr(0, kBom.size()) == kBom) bytes.remove_prefix(kBom.size());
    return Utf8ToCp932(bytes).text;
}

void CTextFileInput::SplitLines(std::string_view text, std::vector<std::string>& lines) {
    // CR and LF are never trail bytes, so a byte search finds only real line ends.
    ForEachLine(text, [&lines](std::string_view line) { SplitLongLine(line, lines); });
}

bool CTextFileInput::Read(const std::string& path) {
    m_lines.clear();
    std::string data;
    bool ok = false;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    int nErrno = errno;
    if (file) {
        char buffer[1 << 16];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) data.append(buffer, n);
        ok = std::ferror(file.get()) == 0;
        nErrno = errno;
    }
    m_replaced.clear();
    if (IsUtf8File(data)) {
        // Line by line, so that each line's replaced characters are known.
        std::string_view text = data;
        if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
        std::string converted;
        ForEachLine(text, [&](std::string_view line) {
            converted.clear();
            int nReplaced = AppendUtf8AsCp932(line, converted);
            std::size_t first = m_lines.size();
            SplitLongLine(converted, m_lines);
            m_replaced.resize(m_lines.size(), 0);
            if (first < m_lines.size()) m_replaced[first] = nReplaced;
        });
    } else {
        SplitLines(data, m_lines);
        m_replaced.assign(m_lines.size(), 0);
    }
    if (!ok) {
        std::string shown = IsValidUtf8(path) ? Utf8ToCp932(path).text : path;
        // The system's reason, as for the notebook file itself.
        m_messageBox.Show(shown + "がオープンできません"_sj + "(" + Utf8ToCp932(std::strerror(nErrno)).text + ")", "",
                          MbButtons::Ok);
    }
    return ok;
}

void CTextFileInput::Submit(CSendView& view, const ReplacedReport& report) const {
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (report && i < m_replaced.size() && m_replaced[i] > 0) report(m_replaced[i]);
        view.AppendInputText(m_lines[i]);
        view.ProcessLine(m_lines[i]);
    }
}

void OnReadTextFile(CSendView& view, IMessageBox& messageBox, const std::string& path,
                    const CTextFileInput::ReplacedReport& report) {
    CTextFileInput input(messageBox);
    input.Read(path);
    if (report) {
        input.Submit(view, report);
        return;
    }
    input.Submit(view, [&messageBox](int nReplaced) {
        messageBox.Show("シフトJIS（コードページ932）にない文字 "_sj + std::to_string(nReplaced) +
                            " 個を「？」に置き換えました。"_sj,
                        "", MbButtons::Ok, MbIcon::Exclamation);
    });
}
