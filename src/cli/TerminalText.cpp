#include "cli/TerminalText.h"

#include "cli/CliSignals.h"
#include "platform/CodePage.h"

#include <cerrno>
#include <unistd.h>

using namespace nelo;

namespace {

void AppendHex(std::string& out, unsigned value, int digits) {
    static const char kHex[] = "0123456789ABCDEF";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0xF];
}

}  // namespace

void AppendVisibleText(std::string_view utf8, std::string& out) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            if ((b < 0x20 && b != '\t' && b != '\n') || b == 0x7F) {
                out += '^';
                out += static_cast<char>(b == 0x7F ? '?' : b + 0x40);
            } else {
                out += static_cast<char>(b);
            }
            ++i;
            continue;
        }
        char32_t cp = 0;
        const std::size_t n = DecodeUtf8At(utf8, i, cp);
        if (n == 0) {
            out += '<';
            AppendHex(out, b, 2);
            out += '>';
            ++i;
        } else if (cp >= 0x80 && cp <= 0x9F) {
            out += "<U+";
            AppendHex(out, static_cast<unsigned>(cp), 4);
            out += '>';
            i += n;
        } else {
            out.append(utf8.substr(i, n));
            i += n;
        }
    }
}

bool IsTerminal(std::FILE* f) { return isatty(fileno(f)) != 0; }

bool WriteShownText(std::FILE* f, std::string_view utf8, bool isTerminal) {
    std::string shown;
    if (isTerminal) {
        AppendVisibleText(utf8, shown);
        utf8 = shown;
    }
    errno = 0;
    const bool ok = std::fwrite(utf8.data(), 1, utf8.size(), f) == utf8.size() && std::fflush(f) == 0;
    if (!ok && errno == EPIPE) NoteOutputClosed();
    return ok;
}
