#include "CombedFT.h"

#include <cmath>
#include <iostream>

#include "FreqAnalysis.h"

namespace Music {

namespace {

// Longest window (and transform) the detector plans, in samples: over 20 s at
// 44.1 kHz. Only an absurd note range or factor gets near it; it keeps the
// lengths inside an int and the planner's time bounded.
constexpr double k_max_length = 1 << 20;

} // namespace

CombedFT::CombedFT() : m_plan_comb(true), m_plan(true)
{
    init();
}

void CombedFT::samplingRateChanged()
{
    init();
}
void CombedFT::AFreqChanged()
{
    init();
}
void CombedFT::semitoneBoundsChanged()
{
    init();
}

void CombedFT::init()
{
    const int rate = GetSamplingRate();
    if (rate <= 0) return;

    m_f0 = 0.0;

    // The factor times one period of the lowest note of the range.
    double length =
        std::trunc(rate * m_window_factor / (GetAFreq() * std::pow(2.0, GetSemitoneMin() / 12.0)));
    // A reference A <= 0 or a NaN or infinite factor gives no length at all:
    // keep the current plan, as with an unknown sampling rate.
    if (!std::isfinite(length) || length < 0) return;
    if (length > k_max_length) length = k_max_length;
    const int L = int(length);

    int W = 2;
    while (L > W)
        W *= 2;
    m_win = HannWindow(W);

    double padded = std::trunc(L * m_zp_factor);
    if (!(padded <= k_max_length)) padded = k_max_length; // also catches NaN
    int N = W;
    while (N < padded)
        N *= 2;

    std::cout << "CombedFT: INFO: window size=" << L << " FFT size=" << N
              << " window size factor=" << m_window_factor << " zero padding factor=" << m_zp_factor
              << std::endl;

    m_plan.resize(N);
    m_comb.resize(size_t(N / 2), 0.0);
    m_plan_comb.resize(N / 2);
}

int CombedFT::size() const
{
    return int(m_win.size());
}

bool CombedFT::hasNoteRecognized() const
{
    return m_f0 > 0;
}

double CombedFT::getFundamentalFreq() const
{
    return m_f0;
}

void CombedFT::setWindowFactor(double factor)
{
    if (factor == m_window_factor) return;
    m_window_factor = factor;
    init();
}

void CombedFT::setZeroPaddingFactor(double factor)
{
    if (factor == m_zp_factor) return;
    m_zp_factor = factor;
    init();
}

void CombedFT::apply(const std::deque<double>& buffer)
{
    const int W = int(m_win.size());
    if (W == 0 || int(buffer.size()) < W) return;
    const int N = int(m_plan.in.size());
    const int n = N / 2; // length of m_comb and of the comb transform
    const double rate = GetSamplingRate();

    // Windowed newest samples, zero-padded to N.
    for (int i = 0; i < W; ++i)
        m_plan.in[size_t(i)] = m_win[size_t(i)] * buffer[size_t(i)];
    for (int i = W; i < N; ++i)
        m_plan.in[size_t(i)] = 0.0;
    m_plan.execute();

    // |X[k]|: the plain square root is several times cheaper than std::abs
    // (hypot); only where the squares overflow does hypot's care matter.
    for (int k = 0; k < n; ++k) {
        const std::complex<double> x = m_plan.out[size_t(k)];
        double m = std::sqrt(x.real() * x.real() + x.imag() * x.imag());
        if (!std::isfinite(m)) m = std::abs(x);
        m_plan_comb.in[size_t(k)] = m;
    }

    // Strongest component inside the note range. Bins 0 and N/2-1 are left
    // out: neither can be refined (the refinement needs a testable neighbour
    // on both sides), and DC is no pitch. A component that is not finite (a
    // sample of infinite value) is no volume either.
    const double f_min = GetAFreq() * std::pow(2.0, GetSemitoneMin() / 12.0);
    const double f_max = GetAFreq() * std::pow(2.0, GetSemitoneMax() / 12.0);
    m_components_max = 0.0;
    int g = -1;
    for (int k = 1; k <= n - 2; ++k) {
        const double f = k * rate / N;
        if (!(f >= f_min && f <= f_max)) continue;
        const double m = m_plan_comb.in[size_t(k)];
        if (m > m_components_max && std::isfinite(m)) {
            m_components_max = m;
            g = k;
        }
    }

    m_f0 = 0.0;
    if (m_components_max <= m_amplitude_treshold) return;
    if (g < 1 || g > n - 2) return; // nothing in range (a negative threshold)

    // Sub-bin position of the peak. Collinear log moduli have no vertex, and
    // a parabola opening upward puts it anywhere: no usable estimate then.
    const double p = PeakRefinementLogParabola(m_plan.out, g);
    const double peak_freq = rate * p / N;
    if (!std::isfinite(peak_freq) || !(peak_freq > 0)) return;

    // Spectrum of the magnitude spectrum: a sound with harmonics spaced by
    // the fundamental gives a comb whose teeth are spaced by n / rank.
    m_plan_comb.execute();
    for (double& c : m_comb)
        c = 0.0;
    for (int k = 0; k < N / 4; ++k)
        m_comb[size_t(k)] = m_plan_comb.out[size_t(k)].real();
    m_comb[0] = 0.0;

    // Resample at multiples of the comb spacing the peak would have as the
    // fundamental: afterwards m_comb[l] tells how well the peak fits being the
    // l-th harmonic. g <= n-2 makes N / g >= 2, hence t >= 1.
    const double t = double((N / g) / 2);
    int l = 1;
    for (; n / t > l; ++l)
        m_comb[size_t(l)] = m_comb[size_t(std::trunc(l * t))];
    const int M = int(std::trunc(n / t));
    for (int i = M; i < n; ++i)
        m_comb[size_t(i)] = 0.0;

    if (!m_use_audibility_ratio) {
        // Negated second difference, from the values before replacement; past
        // the end reads as 0.
        double before = m_comb[0];
        for (int i = 1; i < M; ++i) {
            const double here = m_comb[size_t(i)];
            const double after = i + 1 < n ? m_comb[size_t(i + 1)] : 0.0;
            m_comb[size_t(i)] = 2 * here - before - after;
            before = here;
        }
    } else {
        // Higher sub-harmonic ranks need a proportionally stronger comb.
        for (int i = 1; i < M; ++i)
            m_comb[size_t(i)] /= (i - 1) * m_audibility_ratio + 1;
    }

    int A = -1;
    double best = 0.0;
    for (int i = 0; i < n; ++i)
        if (m_comb[size_t(i)] > best) {
            best = m_comb[size_t(i)];
            A = i;
        }

    double f0 = peak_freq;
    if (A >= 1) f0 /= A;
    m_f0 = std::isfinite(f0) && f0 > 0 ? f0 : 0.0;
}

} // namespace Music
