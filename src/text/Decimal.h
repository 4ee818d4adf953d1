// Decimal numbers appended to a text without going through printf: the date answers and
// result texts are built once per line, and these keep that cheap. Each gives exactly
// what "%d" / "%02d" would.
#pragma once

#include <string>

namespace nelo {

/// Appends v as "%lld" would.
inline void AppendDecimal(std::string& out, long long v) {
    char digits[24];
    int n = 0;
    unsigned long long u = v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    do {
        digits[n++] = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u);
    if (v < 0) out.push_back('-');
    while (n) out.push_back(digits[--n]);
}

/// Appends v as "%lld" would, each character in full width as AppendFullWidth writes it
/// ("－" and the full-width digits): answers that go out in full width skip that pass.
inline void AppendFullDecimal(std::string& out, long long v) {
    char digits[24];
    int n = 0;
    unsigned long long u = v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    do {
        digits[n++] = static_cast<char>(u % 10);
        u /= 10;
    } while (u);
    if (v < 0) out += "\x81\x7C";
    // "０" is 0x82 0x4F; the digits follow it.
    while (n) {
        const char pair[2] = {'\x82', static_cast<char>(0x4F + digits[--n])};
        out.append(pair, 2);
    }
}

/// Appends v as "%02d" would (a leading zero below 10; negative numbers as "%d").
inline void AppendDecimal2(std::string& out, int v) {
    if (v >= 0 && v < 10) out.push_back('0');
    AppendDecimal(out, v);
}

}  // namespace nelo
