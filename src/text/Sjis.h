// Code page 932 string literals written in UTF-8.
//
// The core keeps all text as code page 932 bytes, but the sources are UTF-8. A literal
// with the suffix _sj is converted at compile time: "予定"_sj is the four bytes
// 0x97 0x5C 0x92 0xE8 followed by a NUL. A character that code page 932 cannot hold
// makes the literal fail to compile.
#pragma once

#include <cstddef>
#include <cstdint>

namespace nelo::sjis_detail {

struct CodePair {
    std::uint32_t unicode;
    std::uint16_t code;
};

inline constexpr CodePair kTable[] = {
#include "text/Cp932Table.inc"
};

constexpr std::uint16_t Lookup(std::uint32_t cp) {
    std::size_t lo = 0, hi = sizeof(kTable) / sizeof(kTable[0]);
    while (lo < hi) {
        std::size_t mid = (lo + hi) / 2;
        if (kTable[mid].unicode < cp)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == sizeof(kTable) / sizeof(kTable[0]) || kTable[lo].unicode != cp)
        throw "character without a code page 932 form";
    return kTable[lo].code;
}

template <std::size_t N>
struct Utf8Literal {
    char s[N];
    consteval Utf8Literal(const char (&a)[N]) {
        for (std::size_t i = 0; i < N; ++i) s[i] = a[i];
    }
};

template <std::size_t N>
struct Sjis {
    char s[N] = {};
};

// Code page 932 never needs more bytes than UTF-8 for the same text.
template <std::size_t N>
constexpr Sjis<N> Convert(const Utf8Literal<N>& in) {
    Sjis<N> out{};
    std::size_t o = 0;
    for (std::size_t i = 0; i + 1 < N;) {
        auto b = static_cast<unsigned char>(in.s[i]);
        std::uint32_t cp;
        if (b < 0x80) {
            cp = b;
            i += 1;
        } else if ((b & 0xE0) == 0xC0) {
            cp = ((b & 0x1Fu) << 6) | (static_cast<unsigned char>(in.s[i + 1]) & 0x3Fu);
            i += 2;
        } else if ((b & 0xF0) == 0xE0) {
            cp = ((b & 0x0Fu) << 12) | ((static_cast<unsigned char>(in.s[i + 1]) & 0x3Fu) << 6) |
                 (static_cast<unsigned char>(in.s[i + 2]) & 0x3Fu);
            i += 3;
        } else {
            throw "character without a code page 932 form";
        }
        if (cp < 0x80) {
            out.s[o++] = static_cast<char>(cp);
            continue;
        }
        std::uint16_t code = Lookup(cp);
        if (code > 0xFF) out.s[o++] = static_cast<char>(code >> 8);
        out.s[o++] = static_cast<char>(code & 0xFF);
    }
    out.s[o] = '\0';
    return out;
}

template <Utf8Literal S>
struct Holder {
    static constexpr Sjis<sizeof(S.s)> kValue = Convert(S);
};

}  // namespace nelo::sjis_detail

namespace nelo {

/// "…"_sj: the literal as a NUL-terminated code page 932 string.
template <sjis_detail::Utf8Literal S>
consteval const char* operator""_sj() {
    return sjis_detail::Holder<S>::kValue.s;
}

}  // namespace nelo
