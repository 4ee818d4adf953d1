// The evaluator reuses its buffers: once warm, an arithmetic line allocates nothing.
#include "calc/Calculator.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

using namespace nelo;

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

TEST(CalculatorAllocations, WarmLinesAllocateNothing) {
    const std::string lines[] = {
        "１００－（２＋３）×５"_sj,
        "半径×半径×３．１４"_sj,
        "平方根（２）＋平方根（５）"_sj,
        "１÷０"_sj,
        "パーセント（７．８÷９．６）"_sj,
        "＋２"_sj,
        "１０：２０"_sj,
        "ｘｙｚ＋１"_sj,
    };
    const std::string timeLine = "１０：２０＋５：３０×３"_sj;
    long start = g_allocations;
    std::string probe(100, 'x');  // the counter sees allocations
    EXPECT_GT(g_allocations, start);

    Calculator calc;
    std::string answer;
    calc.Calculate(answer, "半径＝５"_sj);
    for (int round = 0; round < 2; ++round) {
        long before = g_allocations;
        for (const std::string& line : lines) calc.Calculate(answer, line);
        calc.CalculateTime(answer, timeLine);
        if (round == 1) {
            EXPECT_EQ(g_allocations - before, 0);
        }
    }
}

}  // namespace
