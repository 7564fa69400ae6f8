// Time of one analysis of the detector at the settings the tuner uses, and the
// number of C++ allocations it makes (reported as allocs_per_apply; it must be 0).

#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <new>
#include <sstream>

#include "Music/CombedFT.h"
#include "Music/Music.h"

namespace {
std::atomic<long> g_news{0};
}

void* operator new(std::size_t n)
{
    ++g_news;
    void* p = std::malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    return p;
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

// args: window size factor, zero-padding factor (x10, integers only), and the
// tone's fundamental in Hz.
void BM_CombedFTApply(benchmark::State& state)
{
    const double window_factor = double(state.range(0));
    const double zp = double(state.range(1)) / 10.0;
    const double f0 = double(state.range(2));

    // The re-planning lines would clutter the table.
    std::ostringstream sink;
    std::streambuf* old = std::cout.rdbuf(sink.rdbuf());
    Music::SetAFreq(440);
    Music::SetSemitoneBounds(-36, 48); // factory note range
    Music::SetSamplingRate(44100);
    Music::CombedFT detector;
    detector.setWindowFactor(window_factor);
    detector.setZeroPaddingFactor(zp);
    std::cout.rdbuf(old);

    // A plucked-string-like sound: f0 with decaying harmonics, a little noise.
    std::deque<double> buffer(size_t(detector.size()));
    unsigned seed = 12345;
    for (size_t i = 0; i < buffer.size(); ++i) {
        double x = 0;
        for (int h = 1; h <= 8 && h * f0 < 22050; ++h)
            x += 0.4 / h * std::sin(2 * M_PI * f0 * h * double(i) / 44100);
        seed = seed * 1103515245u + 12345u;
        x += 1e-3 * (double(seed >> 8) / double(1u << 24) - 0.5);
        buffer[i] = x;
    }

    detector.apply(buffer);
    const long before = g_news;
    for (auto _ : state) {
        detector.apply(buffer);
        // A local copy: DoNotOptimize on the member itself lets GCC clobber it.
        double f0 = detector.getFundamentalFreq();
        benchmark::DoNotOptimize(f0);
    }
    const long allocations = g_news - before;
    state.counters["allocs_per_apply"] = double(allocations) / double(state.iterations());
    state.counters["window"] = detector.size();
    state.counters["fft"] = double(detector.m_plan.in.size());
    state.counters["f0_hz"] = detector.getFundamentalFreq();
}

} // namespace

// Factory settings: factor 4 -> 4096-point window and transform; G3 (196 Hz).
BENCHMARK(BM_CombedFTApply)
    ->Args({4, 10, 196})
    ->Name("CombedFT_apply/factory_factor4")
    ->Unit(benchmark::kMicrosecond);
// The same on C8 (4186 Hz): the comb is read at every rank up to half the
// peak's bin, the most work for the highest notes.
BENCHMARK(BM_CombedFTApply)
    ->Args({4, 10, 4186})
    ->Name("CombedFT_apply/factory_factor4_C8")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CombedFTApply)
    ->Args({1, 10, 196})
    ->Name("CombedFT_apply/factor1")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CombedFTApply)
    ->Args({4, 20, 196})
    ->Name("CombedFT_apply/factor4_zero_padding2")
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
