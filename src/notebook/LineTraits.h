// The character tests that choose an interpreter for a submitted line: one walk over
// the full-width text finds the memo separator, the shape of a schedule, a time sum
// and a plainly spaced calculation.
#pragma once

#include <string_view>

namespace nelo {

/// What the character-stepping routing tests find in one walk over a text.
struct LineTraits {
    bool memoSeparator = false;  ///< HasMemoSeparator
    bool scheduleShape = false;  ///< LooksLikeSchedule
    bool timeSum = false;        ///< LooksLikeTimeSum
    /// A calculation however it is spaced: nothing but full-width digits, the units of
    /// an amount right after them (万 億 兆 千 百 十 円), blanks, the arithmetic symbols and
    /// digit-grouping commas, with a digit, and either a blank and one of ＋ － × ÷ ＊ ＝,
    /// or no blank and a grouping comma or an amount's unit (「１０万」 alone is 100000).
    bool plainArithmetic = false;
};
LineTraits ScanLineTraits(std::string_view text);

/// ScanLineTraits fed one character at a time, so that a walk that converts a line can
/// gather its traits on the way: Byte for a single byte, Char for a double-byte code,
/// Finish once after the last.
class LineTraitsScan {
public:
    void Byte(unsigned char b);
    void Char(unsigned code);
    /// Char for any other character, given IsAmountUnitCode of it.
    void NonDigit(unsigned code, bool amountUnit);
    /// Char for a full-width digit, the commonest character of a calculation.
    void Digit(unsigned code) {
        m_prev = code;
        m_afterNumber = true;
        m_digit = true;
        ++m_digitsAfterComma;
    }
    LineTraits Finish();

private:
    void Symbol(unsigned code);
    void EndDigitRun();

    bool m_separator = false, m_digit = false, m_blank = false, m_other = false, m_unit = false, m_op = false;
    // For the plain calculation: a character that is no part of one, an operator that is
    // not ／ ： ．, a grouping comma, an amount's unit.
    bool m_foreign = false, m_calcOp = false, m_group = false, m_amount = false;
    unsigned m_prev = 0;
    bool m_afterNumber = false;  // the character before was a digit or an amount's unit
    bool m_commaOpen = false;    // a "，" after a digit waits for the digits after it
    unsigned m_digitsAfterComma = 0;
};

bool HasMemoSeparator(std::string_view text);
bool LooksLikeSchedule(std::string_view text);
bool LooksLikeTimeSum(std::string_view text);
/// True when a double-byte character of the text, walked two bytes at a time as the
/// digit tests walk it, is one of the arithmetic symbols.
bool HasArithmeticSymbol(std::string_view text);

}  // namespace nelo
