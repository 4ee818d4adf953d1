// Memo registration and query as the store grows: each operation should cost the same
// at 10,000 and at 1,000,000 distinct objects.
#include "conversation/LineDispatcher.h"
#include "notebook/Notebook.h"
#include "text/Sjis.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

using namespace nelo;

namespace {

std::string ObjectName(long i) { return "氏名"_sj + std::to_string(i); }

// Registers n distinct objects, then times registering and querying more of them.
void BM_RegisterMemo(benchmark::State& state) {
    const long n = state.range(0);
    Notebook notebook;
    std::string answer;
    for (long i = 0; i < n; ++i) notebook.RegisterMemo(answer, ObjectName(i) + "、電話、03-1234"_sj);
    long next = n;
    for (auto _ : state) {
        notebook.RegisterMemo(answer, ObjectName(next++) + "、電話、03-1234"_sj);
        benchmark::DoNotOptimize(answer);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_QueryMemo(benchmark::State& state) {
    const long n = state.range(0);
    Notebook notebook;
    std::string answer;
    for (long i = 0; i < n; ++i) notebook.RegisterMemo(answer, ObjectName(i) + "、電話、03-1234"_sj);
    long i = 0;
    for (auto _ : state) {
        notebook.QueryMemo(answer, ObjectName(i));
        i = (i + 7919) % n;
        benchmark::DoNotOptimize(answer);
    }
    state.SetItemsProcessed(state.iterations());
}

// A query that finds nothing exactly still answers in constant time.
void BM_QueryMissingMemo(benchmark::State& state) {
    const long n = state.range(0);
    Notebook notebook;
    std::string answer;
    for (long i = 0; i < n; ++i) notebook.RegisterMemo(answer, ObjectName(i) + "、電話、03-1234"_sj);
    for (auto _ : state) {
        notebook.QueryMemo(answer, "いない人"_sj);
        benchmark::DoNotOptimize(answer);
    }
    state.SetItemsProcessed(state.iterations());
}

// The whole line through the spine: conversion, routing, echo, answer.
void BM_MemoLineThroughProcessLine(benchmark::State& state) {
    const long n = state.range(0);
    Notebook notebook;
    LineDispatcher send(notebook);
    std::string answer;
    for (long i = 0; i < n; ++i) notebook.RegisterMemo(answer, ObjectName(i) + "、電話、03-1234"_sj);
    long i = 0;
    for (auto _ : state) {
        send.ProcessLine(ObjectName(i) + "は"_sj);
        i = (i + 7919) % n;
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_RegisterMemo)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_QueryMemo)->Arg(10000)->Arg(100000)->Arg(1000000);
BENCHMARK(BM_QueryMissingMemo)->Arg(10000)->Arg(1000000);
BENCHMARK(BM_MemoLineThroughProcessLine)->Arg(10000)->Arg(1000000);

BENCHMARK_MAIN();
