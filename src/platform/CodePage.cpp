#include "platform/CodePage.h"

#include "text/Sjis.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace nelo {

// Both directions are table lookups. The tables are exactly what the C library's
// "CP932" converter does (tools/gen_cp932_table.cpp and tools/gen_cp932_decode.cpp
// generate them from iconv, and the unit tests compare every character and every
// two-byte sequence with iconv): converting at the edges costs no more than a copy.

namespace {

#include "platform/Cp932Decode.inc"

constexpr std::uint32_t kLead = 0x10000;

// The UTF-8 form of a character, packed: bytes 0-2 hold the form (first byte lowest),
// byte 3 its length; 0 for a character beyond U+FFFF (none decodes to one).
constexpr std::uint32_t PackUtf8(std::uint32_t cp) {
    if (cp > 0xFFFF) return 0;
    if (cp < 0x80) return cp | 1u << 24;
    if (cp < 0x800) return (0xC0 | cp >> 6) | (0x80 | (cp & 0x3F)) << 8 | 2u << 24;
    return (0xE0 | cp >> 12) | (0x80 | ((cp >> 6) & 0x3F)) << 8 | (0x80 | (cp & 0x3F)) << 16 | 3u << 24;
}

// The forms of double-byte characters are found by the lead byte's row: 0 for a byte
// that leads none, whose row holds no form, so one lookup both tests and converts.
struct Utf8Forms {
    std::uint32_t single[256];
    std::uint8_t row[256];
    std::uint32_t dbcs[NELO_CP932_LEAD_COUNT + 1][256];
};

constexpr Utf8Forms MakeUtf8Forms() {
    Utf8Forms f{};
    for (unsigned b = 0; b < 256; ++b) {
        f.single[b] = PackUtf8(kSingle[b]);
        f.row[b] = kSingle[b] == kLead ? static_cast<std::uint8_t>(kLeadRow[b] + 1) : 0;
    }
    for (unsigned r = 0; r < NELO_CP932_LEAD_COUNT; ++r)
        for (unsigned t = 0; t < 256; ++t) f.dbcs[r + 1][t] = kDouble[r][t] ? PackUtf8(kDouble[r][t]) : 0;
    return f;
}

constexpr Utf8Forms kUtf8 = MakeUtf8Forms();
constexpr std::uint32_t kReplacementUtf8 = PackUtf8(0xFFFD);

// Unicode (U+0000..U+FFFF) to the code page 932 code: the byte, lead * 256 + trail, or
// 0 for a character without a form. Built at compile time from the literals' table.
constexpr std::array<std::uint16_t, 0x10000> MakeEncodeTable() {
    std::array<std::uint16_t, 0x10000> table{};
    for (unsigned cp = 1; cp < 0x80; ++cp) table[cp] = static_cast<std::uint16_t>(cp);
    for (const auto& pair : nelo::sjis_detail::kTable)
        if (pair.unicode < 0x10000) table[pair.unicode] = pair.code;
    return table;
}

constexpr std::array<std::uint16_t, 0x10000> kEncode = MakeEncodeTable();

// Decodes the UTF-8 sequence at p: its length if it is well-formed (the character in
// cp), else 0.
inline std::size_t Utf8Decode(const unsigned char* p, std::size_t left, std::uint32_t& cp) {
    unsigned char b = p[0];
    std::size_t n;
    if (b < 0x80) {
        cp = b;
        return 1;
    }
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
        cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        cp = b & 0x07;
    } else {
        return 0;
    }
    if (left < n) return 0;
    for (std::size_t i = 1; i < n; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

// Length of the leading run of ASCII bytes, which are the same in both encodings.
inline std::size_t AsciiRun(const unsigned char* p, std::size_t n) {
    std::size_t i = 0;
    // Eight bytes at a time while none has its high bit set.
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    for (std::uint64_t word = 0; i + 8 <= n; i += 8) {
        std::memcpy(&word, p + i, 8);
        if ((word & kHighBits) != 0) break;
    }
    while (i < n && p[i] < 0x80) ++i;
    return i;
}

// The common characters of a line, ASCII and the three-byte forms (kana, kanji,
// full-width letters), written at o as AppendUtf8AsCp932 writes them; returns the bytes
// read, 0 when the character at p[i] takes the general way.
inline std::size_t QuickCp932Of(const unsigned char* p, std::size_t i, std::size_t size, char*& o) {
    const unsigned char b = p[i];
    if (b < 0x80) {
        *o++ = static_cast<char>(b);
        return 1;
    }
    if ((b & 0xF0) != 0xE0 || i + 2 >= size || (p[i + 1] & 0xC0) != 0x80 || (p[i + 2] & 0xC0) != 0x80) return 0;
    const std::uint32_t cp = (b & 0x0Fu) << 12 | (p[i + 1] & 0x3Fu) << 6 | (p[i + 2] & 0x3Fu);
    if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    const std::uint16_t code = kEncode[cp];
    if (code == 0) return 0;
    if (code >= 0x100) *o++ = static_cast<char>(code >> 8);
    *o++ = static_cast<char>(code);
    return 3;
}

// The common characters from p[i] on, written at o as AppendUtf8AsCp932 writes them, in
// tight loops: runs of three-byte characters that take two bytes (kana, kanji, full-width
// forms: most of a Japanese line) and the runs of ASCII between them. An overlong form
// stays out, and a surrogate or a character without a form has no code. Returns where
// it stopped: the end, or a character that takes the general way.
inline std::size_t CopyCommonRun(const unsigned char* p, std::size_t i, std::size_t size, char*& o) {
    for (;;) {
        while (i + 2 < size && (p[i] & 0xF0) == 0xE0 && (p[i + 1] & 0xC0) == 0x80 && (p[i + 2] & 0xC0) == 0x80) {
            const std::uint32_t cp = (p[i] & 0x0Fu) << 12 | (p[i + 1] & 0x3Fu) << 6 | (p[i + 2] & 0x3Fu);
            const std::uint16_t code = kEncode[cp];
            if (cp < 0x800 || code < 0x100) break;
            o[0] = static_cast<char>(code >> 8);
            o[1] = static_cast<char>(code & 0xFF);
            o += 2;
            i += 3;
        }
        const std::size_t asciiFrom = i;
        while (i < size && p[i] < 0x80) *o++ = static_cast<char>(p[i++]);
        if (i >= size || i == asciiFrom) return i;
    }
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    auto p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t left = bytes.size();
    std::uint32_t cp;
    while (left > 0) {
        std::size_t n = Utf8Decode(p, left, cp);
        if (n == 0) return false;
        p += n;
        left -= n;
    }
    return true;
}

int AppendUtf8AsCp932(std::string_view utf8, std::string& out) {
    auto p = reinterpret_cast<const unsigned char*>(utf8.data());
    std::size_t size = utf8.size();
    std::size_t i = AsciiRun(p, size);
    std::size_t base = out.size();
    if (i == size) {
        out.append(utf8);
        return 0;
    }
    // Code page 932 never takes more bytes than UTF-8, except "？" (two bytes) for a
    // stray byte (one).
    out.resize(base + size * 2);
    char* const start = out.data() + base;
    std::memcpy(start, p, i);
    char* o = start + i;
    int replacedCount = 0;
    while (i < size) {
        i = CopyCommonRun(p, i, size, o);
        if (i >= size) break;
        const std::size_t quick = QuickCp932Of(p, i, size, o);
        if (quick != 0) {
            i += quick;
            continue;
        }
        std::uint32_t cp;
        std::size_t n = Utf8Decode(p + i, size - i, cp);
        std::uint16_t code = n != 0 && cp < 0x10000 ? kEncode[cp] : 0;
        if (n != 0 && cp >= 0xE0000 && cp <= 0xE007F) {
            // The converter drops Unicode's language tag characters without a word.
        } else if (n != 0 && (code != 0 || cp == 0)) {
            if (code >= 0x100) *o++ = static_cast<char>(code >> 8);
            *o++ = static_cast<char>(code);
        } else {
            *o++ = '\x81';  // ？
            *o++ = '\x48';
            ++replacedCount;
        }
        i += n == 0 ? 1 : n;
    }
    out.resize(base + static_cast<std::size_t>(o - start));
    return replacedCount;
}

namespace {

// Stores the packed UTF-8 form at o: four bytes (the caller leaves one byte of room past
// the last form), of which the form's length count; returns the byte after the form.
inline char* PutUtf8Form(char* o, std::uint32_t form) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(o, &form, 4);
    } else {
        o[0] = static_cast<char>(form);
        o[1] = static_cast<char>(form >> 8);
        o[2] = static_cast<char>(form >> 16);
    }
    return o + (form >> 24);
}

// The UTF-8 form of the character at p[i] (size bytes in all) and the bytes it takes;
// an invalid sequence gives U+FFFD and counts in replacedCount.
inline std::uint32_t Cp932FormAt(const unsigned char* p, std::size_t i, std::size_t size, std::size_t& n,
                                 int& replacedCount) {
    const unsigned char b = p[i];
    if (i + 1 < size) {
        const std::uint32_t form = kUtf8.dbcs[kUtf8.row[b]][p[i + 1]];
        if (form != 0) {
            n = 2;
            return form;
        }
    }
    n = 1;
    const std::uint32_t form = kUtf8.single[b];
    if (form != 0) return form;
    ++replacedCount;
    return kReplacementUtf8;
}

// The shared body of both conversions to UTF-8, writing at o, which has room for three
// bytes a byte and one more (a byte becomes at most three: U+FFFD, or a half-width
// katakana; the last form is stored as four bytes); returns the end. With joinLines,
// "\r\n" becomes "\n" (a trail byte is never CR or LF, so the pair is found byte by
// byte).
template <bool joinLines>
char* WriteUtf8Of(std::string_view cp932, char* o, int& replacedCount) {
    auto p = reinterpret_cast<const unsigned char*>(cp932.data());
    const std::size_t size = cp932.size();
    std::size_t i = 0;
    while (i < size) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            const bool dropped = joinLines && b == '\r' && i + 1 < size && p[i + 1] == '\n';
            *o = static_cast<char>(b);
            o += dropped ? 0 : 1;
            ++i;
            continue;
        }
        // A run of double-byte characters (most of a Japanese line) in a tight loop, two
        // at a time while four bytes are left.
        while (i + 3 < size) {
            const std::uint32_t first = kUtf8.dbcs[kUtf8.row[p[i]]][p[i + 1]];
            if (first == 0) break;
            const std::uint32_t second = kUtf8.dbcs[kUtf8.row[p[i + 2]]][p[i + 3]];
            o = PutUtf8Form(o, first);
            i += 2;
            if (second == 0) break;
            o = PutUtf8Form(o, second);
            i += 2;
        }
        while (i + 1 < size) {
            const std::uint32_t form = kUtf8.dbcs[kUtf8.row[p[i]]][p[i + 1]];
            if (form == 0) break;
            o = PutUtf8Form(o, form);
            i += 2;
        }
        if (i >= size || p[i] < 0x80) continue;
        std::size_t n = 1;
        o = PutUtf8Form(o, Cp932FormAt(p, i, size, n, replacedCount));
        i += n;
    }
    return o;
}

template <bool joinLines>
int AppendUtf8Of(std::string_view cp932, std::string& out) {
    const std::size_t base = out.size();
    if (!joinLines && AsciiRun(reinterpret_cast<const unsigned char*>(cp932.data()), cp932.size()) == cp932.size()) {
        out.append(cp932);
        return 0;
    }
    out.resize(base + Cp932LinesUtf8Room(cp932.size()));
    char* const start = out.data() + base;
    int replacedCount = 0;
    char* const end = WriteUtf8Of<joinLines>(cp932, start, replacedCount);
    out.resize(base + static_cast<std::size_t>(end - start));
    return replacedCount;
}

}  // namespace

int AppendCp932AsUtf8(std::string_view cp932, std::string& out) { return AppendUtf8Of<false>(cp932, out); }

int AppendCp932LinesAsUtf8(std::string_view cp932, std::string& out) { return AppendUtf8Of<true>(cp932, out); }

char* WriteCp932LinesAsUtf8(std::string_view cp932, char* out) {
    int replacedCount = 0;
    return WriteUtf8Of<true>(cp932, out, replacedCount);
}

CodePageResult Utf8ToCp932(std::string_view utf8) {
    CodePageResult res;
    res.replacedCount = AppendUtf8AsCp932(utf8, res.text);
    return res;
}

CodePageResult Cp932ToUtf8(std::string_view cp932) {
    CodePageResult res;
    res.replacedCount = AppendCp932AsUtf8(cp932, res.text);
    return res;
}

std::size_t DecodeUtf8At(std::string_view bytes, std::size_t i, char32_t& cp) {
    std::uint32_t value = 0;
    const std::size_t n = Utf8Decode(reinterpret_cast<const unsigned char*>(bytes.data()) + i, bytes.size() - i, value);
    cp = value;
    return n;
}

}  // namespace nelo
