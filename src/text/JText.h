// Japanese text utilities over code page 932 bytes: character classes, the half-width
// to full-width conversions and back, and character-aware search.
#pragma once

#include <string>
#include <string_view>

namespace nelo {

/// Lead byte of a code page 932 double-byte character (0x81-0x9F, 0xE0-0xFC).
inline bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

/// The 16-bit code of the double-byte character at p (p[0] is a lead byte).
inline unsigned DbcsCode(const char* p) {
    return (static_cast<unsigned char>(p[0]) << 8) | static_cast<unsigned char>(p[1]);
}

/// True when a double-byte character starts at i of s (a lead byte with a trail after it).
inline bool DbcsAt(std::string_view s, std::size_t i) {
    return IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() && s[i + 1] != '\0';
}

/// True for a code that counts as a double-byte character (lead bytes 0x85/0x86 do not).
bool IsDbcsCode(unsigned code);

/// The class (2-11) of a double-byte code, or 0 when it lies in no class row.
int CharClass(unsigned code);

/// Full-width digits ０-９ are exactly 0x824F-0x8258.
inline bool IsFullDigitCode(unsigned code) { return code >= 0x824F && code <= 0x8258; }

/// The full-width code of the half-width kana or punctuation at in (0xA0-0xDF, with
/// in[1] readable), merging a following sound mark; returns the bytes used (1 or 2).
int HalfKanaCode(const char* in, unsigned& code);

/// Everything printable becomes double-byte (appends to out).
void AppendFullWidth(std::string& out, std::string_view in);
std::string ToFullWidth(std::string_view in);
/// As ToFullWidth, but both kinds of blank become one ASCII blank.
void AppendFullWidthHalfBlank(std::string& out, std::string_view in);
std::string ToFullWidthHalfBlank(std::string_view in);
/// Full-width digits, letters and the arithmetic symbols become ASCII.
std::string ToAsciiForm(std::string_view in);
/// As ToAsciiForm, appending to out (lets a caller reuse its buffer).
void AppendAsciiForm(std::string& out, std::string_view in);
/// ． ： ／ （ ） ＋ － × ÷ ＝ ＊: the symbols of arithmetic.
bool IsArithmeticSymbolCode(unsigned code);
/// 万 億 兆 千 百 十 円: the units an amount carries right after its digits (「１０万」,
/// 「３億５千万」, 「１，２００円」).
bool IsAmountUnitCode(unsigned code);

/// True when a "，" groups digits: the character before it (prevCode) is a full-width
/// digit, and the text from next on (just after the comma) begins with exactly three.
bool GroupsDigits(unsigned prevCode, std::string_view text, std::size_t next);

bool IsDigitText(std::string_view text);
bool IsDecimalText(std::string_view text);
bool HasFullDigit(std::string_view text);

/// Character-aware search: position of the double-byte character ch (two bytes) at or
/// after from, never starting on a trail byte; npos when absent.
std::string::size_type FindDbcs(std::string_view text, const char* ch, std::string::size_type from = 0);

/// True when the last two bytes of text are the double-byte character ch; always false
/// for a text shorter than two bytes.
bool EndsWithDbcs(std::string_view text, const char* ch);

/// The text with every trailing full-width blank removed.
void TrimTrailingFullBlanks(std::string& text);

}  // namespace nelo
