#ifndef MUSIC_TIMEANALYSIS_H
#define MUSIC_TIMEANALYSIS_H

// Period analysis in the time domain, on the analysis buffer of the tuner: a
// double-ended queue of samples with the newest sample at index 0, so that
// increasing indices go back in time. Interface thread only (pure functions of
// their arguments and of the pitch model).

#include <cstddef>
#include <deque>

namespace Music {

// Mean length, in samples (fractional), of up to nb_periods successive periods
// of the sound near the start of the buffer, each measured between two
// interpolated negative-to-positive zero crossings. approx_wave_length (in
// samples) is the period the detector found; the next crossing is looked for
// within one semitone of it on either side, widened by 2 samples.
// Returns 0 when nothing could be measured: no sampling rate or reference
// frequency yet, approx_wave_length or nb_periods not positive, a buffer shorter
// than approx_wave_length, no crossing, or no crossing one period later that
// lies entirely inside the buffer.
double GetAverageWaveLength(const std::deque<double>& buffer, int approx_wave_length, int nb_periods);

// Distance in samples between the interpolated zero crossing in [i1, i1 + 1] and
// the one in [i2, i2 + 1]. Precondition: 0 <= i1, i2 and i1 + 1, i2 + 1 < buffer
// size. Where the two samples of an interval are equal the line through them has
// no zero; the crossing is then taken at the interval's first index, so the
// result is always finite for finite samples.
double GetZeroCrossingDistance(const std::deque<double>& buffer, int i1, int i2);

// Replaces `sample` by one period of the waveform, starting at a minimum of the
// sound one period back from the newest sample and ending at the next minimum
// about one period further back. Leaves `sample` unchanged when the buffer is too
// short (fewer than 2 * wave_length samples, or the end search would leave it).
// Precondition: wave_length > 0 (callers compute it from a positive frequency
// below the sampling rate).
void GetWaveSample(const std::deque<double>& buffer, std::size_t wave_length, std::deque<double>& sample);

} // namespace Music

#endif
