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

/// Appends v as "%02d" would (a leading zero below 10; negative numbers as "%d").
inline void AppendDecimal2(std::string& out, int v) {
    if (v >= 0 && v < 10) out.push_back('0');
    AppendDecimal(out, v);
}

}  // namespace nelo
