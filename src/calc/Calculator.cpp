#include "calc/Calculator.h"

#include "calc/CalcLineText.h"
#include "calc/FormatNumber.h"
#include "strings/StringTable.h"
#include "text/JText.h"
#include "text/Sjis.h"

#include <cmath>
#include <cstring>
#include <memory>

namespace nelo {

namespace {

// Deeper nesting of groups and signs than any typed line needs answers "計算できません。"
// instead of running out of stack.
constexpr int kMaxDepth = 1000;

// The nesting counter of one factor: entered on construction, left on destruction.
class DepthGuard {
public:
    explicit DepthGuard(int& depth) : m_depth(depth) { ++m_depth; }
    ~DepthGuard() { --m_depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
    bool TooDeep() const { return m_depth > kMaxDepth; }

private:
    int& m_depth;
};

// True when the C text holds any of the characters in set.
inline bool HasAnyOf(const char* text, const char* set) { return std::strpbrk(text, set) != nullptr; }

inline const char* SkipBlanks(const char* text) {
    while (*text == ' ' || *text == '\t') ++text;
    return text;
}

// True when the part of a line the evaluator did not read hides arithmetic: it holds a
// digit or an operator, so that answering what was read would be silently wrong
// (「１０ドル×３」). A remark in parentheses is no part of the sum (「２（３）」,
// 「１００円（税込）」), and words without either pass unread (「１００円×３個」, 「５０％」).
// Trail bytes of double-byte characters are never digits, parentheses or operators.
bool HidesArithmetic(const char* rest) {
    rest = SkipBlanks(rest);
    if (*rest == '\0') return false;  // the usual case: the whole line was read
    while (*rest == '(') {
        int depth = 0;
        const char* p = rest;
        for (; *p != '\0'; ++p) {
            if (*p == '(') ++depth;
            if (*p == ')' && --depth == 0) break;
        }
        if (*p == '\0') break;  // no end to the remark: it is read as the rest of the line
        rest = SkipBlanks(p + 1);
    }
    return HasAnyOf(rest, "0123456789+-*/");
}

// Longest quotation of the typed line in an answer, in characters.
constexpr std::size_t kMaxQuotedChars = 24;

// Appends the full-width form of a number text (ASCII digits, "-", "."), as
// AppendFullWidth writes it, in one short loop.
void AppendFullWidthNumber(std::string& out, const std::string& number) {
    const std::size_t base = out.size();
    out.resize(base + 2 * number.size());
    char* o = out.data() + base;
    for (const char c : number) {
        const unsigned code = FullWidthOfAscii(static_cast<unsigned char>(c));
        *o++ = static_cast<char>(code >> 8);
        *o++ = static_cast<char>(code & 0xFF);
    }
}

}  // namespace

bool Calculator::IsComplete(const std::string& line) {
    std::size_t end = std::strlen(line.c_str());
    while (end > 0 && line[end - 1] == ' ') --end;
    if (end == 0) return true;
    char last = line[end - 1];
    return !(last == '+' || last == '-' || last == '*' || last == '/');
}

bool Calculator::HasOperator(const char* text) { return HasAnyOf(text, "+-*/"); }

void Calculator::SetError(int id) {
    ++m_errorCount;
    if (m_error == 0) m_error = id;
}

void Calculator::AddVariable(const Variable& variable) {
    m_variables.SetAt(variable.GetName(), std::make_unique<Variable>(variable));
}

void Calculator::DeleteAllVariables() { m_variables.RemoveAll(); }

void Calculator::TakeVariables(Calculator& other) { m_variables = std::move(other.m_variables); }

bool Calculator::DeleteVariablesShownAs(const std::string& text) {
    // The walk always runs to the end: every variable shown with that text goes.
    bool deleted = false;
    auto pos = m_variables.GetStartPosition();
    std::string key;
    Variable* variable = nullptr;
    while (pos) {
        m_variables.GetNextAssoc(pos, key, variable);
        if (variable->GetDisplayText() == text) {
            m_variables.RemoveKey(key);
            NoteChange();
            deleted = true;
        }
    }
    return deleted;
}

void Calculator::Calculate(std::string& answer, const std::string& line, const std::string* asciiForm) {
    m_hasTextAnswer = false;
    m_textAnswer.clear();
    m_terms = 0;
    m_inParen = false;
    m_factorDepth = 0;

    // Most lines have neither blanks nor grouping commas: their ASCII form, half as long,
    // shows it at a glance.
    if (asciiForm != nullptr) {
        m_line.assign(*asciiForm);
    } else {
        m_line.clear();
        AppendAsciiForm(m_line, line);
    }
    const std::string* read = &line;
    if (MayHoldBlankOrComma(m_line)) {
        read = &CalcLineText(line, m_read);
        if (read != &line) {
            m_line.clear();
            AppendAsciiForm(m_line, *read);
        }
    }
    m_scan.Reset(m_line);
    m_badNumberEnd = 0;

    answer.clear();
    if (!IsComplete(m_line)) {
        answer = LoadStringId(AnswerCannotCalculate);
        return;
    }
    m_error = 0;
    double value = EvalExpression(m_scan);
    if (m_error != 0) {
        if (m_badNumberEnd != 0)
            answer = Quote(line, *read, m_badNumberStart, m_badNumberEnd) + "は数として読めません。"_sj;
        else
            answer = LoadStringId(AnswerCannotCalculate);
        return;
    }
    if (m_hasTextAnswer) {
        AppendFullWidth(answer, m_textAnswer);
        return;
    }
    // The evaluation stopped before the end of the line; what it did not read must not
    // hide part of the sum.
    if (HidesArithmetic(m_scan.LineFrom(m_scan.GetCursor()))) {
        answer = Quote(line, *read, m_scan.GetCursor(), m_line.size()) + "は計算できません。"_sj;
        return;
    }
    // A value that is no number (a root of a negative number, the register divided by
    // zero, an overflow) is no answer, and the register keeps what it held.
    if (!std::isfinite(value)) {
        answer = LoadStringId(AnswerCannotCalculate);
        return;
    }
    UpdateMemory(value);
    if (!std::isfinite(value)) {
        answer = LoadStringId(AnswerCannotCalculate);
        return;
    }
    FormatNumber(value, m_number);
    AppendFullWidthNumber(answer, m_number);
    int fn = FindFunction(m_scan.GetTokenText());
    if (fn == FunctionPercentSign || fn == FunctionPercentWord) answer += "％"_sj;
}

// The memory rules: one term outside parentheses and no * or / after the first byte
// sets the register (a leading sign on a lone operand adds to it); anything else clears
// it. value is replaced by what the answer shows. Nothing changes when the new value
// would not be finite.
void Calculator::UpdateMemory(double& value) {
    const char* line = m_line.c_str();
    const char* rest = line[0] ? line + 1 : line;
    if (m_terms == 1 && !HasAnyOf(rest, "*/")) {
        double v = value;
        if ((line[0] == '+' || line[0] == '-') && !HasOperator(rest)) v = v + m_memory;
        value = v;
        if (!std::isfinite(v)) return;
        m_hasMemory = true;
        m_memory = v;
    } else if (m_hasMemory) {
        m_hasMemory = false;
        m_memory = 0;
    }
}

double Calculator::EvalExpression(Scanner& scan) {
    double v = EvalTerm(scan);
    while (scan.GetTokenKind() == TokenPlus || scan.GetTokenKind() == TokenMinus) {
        int op = scan.GetTokenKind();
        double r = EvalTerm(scan);
        v = op == TokenPlus ? v + r : v - r;
    }
    scan.PutBack();
    return v;
}

double Calculator::EvalTerm(Scanner& scan) {
    if (!m_inParen) ++m_terms;
    double v = EvalFactor(scan);
    for (;;) {
        int t = scan.GetToken();
        if (t == TokenMultiply) {
            v = v * EvalFactor(scan);
        } else if (t == TokenDivide) {
            double d = EvalFactor(scan);
            if (d == 0) {
                SetError(AnswerCannotCalculate);
                v = 0;
            } else {
                v = v / d;
            }
        } else {
            break;
        }
    }
    return v;
}

// "(" expression ")", with the parenthesis flag set while inside.
double Calculator::EvalGroup(Scanner& scan) {
    m_inParen = true;
    double v = EvalExpression(scan);
    if (scan.GetToken() != TokenRightParen) {
        SetError(AnswerCannotCalculate);
        v = 0;
    }
    m_inParen = false;
    return v;
}

double Calculator::EvalFactor(Scanner& scan) {
    DepthGuard guard(m_factorDepth);
    if (guard.TooDeep()) {
        SetError(AnswerCannotCalculate);
        return 0;
    }
    int t = scan.GetToken();
    switch (t) {
    case TokenLeftParen: return EvalGroup(scan);
    case TokenPlus:
    case TokenMinus: {
        int unit = UnitNone;
        if (IsDateOffset(scan, unit)) {
            m_hasTextAnswer = true;
            AnswerDateOffset(unit, scan, t);
            return 0;  // the line's answer is the date sentence
        }
        double v = EvalFactor(scan);
        return t == TokenPlus ? v : -v;
    }
    case TokenMultiply:
        if (!HasOperator(scan.LineFrom(1))) return EvalFactor(scan) * m_memory;
        return EvalGroup(scan);
    case TokenDivide:
        if (!HasOperator(scan.LineFrom(1))) return m_memory / EvalFactor(scan);
        return EvalGroup(scan);
    case TokenWord: return EvalWord(scan);
    case TokenBadNumber: RefuseNumber(scan); return 0;
    default:
        // Numbers, and every token that continues no rule, give the last number read.
        return scan.GetValue();
    }
}

// A word: an assignment or recall when "=" follows, else a function or a variable.
double Calculator::EvalWord(Scanner& scan) {
    char name[Scanner::kMaxTokenBytes + 1];
    std::memcpy(name, scan.GetTokenText(), sizeof name);
    name[sizeof name - 1] = '\0';

    if (scan.GetToken() == TokenAssign) {
        if (scan.ByteAt(scan.GetCursor()) == '\0') return LookupValue(name);
        int errorsBefore = m_errorCount;
        double v = EvalExpression(scan);
        // An assignment whose own expression failed stores nothing; nor does one whose
        // expression stops before arithmetic it did not read (「単価＝１０ドル×３」), which
        // the answer then names. A ")" after it closes a group around the assignment.
        if (m_errorCount != errorsBefore) return v;
        const char* rest = SkipBlanks(scan.LineFrom(scan.GetCursor()));
        if (*rest != ')' && HidesArithmetic(rest)) return v;
        if (!std::isfinite(v)) {
            SetError(AnswerCannotCalculate);
            return v;
        }
        m_key.assign(name);
        m_variables.SetAt(m_key, std::make_unique<Variable>(m_key, v));
        NoteChange();
        return v;
    }
    scan.PutBack();
    int fn = FindFunction(name);
    if (fn != FunctionNone) return ApplyFunction(fn, EvalFactor(scan));
    return LookupValue(name);
}

double Calculator::LookupValue(const char* name) {
    m_key.assign(name);
    const Variable* variable = m_variables.Lookup(m_key);
    if (variable == nullptr || variable->IsText()) {
        SetError(AnswerCannotCalculate);
        return 0;
    }
    return variable->GetValue();
}

// A number that breaks the order of its units is an error that names the number.
void Calculator::RefuseNumber(const Scanner& scan) {
    if (m_error == 0) {
        std::size_t start = scan.GetTokenStart();
        while (scan.ByteAt(start) == ' ' || scan.ByteAt(start) == '\t') ++start;
        m_badNumberStart = start;
        m_badNumberEnd = scan.GetCursor();
    }
    SetError(AnswerCannotCalculate);
}

// 「TEXT」 for bytes [from, to) of the prepared line, in the characters the user typed;
// a long text is cut with "…".
std::string Calculator::Quote(const std::string& line, const std::string& read, std::size_t from,
                              std::size_t to) const {
    std::string text = TypedPart(line, read, m_line, from, to);
    std::size_t end = 0, chars = 0;
    while (end < text.size() && chars < kMaxQuotedChars) {
        end += DbcsAt(text, end) ? 2u : 1u;
        ++chars;
    }
    if (end < text.size()) {
        text.resize(end);
        text += "…"_sj;
    }
    return "「"_sj + text + "」"_sj;
}

}  // namespace nelo
