// Saving and loading a large notebook: 100,000 memo objects with 10 pairs each
// (1,000,000 pairs), 100,000 variables and 100,000 schedules. Loading is compared with
// merely reading the file's bytes (counter "x_read": load time / read time).
#include "calc/Variable.h"
#include "notebook/NotebookSerialize.h"
#include "notebook/Notebook.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "schedule/ScheduleEntry.h"
#include "text/Sjis.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

using namespace nelo;

namespace {

constexpr std::time_t kNow = 1054461600;  // 2003-06-01 10:00:00 UTC

std::string BenchFile() {
    return (std::filesystem::temp_directory_path() / ("nelo-file-bench-" + std::to_string(::getpid()) + ".nel"))
        .string();
}

void FillLarge(Notebook& notebook) {
    for (int i = 0; i < 100000; ++i) {
        std::string name = "変数"_sj + std::to_string(i);
        notebook.GetCalculator().AddVariable(Variable(name, i * 0.5));
    }
    for (int i = 0; i < 100000; ++i) {
        const auto startTime = static_cast<std::int32_t>(kNow + 600 * i);
        notebook.GetScheduleBook().AddSchedule(
            std::make_unique<ScheduleEntry>(startTime, startTime + 3600, "2003/06/02(月) 10:00"_sj,
                                            i % 2 ? "2003/06/02(月) 11:00"_sj : "", "会議"_sj + std::to_string(i)));
    }
    for (int i = 0; i < 100000; ++i) {
        std::string object = "氏名"_sj + std::to_string(i);
        auto memo = std::make_unique<Memo>(object);
        for (int k = 0; k < 10; ++k) memo->AddPair("項目"_sj + std::to_string(k), "03-1234-" + std::to_string(i));
        notebook.AddMemo(std::move(memo));
    }
}

class LargeNotebook {
public:
    LargeNotebook() : m_clock(kNow), m_path(BenchFile()) {
        SetCurrentClock(&m_clock);
        FillLarge(m_notebook);
        std::string error;
        WriteFileAtomically(m_path, SaveNotebookBytes(m_notebook), error);
    }
    ~LargeNotebook() {
        std::remove(m_path.c_str());
        SetCurrentClock(nullptr);
    }
    FixedClock m_clock;
    Notebook m_notebook;
    std::string m_path;
};

LargeNotebook& SharedLargeNotebook() {
    static LargeNotebook s_notebook;
    return s_notebook;
}

// What File Save does: the bytes stream through the archive's buffer into a temporary
// file, which is synced and renamed over the old one.
void BM_SaveNotebook(benchmark::State& state) {
    LargeNotebook& nb = SharedLargeNotebook();
    for (auto _ : state) {
        AtomicFile file;
        std::string error;
        if (!file.Open(nb.m_path, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        SaveDocument(nb.m_notebook, file);
        if (!file.Commit(error)) state.SkipWithError(error.c_str());
    }
    auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(nb.m_path));
    state.SetBytesProcessed(bytes * static_cast<std::int64_t>(state.iterations()));
}

// The bytes alone, without the file: what the archive itself costs.
void BM_SerializeNotebook(benchmark::State& state) {
    LargeNotebook& nb = SharedLargeNotebook();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string data = SaveNotebookBytes(nb.m_notebook);
        bytes = data.size();
        benchmark::DoNotOptimize(data);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}

void BM_ReadFileBytes(benchmark::State& state) {
    LargeNotebook& nb = SharedLargeNotebook();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string data, error;
        ReadWholeFile(nb.m_path, data, error);
        bytes = data.size();
        benchmark::DoNotOptimize(data);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}

void BM_LoadNotebook(benchmark::State& state) {
    LargeNotebook& nb = SharedLargeNotebook();
    std::size_t bytes = 0;
    double readSeconds = 0, totalSeconds = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        std::string data, error;
        ReadWholeFile(nb.m_path, data, error);
        auto t1 = std::chrono::steady_clock::now();
        auto notebook = std::make_unique<Notebook>();
        LoadNotebookBytes(*notebook, data);
        auto t2 = std::chrono::steady_clock::now();
        readSeconds += std::chrono::duration<double>(t1 - t0).count();
        totalSeconds += std::chrono::duration<double>(t2 - t0).count();
        bytes = data.size();
        if (notebook->GetMemos().GetCount() != 100000) state.SkipWithError("memos lost");
        state.PauseTiming();
        notebook.reset();  // freeing the records is not part of loading
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["x_read"] = readSeconds > 0 ? totalSeconds / readSeconds : 0;
}

BENCHMARK(BM_SaveNotebook)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SerializeNotebook)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LoadNotebook)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
