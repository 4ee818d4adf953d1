#include "calc/FormatNumber.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace nelo {

namespace {

// "%lf" through printf, for what to_chars does not write the same way (nan, inf).
void PrintLf(double x, std::string& text) {
    // "%lf" of the largest double is 317 characters; the fallback keeps any platform safe.
    char buf[400];
    int n = std::snprintf(buf, sizeof buf, "%lf", x);
    if (n < 0) {
        text.clear();
        return;
    }
    if (static_cast<std::size_t>(n) < sizeof buf) {
        text.assign(buf, static_cast<std::size_t>(n));
    } else {
        text.assign(static_cast<std::size_t>(n) + 1, '\0');
        std::snprintf(text.data(), text.size(), "%lf", x);
        text.resize(static_cast<std::size_t>(n));
    }
}

__extension__ typedef unsigned __int128 Wide;

// Below this magnitude the millionths of a number fit in 64 bits.
constexpr double kQuickLimit = 1e12;

// The trimmed "%lf" text of a number below kQuickLimit, from its exact binary value: the
// millionths rounded to nearest, a tie to even, as printf rounds them.
void QuickLf(double x, std::string& text) {
    // |x| = m * 2^-shift exactly; shift is at least 13 since |x| < 2^40.
    const auto bits = std::bit_cast<std::uint64_t>(x);
    const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fieldBits = bits & ((std::uint64_t{1} << 52) - 1);
    const std::uint64_t m = biased == 0 ? fieldBits : fieldBits | std::uint64_t{1} << 52;
    const int shift = biased == 0 ? 1074 : 1075 - biased;
    std::uint64_t millionths = 0;
    if (m != 0 && shift < 120) {  // from 2^-67 down every number rounds to 0
        const Wide scaled = static_cast<Wide>(m) * 1000000u;
        const Wide one = static_cast<Wide>(1) << shift;
        const Wide rest = scaled & (one - 1);
        const Wide half = one >> 1;
        millionths = static_cast<std::uint64_t>(scaled >> shift);
        if (rest > half || (rest == half && (millionths & 1u) != 0)) ++millionths;
    }
    char buf[32];
    char* p = buf;
    if (std::signbit(x)) *p++ = '-';
    p = std::to_chars(p, buf + sizeof buf, millionths / 1000000u).ptr;
    auto fraction = static_cast<unsigned>(millionths % 1000000u);
    if (fraction != 0) {
        int places = 6;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --places;
        }
        *p++ = '.';
        for (int k = places - 1; k >= 0; --k) {
            p[k] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        p += places;
    }
    text.assign(buf, p);
}

}  // namespace

void FormatNumber(double x, std::string& text) {
    if (std::fabs(x) < kQuickLimit) {  // false for nan
        QuickLf(x, text);
        return;
    }
    // A finite number gets exactly the digits of "%lf" (six decimals, correctly rounded)
    // from to_chars, which skips printf's multi-precision arithmetic.
    char buf[400];
    std::to_chars_result r{};
    if (std::isfinite(x) &&
        (r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, 6)).ec == std::errc())
        text.assign(buf, r.ptr);
    else
        PrintLf(x, text);
    if (text.find('.') == std::string::npos) return;
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == '0') --end;
    if (end > 0 && text[end - 1] == '.') --end;
    text.resize(end);
}

}  // namespace nelo
