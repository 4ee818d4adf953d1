// The date-offset form 「＋３日」 of the numeric evaluator: a sign, a count and a unit word
// move the base date and answer with the moved date's sentence.
#include "calc/Calculator.h"

#include "dates/DateAnswers.h"
#include "strings/StringTable.h"

#include <cmath>

namespace nelo {

// Looks two tokens past the sign on a copy of the scanner. The copy's token text starts
// as blanks, so a word read earlier in the line cannot pass for the unit.
bool Calculator::IsDateOffset(const Scanner& scan, int& unit) const {
    Scanner ahead = scan;
    ahead.BlankTokenText();
    // A count written against the order of its units is no count (「＋１万億日」).
    if (ahead.GetToken() == TokenBadNumber) return false;
    ahead.GetToken();
    unit = FindDateUnit(ahead.GetTokenText());
    return unit != UnitNone;
}

void Calculator::AnswerDateOffset(int unit, Scanner& scan, int signToken) {
    scan.GetToken();
    double count = std::trunc(scan.GetValue());
    // A count beyond an int cannot move the date; neither can one that leaves the
    // years 1-9999 (the answer functions then leave the date as it was).
    if (!(count <= 2147483647.0)) {
        SetError(AnswerCannotCalculate);
        return;
    }
    int n = static_cast<int>(count);
    if (signToken == TokenMinus) n = -n;
    int ok = 0;
    switch (unit) {
    case UnitDay: ok = AddDaysAnswer(*m_date, m_textAnswer, n); break;
    case UnitWeek: ok = AddWeeksAnswer(*m_date, m_textAnswer, n); break;
    case UnitMonth:
    case UnitMonths: ok = AddMonthsAnswer(*m_date, m_textAnswer, n); break;
    default: ok = AddYearsAnswer(*m_date, m_textAnswer, n); break;
    }
    if (!ok) SetError(AnswerCannotCalculate);
}

}  // namespace nelo
