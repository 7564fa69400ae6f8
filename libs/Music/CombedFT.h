#ifndef MUSIC_COMBEDFT_H
#define MUSIC_COMBEDFT_H

// The pitch detector: Hann-windowed spectrum of the newest samples, strongest
// peak inside the note range, log-parabola refinement of that peak, and the
// spectrum of the magnitude spectrum ("combed" transform) to tell which
// harmonic of the fundamental the peak is.
//
// Threads: interface thread only. `init` (from the constructor, the pitch
// model's notifications and the setters) is the only function that allocates;
// `apply` allocates nothing and may be called in the analysis cycle.

#include <deque>
#include <vector>

#include "Algorithm.h"
#include "CFFTW3.h"

namespace Music {

class CombedFT : public Transform
{
public:
    CombedFT();

    // Re-plan on every change of the pitch model.
    void samplingRateChanged() override;
    void AFreqChanged() override;
    void semitoneBoundsChanged() override;

    // One analysis of the `size` newest samples (buffer[0] is the newest).
    // A shorter buffer, or a detector not planned yet, changes nothing.
    void apply(const std::deque<double>& buffer) override;
    bool hasNoteRecognized() const override;
    // Window length (a power of two, at least 2); 0 until a sampling rate is known.
    int size() const override;

    // Re-plans the window and both transforms from the pitch model, printing
    // one "CombedFT: INFO: " line. Does nothing while the sampling rate is unknown.
    virtual void init();
    // Fundamental of the last analysis in Hz, 0 when none (never negative,
    // never infinite or NaN).
    double getFundamentalFreq() const override;
    const std::vector<std::complex<double>>& spectrum() const override { return m_plan.out; }
    int transformSize() const override { return int(m_plan.in.size()); }

    // Store and re-plan, only when the value changes.
    void setWindowFactor(double factor) override;
    void setZeroPaddingFactor(double factor);

    // Analysis window (Hann, W points).
    std::vector<double> m_win;
    // Transform of the magnitude spectrum: `in` holds the FFT size / 2
    // moduli of the last analysis followed by as many zeros (FFT size points,
    // so that the comb comes at half-entry steps).
    CFFTW3 m_plan_comb;
    // Result of the last analysis, Hz; 0 when none.
    double m_f0 = 0.0;
    // Sub-harmonic audibility ratio (linear), used when m_use_audibility_ratio.
    double m_audibility_ratio = 0.1;
    // true: rank sub-harmonic candidates by the audibility ratio; false: by the
    // negated second difference of the comb.
    bool m_use_audibility_ratio = false;
    double m_window_factor = 1.0;
    // Spectrum of the windowed sound: `in` holds the windowed, zero-padded
    // samples (its length is the FFT size N), `out` the complex spectrum of the
    // last analysis (N entries, the first N/2 meaningful).
    CFFTW3 m_plan;
};

} // namespace Music

#endif
