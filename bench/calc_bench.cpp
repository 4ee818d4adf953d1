// Arithmetic lines per second: the whole road of a typed line (conversion, routing, echo,
// evaluation, answer) through the input pane's ProcessLine, and the evaluator alone.
#include "conversation/LineDispatcher.h"
#include "notebook/Notebook.h"
#include "text/JText.h"
#include "text/Sjis.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

using namespace nelo;

namespace {

// A mix of what people type: full-width and half-width, groups, variables, functions,
// the memory register, errors.
std::vector<std::string> MixedLines() {
    return {
        "１００－（２＋３）×５"_sj,
        "12.5*(3-4.25)/7+100",
        "半径×半径×３．１４"_sj,
        "１÷３"_sj,
        "平方根（２）＋平方根（５）"_sj,
        "２００３．１．１"_sj,
        "１２３４５６"_sj,
        "+2",
        "(1+2)*(3+4)*(5+6)/(7-8)",
        "１÷０"_sj,
        "パーセント（７．８÷９．６）"_sj,
        "0.125*8-3/4+2.5*2.5",
    };
}

void BM_ProcessLine(benchmark::State& state) {
    Notebook notebook;
    LineDispatcher view(notebook, nullptr);
    view.ProcessLine("半径＝５"_sj);
    const std::vector<std::string> lines = MixedLines();
    std::size_t i = 0;
    for (auto _ : state) {
        view.ProcessLine(lines[i]);
        if (++i == lines.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ProcessLine);

// The evaluator alone, on lines already in their full-width form.
void BM_Calculate(benchmark::State& state) {
    Calculator calc;
    std::string answer;
    calc.Calculate(answer, "半径＝５"_sj);
    std::vector<std::string> lines;
    for (const std::string& l : MixedLines()) lines.push_back(ToFullWidth(l));
    std::size_t i = 0;
    for (auto _ : state) {
        calc.Calculate(answer, lines[i]);
        benchmark::DoNotOptimize(answer.data());
        if (++i == lines.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Calculate);

void BM_CalculateTime(benchmark::State& state) {
    Calculator calc;
    std::string answer;
    const std::string line = "１０：２０＋５：３０×３－（１：００÷２）"_sj;
    for (auto _ : state) {
        calc.CalculateTime(answer, line);
        benchmark::DoNotOptimize(answer.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CalculateTime);

}  // namespace

BENCHMARK_MAIN();
