#ifndef MUSIC_ALGORITHM_H
#define MUSIC_ALGORITHM_H

// Contract of the pitch detectors, and the state shared by the spectral ones.
// A detector is used from the interface thread only: the analysis cycle calls
// `apply` and reads the results; the pitch model's notifications and the
// setters re-plan it on that same thread.

#include <complex>
#include <deque>
#include <vector>

#include "Music.h"

namespace Music {

class Algorithm : public SettingsListener
{
public:
    // The base class registers the detector with the pitch model; its
    // destructor unregisters it.
    Algorithm() = default;

    // Defaults that only say so on standard output; a concrete detector
    // overrides all three.
    void samplingRateChanged() override;
    void AFreqChanged() override;
    void semitoneBoundsChanged() override;

    ~Algorithm() override;

    // Analyses the newest samples of buffer (newest at the front, at least
    // `size` of them for an analysis to happen).
    virtual void apply(const std::deque<double>& buffer) = 0;
    // Whether the last analysis found a fundamental.
    virtual bool hasNoteRecognized() const = 0;
    // Number of samples one analysis consumes.
    virtual int size() const = 0;
};

// A spectral detector, as the analysis pipeline uses it: the estimate, the
// level (m_components_max) and the spectrum the refinements and the harmonics
// view read.
class Transform : public Algorithm
{
public:
    // Fundamental of the last analysis that recognised a note, Hz.
    virtual double getFundamentalFreq() const = 0;
    // Window length as a multiple of the lowest note's period; re-plans.
    virtual void setWindowFactor(double factor) = 0;
    // The last analysis's spectrum: transformSize() entries, of which the
    // first half are meaningful.
    virtual const std::vector<std::complex<double>>& spectrum() const = 0;
    virtual int transformSize() const = 0;
    // Whether the estimate is refined already, so that the pipeline's own
    // refinements would only make it worse.
    virtual bool refinesItself() const { return false; }

    // Transform size over window size. Read freely; a detector changes it
    // when it re-plans.
    double m_zp_factor = 1.0;
    // Linear amplitude at or below which the strongest in-range component
    // counts as silence.
    double m_amplitude_treshold = 0.0;
    // Working vector of the combed transform, FFT size / 2 entries.
    std::vector<double> m_comb;
    // Modulus of the strongest in-range component of the last analysis (the
    // volume; about half the amplitude of a sine, the window summing to 1).
    double m_components_max = 0.0;
};

} // namespace Music

#endif
