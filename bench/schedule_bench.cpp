// Bulk schedule registration and the listing over it: registering 100,000 entries one
// line at a time must stay far from quadratic (each line checks conflicts against every
// stored entry through the start-ordered index).
#include "conversation/LineDispatcher.h"
#include "notebook/Notebook.h"
#include "platform/Clock.h"
#include "text/Sjis.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace nelo;

namespace {

// One schedule line per i: 3,000 days from 2003-06-02, twelve hours a day and three
// twenty-minute slots an hour, each entry an hour long (so neighbours conflict), in a
// scrambled order.
std::vector<std::string> ScheduleLines(long n) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(n));
    for (long k = 0; k < n; ++k) {
        long i = (k * 7919) % n;  // 7919 is prime: a permutation unless n is a multiple
        std::tm tm{};
        tm.tm_year = 2003 - 1900;
        tm.tm_mon = 5;
        tm.tm_mday = 2 + static_cast<int>(i % 3000);
        tm.tm_hour = 12;
        tm.tm_isdst = -1;
        std::mktime(&tm);
        int hour = 8 + static_cast<int>((i / 3000) % 12);
        int minute = 20 * static_cast<int>((i / 36000) % 3);
        char head[64], end[32];
        std::snprintf(head, sizeof head, "%d", tm.tm_year + 1900);
        std::string line = head;
        line += "年"_sj;
        std::snprintf(head, sizeof head, "%d", tm.tm_mon + 1);
        line += head;
        line += "月"_sj;
        std::snprintf(head, sizeof head, "%d", tm.tm_mday);
        line += head;
        line += "日"_sj;
        std::snprintf(head, sizeof head, "%d:%02d", hour, minute);
        std::snprintf(end, sizeof end, "%d:%02d", hour + 1, minute);
        line += head + std::string(" ") + end + " " + "会議"_sj + std::to_string(i);
        lines.push_back(line);
    }
    return lines;
}

class BenchClock {
public:
    BenchClock() : m_clock(0) {
        setenv("TZ", "UTC0", 1);
        tzset();
        m_clock.Set(MakeLocalTime(2003, 6, 1, 10, 0, 0));
        SetCurrentClock(&m_clock);
    }
    ~BenchClock() { SetCurrentClock(nullptr); }

private:
    FixedClock m_clock;
};

// Registers n entries through the input pane's spine; one iteration is the whole batch.
void BM_RegisterSchedules(benchmark::State& state) {
    BenchClock clock;
    const long n = state.range(0);
    const std::vector<std::string> lines = ScheduleLines(n);
    for (auto _ : state) {
        state.PauseTiming();
        auto notebook = std::make_unique<Notebook>();
        LineDispatcher view(*notebook);
        state.ResumeTiming();
        for (const std::string& line : lines) view.ProcessLine(line);
        state.PauseTiming();
        if (notebook->GetScheduleBook().GetSchedules().size() != static_cast<std::size_t>(n))
            state.SkipWithError("not registered");
        notebook.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

// 「予定」 over n stored entries.
void BM_ListSchedules(benchmark::State& state) {
    BenchClock clock;
    const long n = state.range(0);
    Notebook notebook;
    LineDispatcher view(notebook);
    for (const std::string& line : ScheduleLines(n)) view.ProcessLine(line);
    const std::string query = "予定"_sj;
    for (auto _ : state) view.ProcessLine(query);
    state.SetItemsProcessed(state.iterations() * n);
}

}  // namespace

BENCHMARK(BM_RegisterSchedules)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ListSchedules)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
