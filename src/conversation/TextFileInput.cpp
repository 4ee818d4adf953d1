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

}  // namespace

std::string CTextFileInput::DecodeFileBytes(std::string_view bytes) {
    bool high = false;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) > 0x7F) {
            high = true;
            break;
        }
    if (!high || !IsValidUtf8(bytes)) return std::string(bytes);
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return Utf8ToCp932(bytes).text;
}

void CTextFileInput::SplitLines(std::string_view text, std::vector<std::string>& lines) {
    std::size_t start = 0;
    while (start < text.size()) {
        // CR and LF are never trail bytes, so a byte search finds only real line ends.
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        SplitLongLine(text.substr(start, end - start), lines);
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        start = end + 1;
    }
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
    SplitLines(DecodeFileBytes(data), m_lines);
    if (!ok) {
        std::string shown = IsValidUtf8(path) ? Utf8ToCp932(path).text : path;
        // The system's reason, as for the notebook file itself.
        m_messageBox.Show(shown + "がオープンできません"_sj + "(" + Utf8ToCp932(std::strerror(nErrno)).text + ")", "",
                          MbButtons::Ok);
    }
    return ok;
}

void CTextFileInput::Submit(CSendView& view) const {
    for (const std::string& line : m_lines) {
        view.AppendInputText(line);
        view.ProcessLine(line);
    }
}

void OnReadTextFile(CSendView& view, IMessageBox& messageBox, const std::string& path) {
    CTextFileInput input(messageBox);
    input.Read(path);
    input.Submit(view);
}
