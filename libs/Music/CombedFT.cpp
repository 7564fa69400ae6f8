#include "CombedFT.h"

#include <algorithm>
#include <cmath>
#include <iostream>

#include "FreqAnalysis.h"

namespace Music {

namespace {

// Longest window (and transform) the detector plans, in samples: over 20 s at
// 44.1 kHz. Only an absurd note range or factor gets near it; it keeps the
// lengths inside an int and the planner's time bounded.
constexpr double k_max_length = 1 << 20;

// Share of the best rank's score a divisor of that rank needs to be chosen
// instead (see the end of apply).
constexpr double k_multiple_share = 0.8;

// Real part of the comb at the fractional entry x of the zero-padded comb
// transform (entries 1 .. comb.size()/2 - 1 hold it; entry 0 and the mirrored
// half read as 0). A tooth is about as narrow as the comb's length over the
// bin of the highest partial, and its phase turns by up to half a turn from
// one whole entry to the next; so modulus and phase are interpolated
// separately between the two entries around x (on the doubled grid they stay
// within a few per cent of the exact comb), and the real part is taken at x.
double CombAt(const std::vector<std::complex<double>>& comb, double x)
{
    const int kept = int(comb.size()) / 2;
    const auto entry = [&](int j) { return j >= 1 && j < kept ? comb[size_t(j)] : std::complex<double>(); };
    const int i = int(x);
    const double u = x - i;
    const std::complex<double> a = entry(i), b = entry(i + 1);
    const double ra = std::sqrt(std::norm(a)), rb = std::sqrt(std::norm(b));
    // cos of the phase at x: a's own direction turned by u times the step
    // from a to b (an entry of modulus 0 lends the other one's direction).
    double cos_phase = 0.0;
    if (ra > 0 && rb > 0) {
        const std::complex<double> step = b * std::conj(a);
        const double turn = u * std::atan2(step.imag(), step.real());
        cos_phase = (a.real() * std::cos(turn) - a.imag() * std::sin(turn)) / ra;
    } else if (ra > 0) {
        cos_phase = a.real() / ra;
    } else if (rb > 0) {
        cos_phase = b.real() / rb;
    }
    const double value = ((1 - u) * ra + u * rb) * cos_phase;
    return std::isfinite(value) ? value : 0.0;
}

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
    // The magnitude spectrum (N/2 values) zero-padded to N points.
    m_plan_comb.resize(N);
    std::fill(m_plan_comb.in.begin(), m_plan_comb.in.end(), 0.0);
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
    const int n = N / 2; // length of the magnitude spectrum and of m_comb
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

    // Strongest component inside the note range: every bin that holds a
    // frequency of the range, including the bins that hold its two ends. (A
    // note played a few cents sharp of the lowest note has its peak in the bin
    // holding that note, whose centre lies below it; leaving that bin out makes
    // the search take the side of the peak, and the comb then names a note far
    // below the range.) Bins 0 and N/2-1 are left out: neither can be refined
    // (the refinement needs a testable neighbour on both sides), and DC is no
    // pitch. A component that is not finite (a sample of infinite value) is no
    // volume either.
    const double f_min = GetAFreq() * std::pow(2.0, GetSemitoneMin() / 12.0);
    const double f_max = GetAFreq() * std::pow(2.0, GetSemitoneMax() / 12.0);
    const double half_bin = 0.5 * rate / N;
    m_components_max = 0.0;
    int g = -1;
    for (int k = 1; k <= n - 2; ++k) {
        const double f = k * rate / N;
        if (!(f + half_bin > f_min && f - half_bin <= f_max)) continue;
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

    // Spectrum of the magnitude spectrum (the comb): harmonics spaced by F
    // bins give teeth at multiples of n / F entries. Only the first half of it
    // is kept (the rest mirrors it), and the sum of the moduli at entry 0 is
    // no tooth. The magnitude spectrum is zero-padded to N points, so the comb
    // comes at half-entry steps (see CombAt).
    m_plan_comb.execute();

    // Read the comb at multiples of the spacing the peak's teeth would have if
    // the peak were the fundamental: afterwards m_comb[l] tells how well the
    // peak fits being the l-th harmonic. Harmonics spaced by p / l bins give
    // teeth at multiples of l * n / p entries: the spacing is the real number
    // t = n / p, from the refined peak. (Truncated to whole entries, the
    // spacing drifted off the teeth as l grew, the more so the higher the
    // peak: high notes were named octaves too low.) The refinement stays
    // within a bin of g for any real peak; holding it there keeps t > 1.
    const double t = n / std::clamp(p, g - 1.0, g + 1.0);
    const int M = int(std::min<double>(n, std::trunc(n / t)));
    for (double& c : m_comb)
        c = 0.0;
    for (int l = 1; l < M && l * t < n / 2; ++l)
        m_comb[size_t(l)] = CombAt(m_plan_comb.out, 2 * l * t);

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

    // The negated second difference scores a rank and its multiples alike:
    // a sound whose peak is its l-th harmonic has teeth at every multiple of
    // l, so ranks 2l, 3l, ... see the same teeth and the same troughs around
    // them, and only the slow decay of the comb tells them apart. That decay
    // is strong for low notes (wide teeth) and vanishes for high ones, where
    // a weak fundamental (peak at rank 2) was named one to four octaves too
    // low by whichever multiple the noise favoured. A real lower fundamental
    // (rank q l) has partials between the teeth of rank l, which lowers rank
    // l's score well below its own; so the smallest divisor of the winner
    // that scores within a fifth of it is the rank heard.
    if (!m_use_audibility_ratio && A > 1)
        for (int d = 1; d < A; ++d)
            if (A % d == 0 && m_comb[size_t(d)] >= k_multiple_share * best) {
                A = d;
                break;
            }

    double f0 = peak_freq;
    if (A >= 1) f0 /= A;
    m_f0 = std::isfinite(f0) && f0 > 0 ? f0 : 0.0;
}

} // namespace Music
