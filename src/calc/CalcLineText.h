// What the calculator reads of a line: digits stay together across grouping commas, and
// a line of nothing but numbers and operators may be spaced as the user likes.
#pragma once

#include <string>

/// The text both calculator entries read from a line in its full-width form: every "，"
/// that groups digits (a digit before it, exactly three after) is left out, and so is
/// every blank of a line made only of full-width digits, blanks, the arithmetic symbols
/// and grouping commas. Returns line itself when nothing is left out, else buffer with
/// the text written to it. Like the rest of the calculator, it stops at a NUL.
const std::string& CalcLineText(const std::string& line, std::string& buffer);
