#include "notebook/LineRoute.h"

#include "dates/DateCommands.h"
#include "notebook/LineTraits.h"
#include "schedule/PeriodQuery.h"
#include "schedule/ScheduleLine.h"
#include "text/JText.h"
#include "text/Sjis.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace nelo {

namespace {

bool HasEraName(const std::string& text) {
    for (const char* era : {"平成"_sj, "昭和"_sj, "大正"_sj, "明治"_sj, "令和"_sj})
        if (text.find(era) != std::string::npos) return true;
    return false;
}

// A text before a final "は" that ends in a unit word goes to the date commands
// only when it is a quantity or a year: the part before the unit character is a
// number, or, for "年", holds a full-width digit or an era name. Anything else
// (「大手町」, 「今年」) is a memo query.
bool IsQuantityOrYear(const std::string& text) {
    std::string before = text.substr(0, text.size() - 2);
    if (IsDecimalText(before)) return true;
    return EndsWithDbcs(text, "年"_sj) && (HasFullDigit(before) || HasEraName(before));
}

// The memo shortcut: a "、" followed, after at least one character, by another.
bool IsMemoShortcut(const std::string& line) {
    if (line.find("、"_sj) == std::string::npos) return false;  // quicker than by characters
    auto first = FindDbcs(line, "、"_sj);
    if (first == std::string::npos) return false;
    auto second = FindDbcs(line, "、"_sj, first + 2);
    return second != std::string::npos && second > first + 2;
}

// The first word of a full-width text starts a schedule (「明日１０時」, 「１２／２５」, or a
// date phrase refused in words) and a business follows it: the line is a schedule even
// when its business holds 「、」.
bool StartsWithScheduleDate(const std::string& text) {
    std::size_t end = 0;
    while (end < text.size() && text[end] != ' ' && !(DbcsAt(text, end) && DbcsCode(text.data() + end) == 0x8140))
        end += DbcsAt(text, end) ? 2u : 1u;
    if (end == 0 || end >= text.size()) return false;
    const std::string_view first = std::string_view(text).substr(0, end);
    if (EndsWithDbcs(first, "年"_sj)) return false;
    return IsScheduleStartWord(first);
}

// A line of printable ASCII, as most calculations are typed, read in one walk: its
// full-width form (trailing blanks left out), the calculator's ASCII form of that, its
// traits, and the two pair-walking tests. No such text ends in "は", a unit word or
// 「の予定」, nor holds "、".
struct AsciiLine {
    LineTraits traits;
    bool arithmeticSymbol = false;  // HasArithmeticSymbol
    bool digitsOnly = true;         // IsDigitText
};

// What the walk needs of one printable ASCII byte, found once from the tests themselves.
struct AsciiCell {
    char wide[2] = {};             // its full-width form
    char form[2] = {};             // the calculator's form: AsciiFormOfAscii, else wide
    unsigned char formLength = 2;  // 1 when AsciiFormOfAscii stands for it
    bool symbol = false;           // IsArithmeticSymbolCode of code
    bool digit = false;            // IsFullDigitCode of code
    bool amountUnit = false;       // IsAmountUnitCode of code
    bool plain = false;            // neither "，" nor an amount's unit: its traits suffice
    unsigned traits = 0;           // LineTraitsScan::SymbolTraits of code
    unsigned code = 0;             // its full-width form
};

// The cells of the bytes 0x20-0x7E, in order.
const AsciiCell* AsciiCells() {
    static const auto kCells = [] {
        std::array<AsciiCell, 0x7F - 0x20> cells{};
        for (unsigned char c = 0x20; c < 0x7F; ++c) {
            AsciiCell& cell = cells[c - 0x20];
            cell.code = FullWidthOfAscii(c);
            cell.wide[0] = static_cast<char>(cell.code >> 8);
            cell.wide[1] = static_cast<char>(cell.code & 0xFF);
            const char form = AsciiFormOfAscii(c);
            cell.form[0] = form != 0 ? form : cell.wide[0];
            cell.form[1] = cell.wide[1];  // overwritten by the next character when the form stands alone
            cell.formLength = form != 0 ? 1 : 2;
            cell.symbol = IsArithmeticSymbolCode(cell.code);
            cell.digit = IsFullDigitCode(cell.code);
            cell.amountUnit = IsAmountUnitCode(cell.code);
            cell.plain = !cell.amountUnit && cell.code != 0x8143;  // ，
            cell.traits = LineTraitsScan::SymbolTraits(cell.code);
        }
        return cells;
    }();
    return kCells.data();
}

// What the quick walk needs of a byte: its full-width form and, in bits, its traits
// (LineTraitsScan's) and the flags below. A line made only of bytes without kSlowByte
// (digits, blanks and the symbols that stand for themselves in the calculator's form:
// most calculations) needs no per-character state, so its traits are those of all its
// bytes together.
struct QuickByte {
    char wide[2] = {};
    std::uint16_t bits = 0;
};
constexpr std::uint16_t kSymbolByte = 1u << 12;    // IsArithmeticSymbolCode of its form
constexpr std::uint16_t kNotDigitByte = 1u << 13;  // no digit
constexpr std::uint16_t kSlowByte = 1u << 14;      // takes the walk with state, or no printable ASCII
constexpr std::uint16_t kTraitBits = (1u << 12) - 1;

const QuickByte* QuickBytes() {
    static const auto kBytes = [] {
        std::array<QuickByte, 256> bytes{};
        for (QuickByte& q : bytes) q.bits = kSlowByte;
        const AsciiCell* const cells = AsciiCells();
        for (unsigned c = 0x20; c < 0x7F; ++c) {
            const AsciiCell& cell = cells[c - 0x20];
            QuickByte& q = bytes[c];
            std::memcpy(q.wide, cell.wide, 2);
            const bool self = AsciiFormOfAscii(static_cast<unsigned char>(c)) == static_cast<char>(c);
            const unsigned traits = cell.digit ? LineTraitsScan::DigitTraits() : cell.traits;
            unsigned bits = traits;
            if (cell.symbol) bits |= kSymbolByte;
            if (!cell.digit) bits |= kNotDigitByte;
            if (!self || !(cell.digit || cell.plain)) bits |= kSlowByte;
            q.bits = static_cast<std::uint16_t>(bits);
        }
        return bytes;
    }();
    return kBytes.data();
}

// The quick walk over the first end bytes of a line: false, with text written but read
// untouched, when a byte needs the walk with state.
bool ReadQuickAsciiLine(const std::string& line, std::size_t end, std::string& text, std::string& ascii,
                        AsciiLine& read) {
    const QuickByte* const bytes = QuickBytes();
    const auto* const in = reinterpret_cast<const unsigned char*>(line.data());
    char* const wide = text.data();
    unsigned found = 0;
    // Eight bytes between the tests, so that a line that turns Japanese after a few
    // digits (「2003年6月2日」) is left soon.
    constexpr std::size_t kStride = 8;
    for (std::size_t from = 0; from < end; from += kStride) {
        const std::size_t to = from + kStride < end ? from + kStride : end;
        for (std::size_t i = from; i < to; ++i) {
            const QuickByte& q = bytes[in[i]];
            std::memcpy(wide + 2 * i, q.wide, 2);
            found |= q.bits;
        }
        if ((found & kSlowByte) != 0) return false;
    }
    ascii.assign(line, 0, end);
    read.arithmeticSymbol = (found & kSymbolByte) != 0;
    read.digitsOnly = (found & kNotDigitByte) == 0;
    LineTraitsScan scan;
    scan.Plain(found & kTraitBits);
    read.traits = scan.Finish();
    return true;
}

bool ReadAsciiLine(const std::string& line, std::string& text, std::string& ascii, AsciiLine& read) {
    std::size_t end = line.size();
    while (end > 0 && line[end - 1] == ' ') --end;
    // Most lines typed in Japanese show it at once.
    if (end > 0 && (static_cast<unsigned char>(line[0]) < 0x20 || static_cast<unsigned char>(line[0]) > 0x7E))
        return false;
    text.resize(end * 2);
    if (ReadQuickAsciiLine(line, end, text, ascii, read)) return true;
    ascii.resize(end * 2);
    const char* const in = line.data();
    char* const wide = text.data();
    char* const form = ascii.data();
    std::size_t formEnd = 0;
    bool arithmeticSymbol = false, digitsOnly = true;
    LineTraitsScan scan;
    const AsciiCell* const cells = AsciiCells();
    for (std::size_t i = 0; i < end; ++i) {
        const auto b = static_cast<unsigned char>(in[i]);
        if (b < 0x20 || b > 0x7E) return false;  // the caller makes text and ascii anew
        const AsciiCell& cell = cells[b - 0x20];
        std::memcpy(wide + 2 * i, cell.wide, 2);
        std::memcpy(form + formEnd, cell.form, 2);
        formEnd += cell.formLength;
        if (cell.digit)
            scan.Digit();
        else if (cell.plain)
            scan.Plain(cell.traits);
        else
            scan.NonDigit(cell.code, cell.amountUnit);
        arithmeticSymbol |= cell.symbol;
        digitsOnly &= cell.digit;
    }
    read.arithmeticSymbol = arithmeticSymbol;
    read.digitsOnly = digitsOnly;
    ascii.resize(formEnd);
    read.traits = scan.Finish();
    return true;
}

LineRoute RouteAsciiLine(const AsciiLine& read) {
    const LineTraits& traits = read.traits;
    if (traits.plainArithmetic) return traits.timeSum ? LineRoute::TimeArithmetic : LineRoute::Arithmetic;
    if (traits.scheduleShape) return LineRoute::Command;
    if (read.arithmeticSymbol) return traits.timeSum ? LineRoute::TimeArithmetic : LineRoute::Arithmetic;
    if (read.digitsOnly) return LineRoute::Arithmetic;
    return LineRoute::Command;
}

}  // namespace

bool EndsWithUnitWord(const std::string& text) { return DateCommands::EndsWithUnitWord(text); }

LineRoute ClassifyLine(const std::string& line, std::string& handedOn) {
    std::string ascii;
    return ClassifyLine(line, handedOn, ascii);
}

LineRoute ClassifyLine(const std::string& line, std::string& handedOn, std::string& asciiForm) {
    AsciiLine read;
    if (ReadAsciiLine(line, handedOn, asciiForm, read)) return RouteAsciiLine(read);
    asciiForm.clear();
    if (IsMemoShortcut(line)) {
        handedOn.clear();
        AppendFullWidth(handedOn, line);
        TrimTrailingFullBlanks(handedOn);
        if (!EndsWithDbcs(handedOn, "は"_sj) && StartsWithScheduleDate(handedOn)) return LineRoute::Command;
        handedOn = line;
        return LineRoute::MemoRegistration;
    }
    handedOn.clear();
    AppendFullWidth(handedOn, line);
    TrimTrailingFullBlanks(handedOn);
    std::string& text = handedOn;

    if (EndsWithDbcs(text, "は"_sj)) {
        text.resize(text.size() - 2);
        if (EndsWithUnitWord(text) && IsQuantityOrYear(text)) return LineRoute::Command;
        // 「予定は」, 「今日の予定は」, 「予定　来週は」 ask for schedules, not for a memo.
        if (IsScheduleQueryText(text)) return LineRoute::Command;
        return LineRoute::MemoQuery;
    }
    // 「１／５の予定」 asks for schedules; it is no division.
    std::string_view period;
    if (SplitPeriodQuery(text, period)) return LineRoute::Command;
    const LineTraits traits = ScanLineTraits(text);
    if (traits.memoSeparator) return StartsWithScheduleDate(text) ? LineRoute::Command : LineRoute::MemoRegistration;
    // Numbers and operators with blanks between them (「2 + 3」), or a number with its
    // digits grouped (「1,000」), are a calculation, not a schedule or a command; numbers
    // joined only by ／ ： ． (「１２／２５　１０：００」) are not taken here.
    if (traits.plainArithmetic) return traits.timeSum ? LineRoute::TimeArithmetic : LineRoute::Arithmetic;
    if (traits.scheduleShape) return LineRoute::Command;
    if (EndsWithUnitWord(text)) return LineRoute::Command;
    if (HasArithmeticSymbol(text)) return traits.timeSum ? LineRoute::TimeArithmetic : LineRoute::Arithmetic;
    if (IsDigitText(text)) return LineRoute::Arithmetic;
    return LineRoute::Command;
}

}  // namespace nelo
