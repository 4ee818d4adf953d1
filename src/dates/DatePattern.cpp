#include "dates/DatePattern.h"

#include "text/JText.h"

namespace nelo {

namespace {

// The units that mark the number just before them: 年 月 日 時 分 秒.
constexpr struct {
    unsigned code;
    char mark;
} kUnits[] = {
    {0x944E, 'Y'},  // 年
    {0x8C8E, 'M'},  // 月
    {0x93FA, 'D'},  // 日
    {0x8E9E, 'H'},  // 時
    {0x95AA, 'm'},  // 分
    {0x9562, 's'},  // 秒
};

void PutTwo(char*& o, char a, char b) {
    o[0] = a;
    o[1] = b;
    o += 2;
}

void PutCode(char*& o, unsigned code) { PutTwo(o, static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)); }

bool IsAsciiBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Writes the single byte at i of in (or the half-width kana starting there) and returns
// the position after what it used: half-width kana become their full-width code, a run
// of ASCII blanks one blank, any other byte itself.
std::size_t WriteSingleByte(std::string_view in, std::size_t i, char*& o) {
    const unsigned char b = static_cast<unsigned char>(in[i]);
    if (b >= 0xA1 && b <= 0xDF) {
        const char pair[2] = {in[i], i + 1 < in.size() ? in[i + 1] : '\0'};
        unsigned code = 0;
        // The kana takes one byte, or two with a sound mark.
        i += static_cast<std::size_t>(HalfKanaCode(pair, code));
        PutCode(o, code);
        return i;
    }
    if (IsAsciiBlank(in[i])) {
        *o++ = ' ';
        while (i < in.size() && IsAsciiBlank(in[i])) ++i;
        return i;
    }
    *o++ = in[i];
    return i + 1;
}

// Writes the unit mark ("Y/" for 年 and so on) when code is a unit; false otherwise.
bool WriteUnitMark(unsigned code, char*& o) {
    for (const auto& u : kUnits)
        if (u.code == code) {
            PutTwo(o, u.mark, '/');
            return true;
        }
    return false;
}

// Writes a double-byte character that is neither a digit nor a unit after one: the date
// separators of class 2 as "d/", the colon as "t/", the other symbols of classes 2 and 4
// as "//", everything else (class 3 letters too) as its two bytes.
void WriteOtherDoubleByte(unsigned code, char*& o) {
    switch (CharClass(code)) {
    case 2:
        if (code == 0x815E || code == 0x8144 || code == 0x815B || code == 0x815C || code == 0x817C || code == 0x8145) {
            PutTwo(o, 'd', '/');
        } else if (code == 0x8146) {
            PutTwo(o, 't', '/');
        } else {
            PutTwo(o, '/', '/');
        }
        break;
    case 4: PutTwo(o, '/', '/'); break;
    default: PutCode(o, code); break;
    }
}

// The body of ToDatePattern, writing at o (room for two bytes per input byte); returns
// the end of what it wrote.
char* WriteDatePattern(std::string_view in, char* o) {
    bool digit = false;  // the character before was a full-width digit
    std::size_t i = 0;
    while (i < in.size() && in[i] != '\0') {
        if (!DbcsAt(in, i)) {
            i = WriteSingleByte(in, i, o);
            continue;
        }
        const unsigned code = DbcsCode(in.data() + i);
        i += 2;
        if (digit && WriteUnitMark(code, o)) continue;
        digit = IsFullDigitCode(code);
        if (digit)
            *o++ = static_cast<char>('0' + (code - 0x824F));
        else
            WriteOtherDoubleByte(code, o);
    }
    return o;
}

}  // namespace

std::string ToDatePattern(std::string_view in) {
    // A phrase's pattern is built on the stack and copied once, so that a short one
    // stays within the string's own buffer.
    char local[256];
    if (in.size() * 2 <= sizeof local) return std::string(local, WriteDatePattern(in, local));
    std::string out(in.size() * 2, '\0');
    out.resize(static_cast<std::size_t>(WriteDatePattern(in, out.data()) - out.data()));
    return out;
}

}  // namespace nelo
