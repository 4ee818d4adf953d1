#include "notebook/LineTraits.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

#include <string>

using namespace nelo;

namespace {

struct PredicateRow {
    const char* text;
    bool memoSep, schedule, arith, timeSum;
};

const PredicateRow kPredicates[] = {
    {"田中、電話"_sj, true, false, false, false},
    {"ヽ"_sj, true, false, false, false},
    {"１／５　福岡へ出張"_sj, false, true, true, false},
    {"１／５\t福岡"_sj, false, true, true, false},
    {"１２３４福岡"_sj, false, false, false, false},
    {"２００３．１．１"_sj, false, false, true, false},
    {"１０：２０＋５：３０"_sj, false, false, true, true},
    {"２時間＋３０分"_sj, false, false, true, true},
    {"１０：２０"_sj, false, false, true, false},
    {"１２３"_sj, false, false, false, false},
    {"", false, false, false, false},
    {"例"_sj, false, false, false, false},
    {"ａ１"_sj, false, false, false, false},
    // A code outside every class row is matched by no predicate.
    {"\x85\x40", false, false, false, false},
    // The pair-wise tests end at a NUL that is the second byte of a pair.
    {"\x82\x50\x82", false, false, false, false},
};

TEST(LineTraits, RoutingPredicates) {
    for (const PredicateRow& row : kPredicates) {
        std::string t = row.text;
        SCOPED_TRACE(testing::PrintToString(t));
        EXPECT_EQ(HasMemoSeparator(t), row.memoSep);
        EXPECT_EQ(LooksLikeSchedule(t), row.schedule);
        EXPECT_EQ(HasArithmeticSymbol(t), row.arith);
        EXPECT_EQ(LooksLikeTimeSum(t), row.timeSum);
    }
}

}  // namespace
