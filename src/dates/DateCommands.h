// The date questions of a typed line (「曜日　…」, 「何歳　…」, 「基準日　…」, 「日数　…」
// and their other words), the era conversion of a year word (「平成１５年」) and the
// traditional unit words (「２尺」, 「１斤」). The questions read and set the notebook's
// base date.
#pragma once

#include "dates/CommandLine.h"

#include <string>
#include <string_view>

namespace nelo {

class WorkingDate;

class DateCommands {
public:
    /// Date commands whose questions use (and set) date.
    explicit DateCommands(WorkingDate& date) : m_date(date) {}
    DateCommands(const DateCommands&) = delete;
    DateCommands& operator=(const DateCommands&) = delete;

    /// Answers a line of route Command whose first word is a question word or ends in
    /// an era or unit word; false (answer untouched) when the line is none of these.
    bool Answer(const std::string& text, std::string& answer);
    /// As above, for a line already read.
    bool Answer(const CommandLine& line, std::string& answer);
    /// True for the words that ask a date question; they never read as a date.
    static bool IsQuestionWord(std::string_view word);
    /// True when the last character of word is an era or unit word ("年", "尺", "間",
    /// "里", "坪", "反", "町", "合", "升", "斥", "斤", "貫").
    static bool EndsWithUnitWord(std::string_view word);

private:
    // Answers the date question of the given kind about the next word of the line.
    void AnswerQuestion(int kind, const CommandLine& line, std::string& answer);
    // Kind 0: the era conversion of a year word; kinds 1-10: a traditional unit.
    void Convert(int kind, const std::string& word, std::string& answer);

    CommandLine m_line;     // the line being answered
    std::string m_dateOut;  // a date answer before the full-width conversion
    WorkingDate& m_date;    // the base date
};

}  // namespace nelo
