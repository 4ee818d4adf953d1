#include "dates/DatePattern.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

#include <string>

using namespace nelo;

namespace {

struct PatternRow {
    const char* name;
    std::string input;
    std::string expected;
};

const PatternRow kPatterns[] = {
    {"date words", "２００３年１月１日"_sj, "2003Y/1M/1D/"},
    {"time", "１０：３０"_sj, "10t/30"},
    {"slash date", "３／１"_sj, "3d/1"},
    {"era kept", "平成１５年１月１日"_sj, "平成15Y/1M/1D/"_sj},
    {"separators", "１．２ー３―４－５・６"_sj, "1d/2d/3d/4d/5d/6"},
    {"hiragana and symbols", "８／１５の１０：００"_sj, "8d/15//10t/00"},
    {"unit without digit", "年月"_sj, "年月"_sj},
    {"hour minute second", "９時３０分５秒"_sj, "9H/30m/5s/"},
    {"white space run", "1 \t 2", "1 2"},
    // A double-byte code outside every class row is copied.
    {"unclassified pattern", "\x85\x40", "\x85\x40"},
};

class DatePatternTest : public testing::TestWithParam<PatternRow> {};

TEST_P(DatePatternTest, Converts) { EXPECT_EQ(ToDatePattern(GetParam().input), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(DatePattern, DatePatternTest, testing::ValuesIn(kPatterns),
                         [](const testing::TestParamInfo<PatternRow>& p) {
                             std::string n = p.param.name;
                             for (char& c : n)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return n;
                         });

}  // namespace
