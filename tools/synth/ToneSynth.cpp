#include "ToneSynth.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace ToneSynth {

namespace {

struct Partial
{
    double freq, amp, decay; // Hz, linear, 1/s
};

std::vector<Partial> partials(const Tone& t, int rate)
{
    std::vector<Partial> p;
    const double nyquist = rate / 2.0;
    switch (t.kind) {
    case Kind::Sine:
        p.push_back({t.f0, 1.0, 0.0});
        break;
    case Kind::Harmonic:
    case Kind::WeakFundamental:
        for (int h = 1; h <= std::max(1, t.harmonics); ++h)
            p.push_back({h * t.f0, 1.0 / h, 0.0});
        // 20 dB under the second partial (0.5): a tenth of it.
        if (t.kind == Kind::WeakFundamental && p.size() > 1) p[0].amp = 0.05;
        break;
    case Kind::Inharmonic:
        for (int h = 1; h <= std::max(1, t.harmonics); ++h)
            p.push_back({h * t.f0 * std::sqrt(1.0 + t.inharmonicity * h * h), 1.0 / h, 0.5 + 0.3 * h});
        break;
    case Kind::Square:
        break;
    }
    p.erase(std::remove_if(p.begin(), p.end(), [&](const Partial& x) { return x.freq >= nyquist; }), p.end());
    return p;
}

} // namespace

bool ParseKind(const std::string& name, Kind& kind)
{
    static const struct
    {
        const char* name;
        Kind kind;
    } kinds[] = {{"sine", Kind::Sine},
                 {"harmonic", Kind::Harmonic},
                 {"weak", Kind::WeakFundamental},
                 {"inharmonic", Kind::Inharmonic},
                 {"square", Kind::Square}};
    for (const auto& k : kinds)
        if (name == k.name) {
            kind = k.kind;
            return true;
        }
    return false;
}

void append(std::vector<float>& out, const Tone& t, int rate, double seconds)
{
    const size_t onset = size_t(std::max(0.0, t.onset_s) * rate);
    const size_t n = size_t(std::max(0.0, seconds) * rate);
    const size_t start = out.size();
    out.resize(start + n, 0.0f);
    if (n <= onset || rate <= 0) return;

    std::vector<double> s(n - onset, 0.0);
    if (t.kind == Kind::Square) {
        for (size_t i = 0; i < s.size(); ++i) {
            const double phase = std::fmod(t.f0 * double(i) / rate, 1.0);
            s[i] = phase < 0.5 ? 1.0 : -1.0;
        }
    } else {
        const auto parts = partials(t, rate);
        for (size_t k = 0; k < parts.size(); ++k) {
            const Partial& p = parts[k];
            const double w = 2.0 * M_PI * p.freq / rate;
            // Phases spread so that the partials do not all peak together.
            const double phi = 0.7 * double(k * k);
            for (size_t i = 0; i < s.size(); ++i)
                s[i] += p.amp * std::exp(-p.decay * double(i) / rate) * std::sin(w * double(i) + phi);
        }
        double peak = 0;
        for (double x : s)
            peak = std::max(peak, std::fabs(x));
        if (peak > 0)
            for (double& x : s)
                x /= peak;
    }
    if (t.snr_db > 0) {
        double power = 0;
        for (double x : s)
            power += x * x;
        power /= double(s.size());
        const double sigma = std::sqrt(power / std::pow(10.0, t.snr_db / 10.0));
        std::mt19937 gen(t.seed);
        std::normal_distribution<double> noise(0.0, sigma);
        for (double& x : s)
            x += noise(gen);
    }
    for (size_t i = 0; i < s.size(); ++i)
        out[start + onset + i] = float(std::clamp(t.amplitude * s[i], -1.0, 1.0));
}

std::vector<float> render(const Tone& tone, int rate, double seconds)
{
    std::vector<float> out;
    append(out, tone, rate, seconds);
    return out;
}

} // namespace ToneSynth
