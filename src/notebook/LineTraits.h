// The character tests that choose an interpreter for a submitted line: one walk over
// the full-width text finds the memo separator, the shape of a schedule, a time sum
// and a plainly spaced calculation.
#pragma once

#include "text/JText.h"

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
/// Finish once after the last. The steps are inline, so that a walk keeps the state in
/// registers.
class LineTraitsScan {
public:
    void Byte(unsigned char b) {
        m_found |= b == ' ' || (b >= '\t' && b <= '\r') ? kBlank : kForeign;
        EndDigitRun();
        m_prevDigit = false;
        m_afterNumber = false;
    }
    void Char(unsigned code) {
        if (IsFullDigitCode(code))
            Digit();
        else  // the unit of an amount counts only after a number
            NonDigit(code, m_afterNumber && IsAmountUnitCode(code));
    }
    /// Char for any other character, given IsAmountUnitCode of it.
    void NonDigit(unsigned code, bool amountUnit) {
        const bool afterDigit = m_prevDigit;
        const bool wasAfterNumber = m_afterNumber;
        m_prevDigit = false;
        m_afterNumber = false;
        EndDigitRun();
        if (wasAfterNumber && amountUnit) {
            m_found |= kOther | kAmount;
            m_afterNumber = true;
            return;
        }
        if (code == kFullComma) {
            // It groups digits when a digit stands before it and exactly three after it:
            // settled when the digits after it end.
            m_found |= kOther;
            if (afterDigit) {
                m_digitsAfterComma = 0;
                m_commaOpen = true;
            } else {
                m_found |= kForeign;
            }
            return;
        }
        m_found |= SymbolTraits(code);
    }
    /// NonDigit for a character that is neither "，" nor an amount's unit, given its
    /// SymbolTraits: what most characters of a calculation other than digits take.
    void Plain(unsigned traits) {
        m_prevDigit = false;
        m_afterNumber = false;
        EndDigitRun();
        m_found |= traits;
    }
    /// Char for a full-width digit, the commonest character of a calculation.
    void Digit() {
        m_prevDigit = true;
        m_afterNumber = true;
        m_found |= kDigit;
        ++m_digitsAfterComma;
    }
    LineTraits Finish() {
        EndDigitRun();
        const auto has = [this](unsigned bits) { return (m_found & bits) == bits; };
        LineTraits t;
        t.memoSeparator = has(kSeparator);
        t.scheduleShape = has(kDigit | kBlank | kOther);
        t.timeSum = has(kDigit | kUnit | kOp);
        t.plainArithmetic = !has(kForeign) && has(kDigit) && (has(kBlank) ? has(kCalcOp) : has(kGroup) || has(kAmount));
        return t;
    }

    /// The bits a full-width digit adds; a walk that meets no "，" and no amount's unit
    /// may give Plain the bits of all its characters at once.
    static constexpr unsigned DigitTraits() { return kDigit; }
    /// What a character other than a digit, "，" or an amount's unit after a number
    /// tells (the bits below).
    static constexpr unsigned SymbolTraits(unsigned code) {
        switch (code) {
        case kFullBlank: return kBlank;
        case 0x8141:
        case 0x8152:  // 、 ヽ
            return kOther | kSeparator | kForeign;
        case 0x8146:  // ：
            return kOther | kUnit;
        case 0x8E9E:
        case 0x95AA:
        case 0x9562:  // 時 分 秒
            return kOther | kUnit | kForeign;
        case 0x817B:
        case 0x817C:
        case 0x817E:
        case 0x8180:
        case 0x8196:  // ＋ － × ÷ ＊
            return kOther | kOp | kCalcOp;
        case 0x815E:  // ／
            return kOther | kOp;
        case 0x8181:  // ＝
            return kOther | kCalcOp;
        case 0x8144:
        case 0x8169:
        case 0x816A:  // ． （ ）
            return kOther;
        default: return kOther | kForeign;
        }
    }

private:
    static constexpr unsigned kFullBlank = 0x8140;  // 　
    static constexpr unsigned kFullComma = 0x8143;  // ，
    // The bits of m_found: the memo separator, a digit, a blank, a character
    // other than digits and blanks, a time unit, an operator; for the plain
    // calculation: a character that is no part of one, an operator that is not
    // ／ ： ．, a grouping comma, an amount's unit.
    static constexpr unsigned kSeparator = 1u << 0;
    static constexpr unsigned kDigit = 1u << 1;
    static constexpr unsigned kBlank = 1u << 2;
    static constexpr unsigned kOther = 1u << 3;
    static constexpr unsigned kUnit = 1u << 4;
    static constexpr unsigned kOp = 1u << 5;
    static constexpr unsigned kForeign = 1u << 6;
    static constexpr unsigned kCalcOp = 1u << 7;
    static constexpr unsigned kGroup = 1u << 8;
    static constexpr unsigned kAmount = 1u << 9;

    void EndDigitRun() {
        if (!m_commaOpen) return;
        m_commaOpen = false;
        m_found |= m_digitsAfterComma == 3 ? kGroup : kForeign;
    }

    unsigned m_found = 0;
    bool m_prevDigit = false;    // the character before was a full-width digit
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
