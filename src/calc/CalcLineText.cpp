#include "calc/CalcLineText.h"

#include "text/JText.h"

namespace nelo {

namespace {

constexpr unsigned kFullBlank = 0x8140;
constexpr unsigned kFullComma = 0x8143;

inline bool IsAsciiBlank(unsigned char b) { return b == ' ' || (b >= '\t' && b <= '\r'); }

// What the first walk over a line finds: whether anything is to be left out at all.
struct LineShape {
    bool plain = true;  // only digits, blanks, the arithmetic symbols and amounts' units
    bool blank = false;
    bool group = false;  // a "，" that groups digits
};

// One double-byte character c (prev the one before it) noted in shape; next is the byte
// after it.
void NoteChar(LineShape& shape, const std::string& line, unsigned c, unsigned prev, std::size_t next) {
    if (c == kFullBlank)
        shape.blank = true;
    else if (c == kFullComma && GroupsDigits(prev, line, next))
        shape.group = true;
    else if (IsAmountUnitCode(c) && (IsFullDigitCode(prev) || IsAmountUnitCode(prev))) {
        // an amount's unit: 「１０万　＋　２万」 is spaced arithmetic too
    } else if (!IsFullDigitCode(c) && !IsArithmeticSymbolCode(c))
        shape.plain = false;
}

LineShape ReadShape(const std::string& line) {
    LineShape shape;
    unsigned prev = 0;
    for (std::size_t i = 0; i < line.size() && line[i] != '\0';) {
        if (!DbcsAt(line, i)) {
            const auto b = static_cast<unsigned char>(line[i]);
            if (IsAsciiBlank(b))
                shape.blank = true;
            else
                shape.plain = false;
            prev = b;
            ++i;
            continue;
        }
        const unsigned c = DbcsCode(line.data() + i);
        i += 2;
        NoteChar(shape, line, c, prev, i);
        prev = c;
    }
    return shape;
}

// The line without its grouping commas, and without its blanks when dropBlanks.
void CopyLeavingOut(const std::string& line, bool dropBlanks, std::string& buffer) {
    buffer.clear();
    buffer.reserve(line.size());
    unsigned prev = 0;
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
}

// The characters of ascii before from and before to: every character of the text the
// calculator read has one character there.
void CountChars(const std::string& ascii, std::size_t from, std::size_t to, std::size_t& charFrom,
                std::size_t& charTo) {
    charFrom = 0;
    charTo = 0;
    for (std::size_t i = 0; i < to && i < ascii.size() && ascii[i] != '\0'; i += DbcsAt(ascii, i) ? 2u : 1u) {
        if (i < from) ++charFrom;
        ++charTo;
    }
}

// read is line with some characters left out: finds each of its characters in line, and
// the bytes [begin, end) of line that characters [charFrom, charTo) of read stand at.
void FindReadChars(const std::string& line, const std::string& read, std::size_t charFrom, std::size_t charTo,
                   std::size_t& begin, std::size_t& end) {
    begin = line.size();
    end = line.size();
    std::size_t li = 0, ri = 0;
    for (std::size_t k = 0; k < charTo && ri < read.size() && read[ri] != '\0'; ++k) {
        const std::size_t n = DbcsAt(read, ri) ? 2 : 1;
        while (li < line.size() && line.compare(li, n, read, ri, n) != 0) li += DbcsAt(line, li) ? 2u : 1u;
        if (li >= line.size()) break;  // read was made from another line
        if (k == charFrom) begin = li;
        li += n;
        ri += n;
        end = li;
    }
}

bool BlankAt(const std::string& line, std::size_t i) {
    return line[i] == ' ' || (DbcsAt(line, i) && DbcsCode(line.data() + i) == kFullBlank);
}

}  // namespace

const std::string& CalcLineText(const std::string& line, std::string& buffer) {
    if (!MayHoldBlankOrComma(line)) return line;
    const LineShape shape = ReadShape(line);
    const bool dropBlanks = shape.plain && shape.blank;
    if (!shape.group && !dropBlanks) return line;
    CopyLeavingOut(line, dropBlanks, buffer);
    return buffer;
}

std::string TypedPart(const std::string& line, const std::string& read, const std::string& ascii, std::size_t from,
                      std::size_t to) {
    std::size_t charFrom = 0, charTo = 0;
    CountChars(ascii, from, to, charFrom, charTo);
    std::size_t begin = 0, end = 0;
    FindReadChars(line, read, charFrom, charTo, begin, end);
    if (begin >= end) return {};
    // Without blanks around it, half- or full-width.
    while (begin < end && BlankAt(line, begin)) begin += line[begin] == ' ' ? 1u : 2u;
    std::size_t lastEnd = begin;  // the end of the last character that is no blank
    for (std::size_t i = begin; i < end;) {
        const std::size_t n = DbcsAt(line, i) ? 2 : 1;
        if (!BlankAt(line, i)) lastEnd = i + n;
        i += n;
    }
    return line.substr(begin, lastEnd - begin);
}

}  // namespace nelo
