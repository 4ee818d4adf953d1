// The calculator: arithmetic lines, clock-time sums, variables and the memory register.
#pragma once

#include <string>

class CCalcNum {
public:
    /// Answers an arithmetic line (its full-width form); always returns 1.
    int Calculate(std::string& answer, const std::string& line);
    /// Answers a sum of clock times (its full-width form); always returns 1.
    int CalculateTime(std::string& answer, const std::string& line);
    /// Destroys every variable; the memory register stays.
    void DeleteAllSymbols();

    int m_bCalcChanged = 0;  ///< stored data changed (assignments, deletions, names)
};
