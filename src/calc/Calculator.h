// The calculator: arithmetic lines, clock-time sums, variables and the memory register.
#pragma once

#include "calc/Scanner.h"
#include "calc/DurationParts.h"
#include "calc/Variable.h"
#include "dates/WorkingDate.h"
#include "platform/StringMap.h"

#include <cstdint>
#include <string>

namespace nelo {

class Calculator {
public:
    /// Function keywords, in the order they are searched.
    enum { fnSquareRoot, fnRoot, fnPercentSign, fnPercentWord, fnHours, fnNone = -1 };
    /// Date units of the offset form 「＋３日」, in the order they are searched.
    enum { unitDay, unitWeek, unitMonth, unitMonths, unitYear, unitNone = -1 };

    /// A calculator whose date offsets move a base date of its own.
    Calculator() : m_date(&m_ownDate) {}
    /// A calculator whose date offsets move the notebook's base date.
    explicit Calculator(WorkingDate& date) : m_date(&date) {}
    Calculator(const Calculator&) = delete;
    Calculator& operator=(const Calculator&) = delete;

    /// Answers an arithmetic line (its full-width form); always returns 1.
    int Calculate(std::string& answer, const std::string& line);
    /// Answers a sum of clock times (its full-width form); always returns 1.
    int CalculateTime(std::string& answer, const std::string& line);
    /// Destroys every variable; the memory register stays.
    void DeleteAllVariables();
    /// Deletes every variable whose "name value" text is text (a row of the variables
    /// dialog); false when none was.
    bool DeleteVariablesShownAs(const std::string& text);
    void Serialize(class Archive& ar);

    /// The change flag: stored data changed (assignments, deletions, and the names, for
    /// which the document uses it as its general flag). Cleared only when the notebook
    /// is new, opened or saved.
    bool IsChanged() const { return m_calcChanged == 1; }
    void SetChanged() { m_calcChanged = 1; }
    void ClearChanged() { m_calcChanged = 0; }
    /// Counts the variables' changes (never goes back), so that the document can tell
    /// its listeners which data moved.
    unsigned GetChangeCount() const { return m_changes; }

    /// False when the prepared line ends (before trailing blanks) in + - * or /.
    static bool IsComplete(const std::string& line);
    /// True when the text holds any of + - * / before its NUL.
    static bool HasOperator(const char* text);

    /// Scans the next token of scan; returns its kind.
    int GetToken(Scanner& scan) { return scan.GetToken(); }
    /// Makes scan yield its current token again.
    void PutBack(Scanner& scan) { scan.PutBack(); }

    /// Records the first error of the evaluation; later ones only count.
    void SetError(int id);
    void ResetError() { m_error = 0; }

    /// Sum and difference of terms.
    double EvalExpression(Scanner& scan);
    /// Product and quotient of factors.
    double EvalTerm(Scanner& scan);
    /// Numbers, groups, signs, memory factors, functions, variables and assignments.
    double EvalFactor(Scanner& scan);

    /// The function id of a keyword, or fnNone.
    static int FindFunction(const char* text);
    /// The function applied to its argument.
    static double ApplyFunction(int id, double arg);
    /// The unit id of a date-unit word, or unitNone.
    static int FindDateUnit(const char* text);
    /// Moves the base date by the count after the sign and puts the date sentence in
    /// m_textAnswer; returns 0 (the factor's value).
    int AnswerDateOffset(int unit, Scanner& scan, int signToken);

    Scanner m_scan;
    int m_error = 0;                  ///< string-table id of the first error; 0 none
    StringMap<Variable> m_variables;  ///< the variables, owned
    int m_hasTextAnswer = 0;          ///< the line is answered by m_textAnswer
    std::string m_textAnswer;
    int m_hasMemory = 0;  ///< the memory register is in use
    double m_memory = 0;  ///< the memory register (survives File New)
    int m_terms = 0;      ///< terms begun outside parentheses in the line
    int m_inParen = 0;    ///< a group is being evaluated (a flag, not a depth)

private:
    double EvalWord(Scanner& scan);
    void RefuseNumber(const Scanner& scan);
    std::string Quote(const std::string& line, const std::string& read, std::size_t from, std::size_t to) const;
    double EvalGroup(Scanner& scan);
    double LookupValue(const char* name);
    bool IsDateOffset(const Scanner& scan, int& unit) const;
    void UpdateMemory(double& value);
    void NoteChange() {
        m_calcChanged = 1;
        ++m_changes;
    }

    DurationParts TimeExpression(Scanner& scan);
    DurationParts TimeTerm(Scanner& scan);
    DurationParts TimePrimary(Scanner& scan);
    std::int64_t TimeCount(Scanner& scan);
    DurationParts MakeTime(std::int64_t seconds);

    std::string m_read;     // the line without grouping commas or blanks, when it has them
    std::string m_line;     // the prepared line the scanner reads, reused between lines
    std::string m_number;   // the number text of the answer, reused
    std::string m_key;      // lookup key, reused
    int m_errorCount = 0;   // every SetError, not only the first: tells an assignment its own errors
    int m_factorDepth = 0;  // nesting of factors, bounded so that no line exhausts the stack
    // The first error's number that no one reads that way (「１万億」), as bytes of m_line;
    // the end is 0 when the first error was another.
    std::size_t m_badNumberStart = 0;
    std::size_t m_badNumberEnd = 0;
    int m_calcChanged = 0;   // see IsChanged
    unsigned m_changes = 0;  // see GetChangeCount
    WorkingDate m_ownDate;   // the base date when no notebook hands one
    WorkingDate* m_date;     // the base date the date offsets move
};

}  // namespace nelo
