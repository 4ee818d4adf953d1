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
    return (static_cast<unsigned>(static_cast<unsigned char>(p[0])) << 8U) | static_cast<unsigned char>(p[1]);
}

/// True when a double-byte character starts at i of s (a lead byte with a trail after it).
inline bool DbcsAt(std::string_view s, std::size_t i) {
    return IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() && s[i + 1] != '\0';
}

/// True for a code that counts as a double-byte character (lead bytes 0x85/0x86 do not).
bool IsDbcsCode(unsigned code);

// Printable ASCII (0x20-0x7E) to the full-width code of the single-byte to double-byte
// mapping: the blank becomes the ideographic space, the backslash "￥", the quotes
// "”" "’", the grave accent "‘" and the tilde "￣".
inline constexpr unsigned short kAsciiFull[95] = {
    0x8140, 0x8149, 0x8168, 0x8194, 0x8190, 0x8193, 0x8195, 0x8166,  // space ! " # $ % & '
    0x8169, 0x816A, 0x8196, 0x817B, 0x8143, 0x817C, 0x8144, 0x815E,  // ( ) * + , - . /
    0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256,  // 0-7
    0x8257, 0x8258, 0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148,  // 8 9 : ; < = > ?
    0x8197, 0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266,  // @ A-G
    0x8267, 0x8268, 0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E,  // H-O
    0x826F, 0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276,  // P-W
    0x8277, 0x8278, 0x8279, 0x816D, 0x818F, 0x816E, 0x814F, 0x8151,  // X Y Z [ \ ] ^ _
    0x8165, 0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287,  // ` a-g
    0x8288, 0x8289, 0x828A, 0x828B, 0x828C, 0x828D, 0x828E, 0x828F,  // h-o
    0x8290, 0x8291, 0x8292, 0x8293, 0x8294, 0x8295, 0x8296, 0x8297,  // p-w
    0x8298, 0x8299, 0x829A, 0x816F, 0x8162, 0x8170, 0x8150,          // x y z { | } ~
};

/// The full-width code of a printable ASCII byte (0x20-0x7E), as AppendFullWidth writes it.
inline unsigned FullWidthOfAscii(unsigned char b) { return kAsciiFull[b - 0x20]; }

/// What AppendAsciiForm makes of the full-width form of a printable ASCII byte: the byte
/// of a digit, a letter or an arithmetic symbol ("：" reads as "/"), else 0 (the
/// full-width character stays).
constexpr char AsciiFormOfAscii(unsigned char b) {
    if ((b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) return static_cast<char>(b);
    switch (b) {
    case '/':
    case '+':
    case '-':
    case '*':
    case '.':
    case '(':
    case ')':
    case '&':
    case '^':
    case '|':
    case '<':
    case '>':
    case '=': return static_cast<char>(b);
    case ':': return '/';
    default: return 0;
    }
}

/// The class (2-11) of a double-byte code, or 0 when it lies in no class row.
int CharClass(unsigned code);

/// Full-width digits ０-９ are exactly 0x824F-0x8258.
constexpr bool IsFullDigitCode(unsigned code) { return code >= 0x824F && code <= 0x8258; }

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
constexpr bool IsAmountUnitCode(unsigned code) {
    switch (code) {
    case 0x969C:  // 万
    case 0x89AD:  // 億
    case 0x929B:  // 兆
    case 0x90E7:  // 千
    case 0x9553:  // 百
    case 0x8F5C:  // 十
    case 0x897E:  // 円
        return true;
    default: return false;
    }
}

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
