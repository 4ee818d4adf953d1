#include "dates/DateCommands.h"

#include "dates/DateAnswers.h"
#include "dates/DateReader.h"
#include "dates/WorkingDate.h"
#include "strings/StringTable.h"
#include "text/JText.h"
#include "text/Sjis.h"
#include "units/UnitConvert.h"

#include <array>
#include <iterator>

namespace nelo {

namespace {

// The kinds of date question.
constexpr int kWeekday = 1;
constexpr int kAge = 2;
constexpr int kBaseDate = 3;
constexpr int kDayCount = 4;

struct CommandWord {
    const char* word;
    int kind;
};

// The question words, matched against the whole first word of a line.
const CommandWord kCommandWords[] = {
    {"何曜日"_sj, kWeekday}, {"曜日"_sj, kWeekday},    {"何歳"_sj, kAge},
    {"何才"_sj, kAge},       {"年齢"_sj, kAge},        {"年令"_sj, kAge},
    {"日付"_sj, kBaseDate},  {"基準日"_sj, kBaseDate}, {"日数"_sj, kDayCount},
};

// The suffix words, matched against the last character of the first word (0 the era,
// 1-10 the units). "斤", the usual character of the weight unit, counts as "斥".
const CommandWord kUnitWords[] = {
    {"年"_sj, 0}, {"尺"_sj, 1}, {"間"_sj, 2}, {"里"_sj, 3}, {"坪"_sj, 4},  {"反"_sj, 5},
    {"町"_sj, 6}, {"合"_sj, 7}, {"升"_sj, 8}, {"貫"_sj, 9}, {"斥"_sj, 10}, {"斤"_sj, 10},
};

// The kind of question a word asks; 0 when it is no question word. The lengths of the
// words are counted once.
int QuestionKind(std::string_view word) {
    static const auto kViews = [] {
        std::array<std::string_view, std::size(kCommandWords)> views;
        for (std::size_t i = 0; i < views.size(); ++i) views[i] = kCommandWords[i].word;
        return views;
    }();
    for (std::size_t k = 0; k < kViews.size(); ++k)
        if (word == kViews[k]) return kCommandWords[k].kind;
    return 0;
}

}  // namespace

bool DateCommands::IsQuestionWord(std::string_view word) { return QuestionKind(word) != 0; }

bool DateCommands::EndsWithUnitWord(std::string_view word) {
    for (const CommandWord& unit : kUnitWords)
        if (EndsWithDbcs(word, unit.word)) return true;
    return false;
}

bool DateCommands::Answer(const std::string& text, std::string& answer) {
    return m_line.Read(text) && Answer(m_line, answer);
}

bool DateCommands::Answer(const CommandLine& line, std::string& answer) {
    const std::string_view word = line.GetWords()[0];
    if (const int kind = QuestionKind(word)) {
        AnswerQuestion(kind, line, answer);
        return true;
    }
    for (const CommandWord& unit : kUnitWords) {
        if (!EndsWithDbcs(word, unit.word)) continue;
        // The whole word: a quantity is never cut.
        Convert(unit.kind, std::string(word), answer);
        return true;
    }
    return false;
}

void DateCommands::AnswerQuestion(int kind, const CommandLine& line, std::string& answer) {
    const auto& words = line.GetWords();
    if (words.size() < 2) {
        answer = LoadStringId(AnswerNoDate);
        return;
    }
    const std::string_view phrase = words[1];
    // A time of day alone falls on the base date.
    PhraseContext ctx = PhraseContext::Now();
    ctx.timeDay = m_date.Date();
    const DateReading r = ReadDatePhrase(phrase, ctx);
    if (!r.IsDay()) {
        if (r.outcome == ReadOutcome::Refused || r.outcome == ReadOutcome::Read)
            answer = RefusalText(r, phrase, PhraseUse::Question);
        else
            answer = LoadStringId(kind == kDayCount ? AnswerDontKnow : AnswerBadDate);
        return;
    }
    std::string& out = m_dateOut;
    switch (kind) {
    case kWeekday:
        // The most asked question goes out in full width at once.
        m_date.Set(r.date, r.HasTime() ? r.hour : kNoTime, r.minute);
        FullWidthWeekdayAnswer(answer, r.date);
        return;
    case kAge:
        m_date.Set(r.date, r.HasTime() ? r.hour : kNoTime, r.minute);
        AgeAnswer(out, r.date);
        break;
    case kBaseDate:
        m_date.Set(r.date, r.HasTime() ? r.hour : kNoTime, r.minute);
        BaseDateAnswer(out, r.date);
        break;
    default: DayCountAnswer(out, m_date.Date(), r.date); break;
    }
    answer.clear();
    AppendFullWidth(answer, out);
}

void DateCommands::Convert(int kind, const std::string& word, std::string& answer) {
    std::string out;
    if (kind == 0) {
        AnswerEra(out, word);
    } else if (ConvertUnit(kind, word, out) == 0) {
        answer = LoadStringId(AnswerBadNumber);
        return;
    }
    answer = ToFullWidth(out);
}

}  // namespace nelo
