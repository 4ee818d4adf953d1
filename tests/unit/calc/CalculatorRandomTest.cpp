// Thousands of generated arithmetic lines: the calculator's answer must equal that of a
// small evaluator written here over the same expression in ASCII, doing the same IEEE
// operations in the same order.
#include "calc/Calculator.h"
#include "notebook/LineRoute.h"
#include "text/JText.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

using namespace nelo;

namespace {

class ExpressionMaker {
public:
    explicit ExpressionMaker(unsigned seed) : m_rng(seed) {}

    std::string Make() {
        m_depth = 0;
        return Expr();
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

    std::string Number() {
        switch (Pick(8)) {
        case 0: return "0";
        case 1: return std::to_string(Pick(10)) + "." + std::to_string(Pick(10000));
        case 2: return "." + std::to_string(Pick(100));
        case 3: return std::to_string(Pick(100)) + ".";
        case 4: return std::to_string(Pick(1000000));
        default: return std::to_string(Pick(100));
        }
    }

    std::string Factor() {
        int k = m_depth > 4 ? 0 : Pick(10);
        if (k < 6) return Number();
        ++m_depth;
        std::string s;
        if (k < 8)
            s = "(" + Expr() + ")";
        else if (k == 8)
            s = "-" + Factor();
        else
            s = "+" + Factor();
        --m_depth;
        return s;
    }

    std::string Term() {
        std::string s = Factor();
        for (int n = Pick(3); n > 0; --n) s += (Pick(2) ? "*" : "/") + Factor();
        return s;
    }

    std::string Expr() {
        std::string s = Term();
        for (int n = Pick(3); n > 0; --n) s += (Pick(2) ? "+" : "-") + Term();
        return s;
    }

    std::mt19937 m_rng;
    int m_depth = 0;
};

// The reference: recursive descent over the ASCII text, numbers read by strtod.
class Reference {
public:
    explicit Reference(const std::string& text) : m_s(text) {}

    // False when the line divides by zero.
    bool Evaluate(double& value) {
        value = Expr();
        // A lone signed operand adds the memory register, which is 0 here.
        if ((m_s[0] == '+' || m_s[0] == '-') && m_s.find_first_of("+-*/", 1) == std::string::npos) value = value + 0.0;
        return m_ok;
    }

private:
    char Peek() const { return m_i < m_s.size() ? m_s[m_i] : '\0'; }

    double Expr() {
        double v = Term();
        while (Peek() == '+' || Peek() == '-') {
            char op = m_s[m_i++];
            double r = Term();
            v = op == '+' ? v + r : v - r;
        }
        return v;
    }

    double Term() {
        double v = Factor();
        while (Peek() == '*' || Peek() == '/') {
            char op = m_s[m_i++];
            double r = Factor();
            if (op == '*') {
                v = v * r;
            } else if (r == 0) {
                m_ok = false;
                v = 0;
            } else {
                v = v / r;
            }
        }
        return v;
    }

    double Factor() {
        char c = Peek();
        if (c == '(') {
            ++m_i;
            double v = Expr();
            ++m_i;  // ")"
            return v;
        }
        if (c == '-' || c == '+') {
            ++m_i;
            double v = Factor();
            return c == '-' ? -v : v;
        }
        const char* start = m_s.c_str() + m_i;
        char* end = nullptr;
        double v = std::strtod(start, &end);
        m_i += static_cast<std::size_t>(end - start);
        return v;
    }

    std::string m_s;
    std::size_t m_i = 0;
    bool m_ok = true;
};

// "%lf" without trailing zeros or a bare point.
std::string Trimmed(double v) {
    char buf[512];
    std::snprintf(buf, sizeof buf, "%lf", v);
    std::string s = buf;
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    return s;
}

// The typed form: full-width, with the operators in their various spellings.
std::string TypedForm(const std::string& ascii, std::mt19937& rng) {
    std::string out;
    for (char c : ascii) {
        int k = std::uniform_int_distribution<int>(0, 2)(rng);
        if (c == '*')
            out += k == 0 ? "×"_sj : "＊"_sj;
        else if (c == '/')
            out += k == 0 ? "÷"_sj : (k == 1 ? "／"_sj : "："_sj);
        else
            AppendFullWidth(out, std::string_view(&c, 1));
    }
    return out;
}

TEST(CalculatorRandom, AgreesWithAReferenceEvaluator) {
    ExpressionMaker maker(20031);
    std::mt19937 rng(7);
    Calculator calc;
    int errors = 0, numbers = 0;
    std::string answer;
    for (int i = 0; i < 20000; ++i) {
        std::string ascii = maker.Make();
        double value = 0;
        bool ok = Reference(ascii).Evaluate(value) && std::isfinite(value);
        std::string expected = ok ? ToFullWidth(Trimmed(value)) : std::string("計算できません。"_sj);
        ok ? ++numbers : ++errors;

        calc.ClearMemory();
        calc.Calculate(answer, TypedForm(ascii, rng));
        ASSERT_EQ(answer, expected) << ascii;
    }
    // Both outcomes are well represented.
    EXPECT_GT(errors, 1000);
    EXPECT_GT(numbers, 10000);
}

// The ASCII expression as a user might space it: digits of integer parts grouped by
// commas now and then, and blanks between any two characters outside a grouped number.
std::string SpacedForm(const std::string& ascii, std::mt19937& rng) {
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    auto blanks = [&rng]() -> std::string {
        if (rng() % 3 != 0) return "";
        return rng() % 2 ? " " : "  ";
    };
    std::string spaced;
    for (std::size_t i = 0; i < ascii.size();) {
        std::size_t end = i;
        while (end < ascii.size() && isDigit(ascii[end])) ++end;
        const bool integerPart = i == 0 || ascii[i - 1] != '.';
        if (end - i > 3 && integerPart && rng() % 2 == 0) {
            for (std::size_t k = i; k < end; ++k) {
                spaced += ascii[k];
                const std::size_t left = end - k - 1;
                if (left > 0 && left % 3 == 0) spaced += ',';
            }
            i = end;
        } else {
            spaced += ascii[i++];
        }
        if (i < ascii.size()) spaced += blanks();
    }
    return spaced;
}

// Lines of numbers and operators with blanks between them and digits grouped go to the
// calculator, which reads them as the same expression without blanks or commas.
TEST(CalculatorRandom, SpacedAndGroupedLinesAgree) {
    ExpressionMaker maker(1203);
    std::mt19937 rng(13);
    Calculator calc;
    std::string answer, handedOn;
    int routedCount = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string ascii = maker.Make();
        double value = 0;
        bool ok = Reference(ascii).Evaluate(value) && std::isfinite(value);
        std::string expected = ok ? ToFullWidth(Trimmed(value)) : std::string("計算できません。"_sj);

        std::string typed = SpacedForm(ascii, rng);
        // Blanks with an operator other than "/", or grouping without blanks, make a
        // calculation; a line of one number, or of numbers, groups and divisions alone,
        // routes as before.
        const bool blanks = typed.find(' ') != std::string::npos;
        const bool calculation =
            blanks ? typed.find_first_of("+-*") != std::string::npos : typed.find(',') != std::string::npos;
        LineRoute route = ClassifyLine(typed, handedOn);
        if (calculation) {
            ASSERT_EQ(route, LineRoute::Arithmetic) << typed;
            ++routedCount;
        }
        ASSERT_EQ(handedOn, ToFullWidth(typed)) << typed;  // the echo keeps the blanks

        calc.ClearMemory();
        calc.Calculate(answer, handedOn);
        ASSERT_EQ(answer, expected) << typed;
    }
    EXPECT_GT(routedCount, 10000);
}

}  // namespace

namespace {

// Random bytes and pieces of lines: every answer is one of the calculator's texts and
// nothing hangs or crashes.
TEST(CalculatorRandom, ArbitraryBytesAlwaysGetAnAnswer) {
    const std::string pieces[] = {
        "１"_sj, "０"_sj,    "．"_sj, "＋"_sj,    "－"_sj,     "×"_sj,  "÷"_sj,  "（"_sj, "）"_sj,
        "＝"_sj, "："_sj,    "日"_sj, "半径"_sj,  "平方根"_sj, "％"_sj, "ｒ"_sj, "＆"_sj, "　"_sj,
        "\x81",  "\x85\x40", "\xB1",  "\x81\x20", "\t",        " ",     "D",     "9",     ".",
        "(",     ")",        "*",     "/",        "+",         "-",     "=",     ";",     "~",
    };
    std::mt19937 rng(99);
    Calculator calc;
    std::string line, answer;
    for (int i = 0; i < 20000; ++i) {
        line.clear();
        int n = std::uniform_int_distribution<int>(0, 30)(rng);
        for (int k = 0; k < n; ++k) {
            if (rng() % 8 == 0)
                line.push_back(static_cast<char>(1 + rng() % 255));
            else
                line += pieces[rng() % (sizeof pieces / sizeof pieces[0])];
        }
        calc.Calculate(answer, line);
        ASSERT_FALSE(answer.empty()) << i;
        calc.CalculateTime(answer, line);
        ASSERT_FALSE(answer.empty()) << i;
    }
}

}  // namespace
