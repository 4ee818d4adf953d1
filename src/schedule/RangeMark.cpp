#include "schedule/RangeMark.h"

#include "text/JText.h"
#include "text/Sjis.h"

#include <vector>

namespace {

constexpr unsigned kWaveDash = 0x8160;  // ～ and 〜
constexpr unsigned kOverline = 0x8150;  // ￣, what "~" becomes in full width
constexpr unsigned kMinus = 0x817C;     // －, also "-" in full width
constexpr unsigned kHyphen = 0x815D;    // ‐
constexpr unsigned kColon = 0x8146;     // ：

unsigned Code(const char* s) { return DbcsCode(s); }

// The characters of a phrase as codes (a single byte stands for itself) with their byte
// positions; a phrase is short.
struct Chars {
    std::vector<unsigned> codes;
    std::vector<std::size_t> pos;
    explicit Chars(const std::string& text) {
        for (std::size_t i = 0; i < text.size();) {
            pos.push_back(i);
            if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
                codes.push_back(DbcsCode(text.data() + i));
                i += 2;
            } else {
                codes.push_back(static_cast<unsigned char>(text[i]));
                ++i;
            }
        }
    }
};

bool IsDigitAt(const std::vector<unsigned>& c, std::size_t i) { return i < c.size() && IsFullDigitCode(c[i]); }

bool EndsInTime(const std::vector<unsigned>& c, std::size_t end) {
    static const unsigned kHour = Code("時"_sj), kMinute = Code("分"_sj), kSho = Code("正"_sj), kGo = Code("午"_sj),
                          kHalf = Code("半"_sj);
    if (end == 0) return false;
    const unsigned last = c[end - 1];
    if (end >= 2 && c[end - 2] == kSho && last == kGo) return true;
    // 「１０時半」
    if (last == kHalf) return end >= 3 && c[end - 2] == kHour && IsFullDigitCode(c[end - 3]);
    if (last == kHour || last == kMinute) return end >= 2 && IsFullDigitCode(c[end - 2]);
    // Minutes after an hour: 「１０：００」, 「１０時３０」.
    std::size_t i = end;
    while (i > 0 && IsFullDigitCode(c[i - 1])) --i;
    return i < end && i >= 2 && (c[i - 1] == kColon || c[i - 1] == kHour) && IsFullDigitCode(c[i - 2]);
}

bool BeginsWithTime(const std::vector<unsigned>& c, std::size_t from) {
    static const unsigned kHour = Code("時"_sj), kSho = Code("正"_sj), kGo = Code("午"_sj), kAfter = Code("後"_sj),
                          kBefore = Code("前"_sj), kMorning = Code("朝"_sj), kDay = Code("昼"_sj),
                          kEvening = Code("夕"_sj), kSide = Code("方"_sj), kNight = Code("夜"_sj);
    std::size_t i = from;
    auto at = [&](std::size_t k) { return k < c.size() ? c[k] : 0u; };
    if (at(i) == kSho && at(i + 1) == kGo) return true;
    if (at(i) == kGo && (at(i + 1) == kAfter || at(i + 1) == kBefore))
        i += 2;
    else if (at(i) == kEvening && at(i + 1) == kSide)
        i += 2;
    else if (at(i) == kMorning || at(i) == kDay || at(i) == kNight)
        i += 1;
    if (!IsDigitAt(c, i)) return false;
    while (IsDigitAt(c, i)) ++i;
    return at(i) == kHour || at(i) == kColon;
}

}  // namespace

std::string::size_type FindRangeMark(const std::string& phrase) {
    // Most words hold no mark at all: one pass over the bytes settles that.
    bool bMark = false;
    for (std::size_t i = 0; i + 1 < phrase.size(); ++i) {
        if (static_cast<unsigned char>(phrase[i]) == 0x81) {
            const unsigned trail = static_cast<unsigned char>(phrase[i + 1]);
            if (trail == 0x60 || trail == 0x50 || trail == 0x7C || trail == 0x5D) {
                bMark = true;
                break;
            }
        }
    }
    if (!bMark) return std::string::npos;

    const Chars chars(phrase);
    const std::vector<unsigned>& c = chars.codes;
    const std::size_t n = c.size();
    for (std::size_t i = 1; i + 1 < n; ++i)
        if (c[i] == kWaveDash || c[i] == kOverline) return chars.pos[i];
    for (std::size_t i = 1; i + 1 < n; ++i)
        if ((c[i] == kMinus || c[i] == kHyphen) && EndsInTime(c, i) && BeginsWithTime(c, i + 1)) return chars.pos[i];
    return std::string::npos;
}
