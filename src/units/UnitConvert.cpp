#include "units/UnitConvert.h"

#include "text/JText.h"
#include "text/Sjis.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <algorithm>

namespace nelo {

const double kUnitFactors[11] = {
    0.0,       // 年: the era conversion, not a unit
    30.303,    // 尺 -> centimetres
    1.81818,   // 間 -> metres
    3.92727,   // 里 -> kilometres
    3.30578,   // 坪 -> square metres
    9.91736,   // 反 -> ares
    0.991736,  // 町 -> hectares
    0.18039,   // 合 -> litres
    1.8039,    // 升 -> litres
    3.75,      // 貫 -> kilograms
    600.0,     // 斥 -> grams
};

namespace {

// The sentence that follows the number, by unit code.
const char* const kUnitSentences[11] = {
    "",
    "センチメートルです。"_sj,
    "メートルです。"_sj,
    "キロメートルです。"_sj,
    "平方メートルです。"_sj,
    "アールです。"_sj,
    "ヘクタールです。"_sj,
    "リットルです。"_sj,
    "リットルです。"_sj,
    "キログラムです。"_sj,
    "グラムです。"_sj,
};

}  // namespace

void FormatUnitNumber(double value, std::string& text) {
    // "%lf" of any double, the largest included, takes at most 317 characters.
    char buf[512];
    int n = std::snprintf(buf, sizeof buf, "%lf", value);
    text.assign(buf, n < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buf - 1));
    if (text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0') text.pop_back();
        if (!text.empty() && text.back() == '.') text.pop_back();
    }
}

int ConvertUnit(int code, const std::string& word, std::string& out) {
    if (code < 1 || code > 10) return 0;
    // The number part is the word without its unit character (its last two bytes).
    std::string number = word.size() >= 2 ? word.substr(0, word.size() - 2) : std::string();
    if (!IsDecimalText(number)) return 0;
    // The number is read whole, however long; one too large for a double has no answer.
    const double result = std::atof(ToAsciiForm(number).c_str()) * kUnitFactors[code];
    if (!std::isfinite(result)) return 0;
    std::string text;
    FormatUnitNumber(result, text);
    out = text + kUnitSentences[code];
    return 1;
}

}  // namespace nelo
