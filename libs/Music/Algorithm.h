#ifndef MUSIC_ALGORITHM_H
#define MUSIC_ALGORITHM_H

// Contract of the pitch detectors, and the state shared by the spectral ones.
// A detector is used from the interface thread only: the analysis cycle calls
// `apply` and reads the results; the pitch model's notifications and the
// setters re-plan it on that same thread.

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

class Transform : public Algorithm
{
public:
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
