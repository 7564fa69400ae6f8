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
        std::vector<double> block(8192);
        for (int n = 0; n < 8192; ++n)
            for (std::size_t k = 0; k < amps.size(); ++k)
                block[n] += amps[k] * std::sin(2 * M_PI * f0 * double(k + 1) * n / rate + 0.7 * double(k));
        queue.pushBlock(block.data(), int(block.size()));
        // All of it arrived before this cycle (nothing pushed since): one drain.
        queue.m_pushed_since_drain = 0;
        pipeline.setCaptureQueue(&queue);
        pipeline.setDetector(&detector);
        freq = pipeline.cycle(20.0, rate).freq;
    }

    CycleData data() const { return CycleData{pipeline, rate, freq, freq, 0.0, false, 0.0, 1000}; }

    // The detector plans for the pitch model's rate when constructed.
    bool rate_set = (Music::SetSamplingRate(rate), true);
    Music::CaptureQueue queue;
    Music::CombedFT detector;
    Music::AnalysisPipeline pipeline;
    double freq = 0.0; // the cycle's estimate
};

} // namespace viewtest

#endif
