#ifndef MUSIC_PARTIALFITDETECTOR_H
#define MUSIC_PARTIALFITDETECTOR_H

// The second pitch detector, for the same pipeline, quantizer and views as the
// combed-spectrum one and with the same public results (`m_f0` through
// getFundamentalFreq, `m_components_max`, the spectrum `m_plan`, `m_zp_factor`).
//
// One transform of the Hann-windowed newest samples feeds two stages:
// 1. Period. The autocorrelation of the windowed sound (the inverse transform
//    of its power spectrum) divided by that of the window itself estimates the
//    normalised autocorrelation of the sound (Boersma, 1993): 1 at the period of
//    a periodic sound, near 0 for noise. Its positive lobes after the central
//    one are the period candidates ("key maxima", McLeod and Wyvill, 2005); the
//    first one that reaches `m_peak_ratio` of the highest is the period. Taking
//    the first keeps the octave right where a spectral peak picker would take a
//    strong upper partial for the fundamental; its height (the clarity) must
//    reach `m_min_clarity`, which turns noise away.
// 2. Partials. Each partial near the rank the period predicts is measured in the
//    spectrum to a small fraction of a bin, against the exact transform of the
//    window, after the leakage of its neighbours and of the mirror images has
//    been taken out. A weighted fit of f_k = k f0 sqrt(1 + B k^2) over the
//    partials gives the stretch B, and the detector reports the first partial
//    f0 sqrt(1 + B): what a piano tuner reads, and the fundamental of a harmonic
//    sound. A sound whose fundamental is weak or missing is measured on its
//    upper partials all the same.
//
// Threads: interface thread only. `init` (constructor, pitch-model notifications,
// setWindowFactor) allocates; `apply` allocates nothing.

#include <complex>
#include <deque>
#include <vector>

#include "Algorithm.h"
#include "CFFTW3.h"

namespace Music {

class PartialFitDetector : public Transform
{
public:
    PartialFitDetector();

    // Re-plan on every change of the pitch model.
    void samplingRateChanged() override;
    void AFreqChanged() override;
    void semitoneBoundsChanged() override;

    // One analysis of the `size` newest samples (buffer[0] is the newest). A
    // shorter buffer, or a detector not planned yet, changes nothing.
    void apply(const std::deque<double>& buffer) override;
    // Whether the last analysis gave a first partial (`m_f0` > 0).
    bool hasNoteRecognized() const override;
    // Window length W: the smallest power of two (at least 64) holding
    // `m_window_factor` periods of the lowest note of the range; 0 until a
    // sampling rate is known.
    int size() const override;

    // Re-plans the window, the transforms and the lag range from the pitch model,
    // printing one "PartialFitDetector: INFO: " line. Does nothing while the
    // sampling rate is unknown.
    virtual void init();
    // First partial of the last analysis in Hz, 0 when none (never negative,
    // infinite or NaN).
    double getFundamentalFreq() const override;
    const std::vector<std::complex<double>>& spectrum() const override { return m_plan.out; }
    int transformSize() const override { return int(m_plan.in.size()); }
    bool refinesItself() const override { return true; }

    // Store and re-plan, only when the value changes.
    void setWindowFactor(double factor) override;

    // Results of the last analysis: all 0 when no note was recognised, except
    // `m_components_max` (inherited), which is always the strongest in-range
    // modulus of `m_plan.out`: the volume, on the combed detector's scale (about
    // half the amplitude of a sine).
    double m_f0 = 0.0;            // Hz, the first partial
    double m_period_freq = 0.0;   // Hz, sampling rate / period of stage 1
    double m_clarity = 0.0;       // height of the chosen key maximum, <= 1
    double m_inharmonicity = 0.0; // B of the fit (0 when not significant)
    int m_partials_used = 0;      // partials the fit rested on (0: period only)

    // Settings.
    // Periods of the lowest note of the range the window holds (the tuner's
    // "Window size factor"); values below 3 count as 3, which the period search
    // needs to compare one period with the next in a tapered window.
    double m_window_factor = 4.0;
    // A key maximum at least this share of the highest one is the period.
    double m_peak_ratio = 0.9;
    // Below this clarity the sound is taken as unpitched: no note.
    double m_min_clarity = 0.5;

    // Spectrum of the window: `in` holds the Hann-windowed samples (the window
    // of `HannWindow`, as the combed detector's) zero-padded to N entries, enough
    // for the autocorrelation up to the longest period of the range; `out[0..N/2]`
    // holds the spectrum of the last analysis (the upper half is not written).
    // Bin k stands for k * GetSamplingRate() / N.
    CFFTW3Real m_plan;

private:
    struct Partial
    {
        int rank;                 // k of f_k
        int peak;                 // bin of the local maximum in m_plan.out
        double bin;               // measured frequency, in bins of m_plan
        std::complex<double> amp; // complex amplitude of the partial
        double level;             // |amp|
    };

    bool findPeriod(double& lag);
    // Height and lag of the top of the key maximum at whole lag `top`: by a
    // parabola through three samples, or on the interpolated autocorrelation.
    double parabolicTop(int top, double& lag) const;
    double exactTop(int top, double& lag) const;
    void measurePartials(double lag);
    // Fit of the partials: returns the first partial in bins (0 when none), the
    // stretch B and the number of partials it rested on.
    double fitPartials(double& B, int& used) const;
    // Frequency (bins) and amplitude of partial i from its three bins, with the
    // leakage of the other partials (their estimates as they stand) taken out.
    // `steps` Newton steps against the window's transform.
    void remeasure(size_t i, Partial& out, int steps) const;
    // Transform of the window for a component `u` bins away (u = bin minus the
    // component's frequency): its real amplitude, and the linear phase factor.
    double kernelAmplitude(double u, std::complex<double>* phase = nullptr) const;
    std::complex<double> kernel(double u) const;
    // Three-bin ratio (|X[k+1]| - |X[k-1]|) / (|X[k-1]| + 2|X[k]| + |X[k+1]|) of
    // a lone component at `offset` bins above bin k.
    double kernelRatio(double offset) const;

    std::vector<double> m_win;
    // Power spectrum in, N times the autocorrelation of the windowed sound out.
    CFFTW3Real m_acf;
    // Autocorrelation of the window over its value at lag 0, lags 0..m_lag_max+1.
    std::vector<double> m_win_acf;
    // Normalised autocorrelation of the last analysis, lags 0..m_lag_max+1.
    std::vector<double> m_nacf;
    // Key maxima of the last analysis (lags), reserved at init.
    std::vector<int> m_key_maxima;
    int m_lag_min = 0, m_lag_max = 0;
    // Last bin of the power spectrum with any power to speak of.
    int m_power_top = 0;
    // Slope of kernelRatio at 0 (per bin), for the Newton steps.
    double m_ratio_slope = 0.0;
    // Trigonometric constants of the kernel for the window length.
    double m_cos_eps = 1.0, m_sin_eps = 0.0, m_cos_half_a = 1.0, m_sin_half_a = 0.0;
    std::vector<Partial> m_partials;
    std::vector<Partial> m_remeasured;
};

} // namespace Music

#endif
