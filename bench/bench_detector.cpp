// Time of one analysis of each detector at the settings the tuner uses, and the
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
#include "Music/PartialFitDetector.h"

#include "CountingAllocator.h"
#include "PitchModelReset.h"

namespace {

// A plucked-string-like sound: f0 with decaying harmonics, a little noise.
std::deque<double> PluckedSound(size_t n, double f0 = 196.0)
{
    std::deque<double> buffer(n);
    unsigned seed = 12345;
    for (size_t i = 0; i < buffer.size(); ++i) {
        double x = 0;
        for (int h = 1; h <= 8 && h * f0 < 22050; ++h)
            x += 0.4 / h * std::sin(2 * M_PI * f0 * h * double(i) / 44100);
        seed = seed * 1103515245u + 12345u;
        x += 1e-3 * (double(seed >> 8) / double(1u << 24) - 0.5);
        buffer[i] = x;
    }
    return buffer;
}

// The pitch model at the factory settings, without the re-planning lines.
struct FactoryModel
{
    std::ostringstream sink;
    std::streambuf* old;
    FactoryModel(int min_ht) : old(std::cout.rdbuf(sink.rdbuf()))
    {
        resetPitchModel(44100, min_ht);
    }
    ~FactoryModel() { std::cout.rdbuf(old); }
};

// Runs the benchmark loop on one detector and reports its counters.
template <typename Detector>
void Measure(benchmark::State& state, Detector& detector, const std::deque<double>& buffer, double fft)
{
    detector.apply(buffer);
    startCountingAllocations();
    for (auto _ : state) {
        detector.apply(buffer);
        // A local copy: DoNotOptimize on the member itself lets GCC clobber it.
        double f0 = detector.getFundamentalFreq();
        benchmark::DoNotOptimize(f0);
    }
    const long allocations = stopCountingAllocations();
    state.counters["allocs_per_apply"] = double(allocations) / double(state.iterations());
    state.counters["window"] = detector.size();
    state.counters["fft"] = fft;
    state.counters["f0_hz"] = detector.getFundamentalFreq();
}

// args: window size factor, zero-padding factor (x10, integers only), the
// tone's fundamental in Hz.
void BM_CombedFTApply(benchmark::State& state)
{
    Music::CombedFT* detector;
    {
        FactoryModel model(-36); // factory note range
        detector = new Music::CombedFT;
        detector->setWindowFactor(double(state.range(0)));
        detector->setZeroPaddingFactor(double(state.range(1)) / 10.0);
    }
    Measure(state, *detector, PluckedSound(size_t(detector->size()), double(state.range(2))),
            double(detector->m_plan.in.size()));
    delete detector;
}

// args: window size factor, lowest semitone of the range.
void BM_PartialFitApply(benchmark::State& state)
{
    Music::PartialFitDetector* detector;
    {
        FactoryModel model(int(state.range(1)));
        detector = new Music::PartialFitDetector;
        detector->setWindowFactor(double(state.range(0)));
    }
    Measure(state, *detector, PluckedSound(size_t(detector->size())), double(detector->m_plan.in.size()));
    delete detector;
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

// The same 4096-sample window (factory range and factor) for the second
// detector, then the 8192-sample window of a range down to A0 (-48).
BENCHMARK(BM_PartialFitApply)
    ->Args({4, -36})
    ->Name("PartialFit_apply/factory_factor4")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PartialFitApply)
    ->Args({4, -48})
    ->Name("PartialFit_apply/factor4_range_A0")
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
