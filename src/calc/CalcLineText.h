// What the calculator reads of a line: digits stay together across grouping commas, and
// a line of nothing but numbers and operators may be spaced as the user likes.
#pragma once

#include <string>
#include <string_view>

namespace nelo {

/// The text both calculator entries read from a line in its full-width form: every "，"
/// that groups digits (a digit before it, exactly three after) is left out, and so is
/// every blank of a line made only of full-width digits, blanks, the arithmetic symbols
/// and grouping commas. Returns line itself when nothing is left out, else buffer with
/// the text written to it. Like the rest of the calculator, it stops at a NUL.
const std::string& CalcLineText(const std::string& line, std::string& buffer);

/// The typed text for bytes [from, to) of the line the calculator reads, without blanks
/// around it: line is the full-width form as typed, read is CalcLineText(line) and ascii
/// its AppendAsciiForm, which the scanner reads. Grouping commas and blanks that the
/// calculator left out come back where they stood.
std::string TypedPart(const std::string& line, const std::string& read, const std::string& ascii, std::size_t from,
                      std::size_t to);

/// False when the text holds no blank and no "，" in any form: no white-space byte and
/// none of the trail bytes of "　" and "，". A byte that only looks like one (the trail
/// byte of another character, a "C") gives true, so that the test can go through the
/// text without looking at characters; CalcLineText then decides.
inline bool MayHoldBlankOrComma(std::string_view text) {
    unsigned hits = 0;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        hits |= static_cast<unsigned>(b <= ' ') | static_cast<unsigned>(b == 0x40) | static_cast<unsigned>(b == 0x43);
    }
    return hits != 0;
}

}  // namespace nelo
