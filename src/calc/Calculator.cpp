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
    ++m_nErrorCount;
    if (m_nError == 0) m_nError = id;
}

void Calculator::DeleteAllSymbols() { m_mapSymbols.RemoveAll(); }

bool Calculator::DeleteSymbolsShownAs(const std::string& text) {
    // The walk always runs to the end: every symbol shown with that text goes.
    bool bDeleted = false;
    auto pos = m_mapSymbols.GetStartPosition();
    std::string key;
    Variable* pSymbol = nullptr;
    while (pos) {
        m_mapSymbols.GetNextAssoc(pos, key, pSymbol);
        if (pSymbol->GetDisplayText() == text) {
            m_mapSymbols.RemoveKey(key);
            NoteChange();
            bDeleted = true;
        }
    }
    return bDeleted;
}

int Calculator::Calculate(std::string& answer, const std::string& line) {
    m_bTextAnswer = 0;
    m_strTextAnswer.clear();
    m_nTerms = 0;
    m_bInParen = 0;
    m_nDepth = 0;

    // Most lines have neither blanks nor grouping commas: their ASCII form, half as long,
    // shows it at a glance.
    m_strLine.clear();
    AppendAsciiForm(m_strLine, line);
    const std::string* pRead = &line;
    if (MayHoldBlankOrComma(m_strLine)) {
        pRead = &CalcLineText(line, m_strRead);
        if (pRead != &line) {
            m_strLine.clear();
            AppendAsciiForm(m_strLine, *pRead);
        }
    }
    m_scan.Reset(m_strLine);
    m_nBadNumberEnd = 0;

    answer.clear();
    if (!IsComplete(m_strLine)) {
        answer = LoadStringId(IDS_CANNOT_CALCULATE);
        return 1;
    }
    ResetError();
    double value = EvalExpression(m_scan);
    if (m_nError != 0) {
        if (m_nBadNumberEnd != 0)
            answer = Quote(line, *pRead, m_nBadNumberStart, m_nBadNumberEnd) + "は数として読めません。"_sj;
        else
            answer = LoadStringId(IDS_CANNOT_CALCULATE);
        return 1;
    }
    if (m_bTextAnswer) {
        AppendFullWidth(answer, m_strTextAnswer);
        return 1;
    }
    // The evaluation stopped before the end of the line; what it did not read must not
    // hide part of the sum.
    if (HidesArithmetic(m_scan.LineFrom(m_scan.m_nCursor))) {
        answer = Quote(line, *pRead, m_scan.m_nCursor, m_strLine.size()) + "は計算できません。"_sj;
        return 1;
    }
    // A value that is no number (a root of a negative number, the register divided by
    // zero, an overflow) is no answer, and the register keeps what it held.
    if (!std::isfinite(value)) {
        answer = LoadStringId(IDS_CANNOT_CALCULATE);
        return 1;
    }
    UpdateMemory(value);
    if (!std::isfinite(value)) {
        answer = LoadStringId(IDS_CANNOT_CALCULATE);
        return 1;
    }
    FormatNumber(value, m_strNumber);
    AppendFullWidth(answer, m_strNumber);
    int fn = FindFunction(m_scan.m_szToken);
    if (fn == fnPercentSign || fn == fnPercentWord) answer += "％"_sj;
    return 1;
}

// The memory rules: one term outside parentheses and no * or / after the first byte
// sets the register (a leading sign on a lone operand adds to it); anything else clears
// it. value is replaced by what the answer shows. Nothing changes when the new value
// would not be finite.
void Calculator::UpdateMemory(double& value) {
    const char* line = m_strLine.c_str();
    const char* rest = line[0] ? line + 1 : line;
    if (m_nTerms == 1 && !HasAnyOf(rest, "*/")) {
        double v = value;
        if ((line[0] == '+' || line[0] == '-') && !HasOperator(rest)) v = v + m_dMemory;
        value = v;
        if (!std::isfinite(v)) return;
        m_bMemory = 1;
        m_dMemory = v;
    } else if (m_bMemory) {
        m_bMemory = 0;
        m_dMemory = 0;
    }
}

double Calculator::EvalExpression(Scanner& scan) {
    double v = EvalTerm(scan);
    while (scan.m_nToken == tokPlus || scan.m_nToken == tokMinus) {
        int op = scan.m_nToken;
        double r = EvalTerm(scan);
        v = op == tokPlus ? v + r : v - r;
    }
    PutBack(scan);
    return v;
}

double Calculator::EvalTerm(Scanner& scan) {
    if (!m_bInParen) ++m_nTerms;
    double v = EvalFactor(scan);
    for (;;) {
        int t = GetToken(scan);
        if (t == tokMul) {
            v = v * EvalFactor(scan);
        } else if (t == tokDiv) {
            double d = EvalFactor(scan);
            if (d == 0) {
                SetError(IDS_CANNOT_CALCULATE);
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
    m_bInParen = 1;
    double v = EvalExpression(scan);
    if (GetToken(scan) != tokRParen) {
        SetError(IDS_CANNOT_CALCULATE);
        v = 0;
    }
    m_bInParen = 0;
    return v;
}

double Calculator::EvalFactor(Scanner& scan) {
    DepthGuard guard(m_nDepth);
    if (guard.TooDeep()) {
        SetError(IDS_CANNOT_CALCULATE);
        return 0;
    }
    int t = GetToken(scan);
    switch (t) {
    case tokLParen: return EvalGroup(scan);
    case tokPlus:
    case tokMinus: {
        int unit = unitNone;
        if (IsDateOffset(scan, unit)) {
            m_bTextAnswer = 1;
            return AnswerDateOffset(unit, scan, t);
        }
        double v = EvalFactor(scan);
        return t == tokPlus ? v : -v;
    }
    case tokMul:
        if (!HasOperator(scan.LineFrom(1))) return EvalFactor(scan) * m_dMemory;
        return EvalGroup(scan);
    case tokDiv:
        if (!HasOperator(scan.LineFrom(1))) return m_dMemory / EvalFactor(scan);
        return EvalGroup(scan);
    case tokWord: return EvalWord(scan);
    case tokBadNumber: RefuseNumber(scan); return 0;
    default:
        // Numbers, and every token that continues no rule, give the last number read.
        return scan.m_dValue;
    }
}

// A word: an assignment or recall when "=" follows, else a function or a variable.
double Calculator::EvalWord(Scanner& scan) {
    char name[sizeof scan.m_szToken];
    std::memcpy(name, scan.m_szToken, sizeof name);
    name[sizeof name - 1] = '\0';

    if (GetToken(scan) == tokAssign) {
        if (scan.ByteAt(scan.m_nCursor) == '\0') return LookupValue(name);
        int errorsBefore = m_nErrorCount;
        double v = EvalExpression(scan);
        // An assignment whose own expression failed stores nothing; nor does one whose
        // expression stops before arithmetic it did not read (「単価＝１０ドル×３」), which
        // the answer then names. A ")" after it closes a group around the assignment.
        if (m_nErrorCount != errorsBefore) return v;
        const char* rest = SkipBlanks(scan.LineFrom(scan.m_nCursor));
        if (*rest != ')' && HidesArithmetic(rest)) return v;
        if (!std::isfinite(v)) {
            SetError(IDS_CANNOT_CALCULATE);
            return v;
        }
        m_strKey.assign(name);
        m_mapSymbols.SetAt(m_strKey, std::make_unique<Variable>(m_strKey, v));
        NoteChange();
        return v;
    }
    PutBack(scan);
    int fn = FindFunction(name);
    if (fn != fnNone) return ApplyFunction(fn, EvalFactor(scan));
    return LookupValue(name);
}

double Calculator::LookupValue(const char* name) {
    m_strKey.assign(name);
    const Variable* pSymbol = m_mapSymbols.Lookup(m_strKey);
    if (pSymbol == nullptr || pSymbol->m_nKind == 1) {
        SetError(IDS_CANNOT_CALCULATE);
        return 0;
    }
    return pSymbol->m_dValue;
}

// A number that breaks the order of its units is an error that names the number.
void Calculator::RefuseNumber(const Scanner& scan) {
    if (m_nError == 0) {
        std::size_t start = scan.m_nTokenStart;
        while (scan.ByteAt(start) == ' ' || scan.ByteAt(start) == '\t') ++start;
        m_nBadNumberStart = start;
        m_nBadNumberEnd = scan.m_nCursor;
    }
    SetError(IDS_CANNOT_CALCULATE);
}

// 「TEXT」 for bytes [from, to) of the prepared line, in the characters the user typed;
// a long text is cut with "…".
std::string Calculator::Quote(const std::string& line, const std::string& read, std::size_t from,
                              std::size_t to) const {
    std::string text = TypedPart(line, read, m_strLine, from, to);
    std::size_t end = 0, chars = 0;
    while (end < text.size() && chars < kMaxQuotedChars) {
        end += DbcsAt(text, end) ? 2 : 1;
        ++chars;
    }
    if (end < text.size()) {
        text.resize(end);
        text += "…"_sj;
    }
    return "「"_sj + text + "」"_sj;
}

}  // namespace nelo
