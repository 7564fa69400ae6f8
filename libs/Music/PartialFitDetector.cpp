#include "PartialFitDetector.h"

#include <algorithm>
#include <cmath>
#include <iostream>

#include "Music.h"

namespace Music {

namespace {

// Longest window planned, in samples (as for the combed detector): only an
// absurd note range or factor gets near it.
constexpr double k_max_length = 1 << 20;
// Fewest periods of the lowest note a window holds.
constexpr double k_min_periods = 3.0;
// Most partials measured; the fit gains little beyond, and real instruments'
// upper partials are mostly noise.
constexpr int k_max_partials = 16;
// Leakage of a partial farther than this many bins of the window's own
// transform is below 1e-4 of its level for a Hann window: not worth taking out.
constexpr double k_leak_reach = 16.0;
// Partials weaker than this, relative to the strongest, do not enter the fit:
// at -60 dB their measure is as much noise as partial.
constexpr double k_min_partial_level = 1e-3;
// Fewest partials a stretch is fitted on: with fewer, a stretch fitted to the
// scatter of the lowest ones would steer the search of the next ones onto the
// wrong ranks.
constexpr int k_min_stretch_partials = 5;
// Largest stretch B taken from a fit: beyond the highest strings of a piano.
constexpr double k_max_stretch = 0.05;
// The fit may stray this far from the period (ln of a semitone) before it is
// taken to rest on something else than the partials of that period.
constexpr double k_max_fit_shift = 0.0578;

// |z| for the moduli of a spectrum: several times cheaper than std::abs
// (hypot), whose care only matters where the squares overflow.
double Modulus(std::complex<double> z)
{
    const double m = std::sqrt(std::norm(z));
    return std::isfinite(m) ? m : std::abs(z);
}

// Smallest size >= n that FFTW transforms fast: 2^a, 3 * 2^a or 5 * 2^a.
int TransformSize(int n)
{
    int best = 1;
    while (best < n)
        best *= 2;
    for (int f : {3, 5}) {
        int m = f;
        while (m < n)
            m *= 2;
        best = std::min(best, m);
    }
    return best;
}

// sin(W phi / 2) / sin(phi / 2) from its numerator and denominator; near phi = 0
// the quotient of two small numbers is replaced by its series.
double Dirichlet(double num, double den, double phi, int W)
{
    if (std::fabs(den) < 1e-7) return W * (1.0 - (double(W) * W - 1.0) * phi * phi / 24.0);
    return num / den;
}

} // namespace

PartialFitDetector::PartialFitDetector()
{
    init();
}

void PartialFitDetector::samplingRateChanged()
{
    init();
}
void PartialFitDetector::AFreqChanged()
{
    init();
}
void PartialFitDetector::semitoneBoundsChanged()
{
    init();
}

void PartialFitDetector::init()
{
    const int rate = GetSamplingRate();
    if (rate <= 0) return;
    const double f_min = SemitoneToFreq(GetSemitoneMin());
    const double f_max = SemitoneToFreq(GetSemitoneMax());
    if (!(f_min > 0) || !(f_max >= f_min) || !std::isfinite(f_max)) return;
    const double factor = m_window_factor >= k_min_periods ? m_window_factor : k_min_periods; // NaN too
    double length = std::trunc(rate * factor / f_min);
    if (!std::isfinite(length)) return;
    length = std::min(length, k_max_length);

    m_f0 = m_period_freq = m_clarity = m_inharmonicity = m_components_max = 0.0;
    m_partials_used = 0;

    int W = 64;
    while (W < length)
        W *= 2;
    // Lags of the notes of the range, with one sample of margin for the parabola.
    m_lag_max = std::min(W / 2, int(std::ceil(rate / f_min)) + 1);
    m_lag_min = std::min(m_lag_max, std::max(2, int(std::floor(rate / f_max))));
    // Zero padding up to the longest lag keeps the autocorrelation from wrapping.
    const int N = TransformSize(W + m_lag_max + 2);
    m_zp_factor = double(N) / W;
    m_win = HannWindow(W);
    m_plan.resize(N);
    m_acf.resize(N);
    m_nacf.assign(size_t(m_lag_max) + 2, 0.0);
    m_key_maxima.clear();
    m_key_maxima.reserve(size_t(m_lag_max) / 2 + 2);
    m_partials.clear();
    m_partials.reserve(k_max_partials);
    m_remeasured.clear();
    m_remeasured.reserve(k_max_partials);

    // The kernel's constants: a = 2 pi / (W - 1) is the Hann window's own
    // frequency, and W a / 2 = pi + eps.
    const double a = 2.0 * M_PI / (W - 1);
    m_cos_eps = std::cos(M_PI / (W - 1));
    m_sin_eps = std::sin(M_PI / (W - 1));
    m_cos_half_a = std::cos(0.5 * a);
    m_sin_half_a = std::sin(0.5 * a);
    const double h = 1e-3;
    m_ratio_slope = (kernelRatio(h) - kernelRatio(-h)) / (2 * h);

    // Autocorrelation of the window, by the same two transforms as the sound's.
    for (int i = 0; i < W; ++i)
        m_plan.in[size_t(i)] = m_win[size_t(i)];
    m_plan.execute();
    for (int k = 0; k < N; ++k)
        m_acf.in[size_t(k)] = std::norm(m_plan.out[size_t(k)]);
    m_acf.execute(false);
    m_win_acf.assign(size_t(m_lag_max) + 2, 0.0);
    const double r0 = m_acf.out[0].real();
    for (int t = 0; t <= m_lag_max + 1; ++t)
        m_win_acf[size_t(t)] = m_acf.out[size_t(t)].real() / r0;
    std::fill(m_plan.in.begin(), m_plan.in.end(), 0.0);
    std::fill(m_plan.out.begin(), m_plan.out.end(), std::complex<double>());

    std::cout << "PartialFitDetector: INFO: window size=" << W << " FFT size=" << N << " lags=" << m_lag_min
              << ".." << m_lag_max << " window size factor=" << m_window_factor << std::endl;
}

int PartialFitDetector::size() const
{
    return int(m_win.size());
}

bool PartialFitDetector::hasNoteRecognized() const
{
    return m_f0 > 0;
}

double PartialFitDetector::getFundamentalFreq() const
{
    return m_f0;
}

void PartialFitDetector::setWindowFactor(double factor)
{
    if (factor == m_window_factor) return;
    m_window_factor = factor;
    init();
}

double PartialFitDetector::kernelAmplitude(double u, std::complex<double>* phase) const
{
    // Hann window w_i = (1 - cos(a i)) / (W - 1), i = 0..W-1, a = 2 pi / (W - 1):
    // its transform at theta is three Dirichlet kernels D(phi) = sum of
    // exp(-i phi j), at theta and theta -+ a. Each is exp(-i phi (W - 1) / 2)
    // times sin(W phi / 2) / sin(phi / 2); the side ones' phase factors differ
    // from the middle one's by exactly pi, which turns their minus signs to plus.
    // All three come from the sine and cosine of W theta / 2 and theta / 2.
    const int W = int(m_win.size());
    const double theta = 2.0 * M_PI * u / double(m_plan.in.size());
    const double a = 2.0 * M_PI / (W - 1);
    const double sw = std::sin(0.5 * W * theta), cw = std::cos(0.5 * W * theta);
    const double s1 = std::sin(0.5 * theta), c1 = std::cos(0.5 * theta);
    // sin(W (theta -+ a) / 2) = sin(W theta / 2 -+ (pi + eps)) = -sin(W theta / 2 -+ eps)
    const double num_lo = -(sw * m_cos_eps - cw * m_sin_eps);
    const double num_hi = -(sw * m_cos_eps + cw * m_sin_eps);
    const double den_lo = s1 * m_cos_half_a - c1 * m_sin_half_a;
    const double den_hi = s1 * m_cos_half_a + c1 * m_sin_half_a;
    const double amplitude = (Dirichlet(sw, s1, theta, W) + 0.5 * Dirichlet(num_lo, den_lo, theta - a, W) +
                              0.5 * Dirichlet(num_hi, den_hi, theta + a, W)) /
                             (W - 1);
    // exp(-i theta (W - 1) / 2) = exp(-i (W theta / 2 - theta / 2))
    if (phase) *phase = std::complex<double>(cw * c1 + sw * s1, -(sw * c1 - cw * s1));
    return amplitude;
}

std::complex<double> PartialFitDetector::kernel(double u) const
{
    std::complex<double> phase;
    const double amplitude = kernelAmplitude(u, &phase);
    return amplitude * phase;
}

double PartialFitDetector::kernelRatio(double offset) const
{
    const double a = std::fabs(kernelAmplitude(-1.0 - offset));
    const double b = std::fabs(kernelAmplitude(-offset));
    const double c = std::fabs(kernelAmplitude(1.0 - offset));
    return (c - a) / (a + 2.0 * b + c);
}

void PartialFitDetector::apply(const std::deque<double>& buffer)
{
    const int W = int(m_win.size());
    if (W == 0 || int(buffer.size()) < W) return;
    const int N = int(m_plan.in.size());
    const double rate = GetSamplingRate();

    // The mean is no pitch; taking it out keeps its leakage off the lowest partials.
    // (Iterators: indexing a deque costs a division per sample.)
    double mean = 0.0;
    auto sample = buffer.begin();
    for (int i = 0; i < W; ++i, ++sample)
        mean += *sample;
    mean /= W;
    if (!std::isfinite(mean)) mean = 0.0;
    sample = buffer.begin();
    for (int i = 0; i < W; ++i, ++sample) {
        const double x = *sample - mean;
        m_plan.in[size_t(i)] = std::isfinite(x) ? m_win[size_t(i)] * x : 0.0;
    }
    m_plan.execute(false);

    // Volume: the strongest in-range component, as the combed detector measures it.
    const double f_min = SemitoneToFreq(GetSemitoneMin());
    const double f_max = SemitoneToFreq(GetSemitoneMax());
    const int k_lo = std::max(1, int(std::ceil(f_min * N / rate)));
    const int k_hi = std::min(N / 2 - 2, int(std::floor(f_max * N / rate)));
    double peak_power = 0.0;
    for (int k = k_lo; k <= k_hi; ++k)
        peak_power = std::max(peak_power, std::norm(m_plan.out[size_t(k)]));
    m_components_max = std::isfinite(peak_power) ? std::sqrt(peak_power) : 0.0;

    m_f0 = m_period_freq = m_clarity = m_inharmonicity = 0.0;
    m_partials_used = 0;
    if (!(m_components_max > m_amplitude_treshold)) return;

    double lag = 0.0;
    if (!findPeriod(lag)) return;
    m_period_freq = rate / lag;

    measurePartials(lag);
    double B = 0.0;
    int used = 0;
    const double first = fitPartials(B, used);
    // The fit stands on partials found near the ranks the period predicts; if it
    // strays more than a semitone from the period, it stood on something else.
    const double period_bins = N / lag;
    const bool fit_ok =
        first > 0 && std::isfinite(first) && std::fabs(std::log(first / period_bins)) < k_max_fit_shift;
    const double f = fit_ok ? first * rate / N : m_period_freq;
    m_partials_used = fit_ok ? used : 0;
    m_inharmonicity = fit_ok ? B : 0.0;
    m_f0 = std::isfinite(f) && f > 0 ? f : 0.0;
}

bool PartialFitDetector::findPeriod(double& lag)
{
    const int N = int(m_acf.in.size());
    const std::vector<std::complex<double>>& X = m_plan.out;
    // The power spectrum is real and even: its transform is N times the
    // autocorrelation of the windowed sound, real.
    for (int k = 0; k <= N / 2; ++k)
        m_acf.in[size_t(k)] = std::norm(X[size_t(k)]);
    for (int k = N / 2 + 1; k < N; ++k)
        m_acf.in[size_t(k)] = m_acf.in[size_t(N - k)];
    // The interpolation of the autocorrelation needs no bin above the last one
    // that holds any power to speak of.
    double top_power = 0.0;
    for (int k = 0; k <= N / 2; ++k)
        top_power = std::max(top_power, m_acf.in[size_t(k)]);
    m_power_top = N / 2;
    while (m_power_top > 0 && m_acf.in[size_t(m_power_top)] <= 1e-12 * top_power)
        --m_power_top;
    m_acf.execute(false);
    const double r0 = m_acf.out[0].real();
    if (!(r0 > 0) || !std::isfinite(r0)) return false;
    for (int t = 0; t <= m_lag_max + 1; ++t)
        m_nacf[size_t(t)] = m_acf.out[size_t(t)].real() / (r0 * m_win_acf[size_t(t)]);

    // Key maxima: the highest point of each positive lobe after the central one.
    m_key_maxima.clear();
    int t = 1;
    while (t <= m_lag_max && m_nacf[size_t(t)] > 0)
        ++t;
    while (t <= m_lag_max) {
        while (t <= m_lag_max && m_nacf[size_t(t)] <= 0)
            ++t;
        if (t > m_lag_max) break;
        int top = t;
        while (t <= m_lag_max && m_nacf[size_t(t)] > 0) {
            if (m_nacf[size_t(top)] < m_nacf[size_t(t)]) top = t;
            ++t;
        }
        // A lobe cut by the end of the range counts only if it has turned down.
        const bool turned = top < m_lag_max || m_nacf[size_t(top + 1)] <= m_nacf[size_t(top)];
        if (top >= m_lag_min && turned && m_key_maxima.size() < m_key_maxima.capacity())
            m_key_maxima.push_back(top);
    }

    if (m_key_maxima.empty()) return false;

    // Sampled at whole lags, a key maximum looks lower than it is, the more so
    // the shorter the period is against the sound's highest partials: a period
    // of 10.5 samples may show 0.85 where two periods, at 21.07, show 0.99.
    // So the heights are compared at the true tops, found by Newton steps on
    // the autocorrelation interpolated from the power spectrum. Only the highest
    // and the candidates whose parabolic height gets near the threshold are
    // worth that.
    int highest_top = m_key_maxima.front();
    double highest_parabolic = 0.0;
    for (int top : m_key_maxima) {
        double l;
        const double h = parabolicTop(top, l);
        if (h > highest_parabolic) {
            highest_parabolic = h;
            highest_top = top;
        }
    }
    // A top that reaches 0.98 cannot rise enough to move the threshold.
    double highest_lag;
    const double highest = highest_parabolic >= 0.98 ? highest_parabolic : exactTop(highest_top, highest_lag);
    const double threshold = m_peak_ratio * std::max(highest_parabolic, highest);
    for (int top : m_key_maxima) {
        double l;
        double h = parabolicTop(top, l);
        if (h < 0.7 * threshold) continue;
        // A parabola through three samples of a top lies under it: only the
        // candidates it leaves under the threshold need the true top.
        if (h < threshold) h = exactTop(top, l);
        if (h < threshold) continue;
        lag = l;
        m_clarity = std::min(1.0, h);
        return m_clarity >= m_min_clarity;
    }
    return false;
}

double PartialFitDetector::parabolicTop(int top, double& lag) const
{
    const double a = m_nacf[size_t(top - 1)], b = m_nacf[size_t(top)], c = m_nacf[size_t(top + 1)];
    const double curve = a - 2 * b + c;
    const double d = curve < 0 ? std::clamp(0.5 * (a - c) / curve, -0.5, 0.5) : 0.0;
    lag = top + d;
    return b - 0.25 * (a - c) * d;
}

double PartialFitDetector::exactTop(int top, double& lag) const
{
    // r(t) = (1/N) sum over k of c_k P_k cos(2 pi k t / N), c_k = 1 at 0 and N/2,
    // 2 elsewhere: the autocorrelation at any lag (the zero padding keeps it
    // from wrapping). With its first two derivatives at the parabola's top, one
    // Newton step gives the true top: t - r'/r'', r - r'^2 / (2 r'').
    const int N = int(m_acf.in.size());
    const double value = parabolicTop(top, lag);
    const std::complex<double> turn = std::polar(1.0, 2.0 * M_PI * lag / N);
    std::complex<double> z(1.0, 0.0);
    double r = 0, d1 = 0, d2 = 0;
    for (int k = 0; k <= m_power_top; ++k) {
        const double p = (k == 0 || k == N / 2 ? 1.0 : 2.0) * m_acf.in[size_t(k)];
        const double w = 2.0 * M_PI * k / N;
        r += p * z.real();
        d1 -= p * w * z.imag();
        d2 -= p * w * w * z.real();
        z *= turn;
    }
    if (!(d2 < 0)) return value;
    const double step = std::clamp(-d1 / d2, -1.0, 1.0);
    lag = std::clamp(lag + step, top - 1.0, top + 1.0);
    const double peak = r + d1 * step + 0.5 * d2 * step * step;
    // The window's autocorrelation between its whole lags.
    const int i = std::min(int(lag), m_lag_max);
    const double wacf = m_win_acf[size_t(i)] + (lag - i) * (m_win_acf[size_t(i + 1)] - m_win_acf[size_t(i)]);
    return std::max(value, peak / (m_acf.out[0].real() * wacf));
}

void PartialFitDetector::measurePartials(double lag)
{
    const std::vector<std::complex<double>>& X = m_plan.out;
    const int half = int(m_plan.in.size()) / 2;
    m_partials.clear();

    // Walk up the ranks, predicting each partial from the fit of those found so
    // far, so that a stretched series is followed.
    double F = double(m_plan.in.size()) / lag, B = 0.0; // f0 in bins
    for (int k = 1; k <= k_max_partials; ++k) {
        const double predicted = k * F * std::sqrt(1.0 + B * k * k);
        const double width = std::max(1.5, 0.25 * F);
        if (predicted - width > half - 3) break;
        const int lo = std::max(2, int(std::ceil(predicted - width)));
        const int hi = std::min(half - 3, int(std::floor(predicted + width)));
        int peak = -1;
        double peak_power = 0.0;
        for (int b = lo; b <= hi; ++b) {
            const double p = std::norm(X[size_t(b)]);
            if (p > peak_power && p > std::norm(X[size_t(b - 1)]) && p >= std::norm(X[size_t(b + 1)])) {
                peak = b;
                peak_power = p;
            }
        }
        if (peak < 0) continue;

        Partial p;
        p.rank = k;
        p.peak = peak;
        p.bin = peak;
        p.amp = X[size_t(peak)] / kernel(0.0);
        p.level = Modulus(p.amp);
        m_partials.push_back(p);
        // One Newton step: the final round below measures it again anyway.
        remeasure(m_partials.size() - 1, m_partials.back(), 1);

        int used = 0;
        const double f1 = fitPartials(B, used);
        if (f1 > 0) F = f1 / std::sqrt(1.0 + B);
    }

    // Measure every partial again with its neighbours' leakage taken out as the
    // first pass estimated them (the first pass only knew the lower ones).
    m_remeasured.resize(m_partials.size());
    for (size_t i = 0; i < m_partials.size(); ++i)
        remeasure(i, m_remeasured[i], 2);
    m_partials.swap(m_remeasured);
}

void PartialFitDetector::remeasure(size_t i, Partial& out, int steps) const
{
    const std::vector<std::complex<double>>& X = m_plan.out;
    const Partial p = m_partials[i];
    const int k = p.peak;
    const double reach = k_leak_reach * m_zp_factor;

    std::complex<double> y[3] = {X[size_t(k - 1)], X[size_t(k)], X[size_t(k + 1)]};
    for (size_t j = 0; j < m_partials.size(); ++j) {
        const Partial& q = m_partials[j];
        const bool near = j != i && std::fabs(q.bin - k) < reach;
        const bool mirror = q.bin + k < reach;
        for (int s = 0; s < 3; ++s) {
            if (near) y[s] -= q.amp * kernel(k + s - 1 - q.bin);
            if (mirror) y[s] -= std::conj(q.amp) * kernel(k + s - 1 + q.bin);
        }
    }

    // Solve ratio(bin - k) = the measured three-bin ratio by Newton steps; the
    // ratio is close to a straight line over the peak's bin, so its slope at 0
    // serves throughout.
    const double a = Modulus(y[0]), b = Modulus(y[1]), c = Modulus(y[2]);
    const double sum = a + 2.0 * b + c;
    out = p;
    if (!(sum > 0)) return;
    const double ratio = (c - a) / sum;
    double offset = ratio / m_ratio_slope;
    for (int step = 0; step < steps; ++step)
        offset -= (kernelRatio(offset) - ratio) / m_ratio_slope;
    if (!std::isfinite(offset) || std::fabs(offset) > 1.0) return;
    const std::complex<double> h = kernel(-offset);
    if (!(std::norm(h) > 0)) return;
    out.bin = k + offset;
    out.amp = y[1] / h;
    out.level = Modulus(out.amp);
}

double PartialFitDetector::fitPartials(double& B, int& used) const
{
    // (f_k / k)^2 = f0^2 + f0^2 B k^2: a straight line in k^2. Weights: the
    // variance of a partial's frequency goes as 1 / |amplitude|^2, so that of
    // (f_k / k)^2 as f0^2 / (k^2 |amplitude|^2).
    B = 0.0;
    used = 0;
    double strongest = 0.0;
    for (const Partial& p : m_partials)
        strongest = std::max(strongest, p.level);
    if (!(strongest > 0)) return 0.0;
    auto weight = [&](const Partial& p) {
        const double level = p.level / strongest;
        return level >= k_min_partial_level && p.bin > 0 ? level * level * p.rank * p.rank : 0.0;
    };
    double sw = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const Partial& p : m_partials) {
        const double w = weight(p);
        if (w <= 0) continue;
        const double x = double(p.rank) * p.rank;
        const double y = (p.bin / p.rank) * (p.bin / p.rank);
        sw += w;
        sx += w * x;
        sy += w * y;
        sxx += w * x * x;
        sxy += w * x * y;
        ++used;
    }
    if (used == 0) return 0.0;
    double a = sy / sw, b = 0.0;
    const double det = sw * sxx - sx * sx;
    if (used >= k_min_stretch_partials && det > 1e-9 * sw * sxx) {
        const double b_fit = (sw * sxy - sx * sy) / det;
        const double a_fit = (sy - b_fit * sx) / sw;
        // Keep the stretch only where it explains the scatter: a string's
        // partials lie on the curve, while several voices or a vibrato scatter
        // the upper partials either way, which a free B would follow into a
        // first partial far from the sound. So B must be a stretch (B > 0, at
        // most k_max_stretch), stand out of the scatter (twice its standard
        // error), and leave under a quarter of the residual of the plain series.
        double stretched = 0, plain = 0;
        for (const Partial& p : m_partials) {
            const double x = double(p.rank) * p.rank;
            const double y = (p.bin / p.rank) * (p.bin / p.rank);
            stretched += weight(p) * (y - a_fit - b_fit * x) * (y - a_fit - b_fit * x);
            plain += weight(p) * (y - a) * (y - a);
        }
        const double var_b = stretched / (used - 2) * sw / det;
        if (b_fit > 0 && a_fit > 0 && b_fit <= k_max_stretch * a_fit && b_fit * b_fit > 4.0 * var_b &&
            stretched < 0.25 * plain) {
            a = a_fit;
            b = b_fit;
        }
    }
    if (!(a > 0)) return 0.0;
    B = b / a;
    return std::sqrt(a + b);
}

} // namespace Music
