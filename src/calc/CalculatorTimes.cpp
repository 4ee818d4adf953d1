// Sums of clock times: 「１０：２０＋５：３０」 answers 「０日１５時間５０分」.
#include "calc/Calculator.h"

#include "calc/CalcLineText.h"
#include "dates/DatePattern.h"
#include "strings/StringTable.h"
#include "text/JText.h"
#include "text/Sjis.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

namespace nelo {

namespace {

constexpr int kMaxDepth = 1000;

// Counts larger than this cannot give a duration that fits 32 bits (unless they multiply
// nothing), and capping them keeps every product within 64 bits.
constexpr std::int64_t kMaxCount = 4000000000LL;

// The runtime's atoi over the text, saturating at kMaxCount instead of overflowing.
std::int64_t ReadCount(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kMaxCount) value = kMaxCount;
    }
    return negative ? -value : value;
}

// The operator symbols the time sums read as single-byte tokens; everything else,
// digits and "：" included, stays double-byte.
char TimeOperator(unsigned code) {
    switch (code) {
    case 0x817B: return '+';  // ＋
    case 0x817C: return '-';  // －
    case 0x817E: return '*';  // ×
    case 0x8196: return '*';  // ＊
    case 0x815E: return '/';  // ／
    case 0x8180: return '/';  // ÷
    case 0x8169: return '(';  // （
    case 0x816A: return ')';  // ）
    case 0x8181: return '=';  // ＝
    default: return 0;
    }
}

void PrepareTimeLine(std::string& out, const std::string& line) {
    out.clear();
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size() && line[i] != '\0';) {
        bool dbcs = IsLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size() && line[i + 1] != '\0';
        if (!dbcs) {
            out.push_back(line[i++]);
            continue;
        }
        char op = TimeOperator(DbcsCode(line.data() + i));
        if (op)
            out.push_back(op);
        else
            out.append(line, i, 2);
        i += 2;
    }
}

}  // namespace

void Calculator::CalculateTime(std::string& answer, const std::string& line) {
    m_hasTextAnswer = false;
    m_textAnswer.clear();
    m_terms = 0;
    m_inParen = false;
    m_factorDepth = 0;

    PrepareTimeLine(m_line, MayHoldBlankOrComma(line) ? CalcLineText(line, m_read) : line);
    m_scan.Reset(m_line);

    if (!IsComplete(m_line)) {
        answer = LoadStringId(AnswerCannotCalculate);
        return;
    }
    m_error = 0;
    DurationParts t = TimeExpression(m_scan);
    if (m_error != 0) {
        answer = LoadStringId(m_error);
        return;
    }
    char buf[96];
    std::snprintf(buf, sizeof buf, "%d日%d時間%d分"_sj, static_cast<int>(t.GetDays()), static_cast<int>(t.GetHours()),
                  static_cast<int>(t.GetMinutes()));
    answer.clear();
    AppendFullWidth(answer, buf);
}

// A duration of the given seconds; one beyond 32 bits cannot be calculated.
DurationParts Calculator::MakeTime(std::int64_t seconds) {
    if (seconds < std::numeric_limits<std::int32_t>::min() || seconds > std::numeric_limits<std::int32_t>::max()) {
        SetError(AnswerCannotCalculate);
        return DurationParts(0);
    }
    return DurationParts(static_cast<std::int32_t>(seconds));
}

DurationParts Calculator::TimeExpression(Scanner& scan) {
    DurationParts t = TimeTerm(scan);
    while (scan.GetTokenKind() == TokenPlus || scan.GetTokenKind() == TokenMinus) {
        int op = scan.GetTokenKind();
        DurationParts r = TimeTerm(scan);
        std::int64_t a = t.GetTotalSeconds(), b = r.GetTotalSeconds();
        t = MakeTime(op == TokenPlus ? a + b : a - b);
    }
    scan.PutBack();
    return t;
}

DurationParts Calculator::TimeTerm(Scanner& scan) {
    DurationParts t = TimePrimary(scan);
    for (;;) {
        int tok = scan.GetToken();
        if (tok == TokenMultiply) {
            std::int64_t n = TimeCount(scan);
            t = MakeTime(static_cast<std::int64_t>(t.GetTotalSeconds()) * n);
        } else if (tok == TokenDivide) {
            std::int64_t n = TimeCount(scan);
            if (n == 0) {
                SetError(AnswerCannotCalculate);
                t = DurationParts(0);
            } else {
                t = MakeTime(static_cast<std::int64_t>(t.GetTotalSeconds()) / n);
            }
        } else {
            break;
        }
    }
    return t;
}

DurationParts Calculator::TimePrimary(Scanner& scan) {
    if (++m_factorDepth > kMaxDepth) {
        --m_factorDepth;
        SetError(AnswerCannotCalculate);
        return DurationParts(0);
    }
    DurationParts t;
    int tok = scan.GetToken();
    if (tok == TokenLeftParen || tok == TokenMinus) {
        // Durations have no negation: a minus sign opens a group like "(".
        t = TimeExpression(scan);
        if (scan.GetToken() != TokenRightParen) {
            SetError(AnswerCannotCalculate);
            t = DurationParts(0);
        }
    } else if (tok == TokenPlus) {
        t = TimePrimary(scan);
    } else if (tok == TokenWord) {
        const char* word = scan.GetTokenText();
        std::string::size_type colon = FindDbcs(word, "："_sj);
        if (colon == std::string::npos) {
            SetError(AnswerBadTime);
        } else {
            std::string_view w(word);
            std::int64_t hours = ReadCount(ToDatePattern(w.substr(0, colon)));
            std::int64_t minutes = ReadCount(ToDatePattern(w.substr(colon + 2)));
            t = MakeTime(hours * 3600 + minutes * 60);
        }
    } else {
        double v = std::trunc(scan.GetValue());
        if (std::isfinite(v) && std::fabs(v) <= 2147483647.0)
            t = DurationParts(static_cast<std::int32_t>(v));
        else
            SetError(AnswerCannotCalculate);
    }
    --m_factorDepth;
    return t;
}

// The count after × or ÷: a word of full-width digits, after any plus signs. Anything
// else (a group, a minus sign, nothing) cannot be calculated.
std::int64_t Calculator::TimeCount(Scanner& scan) {
    int tok = scan.GetToken();
    while (tok == TokenPlus) tok = scan.GetToken();
    if (tok == TokenWord && scan.GetTokenText()[0] != '\0' && IsDigitText(scan.GetTokenText()))
        return ReadCount(ToDatePattern(scan.GetTokenText()));
    SetError(AnswerCannotCalculate);
    return 0;
}

}  // namespace nelo
