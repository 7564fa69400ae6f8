#include "FreqAnalysis.h"

#include <cassert>
#include <cmath>

#include "CppAddons/Fit.h"
#include "Music.h"

namespace Music {

namespace {

// Whether is_peak may be asked about bin c.
bool peakTestable(const std::vector<std::complex<double>>& spectrum, int c)
{
    return c > 0 && c < int(spectrum.size()) / 2 - 1;
}

} // namespace

bool is_peak(const std::vector<std::complex<double>>& spectrum, int c)
{
    // clang-format off
    assert(c>0 && c<int(spectrum.size())/2-1);
    // clang-format on
    const double m = std::norm(spectrum[size_t(c)]);
    return m > std::norm(spectrum[size_t(c - 1)]) && m > std::norm(spectrum[size_t(c + 1)]);
}

double PeakRefinementLogParabola(const std::vector<std::complex<double>>& spectrum, int peak_index)
{
    // clang-format off
    assert(peak_index>0 && peak_index<int(spectrum.size()-1));
    // clang-format on
    const int p = peak_index;

    // Centre on the local maximum when the given bin is beside it. Bins that
    // is_peak may not be asked about (the upper half) count as no peak, which
    // keeps b-1..b+1 inside the spectrum in every case.
    int b = p;
    if (peakTestable(spectrum, p) && is_peak(spectrum, p))
        b = p;
    else if (peakTestable(spectrum, p + 1) && is_peak(spectrum, p + 1))
        b = p + 1;
    else if (p > 1 && peakTestable(spectrum, p - 1) && is_peak(spectrum, p - 1))
        b = p - 1;

    // The smallest normal double keeps the logarithm finite on zero moduli.
    const double tiny = 2.2250738585072014e-308;
    const double y1 = std::log(tiny + std::abs(spectrum[size_t(b - 1)]));
    const double y2 = std::log(tiny + std::abs(spectrum[size_t(b)]));
    const double y3 = std::log(tiny + std::abs(spectrum[size_t(b + 1)]));
    return FitParabolaVertex(double(b - 1), y1, double(b), y2, double(b + 1), y3);
}

double PeakRefinementLogParabolaUnbiased(const std::vector<std::complex<double>>& spectrum, int peak_index,
                                         double zp)
{
    const double r = PeakRefinementLogParabola(spectrum, peak_index);
    const double d = r - peak_index;
    const double zp2 = zp * zp;
    return r + (0.084372 / (zp2 * zp2) + 0.24756 / zp2) * (d - 0.5) * (d + 0.5) * d;
}

namespace {

// Walks ranks h = 1..nb_harm of a sound whose fundamental lies near f bins,
// while the rank's bin c = trunc(h f) is below N/2-1, and calls
// visit(h, c, k) with the peak bin k found within +-tolerance of the rank
// (the nearest local maximum to c, the upper one on a tie; the window runs
// from above trunc((h - tolerance) f) up to trunc((h + tolerance) f)
// included), or k = -1 when the rank's window holds none.
template <typename Visit>
void WalkRanks(const std::vector<std::complex<double>>& spectrum, double f, int nb_harm, double tolerance,
               Visit visit)
{
    const int E = int(spectrum.size()) / 2 - 1;
    // Bounds are kept in double until compared, so that an odd tolerance
    // cannot overflow an int.
    for (int h = 1; h <= nb_harm; ++h) {
        const double cd = std::trunc(h * f);
        if (!(cd < E)) break;
        const int c = int(cd);

        int k = -1;
        if (is_peak(spectrum, c)) {
            k = c;
        } else {
            const double lo = std::max(std::trunc((h - tolerance) * f), 1.0);
            int below = -1;
            for (int i = c - 1; i > lo; --i)
                if (is_peak(spectrum, i)) {
                    below = i;
                    break;
                }
            // Up to the last bin whose centre lies within the tolerance: with
            // few bins per harmonic (a low note), leaving that bin out loses
            // the fundamental itself (5.73 bins: the window (4, 6) missed the
            // peak in bin 6), and a pure sine then had no harmonic at all.
            const double hi = std::min(double(E) - 1, std::trunc((h + tolerance) * f));
            int above = -1;
            for (int j = c + 1; j <= hi; ++j)
                if (is_peak(spectrum, j)) {
                    above = j;
                    break;
                }
            if (below >= 0 && above >= 0)
                k = (c - below < above - c) ? below : above;
            else
                k = below >= 0 ? below : above;
        }
        visit(h, c, k);
    }
}

// Refined frequency of the peak at bin k, in Hz; the bin's own frequency when
// the refinement has no vertex (collinear log moduli) or zp is odd.
double PeakFreq(const std::vector<std::complex<double>>& spectrum, int k, double zp)
{
    const double bin = GetSamplingRate() / double(spectrum.size());
    const double freq = PeakRefinementLogParabolaUnbiased(spectrum, k, zp) * bin;
    return std::isfinite(freq) ? freq : k * bin;
}

// How far a partial must stand above the spectrum half a harmonic spacing
// away, as a ratio of powers: 10 (10 dB). A partial of a Hann-windowed sound
// stands 30 dB or more above its own side lobes there, and 10 dB leaves room
// for a neighbouring partial up to about 20 dB stronger (a weak fundamental
// beside its second harmonic); ripples of side lobes and of noise stand a few
// dB at most.
constexpr double k_partial_prominence = 10.0;

// Whether the local maximum at bin k stands clearly above the spectrum around
// it, as a partial does, rather than being a ripple of noise or of the side
// lobes of a stronger partial: it holds the largest modulus within half a
// harmonic spacing (f bins) on either side, and it is k_partial_prominence
// above the moduli half a spacing away on both sides.
bool StandsOut(const std::vector<std::complex<double>>& spectrum, int k, double f)
{
    const int last = int(spectrum.size()) / 2 - 1;
    const double reach = std::max(1.0, std::round(f / 2));
    const int lo = int(std::max(1.0, k - reach));
    const int hi = int(std::min(double(last), k + reach));
    const double peak = std::norm(spectrum[size_t(k)]);
    for (int i = lo; i <= hi; ++i)
        if (std::norm(spectrum[size_t(i)]) > peak) return false;
    const double around = std::max(std::norm(spectrum[size_t(lo)]), std::norm(spectrum[size_t(hi)]));
    return lo < k && k < hi && peak >= k_partial_prominence * around;
}

} // namespace

std::vector<Harmonic> GetHarmonicStruct(const std::vector<std::complex<double>>& spectrum, double approx_f0,
                                        int nb_harm, bool keep_missing, double zp, double tolerance)
{
    const int N = int(spectrum.size());
    const double rate = GetSamplingRate();
    const double approx_f0_rel = N * approx_f0 / rate;
    // clang-format off
    assert(approx_f0_rel>1 && approx_f0_rel<=spectrum.size()/2-1);
    // clang-format on

    std::vector<Harmonic> harmonics;
    WalkRanks(spectrum, approx_f0_rel, nb_harm, tolerance, [&](int h, int c, int k) {
        if (k >= 0)
            harmonics.push_back(Harmonic{std::abs(spectrum[size_t(k)]), PeakFreq(spectrum, k, zp), h});
        else if (keep_missing)
            harmonics.push_back(Harmonic{std::abs(spectrum[size_t(c)]), c * rate / N, h});
    });
    return harmonics;
}

double RefineFundamentalFreq(const std::vector<std::complex<double>>& spectrum, double approx_f0, int nb_harm,
                             double zp)
{
    // Outside the range GetHarmonicStruct accepts (unknown sampling rate, an
    // estimate below bin 1 or near Nyquist, a NaN) there is nothing to refine.
    const double approx_f0_rel = double(spectrum.size()) * approx_f0 / GetSamplingRate();
    if (!(approx_f0_rel > 1 && approx_f0_rel <= int(spectrum.size()) / 2 - 1)) return 0.0;

    // Mean of freq / rank over the harmonics found within 0.2 of their rank.
    // Only the peaks that stand out as partials count: a local maximum of the
    // side lobes of the fundamental or of the noise floor, at a rank the sound
    // has no partial, would pull the mean away by cents.
    double sum = 0.0;
    int count = 0;
    WalkRanks(spectrum, approx_f0_rel, nb_harm, 0.2, [&](int h, int, int k) {
        if (k < 0 || !StandsOut(spectrum, k, approx_f0_rel)) return;
        sum += PeakFreq(spectrum, k, zp) / h;
        ++count;
    });
    if (count == 0) return 0.0;
    const double f0 = sum / count;
    return std::isfinite(f0) ? f0 : 0.0;
}

} // namespace Music
