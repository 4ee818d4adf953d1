// Helpers shared by the date sources (not used outside src/dates).
#pragma once

#include <ctime>
#include <string>

namespace nelo {

/// Position of the word (code page 932) in text, found at character boundaries only;
/// npos when absent.
std::string::size_type FindWord(const std::string& text, const char* word);
/// Replaces count bytes from pos by ASCII blanks (clipped to the text).
void BlankOut(std::string& text, std::string::size_type pos, std::string::size_type count);
/// Today's local date and time from the program's clock.
std::tm Today();
/// Parses the digits at text[from..] as a non-negative number, saturating far above
/// any date; 0 when no digit starts there.
int ReadNumber(const std::string& text, std::string::size_type from = 0);

}  // namespace nelo
