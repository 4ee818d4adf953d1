#include "calc/CalcLineText.h"

#include "text/JText.h"

namespace nelo {

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
        else if (IsAmountUnitCode(c) && (IsFullDigitCode(prev) || IsAmountUnitCode(prev))) {
            // an amount's unit: 「１０万　＋　２万」 is spaced arithmetic too
        } else if (!IsFullDigitCode(c) && !IsArithmeticSymbolCode(c))
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

std::string TypedPart(const std::string& line, const std::string& read, const std::string& ascii, std::size_t from,
                      std::size_t to) {
    // Every character of read has one character in ascii: count characters there.
    std::size_t charFrom = 0, charTo = 0;
    for (std::size_t i = 0; i < to && i < ascii.size() && ascii[i] != '\0'; i += DbcsAt(ascii, i) ? 2 : 1) {
        if (i < from) ++charFrom;
        ++charTo;
    }
    // read is line with some characters left out: find each of its characters in line.
    std::size_t begin = line.size(), end = line.size();
    std::size_t li = 0, ri = 0;
    for (std::size_t k = 0; k < charTo && ri < read.size() && read[ri] != '\0'; ++k) {
        const std::size_t n = DbcsAt(read, ri) ? 2 : 1;
        while (li < line.size() && line.compare(li, n, read, ri, n) != 0) li += DbcsAt(line, li) ? 2 : 1;
        if (li >= line.size()) break;  // read was made from another line
        if (k == charFrom) begin = li;
        li += n;
        ri += n;
        end = li;
    }
    if (begin >= end) return {};
    // Without blanks around it, half- or full-width.
    auto blankAt = [&](std::size_t i) {
        return line[i] == ' ' || (DbcsAt(line, i) && DbcsCode(line.data() + i) == kFullBlank);
    };
    while (begin < end && blankAt(begin)) begin += line[begin] == ' ' ? 1 : 2;
    std::size_t lastEnd = begin;  // the end of the last character that is no blank
    for (std::size_t i = begin; i < end;) {
        const std::size_t n = DbcsAt(line, i) ? 2 : 1;
        if (!blankAt(i)) lastEnd = i + n;
        i += n;
    }
    return line.substr(begin, lastEnd - begin);
}

}  // namespace nelo
