#ifndef MUSIC_FILTER_H
#define MUSIC_FILTER_H

// Range filters applied to the captured sound one sample at a time, before the
// detector sees it. Each filter is used by one thread only (the interface
// thread's analysis cycle); none of them is safe to share between threads.

#include <deque>
#include <vector>

namespace Music {

class RTFilter
{
public:
    // Consumes one input sample, returns one output sample.
    virtual double apply(double sample) = 0;
    // Length of the history the filter works on, in samples.
    virtual int size() const = 0;
    virtual ~RTFilter() {}
};

// Passes the sound through unchanged.
class DummyRTFilter : public RTFilter
{
public:
    double apply(double sample) override { return sample; }
    int size() const override { return 1; }
};

// Finite impulse response; coefficient 0 applies to the newest sample. Returns
// 0.0 until it has seen as many samples as it has coefficients.
class FIRRTFilter : public RTFilter
{
public:
    explicit FIRRTFilter(const std::vector<double>& imp_res);
    double apply(double sample) override;
    int size() const override;

private:
    std::vector<double> m_imp_res;
    std::deque<double> m_history; // newest at the front
};

// Moving-average high-pass: the centre sample of the last N minus their mean.
class RectangularHighPassRTFilter : public RTFilter
{
public:
    explicit RectangularHighPassRTFilter(int N = 0);
    // Window length N (1 when N <= 0); empties the history.
    void reset(int N);
    double apply(double sample) override;
    int size() const override;

private:
    int m_N;
    std::deque<double> m_history; // newest at the front
    double m_sum;                 // running sum of m_history
};

// Impulse response of a linear-phase high-pass filter (windowed sinc,
// Blackman window) of `length` taps (made odd by adding one when even, at
// least 5) with its -6 dB point at cutoff_hz, for a sound sampled at
// sampling_rate Hz. Its taps sum to 0 (no DC gets through). Meant for a
// FIRRTFilter: for example the lowest note of the range as cutoff and
// a few of its periods as length. Returns [1.0] (identity) when the cutoff
// is not between 0 and half the sampling rate.
std::vector<double> HighPassImpulseResponse(double cutoff_hz, double sampling_rate, int length);

} // namespace Music

#endif
