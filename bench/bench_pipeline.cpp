// One analysis cycle at the factory settings: 20 ms of new sound (882 samples
// at 44100 Hz, delivered as a capture transport would) drained through the
// rectangular range filter into a full 10 s analysis buffer, then the detector,
// the time-domain refinement and the latency quantizer.

#include "Music/AnalysisPipeline.h"
#include "Music/CombedFT.h"
#include "Music/Filter.h"
#include "Music/MonoQuantizer.h"
#include "Music/Music.h"
#include "PitchModelReset.h"
#include "ToneSynth.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <deque>

static void BM_PipelineCycle(benchmark::State& state)
{
    const int rate = 44100;
    const auto refinement = Music::AnalysisPipeline::RefinementMethod(state.range(0));
    resetPitchModel();
    Music::CombedFT detector;
    detector.setWindowFactor(4);
    detector.m_amplitude_treshold = std::pow(10.0, -28.0 / 20.0);
    Music::SetSamplingRate(rate);

    Music::RectangularHighPassRTFilter filter(int(rate / Music::SemitoneToFreq(Music::GetSemitoneMin())));
    double now = 0;
    Music::LatencyMonoQuantizer quantizer;
    quantizer.setClock([&now] { return now; });

    Music::CaptureQueue queue;
    Music::AnalysisPipeline pipeline;
    pipeline.setCaptureQueue(&queue);
    pipeline.setRangeFilter(&filter);
    pipeline.setDetector(&detector);
    pipeline.setQuantizer(&quantizer);
    Music::AnalysisPipeline::Settings settings;
    settings.refinement_method = refinement;
    pipeline.setSettings(settings);

    ToneSynth::Tone tone;
    tone.f0 = 440.0 * std::pow(2.0, 3.0 / 1200);
    const std::vector<float> sound = ToneSynth::render(tone, rate, 11.0);
    size_t pos = 0;
    auto deliver = [&](size_t n) {
        queue.push(int(n), [&](Music::CaptureQueue& q) {
            for (size_t i = 0; i < n; ++i)
                q.pushFront(sound[(pos + i) % sound.size()]);
        });
        pos += n;
    };
    // Fill the analysis buffer to its 10 s limit first.
    for (int i = 0; i < 500; ++i) {
        deliver(882);
        now += 20;
        pipeline.cycle(20, rate);
    }
    for (auto _ : state) {
        state.PauseTiming();
        deliver(882);
        now += 20;
        state.ResumeTiming();
        benchmark::DoNotOptimize(pipeline.cycle(20, rate));
    }
}
BENCHMARK(BM_PipelineCycle)
    ->Arg(Music::AnalysisPipeline::TimeRefinement)
    ->Arg(Music::AnalysisPipeline::FrequencyRefinement)
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
