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

std::vector<Harmonic> GetHarmonicStruct(const std::vector<std::complex<double>>& spectrum, double approx_f0,
                                        int nb_harm, bool keep_missing, double zp, double tolerance)
{
    const int N = int(spectrum.size());
    const double rate = GetSamplingRate();
    const double approx_f0_rel = N * approx_f0 / rate;
    // clang-format off
    assert(approx_f0_rel>1 && approx_f0_rel<=spectrum.size()/2-1);
    // clang-format on

    const double f = approx_f0_rel;
    const int E = N / 2 - 1;
    std::vector<Harmonic> harmonics;

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
            const double hi = std::min(double(E), std::trunc((h + tolerance) * f));
            int above = -1;
            for (int j = c + 1; j < hi; ++j)
                if (is_peak(spectrum, j)) {
                    above = j;
                    break;
                }
            if (below >= 0 && above >= 0)
                k = (c - below < above - c) ? below : above;
            else
                k = below >= 0 ? below : above;
        }

        if (k >= 0) {
            double freq = PeakRefinementLogParabolaUnbiased(spectrum, k, zp) * rate / N;
            // No vertex (collinear log moduli) or an odd zp: the peak's own bin.
            if (!std::isfinite(freq)) freq = k * rate / N;
            harmonics.push_back(Harmonic{std::abs(spectrum[size_t(k)]), freq, h});
        } else if (keep_missing) {
            harmonics.push_back(Harmonic{std::abs(spectrum[size_t(c)]), c * rate / N, h});
        }
    }
    return harmonics;
}

double RefineFundamentalFreq(const std::vector<std::complex<double>>& spectrum, double approx_f0, int nb_harm,
                             double zp)
{
    // Outside the range GetHarmonicStruct accepts (unknown sampling rate, an
    // estimate below bin 1 or near Nyquist, a NaN) there is nothing to refine.
    const double approx_f0_rel = double(spectrum.size()) * approx_f0 / GetSamplingRate();
    if (!(approx_f0_rel > 1 && approx_f0_rel <= int(spectrum.size()) / 2 - 1)) return 0.0;

    const std::vector<Harmonic> harmonics = GetHarmonicStruct(spectrum, approx_f0, nb_harm, false, zp, 0.2);
    if (harmonics.empty()) return 0.0;
    double sum = 0.0;
    for (const Harmonic& h : harmonics)
        sum += h.freq / h.harm_number;
    const double f0 = sum / double(harmonics.size());
    return std::isfinite(f0) ? f0 : 0.0;
}

} // namespace Music
