#include "notebook/LineTraits.h"

#include "text/JText.h"

namespace nelo {

namespace {

constexpr unsigned kFullBlank = 0x8140;  // 　
constexpr unsigned kFullComma = 0x8143;  // ，

}  // namespace

void LineTraitsScan::Byte(unsigned char b) {
    if (b == ' ' || (b >= '\t' && b <= '\r'))
        m_blank = true;
    else
        m_foreign = true;
    EndDigitRun();
    m_afterNumber = false;
    m_prev = b;
}

void LineTraitsScan::Char(unsigned code) {
    if (IsFullDigitCode(code))
        Digit(code);
    else
        NonDigit(code, IsAmountUnitCode(code));
}

void LineTraitsScan::NonDigit(unsigned code, bool amountUnit) {
    const unsigned before = m_prev;
    const bool wasAfterNumber = m_afterNumber;
    m_prev = code;
    m_afterNumber = false;
    EndDigitRun();
    if (wasAfterNumber && amountUnit) {
        m_other = true;
        m_amount = true;
        m_afterNumber = true;
        return;
    }
    if (code == kFullBlank) {
        m_blank = true;
        return;
    }
    m_other = true;
    if (code == kFullComma) {
        // It groups digits when a digit stands before it and exactly three after it:
        // settled when the digits after it end.
        if (IsFullDigitCode(before)) {
            m_digitsAfterComma = 0;
            m_commaOpen = true;
        } else {
            m_foreign = true;
        }
        return;
    }
    Symbol(code);
}

void LineTraitsScan::Symbol(unsigned code) {
    switch (code) {
    case 0x8141:
    case 0x8152:  // 、 ヽ
        m_separator = true;
        m_foreign = true;
        break;
    case 0x8146:  // ：
        m_unit = true;
        break;
    case 0x8E9E:
    case 0x95AA:
    case 0x9562:  // 時 分 秒
        m_unit = true;
        m_foreign = true;
        break;
    case 0x817B:
    case 0x817C:
    case 0x817E:
    case 0x8180:
    case 0x8196:  // ＋ － × ÷ ＊
        m_op = true;
        m_calcOp = true;
        break;
    case 0x815E:  // ／
        m_op = true;
        break;
    case 0x8181:  // ＝
        m_calcOp = true;
        break;
    case 0x8144:
    case 0x8169:
    case 0x816A:  // ． （ ）
        break;
    default: m_foreign = true; break;
    }
}

void LineTraitsScan::EndDigitRun() {
    if (!m_commaOpen) return;
    m_commaOpen = false;
    if (m_digitsAfterComma == 3)
        m_group = true;
    else
        m_foreign = true;
}

LineTraits LineTraitsScan::Finish() {
    EndDigitRun();
    LineTraits t;
    t.memoSeparator = m_separator;
    t.scheduleShape = m_digit && m_blank && m_other;
    t.timeSum = m_digit && m_unit && m_op;
    t.plainArithmetic = !m_foreign && m_digit && (m_blank ? m_calcOp : m_group || m_amount);
    return t;
}

LineTraits ScanLineTraits(std::string_view text) {
    LineTraitsScan scan;
    for (std::size_t i = 0; i < text.size() && text[i] != '\0';) {
        if (DbcsAt(text, i)) {
            scan.Char(DbcsCode(text.data() + i));
            i += 2;
        } else {
            scan.Byte(static_cast<unsigned char>(text[i]));
            ++i;
        }
    }
    return scan.Finish();
}

bool HasMemoSeparator(std::string_view text) { return ScanLineTraits(text).memoSeparator; }

bool LooksLikeSchedule(std::string_view text) { return ScanLineTraits(text).scheduleShape; }

bool HasArithmeticSymbol(std::string_view text) {
    // Pairs that are no double-byte character are skipped whole; a NUL in either byte
    // ends the walk.
    for (std::size_t i = 0; i < text.size() && text[i] != '\0'; i += 2) {
        if (i + 1 >= text.size() || text[i + 1] == '\0') break;
        const unsigned code = DbcsCode(text.data() + i);
        if (IsDbcsCode(code) && IsArithmeticSymbolCode(code)) return true;
    }
    return false;
}

bool LooksLikeTimeSum(std::string_view text) { return ScanLineTraits(text).timeSum; }

}  // namespace nelo
