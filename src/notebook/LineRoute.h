// Which interpreter a submitted line goes to, and the text it is handed.
#pragma once

#include <string>

namespace nelo {

enum class LineRoute { Command = 0, Arithmetic = 1, TimeArithmetic = 2, MemoRegistration = 3, MemoQuery = 4 };

/// Prepares and classifies one submitted line (code page 932, no line break): the memo
/// shortcut for a raw line with two "、", else the full-width form without trailing
/// full-width blanks or a final "は", routed by the character tests. handedOn receives
/// the text the interpreter gets (and the echo shows); the calculator itself reads a
/// line of numbers and operators without its blanks.
LineRoute ClassifyLine(const std::string& line, std::string& handedOn);
/// As above; for a line of printable ASCII, asciiForm receives the text the calculator
/// reads (AppendAsciiForm of handedOn), found on the same walk; else it is left empty.
LineRoute ClassifyLine(const std::string& line, std::string& handedOn, std::string& asciiForm);

/// True when the last two bytes of text are one of the unit words that send a line to
/// the date commands ("年", "尺", "間", "里", "坪", "反", "町", "合", "升", "斥",
/// "斤", "貫").
bool EndsWithUnitWord(const std::string& text);

}  // namespace nelo
