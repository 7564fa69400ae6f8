#ifndef ORFE_TONECYCLE_H
#define ORFE_TONECYCLE_H

// One analysis cycle of a real pipeline and detector on 8192 samples of a
// harmonic tone (partial k of amplitude amps[k] at (k + 1) f0, 44100 Hz), and
// the data the main window hands the per-cycle views after it.

#include "ViewFeed.h"

#include "Music/CombedFT.h"
#include "Music/Music.h"

#include <cmath>
#include <mutex>

namespace viewtest {

struct ToneCycle
{
    static constexpr int rate = 44100;

    ToneCycle(double f0, const std::vector<double>& amps)
    {
        for (int n = 0; n < 8192; ++n) {
            double v = 0.0;
            for (std::size_t k = 0; k < amps.size(); ++k)
                v += amps[k] * std::sin(2 * M_PI * f0 * double(k + 1) * n / rate + 0.7 * double(k));
            samples.push_front(v);
        }
        // All of it arrived before this cycle (nothing pushed since): one drain.
        pipeline.setCaptureQueue(Music::CaptureQueueRef::make(samples, lock, pushed, drain_started));
        pipeline.setDetector(&detector);
        freq = pipeline.cycle(20.0, rate).freq;
    }

    CycleData data() const { return CycleData{pipeline, rate, freq, freq, 0.0, false, 0.0, 1000}; }

    // The detector plans for the pitch model's rate when constructed.
    bool rate_set = (Music::SetSamplingRate(rate), true);
    std::deque<double> samples;
    std::mutex lock;
    int pushed = 0;
    bool drain_started = false;
    Music::CombedFT detector;
    Music::AnalysisPipeline pipeline;
    double freq = 0.0; // the cycle's estimate
};

} // namespace viewtest

#endif
