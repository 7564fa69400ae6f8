#ifndef MUSIC_FREQANALYSIS_H
#define MUSIC_FREQANALYSIS_H

// Peak analysis on a complex spectrum of N entries (an N-point transform, of
// which entries 0..N/2-1 are used); bin k stands for k * GetSamplingRate() / N.
// No function modifies the spectrum; all are pure apart from reading the pitch
// model's sampling rate, so they may run on any thread that owns the spectrum.

#include <complex>
#include <vector>

namespace Music {

struct Harmonic
{
    double mod;      // |X[k]| at the harmonic's peak bin k
    double freq;     // Hz
    int harm_number; // rank, 1 = fundamental
};

// |X[c]|^2 strictly above both neighbours. Precondition 0 < c < N/2-1.
bool is_peak(const std::vector<std::complex<double>>& spectrum, int c);

// Fractional bin of the peak near peak_index: vertex of the parabola through
// the log moduli of the peak bin and its two neighbours.
// Precondition 0 < peak_index < N-1. The result is NOT finite when the three
// log moduli are collinear (no vertex); callers must check it.
double PeakRefinementLogParabola(const std::vector<std::complex<double>>& spectrum, int peak_index);

// The same, corrected for the bias of the log parabola on a Hann-windowed sound
// zero-padded by the factor zp. Not finite where the former is not.
double PeakRefinementLogParabolaUnbiased(const std::vector<std::complex<double>>& spectrum, int peak_index,
                                         double zp);

// Harmonics 1..nb_harm of a sound whose fundamental is near approx_f0 Hz, in
// increasing rank, each searched within +-tolerance of its rank; the walk stops
// where the rank's bin reaches N/2-1. A rank with no peak is present with its
// unrefined bin frequency when keep_missing, missing otherwise. Every freq
// is finite (a peak whose refinement has no vertex keeps its bin frequency).
// Precondition: 1 < N*approx_f0/GetSamplingRate() <= N/2-1.
std::vector<Harmonic> GetHarmonicStruct(const std::vector<std::complex<double>>& spectrum, double approx_f0,
                                        int nb_harm, bool keep_missing, double zp, double tolerance);

// Mean of freq/rank over the harmonic peaks found near approx_f0 (tolerance
// 0.2), in Hz, counting only the peaks that stand out as partials: the
// largest modulus within half a harmonic spacing on either side, and 10 dB
// above the moduli half a spacing away on both sides. 0 when none was found
// or when approx_f0 lies outside the range GetHarmonicStruct accepts. Never
// returns a value that is not finite.
double RefineFundamentalFreq(const std::vector<std::complex<double>>& spectrum, double approx_f0, int nb_harm,
                             double zp);

} // namespace Music

#endif
