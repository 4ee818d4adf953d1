// What the date-phrase fuzz target does with one input: each line is parsed as a
// phrase as typed, as the interpreters hand it on (full width, no blanks), as the
// second stage's text and as a period word, and answered as every date question. The
// working date is shared by the lines of one input, as it is by the lines of a
// conversation, and reset to today per input.
#pragma once

#include "FuzzInput.h"
#include "dates/DateAnswers.h"
#include "dates/DateParser.h"
#include "dates/DateText.h"
#include "dates/DateTimeRec.h"
#include "text/JText.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

/// Inputs beyond this many bytes are cut.
constexpr std::size_t kFuzzDateMaxBytes = 2048;

/// Parses the lines of the input every way the program does; nothing may crash and the
/// working date's month must stay one that indexes the month table (a refused date may
/// leave day 0 behind: only the first problem of a date is corrected).
inline void FuzzDatePhraseOnce(const std::uint8_t* data, std::size_t size) {
    FreezeFuzzClock();
    ResetWorkingDate();
    std::string out;
    for (const std::string& line : FuzzLines(FuzzBytes(data, size, kFuzzDateMaxBytes))) {
        ParseDatePhrase(out, line);
        std::string phrase;
        for (char c : ToFullWidth(line))
            if (c != ' ') phrase.push_back(c);
        if (ParseDatePhrase(out, phrase) == 1) {
            std::string display;
            std::time_t t = 0;
            FormatEntryDate(display, out, t);
        }
        ParseDateRest(out, line);
        std::string start, end;
        GetPeriodRange(start, end, line);

        AnswerWeekday(out, phrase);
        AnswerAge(out, phrase);
        AnswerDayCount(out, phrase);
        AnswerEra(out, phrase);
        AnswerBaseDate(out, phrase);
        // Date arithmetic by a number the line's first bytes give.
        std::int32_t n = 0;
        std::memcpy(&n, line.data(), line.size() < sizeof n ? line.size() : sizeof n);
        switch (static_cast<unsigned char>(line[0]) % 4) {
        case 0: AddDaysAnswer(out, n); break;
        case 1: AddWeeksAnswer(out, n); break;
        case 2: AddMonthsAnswer(out, n); break;
        default: AddYearsAnswer(out, n); break;
        }
        if (g_dtWork.month < 1 || g_dtWork.month > 12) std::abort();
    }
}
