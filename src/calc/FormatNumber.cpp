#include "calc/FormatNumber.h"

#include <charconv>
#include <cmath>
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

}  // namespace

void FormatNumber(double x, std::string& text) {
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
