// What the date-phrase fuzz target does with one input: each line is read as a phrase
// as typed and as the interpreters hand it on (full width, no blanks), as a word with a
// range, in the contexts of a schedule's start and end and of a question; the words of
// the line are read as a schedule line and as a query; and the date questions' answers
// and the date arithmetic run on what was read.
#pragma once

#include "FuzzInput.h"
#include "dates/DateAnswers.h"
#include "dates/DateReader.h"
#include "dates/DateText.h"
#include "dates/WorkingDate.h"
#include "schedule/PeriodQuery.h"
#include "schedule/ScheduleLine.h"
#include "text/JText.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>
#include <vector>

/// Inputs beyond this many bytes are cut.
constexpr std::size_t kFuzzDateMaxBytes = 2048;

/// Reads the lines of the input every way the program does; nothing may crash, and a
/// date that was read is one the calendar has.
inline void FuzzDatePhraseOnce(const std::uint8_t* data, std::size_t size) {
    FreezeFuzzClock();
    nelo::WorkingDate base;
    std::string out;
    for (const std::string& line : FuzzLines(FuzzBytes(data, size, kFuzzDateMaxBytes))) {
        const std::string full = nelo::ToFullWidthHalfBlank(line);
        std::string phrase;
        for (char c : full)
            if (c != ' ') phrase.push_back(c);
        nelo::PhraseContext ctx = nelo::PhraseContext::Now();
        nelo::PhraseContext end = ctx;
        end.hasEnd = end.hasPrevious = end.hasAhead = true;
        end.previous = end.ahead = end.timeDay = base.Date();
        const std::string* const texts[] = {&line, &phrase};
        const nelo::PhraseContext* const contexts[] = {&ctx, &end};
        for (const std::string* p : texts) {
            for (const nelo::PhraseContext* c : contexts) {
                const nelo::DateReading r = nelo::ReadDatePhrase(*p, *c, c == &end);
                if (r.outcome == nelo::ReadOutcome::Read && (!nelo::IsValidDate(r.date) || !nelo::IsValidDate(r.last)))
                    std::abort();
                if (r.outcome != nelo::ReadOutcome::NotADate) out = nelo::RefusalText(r, *p, nelo::PhraseUse::Schedule);
                if (r.IsDay()) {
                    std::string display;
                    std::time_t t = 0;
                    nelo::FormatEntryDate(display, r.date, r.hour, r.minute, t);
                    nelo::WeekdayAnswer(out, r.date);
                    nelo::AgeAnswer(out, r.date);
                    nelo::DayCountAnswer(out, base.Date(), r.date);
                    base.Set(r.date, r.HasTime() ? r.hour : nelo::kNoTime, r.minute);
                }
            }
            nelo::ParseRangeWord(*p, true);
        }
        nelo::AnswerEra(out, phrase);

        // The words of the line as a schedule line and as a query.
        std::vector<std::string_view> words;
        std::string_view rest(full);
        while (!rest.empty()) {
            const std::size_t blank = rest.find(' ');
            if (blank != 0) words.push_back(rest.substr(0, blank));
            if (blank == std::string_view::npos) break;
            rest.remove_prefix(blank + 1);
        }
        nelo::ReadScheduleWhen(words, ctx);
        nelo::SchedulePeriod period;
        nelo::ReadQueryPeriod(words, ctx, period, out);

        // Date arithmetic by a number the line's first bytes give.
        std::int32_t n = 0;
        std::memcpy(&n, line.data(), line.size() < sizeof n ? line.size() : sizeof n);
        switch (line.empty() ? 0 : static_cast<unsigned char>(line[0]) % 4) {
        case 0: nelo::AddDaysAnswer(base, out, n); break;
        case 1: nelo::AddWeeksAnswer(base, out, n); break;
        case 2: nelo::AddMonthsAnswer(base, out, n); break;
        default: nelo::AddYearsAnswer(base, out, n); break;
        }
        if (!nelo::IsValidDate(base.Date()) || !nelo::IsYearInRange(base.Date().year)) std::abort();
    }
}
