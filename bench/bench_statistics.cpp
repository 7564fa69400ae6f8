// One error added to the statistics view on a semitone that already holds
// 0, 1000, 180000 (an hour at 50 cycles a second) or 1800000 values: the cost
// should not grow with them. The counter bytes_per_value is the heap the kept
// values take, measured over one hour of a held note.
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_statistics

#include "GLStatistics.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <malloc.h>

static void BM_AddError(benchmark::State& state)
{
    GLStatistics view;
    view.setting_keep_hidden->setChecked(true);
    for (long i = 0; i < state.range(0); ++i)
        view.addError(0, float(i % 7) * 0.01f);
    float e = 0.0f;
    for (auto _ : state) {
        view.addError(0, e);
        e = e > 0.4f ? -0.4f : e + 0.01f;
    }
    benchmark::DoNotOptimize(view.m_stats[0].std_err);
}
BENCHMARK(BM_AddError)->Arg(0)->Arg(1000)->Arg(180000)->Arg(1800000);

static void BM_HourOfOneNote(benchmark::State& state)
{
    const long values = 3600L * 1000 / 20; // factory refresh time 20 ms
    size_t bytes = 0;
    for (auto _ : state) {
        GLStatistics view;
        view.setting_keep_hidden->setChecked(true);
        view.addError(0, 0.0f);
        const size_t before = mallinfo2().uordblks;
        for (long i = 1; i < values; ++i)
            view.addError(0, 0.01f);
        bytes = mallinfo2().uordblks - before;
    }
    state.counters["bytes_per_hour"] = double(bytes);
    state.counters["bytes_per_value"] = double(bytes) / double(values);
}
BENCHMARK(BM_HourOfOneNote)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
