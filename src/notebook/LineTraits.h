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

bool HasMemoSeparator(std::string_view text);
bool LooksLikeSchedule(std::string_view text);
bool LooksLikeTimeSum(std::string_view text);
/// True when a double-byte character of the text, walked two bytes at a time as the
/// digit tests walk it, is one of the arithmetic symbols.
bool HasArithmeticSymbol(std::string_view text);

}  // namespace nelo
