#include "notebook/LineTraits.h"

#include "text/JText.h"

#include <array>

namespace nelo {

namespace {

constexpr unsigned kFullBlank = 0x8140;  // 　

// The characters of the lead bytes 0x81 and 0x82 (the symbols, the full-width digits
// and letters, the hiragana): what the walk needs of each is found once.
constexpr unsigned kFirstCell = 0x8100;
constexpr unsigned kCellCount = 0x200;

struct SymbolCell {
    bool digit = false;   // IsFullDigitCode
    bool plain = false;   // neither "，" nor an amount's unit: its traits suffice
    unsigned traits = 0;  // LineTraitsScan::SymbolTraits
};

const SymbolCell* SymbolCells();

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

namespace {

const SymbolCell* SymbolCells() {
    static const auto kCells = [] {
        std::array<SymbolCell, kCellCount> cells{};
        for (unsigned k = 0; k < kCellCount; ++k) {
            const unsigned code = kFirstCell + k;
            cells[k].digit = IsFullDigitCode(code);
            cells[k].plain = !IsAmountUnitCode(code) && code != 0x8143;  // ，
            cells[k].traits = LineTraitsScan::SymbolTraits(code);
        }
        return cells;
    }();
    return kCells.data();
}

}  // namespace

LineTraits ScanLineTraits(std::string_view text) {
    LineTraitsScan scan;
    const SymbolCell* const cells = SymbolCells();
    for (std::size_t i = 0; i < text.size() && text[i] != '\0';) {
        if (!DbcsAt(text, i)) {
            scan.Byte(static_cast<unsigned char>(text[i]));
            ++i;
            continue;
        }
        const unsigned code = DbcsCode(text.data() + i);
        i += 2;
        if (code < kFirstCell || code >= kFirstCell + kCellCount) {
            scan.Char(code);
        } else if (const SymbolCell& cell = cells[code - kFirstCell]; cell.digit) {
            scan.Digit();
        } else if (cell.plain) {
            scan.Plain(cell.traits);
        } else {
            scan.NonDigit(code, IsAmountUnitCode(code));
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
