#include "notebook/LineTraits.h"

#include "text/JText.h"

namespace nelo {

namespace {

constexpr unsigned kFullBlank = 0x8140;  // 　

}  // namespace

unsigned LineTraitsScan::SymbolTraits(unsigned code) {
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
