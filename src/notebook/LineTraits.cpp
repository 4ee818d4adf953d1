#include "notebook/LineTraits.h"

#include "text/JText.h"

namespace nelo {

namespace {

constexpr unsigned kFullBlank = 0x8140;  // 　

}  // namespace

LineTraits ScanLineTraits(std::string_view text) {
    bool separator = false, digit = false, blank = false, other = false, unit = false, op = false;
    // For the plain calculation: a character that is no part of one, an operator that is
    // not ／ ： ．, a grouping comma.
    bool foreign = false, calcOp = false, group = false, amount = false;
    unsigned prev = 0;
    bool afterNumber = false;  // the character before was a digit or an amount's unit
    for (std::size_t i = 0; i < text.size() && text[i] != '\0';) {
        if (!DbcsAt(text, i)) {
            unsigned char b = static_cast<unsigned char>(text[i]);
            afterNumber = false;
            if (b == ' ' || (b >= '\t' && b <= '\r'))
                blank = true;
            else
                foreign = true;
            prev = b;
            ++i;
            continue;
        }
        const unsigned c = DbcsCode(text.data() + i);
        i += 2;
        const unsigned before = prev;
        const bool wasAfterNumber = afterNumber;
        prev = c;
        afterNumber = IsFullDigitCode(c);
        if (afterNumber) {
            digit = true;
            continue;
        }
        if (wasAfterNumber && IsAmountUnitCode(c)) {
            other = true;
            amount = true;
            afterNumber = true;
            continue;
        }
        if (c == kFullBlank) {
            blank = true;
            continue;
        }
        other = true;
        switch (c) {
        case 0x8141:
        case 0x8152:  // 、 ヽ
            separator = true;
            foreign = true;
            break;
        case 0x8146:  // ：
            unit = true;
            break;
        case 0x8E9E:
        case 0x95AA:
        case 0x9562:  // 時 分 秒
            unit = true;
            foreign = true;
            break;
        case 0x817B:
        case 0x817C:
        case 0x817E:
        case 0x8180:
        case 0x8196:  // ＋ － × ÷ ＊
            op = true;
            calcOp = true;
            break;
        case 0x815E:  // ／
            op = true;
            break;
        case 0x8181:  // ＝
            calcOp = true;
            break;
        case 0x8144:
        case 0x8169:
        case 0x816A:  // ． （ ）
            break;
        case 0x8143:  // ，
            if (GroupsDigits(before, text, i))
                group = true;
            else
                foreign = true;
            break;
        default: foreign = true; break;
        }
    }
    LineTraits t;
    t.memoSeparator = separator;
    t.scheduleShape = digit && blank && other;
    t.timeSum = digit && unit && op;
    t.plainArithmetic = !foreign && digit && (blank ? calcOp : group || amount);
    return t;
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
