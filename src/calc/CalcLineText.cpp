#include "calc/CalcLineText.h"

#include "text/JText.h"

namespace {

constexpr unsigned kFullBlank = 0x8140;
constexpr unsigned kFullComma = 0x8143;

inline bool IsAsciiBlank(unsigned char b) { return b == ' ' || (b >= '\t' && b <= '\r'); }

}  // namespace

const std::string& CalcLineText(const std::string& line, std::string& buffer) {
    if (!MayHoldBlankOrComma(line)) return line;
    // First walk: is anything to be left out at all?
    bool plain = true, blank = false, group = false;
    unsigned prev = 0;
    for (std::size_t i = 0; i < line.size() && line[i] != '\0';) {
        if (!DbcsAt(line, i)) {
            const auto b = static_cast<unsigned char>(line[i]);
            if (IsAsciiBlank(b))
                blank = true;
            else
                plain = false;
            prev = b;
            ++i;
            continue;
        }
        const unsigned c = DbcsCode(line.data() + i);
        i += 2;
        if (c == kFullBlank)
            blank = true;
        else if (c == kFullComma && GroupsDigits(prev, line, i))
            group = true;
        else if (!IsFullDigitCode(c) && !IsArithmeticSymbolCode(c))
            plain = false;
        prev = c;
    }
    const bool dropBlanks = plain && blank;
    if (!group && !dropBlanks) return line;

    buffer.clear();
    buffer.reserve(line.size());
    prev = 0;
    for (std::size_t i = 0; i < line.size() && line[i] != '\0';) {
        if (!DbcsAt(line, i)) {
            const auto b = static_cast<unsigned char>(line[i]);
            if (!(dropBlanks && IsAsciiBlank(b))) buffer.push_back(line[i]);
            prev = b;
            ++i;
            continue;
        }
        const unsigned c = DbcsCode(line.data() + i);
        const bool skip = (dropBlanks && c == kFullBlank) || (c == kFullComma && GroupsDigits(prev, line, i + 2));
        if (!skip) buffer.append(line, i, 2);
        prev = c;
        i += 2;
    }
    return buffer;
}
