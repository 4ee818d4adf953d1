// The function keywords of the numeric evaluator and the units of the date-offset form.
#include "calc/Calculator.h"

#include "text/JText.h"
#include "text/Sjis.h"

#include <cmath>
#include <cstring>

namespace nelo {

namespace {

const char* const kFunctionWords[] = {"平方根"_sj, "ルート"_sj, "％"_sj, "パーセント"_sj, "時間"_sj};
const char* const kDateUnitWords[] = {"日"_sj, "週"_sj, "月"_sj, "ヶ月"_sj, "年"_sj};

template <std::size_t N>
int FindWord(const char* const (&words)[N], const char* text) {
    // Every word is Japanese: a text that does not start with a lead byte is none of them
    // (the commonest case, the digits of a number).
    if (!IsLeadByte(static_cast<unsigned char>(text[0]))) return -1;
    for (std::size_t i = 0; i < N; ++i)
        if (std::strcmp(words[i], text) == 0) return static_cast<int>(i);
    return -1;
}

}  // namespace

int Calculator::FindFunction(const char* text) { return FindWord(kFunctionWords, text); }

double Calculator::ApplyFunction(int id, double arg) {
    switch (id) {
    case FunctionSquareRoot:
    case FunctionRoot: return std::sqrt(arg);
    case FunctionPercentSign:
    case FunctionPercentWord: return arg * 100;
    default: return arg;
    }
}

int Calculator::FindDateUnit(const char* text) { return FindWord(kDateUnitWords, text); }

}  // namespace nelo
