// Amounts written the way people write them (「１億２３４５万」, 「３千５百円」, 「１，２００万」):
// thousands of generated ones, each checked against the integer a reader makes of its
// groups, worked out here with integers and without the calculator's own code.
#include "calc/Calculator.h"
#include "platform/CodePage.h"
#include "text/JText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

using namespace nelo;

namespace {

std::string Ask(Calculator& calc, const std::string& utf8) {
    std::string answer;
    calc.Calculate(answer, ToFullWidth(Utf8ToCp932(utf8).text));
    return Cp932ToUtf8(answer).text;
}

std::string FullWidthNumber(const std::string& ascii) {
    static const char* const kDigits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
    std::string out;
    for (char c : ascii) out += c == '-' ? "－" : c >= '0' && c <= '9' ? kDigits[c - '0'] : std::string(1, c);
    return out;
}

class AmountWriter {
public:
    explicit AmountWriter(unsigned seed) : m_rng(seed) {}

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

    // An amount of up to four groups (兆, 億, 万 and the rest), each written in one of
    // the ways people use; value receives what a reader makes of it.
    std::string Make(std::int64_t& value) {
        static const char* const kBig[] = {"兆", "億", "万"};
        static const std::int64_t kBigValue[] = {1000000000000, 100000000, 10000};
        std::string text;
        value = 0;
        bool first = true;
        for (int g = 0; g < 3; ++g) {
            if (Pick(3) == 0) continue;
            // The leading group of 億 or 万 may run past 9999 (「１５０００万」); 兆 stays
            // below 9000 so that every amount is exact in a double.
            std::int64_t v = 1 + Pick(g == 0 ? 8999 : 9999);
            if (first && g > 0 && Pick(5) == 0) v = 10000 + Pick(90000);
            text += Group(v, first) + kBig[g];
            value += v * kBigValue[g];
            first = false;
        }
        if (first || Pick(3) != 0) {
            std::int64_t v = 1 + Pick(9999);
            text += Group(v, first);
            value += v;
        }
        return Pick(2) ? FullWidthNumber(text) : text;
    }

private:
    // One group below 10000 (or a leading one above it, in digits): plain digits, digits
    // grouped by a comma, or with 千, 百 and 十, their digit 1 left out as it is in
    // speech except at the start of the amount.
    std::string Group(std::int64_t v, bool first) {
        std::string digits = std::to_string(v);
        int style = v >= 10000 ? Pick(2) : Pick(4);
        if (style == 1 && digits.size() > 3)
            return digits.substr(0, digits.size() - 3) + "," + digits.substr(digits.size() - 3);
        if (style == 2 || (style == 3 && v >= 1000)) {
            static const char* const kSmall[] = {"千", "百", "十"};
            static const int kSmallValue[] = {1000, 100, 10};
            std::string out;
            std::int64_t rest = v;
            for (int k = 0; k < 3; ++k) {
                std::int64_t d = rest / kSmallValue[k];
                rest %= kSmallValue[k];
                if (d == 0) continue;
                if (d > 1 || (first && out.empty()) || Pick(2)) out += std::to_string(d);
                out += kSmall[k];
                if (style == 3) break;  // 「３千４５０」: the rest in digits
            }
            if (rest > 0) out += std::to_string(rest);
            return out;
        }
        return digits;
    }

    std::mt19937 m_rng;
};

TEST(CalculatorAmounts, RandomAmountsAgainstTheirGroups) {
    AmountWriter writer(20031);
    Calculator calc;
    for (int i = 0; i < 3000; ++i) {
        std::int64_t v = 0;
        const std::string amount = writer.Make(v);
        const std::string yen = writer.Pick(3) == 0 ? "円" : "";
        std::string line;
        std::int64_t expect = 0;
        switch (writer.Pick(4)) {
        case 0:
            line = amount + yen + "＋１";
            expect = v + 1;
            break;
        case 1:
            line = amount + yen + "×２";
            expect = v * 2;
            break;
        case 2:
            line = "２×（" + amount + yen + "）";
            expect = 2 * v;
            break;
        default:
            line = "－" + amount + yen + "－１";
            expect = -v - 1;
            break;
        }
        ASSERT_EQ(Ask(calc, line), FullWidthNumber(std::to_string(expect))) << line;
    }
}

// The same amounts where a number is read on its own: an assignment and the register.
TEST(CalculatorAmounts, InVariablesAndTheRegister) {
    AmountWriter writer(7);
    Calculator calc;
    for (int i = 0; i < 300; ++i) {
        std::int64_t v = 0;
        const std::string amount = writer.Make(v);
        const std::string text = FullWidthNumber(std::to_string(v));
        ASSERT_EQ(Ask(calc, "予算＝" + amount), text) << amount;
        ASSERT_EQ(Ask(calc, "（" + amount + "）"), text) << amount;  // sets the register
        ASSERT_EQ(Ask(calc, "＋" + amount), FullWidthNumber(std::to_string(2 * v))) << amount;
        ASSERT_EQ(Ask(calc, "予算＝"), text) << amount;
    }
}

}  // namespace
