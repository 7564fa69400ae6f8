#include "Filter.h"

#include <cassert>
#include <cmath>

namespace Music {

FIRRTFilter::FIRRTFilter(const std::vector<double>& imp_res) : m_imp_res(imp_res)
{
    // clang-format off
    assert(imp_res.size()>0);
    // clang-format on
}

int FIRRTFilter::size() const
{
    return int(m_imp_res.size());
}

double FIRRTFilter::apply(double sample)
{
    m_history.push_front(sample);
    const size_t n = m_imp_res.size();
    if (m_history.size() < n) return 0.0; // warm-up

    double y = 0.0;
    for (size_t i = 0; i < n; ++i)
        y += m_imp_res[i] * m_history[i];
    // Keep the n-1 newest samples: the next call brings the n-th.
    m_history.pop_back();
    return y;
}

RectangularHighPassRTFilter::RectangularHighPassRTFilter(int N) : m_N(1), m_sum(0.0)
{
    reset(N);
}

void RectangularHighPassRTFilter::reset(int N)
{
    m_N = N > 0 ? N : 1;
    m_sum = 0.0;
    m_history.clear();
}

int RectangularHighPassRTFilter::size() const
{
    return m_N;
}

double RectangularHighPassRTFilter::apply(double sample)
{
    m_history.push_front(sample);
    m_sum += sample;
    while (m_history.size() > size_t(m_N)) {
        m_sum -= m_history.back();
        m_history.pop_back();
    }
    const size_t c = m_history.size();
    return m_history[c / 2] - m_sum / double(c);
}

std::vector<double> HighPassImpulseResponse(double cutoff_hz, double sampling_rate, int length)
{
    if (!(sampling_rate > 0) || !(cutoff_hz > 0) || !(cutoff_hz < sampling_rate / 2)) return {1.0};
    if (length < 5) length = 5; // the window is 0 at both ends: 3 taps would cancel out
    if (length % 2 == 0) ++length;

    // Windowed-sinc low-pass with unit gain at DC, then spectral inversion
    // (delta at the centre minus the low-pass), which keeps the phase linear.
    const double fc = cutoff_hz / sampling_rate; // cycles per sample
    const int m = length - 1;
    const int centre = m / 2;
    std::vector<double> h(static_cast<size_t>(length));
    double sum = 0.0;
    for (int i = 0; i < length; ++i) {
        const int k = i - centre;
        const double sinc = k == 0 ? 2.0 * fc : std::sin(2.0 * M_PI * fc * k) / (M_PI * k);
        const double w = 0.42 - 0.5 * std::cos(2.0 * M_PI * i / m) + 0.08 * std::cos(4.0 * M_PI * i / m);
        h[size_t(i)] = sinc * w;
        sum += h[size_t(i)];
    }
    for (double& v : h)
        v = -v / sum;
    h[size_t(centre)] += 1.0;
    return h;
}

} // namespace Music
