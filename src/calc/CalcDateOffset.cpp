// The date-offset form 「＋３日」 of the numeric evaluator.
#include "calc/CalcNum.h"

// Interim: the form applies once the date answers are in place.
bool CCalcNum::IsDateOffset(const CCalcScanner&, int& unit) const {
    unit = unitNone;
    return false;
}

int CCalcNum::AnswerDateOffset(int, CCalcScanner&, int) { return 0; }
