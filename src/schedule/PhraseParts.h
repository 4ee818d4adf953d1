// Which parts of a date the phrase of a schedule end names itself. An end such as
// 「１月３日」 leaves out the year, which then comes from the start rather than from today.
#pragma once

#include <string>

struct PhraseParts {
    bool bYear = false;        ///< the phrase fixes the year (a number, an era or a relative word)
    bool bMonth = false;       ///< the phrase fixes the month
    bool bDay = false;         ///< the phrase fixes the day of the month
    bool bDigitsOnly = false;  ///< the phrase is nothing but full-width digits (「１５」)
    int nMonth = -1;           ///< the month as written, -1 when absent or given by a word
    int nDay = -1;             ///< the day as written, -1 when absent or given by a word
};

/// Reads a date phrase the way the phrase parser's token stage does and reports which
/// date parts it gives. Day, week and month words give every part they imply.
PhraseParts AnalyzePhraseParts(const std::string& phrase);
