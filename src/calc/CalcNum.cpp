#include "calc/CalcNum.h"

#include "text/Sjis.h"

// Interim: the evaluator arrives with the calculator.
int CCalcNum::Calculate(std::string& answer, const std::string&) {
    answer = "計算できません。"_sj;
    return 1;
}

int CCalcNum::CalculateTime(std::string& answer, const std::string&) {
    answer = "計算できません。"_sj;
    return 1;
}

void CCalcNum::DeleteAllSymbols() {}
