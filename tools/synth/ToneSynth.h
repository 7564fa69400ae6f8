#ifndef ORFE_TONESYNTH_H
#define ORFE_TONESYNTH_H

// Synthetic test tones with a known fundamental: the offline analyser's demo
// input, the accuracy report and the end-to-end tests all use these.

#include <cstdint>
#include <string>
#include <vector>

namespace ToneSynth {

enum class Kind {
    Sine,            // one partial
    Harmonic,        // partials 1..n with amplitudes 1/h
    WeakFundamental, // harmonic, with the fundamental 20 dB under the second partial
    Inharmonic,      // piano-like: f_h = h f0 sqrt(1 + B h^2), decaying partials
    Square,          // full-scale square wave (clips: every sample is +-amplitude)
};

struct Tone
{
    Kind kind = Kind::Harmonic;
    double f0 = 440.0;             // Hz
    double amplitude = 0.5;        // peak of the sum, linear (the sum is normalised to it)
    int harmonics = 8;             // partials of the harmonic kinds
    double inharmonicity = 0.0004; // B of the inharmonic kind
    double snr_db = 0.0;           // > 0: add white noise at this signal-to-noise ratio
    double onset_s = 0.0;          // silence before the tone starts
    uint32_t seed = 1;             // noise seed (fixed, so that runs repeat)
};

// The kind named sine, harmonic, weak, inharmonic or square; false for any other name.
bool ParseKind(const std::string& name, Kind& kind);

// `seconds` of sound at `rate` Hz, mono, in -1..1.
std::vector<float> render(const Tone& tone, int rate, double seconds);

// The same, appended to `out` (for sequences of tones).
void append(std::vector<float>& out, const Tone& tone, int rate, double seconds);

} // namespace ToneSynth

#endif
