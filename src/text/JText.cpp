#include "text/JText.h"

#include "text/Sjis.h"

#include <cstring>

namespace nelo {

namespace {

// JIS X 0201 half-width kana and punctuation (0xA0-0xDF) to their full-width codes.
constexpr unsigned short kHalfKana[64] = {
    0x8140, 0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342, 0x8344, 0x8346, 0x8348, 0x8383,
    0x8385, 0x8387, 0x8362, 0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A, 0x834C, 0x834E, 0x8350,
    0x8352, 0x8354, 0x8356, 0x8358, 0x835A, 0x835C, 0x835E, 0x8360, 0x8363, 0x8365, 0x8367, 0x8369, 0x836A,
    0x836B, 0x836C, 0x836D, 0x836E, 0x8371, 0x8374, 0x8377, 0x837A, 0x837D, 0x837E, 0x8380, 0x8381, 0x8382,
    0x8384, 0x8386, 0x8388, 0x8389, 0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B,
};

constexpr unsigned kFullBlank = 0x8140;

inline unsigned char Byte(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

inline unsigned CodeAt(std::string_view s, std::size_t i) {
    return (static_cast<unsigned>(Byte(s, i)) << 8U) | Byte(s, i + 1);
}

// Walks the text two bytes at a time, as the digit tests do: pairs that are no
// double-byte character are skipped whole; a NUL in either byte ends the walk.
// Returns false as soon as pred fails for a double-byte character.
template <class Pred>
bool AllDbcsByPair(std::string_view text, Pred pred) {
    for (std::size_t i = 0; i < text.size() && text[i] != '\0'; i += 2) {
        if (i + 1 >= text.size() || text[i + 1] == '\0') break;
        unsigned code = CodeAt(text, i);
        if (!IsDbcsCode(code)) continue;
        if (!pred(code)) return false;
    }
    return true;
}

unsigned AsciiOfClass3(unsigned code) {
    if (code >= 0x824F && code <= 0x8258) return '0' + (code - 0x824F);
    if (code >= 0x8260 && code <= 0x8279) return 'A' + (code - 0x8260);
    if (code >= 0x8281 && code <= 0x829A) return 'a' + (code - 0x8281);
    return 0;
}

}  // namespace

bool IsDbcsCode(unsigned code) {
    bool inRange =
        (code > 0x80FF && code < 0x8500) || (code > 0x86FF && code < 0xA000) || (code > 0xDFFF && code < 0xFD00);
    return inRange && (code & 0xFF) >= 0x40;
}

int CharClass(unsigned code) {
    struct Row {
        unsigned lo, hi;
        int cls;
    };
    static constexpr Row kRows[] = {
        {0x8141, 0x81FD, 2}, {0x824F, 0x829A, 3}, {0x829F, 0x82F1, 4}, {0x8340, 0x8396, 5},  {0x839F, 0x83D6, 6},
        {0x8440, 0x8491, 7}, {0x849F, 0x879C, 8}, {0x889F, 0x9872, 9}, {0x989F, 0xEAA4, 10}, {0xEB40, 0xFCFC, 11},
    };
    for (const Row& r : kRows)
        if (code >= r.lo && code <= r.hi) return r.cls;
    return 0;
}

int HalfKanaCode(const char* in, unsigned& code) {
    auto b = static_cast<unsigned char>(in[0]);
    code = kHalfKana[b - 0xA0];
    auto next = static_cast<unsigned char>(in[1]);
    if (next == 0xDE && ((b >= 0xB6 && b <= 0xC4) || (b >= 0xCA && b <= 0xCE))) {
        code += 1;  // voiced kana
        return 2;
    }
    if (next == 0xDE && b == 0xB3) {
        code = 0x8394;  // ヴ
        return 2;
    }
    if (next == 0xDF && b >= 0xCA && b <= 0xCE) {
        code += 2;  // semi-voiced kana
        return 2;
    }
    return 1;
}

namespace {

inline void PutCode(char*& o, unsigned code) {
    o[0] = static_cast<char>(code >> 8);
    o[1] = static_cast<char>(code & 0xFF);
    o += 2;
}

// Copies the run of double-byte characters from in[i] as it is (most of a line once it
// has been converted); returns where the run ends.
template <bool halfBlank>
std::size_t CopyDbcsRun(std::string_view in, std::size_t i, char*& o) {
    while (i + 1 < in.size() && IsLeadByte(Byte(in, i)) && in[i + 1] != '\0' &&
           !(halfBlank && CodeAt(in, i) == kFullBlank)) {
        o[0] = in[i];
        o[1] = in[i + 1];
        o += 2;
        i += 2;
    }
    return i;
}

// The half-width kana or punctuation at in[i] (0xA0-0xDF) written full width, with a
// sound mark after it merged; returns the bytes it took.
template <bool halfBlank>
std::size_t PutHalfKana(std::string_view in, std::size_t i, char*& o) {
    if (halfBlank && Byte(in, i) == 0xA0) {
        *o++ = ' ';
        return 1;
    }
    // The sound-mark test may look at the byte after the last one: give it a NUL.
    const char pair[2] = {in[i], i + 1 < in.size() ? in[i + 1] : '\0'};
    unsigned code = 0;
    const int used = HalfKanaCode(pair, code);
    PutCode(o, code);
    return static_cast<std::size_t>(used);
}

// The character at in[i] (no NUL) written full width at o; returns the bytes it took.
template <bool halfBlank>
std::size_t PutFullChar(std::string_view in, std::size_t i, char*& o) {
    const unsigned char b = Byte(in, i);
    if (DbcsAt(in, i)) {
        if (halfBlank && CodeAt(in, i) == kFullBlank)
            *o++ = ' ';
        else
            PutCode(o, CodeAt(in, i));
        return 2;
    }
    if (b >= 0xA0 && b <= 0xDF) return PutHalfKana<halfBlank>(in, i, o);
    if (b >= 0x20 && b <= 0x7E) {
        if (halfBlank && b == ' ')
            *o++ = ' ';
        else
            PutCode(o, kAsciiFull[b - 0x20]);
        return 1;
    }
    *o++ = static_cast<char>(b);
    return 1;
}

// The shared body of ToFullWidth and ToFullWidthHalfBlank, made once for each.
template <bool halfBlank>
void AppendFull(std::string& out, std::string_view in) {
    // Every byte gives at most two: write into room made once, then cut to what was used.
    const std::size_t base = out.size();
    out.resize(base + in.size() * 2);
    char* const start = out.data() + base;
    char* o = start;
    std::size_t i = 0;
    while (i < in.size()) {
        i = CopyDbcsRun<halfBlank>(in, i, o);
        // Then a run of printable ASCII (numbers and dates answered in ASCII digits).
        while (i < in.size() && Byte(in, i) >= 0x20 && Byte(in, i) <= 0x7E && !(halfBlank && in[i] == ' '))
            PutCode(o, kAsciiFull[Byte(in, i++) - 0x20]);
        if (i >= in.size() || in[i] == '\0') break;
        i += PutFullChar<halfBlank>(in, i, o);
    }
    out.resize(base + static_cast<std::size_t>(o - start));
}

}  // namespace

void AppendFullWidth(std::string& out, std::string_view in) { AppendFull<false>(out, in); }

void AppendFullWidthHalfBlank(std::string& out, std::string_view in) { AppendFull<true>(out, in); }

std::string ToFullWidth(std::string_view in) {
    std::string out;
    AppendFull<false>(out, in);
    return out;
}

std::string ToFullWidthHalfBlank(std::string_view in) {
    std::string out;
    AppendFull<true>(out, in);
    return out;
}

std::string ToAsciiForm(std::string_view in) {
    std::string out;
    AppendAsciiForm(out, in);
    return out;
}

namespace {

// The ASCII form of a double-byte code, 0 when it keeps its two bytes: class 3 digits and
// letters, and the class 2 symbols in the order they are tested.
char AsciiFormOf(unsigned code) {
    static constexpr struct {
        unsigned code;
        char ascii;
    } kSymbols[] = {
        {0x815E, '/'}, {0x817B, '+'}, {0x817C, '-'}, {0x817E, '*'}, {0x8196, '*'}, {0x8180, '/'},
        {0x8146, '/'}, {0x8144, '.'}, {0x8169, '('}, {0x816A, ')'}, {0x8195, '&'}, {0x814F, '^'},
        {0x8162, '|'}, {0x8183, '<'}, {0x8184, '>'}, {0x8181, '='},
    };
    int cls = CharClass(code);
    if (cls == 3) return static_cast<char>(AsciiOfClass3(code));
    if (cls == 2)
        for (const auto& s : kSymbols)
            if (s.code == code) return s.ascii;
    return 0;
}

}  // namespace

void AppendAsciiForm(std::string& out, std::string_view in) {
    // Only the rows of lead bytes 0x81 and 0x82 have ASCII forms: both are looked up in a
    // table made once from AsciiFormOf.
    static const struct Table {
        char ascii[2][256];
        Table() {
            for (unsigned lead = 0; lead < 2; ++lead)
                for (unsigned trail = 0; trail < 256; ++trail)
                    ascii[lead][trail] = AsciiFormOf((0x81 + lead) << 8 | trail);
        }
    } kTable;
    out.reserve(out.size() + in.size());
    std::size_t i = 0;
    while (i < in.size() && in[i] != '\0') {
        if (!DbcsAt(in, i)) {
            out.push_back(in[i++]);
            continue;
        }
        const unsigned char lead = Byte(in, i);
        const char ascii = lead == 0x81 || lead == 0x82 ? kTable.ascii[lead - 0x81][Byte(in, i + 1)] : 0;
        if (ascii)
            out.push_back(ascii);
        else
            out.append(in.data() + i, 2);
        i += 2;
    }
}

bool IsArithmeticSymbolCode(unsigned code) {
    switch (code) {
    case 0x8144:
    case 0x8146:
    case 0x815E:
    case 0x8169:
    case 0x816A:
    case 0x817B:  // ． ： ／ （ ） ＋
    case 0x817C:
    case 0x817E:
    case 0x8180:
    case 0x8181:
    case 0x8196:  // － × ÷ ＝ ＊
        return true;
    default: return false;
    }
}

bool GroupsDigits(unsigned prevCode, std::string_view text, std::size_t next) {
    if (!IsFullDigitCode(prevCode)) return false;
    for (std::size_t k = 0; k < 3; ++k, next += 2)
        if (next + 1 >= text.size() || !IsFullDigitCode(CodeAt(text, next))) return false;
    return !(next + 1 < text.size() && IsFullDigitCode(CodeAt(text, next)));
}

bool IsDigitText(std::string_view text) {
    return AllDbcsByPair(text, [](unsigned c) { return IsFullDigitCode(c); });
}

bool IsDecimalText(std::string_view text) {
    return AllDbcsByPair(text, [](unsigned c) { return IsFullDigitCode(c) || c == 0x8144; });
}

bool HasFullDigit(std::string_view text) {
    return !AllDbcsByPair(text, [](unsigned c) { return !IsFullDigitCode(c); });
}

std::string::size_type FindDbcs(std::string_view text, const char* ch, std::string::size_type from) {
    std::size_t i = from;
    while (i < text.size() && text[i] != '\0') {
        if (DbcsAt(text, i)) {
            if (text[i] == ch[0] && text[i + 1] == ch[1]) return i;
            i += 2;
        } else {
            ++i;
        }
    }
    return std::string::npos;
}

bool EndsWithDbcs(std::string_view text, const char* ch) {
    if (text.size() < 2) return false;
    return text[text.size() - 2] == ch[0] && text[text.size() - 1] == ch[1];
}

void TrimTrailingFullBlanks(std::string& text) {
    while (EndsWithDbcs(text, "　"_sj)) text.resize(text.size() - 2);
}

}  // namespace nelo
