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
    /// A calculator whose date offsets move a base date of its own.
    Calculator() : m_date(&m_ownDate) {}
    /// A calculator whose date offsets move the notebook's base date.
    explicit Calculator(WorkingDate& date) : m_date(&date) {}
    Calculator(const Calculator&) = delete;
    Calculator& operator=(const Calculator&) = delete;

    /// Answers an arithmetic line (its full-width form); asciiForm, when given, is
    /// AppendAsciiForm of it, made by the caller on its own walk over the line.
    void Calculate(std::string& answer, const std::string& line, const std::string* asciiForm = nullptr);
    /// Answers a sum of clock times (its full-width form).
    void CalculateTime(std::string& answer, const std::string& line);

    /// The variable of that name, or null.
    const Variable* FindVariable(const std::string& name) const { return m_variables.Lookup(name); }
    std::size_t GetVariableCount() const { return m_variables.GetCount(); }
    /// Calls f(name, variable) for every variable, in the table's order.
    template <class F>
    void ForEachVariable(F f) const {
        m_variables.ForEach(f);
    }
    /// Enters a variable under its name, replacing one of that name, the way a loaded
    /// file's variables come in: no change is counted.
    void AddVariable(const Variable& variable);
    /// Destroys every variable; the memory register stays.
    void DeleteAllVariables();
    /// Deletes every variable whose "name value" text is text (a row of the variables
    /// list); false when none was.
    bool DeleteVariablesShownAs(const std::string& text);
    /// Takes the variables of other (a notebook just loaded), in place of this one's;
    /// other is left without any.
    void TakeVariables(Calculator& other);
    void Serialize(class Archive& ar);

    /// The memory register (survives File New); 0 when not in use.
    double GetMemory() const { return m_memory; }
    /// Puts the memory register out of use.
    void ClearMemory() {
        m_hasMemory = false;
        m_memory = 0;
    }

    /// The change flag: stored data changed (assignments, deletions, and the names, for
    /// which the notebook uses it as its general flag). Cleared only when the notebook
    /// is new, opened or saved.
    bool IsChanged() const { return m_calcChanged; }
    void SetChanged() { m_calcChanged = true; }
    void ClearChanged() { m_calcChanged = false; }
    /// Counts the variables' changes (never goes back), so that the notebook can tell
    /// its listeners which data moved.
    unsigned GetChangeCount() const { return m_changes; }

private:
    /// Function keywords, in the order they are searched.
    enum {
        FunctionSquareRoot,
        FunctionRoot,
        FunctionPercentSign,
        FunctionPercentWord,
        FunctionHours,
        FunctionNone = -1
    };
    /// Date units of the offset form 「＋３日」, in the order they are searched.
    enum { UnitDay, UnitWeek, UnitMonth, UnitMonths, UnitYear, UnitNone = -1 };

    /// False when the prepared line ends (before trailing blanks) in + - * or /.
    static bool IsComplete(const std::string& line);
    /// True when the text holds any of + - * / before its NUL.
    static bool HasOperator(const char* text);

    /// Records the first error of the evaluation; later ones only count.
    void SetError(int id);

    /// Sum and difference of terms.
    double EvalExpression(Scanner& scan);
    /// Product and quotient of factors.
    double EvalTerm(Scanner& scan);
    /// Numbers, groups, signs, memory factors, functions, variables and assignments.
    double EvalFactor(Scanner& scan);

    /// The function id of a keyword, or FunctionNone.
    static int FindFunction(const char* text);
    /// The function applied to its argument.
    static double ApplyFunction(int id, double arg);
    /// The unit id of a date-unit word, or UnitNone.
    static int FindDateUnit(const char* text);
    /// Moves the base date by the count after the sign and puts the date sentence in
    /// m_textAnswer.
    void AnswerDateOffset(int unit, Scanner& scan, int signToken);

    double EvalWord(Scanner& scan);
    void RefuseNumber(const Scanner& scan);
    std::string Quote(const std::string& line, const std::string& read, std::size_t from, std::size_t to) const;
    double EvalGroup(Scanner& scan);
    double LookupValue(const char* name);
    bool IsDateOffset(const Scanner& scan, int& unit) const;
    void UpdateMemory(double& value);
    void NoteChange() {
        m_calcChanged = true;
        ++m_changes;
    }

    DurationParts TimeExpression(Scanner& scan);
    DurationParts TimeTerm(Scanner& scan);
    DurationParts TimePrimary(Scanner& scan);
    std::int64_t TimeCount(Scanner& scan);
    DurationParts MakeTime(std::int64_t seconds);

    Scanner m_scan;
    int m_error = 0;                  // string-table id of the first error; 0 none
    StringMap<Variable> m_variables;  // the variables, owned
    bool m_hasTextAnswer = false;     // the line is answered by m_textAnswer
    std::string m_textAnswer;
    bool m_hasMemory = false;  // the memory register is in use
    double m_memory = 0;       // the memory register (survives File New)
    int m_terms = 0;           // terms begun outside parentheses in the line
    bool m_inParen = false;    // a group is being evaluated (a flag, not a depth)
    std::string m_read;        // the line without grouping commas or blanks, when it has them
    std::string m_line;        // the prepared line the scanner reads, reused between lines
    std::string m_number;      // the number text of the answer, reused
    std::string m_key;         // lookup key, reused
    int m_errorCount = 0;      // every SetError, not only the first: tells an assignment its own errors
    int m_factorDepth = 0;     // nesting of factors, bounded so that no line exhausts the stack
    // The first error's number that no one reads that way (「１万億」), as bytes of m_line;
    // the end is 0 when the first error was another.
    std::size_t m_badNumberStart = 0;
    std::size_t m_badNumberEnd = 0;
    bool m_calcChanged = false;  // see IsChanged
    unsigned m_changes = 0;      // see GetChangeCount
    WorkingDate m_ownDate;       // the base date when no notebook hands one
    WorkingDate* m_date;         // the base date the date offsets move
};

}  // namespace nelo
