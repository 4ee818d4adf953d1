// What the date-phrase fuzz target does with one input: each line is parsed as a
// phrase as typed, as the interpreters hand it on (full width, no blanks), as the
// second stage's text and as a period word. The working date is shared by the lines of
// one input, as it is by the lines of a conversation, and reset to today per input.
#pragma once

#include "FuzzInput.h"
#include "dates/DateParser.h"
#include "dates/DateTimeRec.h"
#include "text/JText.h"

#include <cstdlib>

/// Inputs beyond this many bytes are cut.
constexpr std::size_t kFuzzDateMaxBytes = 2048;

/// Parses the lines of the input every way the program does; nothing may crash and the
/// working date must stay a valid date.
inline void FuzzDatePhraseOnce(const std::uint8_t* data, std::size_t size) {
    FreezeFuzzClock();
    ResetWorkingDate();
    std::string out;
    for (const std::string& line : FuzzLines(FuzzBytes(data, size, kFuzzDateMaxBytes))) {
        ParseDatePhrase(out, line);
        std::string phrase;
        for (char c : ToFullWidth(line))
            if (c != ' ') phrase.push_back(c);
        ParseDatePhrase(out, phrase);
        ParseDateRest(out, line);
        std::string start, end;
        GetPeriodRange(start, end, line);
        if (g_dtWork.month < 1 || g_dtWork.month > 12 || g_dtWork.day < 1 || g_dtWork.day > 31) std::abort();
    }
}
