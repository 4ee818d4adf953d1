#include "notebook/LineTraits.h"

#include "text/JText.h"

#include <array>

namespace nelo {

namespace {

// The characters of the lead bytes 0x81 and 0x82 (the symbols, the full-width digits
// and letters, the hiragana): what the walk needs of each, found at compile time.
constexpr unsigned kFirstCell = 0x8100;
constexpr unsigned kCellCount = 0x200;

struct SymbolCell {
    bool digit = false;   // IsFullDigitCode
    bool plain = false;   // neither "，" nor an amount's unit: its traits suffice
    unsigned traits = 0;  // LineTraitsScan::SymbolTraits
};

constexpr std::array<SymbolCell, kCellCount> MakeSymbolCells() {
    std::array<SymbolCell, kCellCount> cells{};
    for (unsigned k = 0; k < kCellCount; ++k) {
        const unsigned code = kFirstCell + k;
        cells[k].digit = IsFullDigitCode(code);
        cells[k].plain = !IsAmountUnitCode(code) && code != 0x8143;  // ，
        cells[k].traits = LineTraitsScan::SymbolTraits(code);
    }
    return cells;
}

constexpr std::array<SymbolCell, kCellCount> kSymbolCells = MakeSymbolCells();

}  // namespace

LineTraits ScanLineTraits(std::string_view text) {
    LineTraitsScan scan;
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
        } else if (const SymbolCell& cell = kSymbolCells[code - kFirstCell]; cell.digit) {
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
