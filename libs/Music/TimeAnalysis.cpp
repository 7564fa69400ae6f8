#include "TimeAnalysis.h"

#include "Music.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <vector>

namespace Music {

namespace {

// Offset in [i, i + 1] where the straight line through s[i] and s[i + 1] crosses
// zero, counted from i. A flat interval has no such point: take i itself.
double CrossingOffset(const std::deque<double>& s, int i)
{
    const double d = s[i + 1] - s[i];
    if (d == 0.0) return 0.0;
    return -s[i] / d;
}

// A following crossing: s[i] <= 0 < s[i + 1]. The caller keeps i + 1 inside s.
bool IsCrossing(const std::deque<double>& s, int i)
{
    return s[i] <= 0.0 && s[i + 1] > 0.0;
}

} // namespace

double GetZeroCrossingDistance(const std::deque<double>& buffer, int i1, int i2)
{
    const int n = int(buffer.size());
    assert(i1 >= 0 && i1 + 1 < n && i2 >= 0 && i2 + 1 < n);
    (void)n;
    return (i2 + CrossingOffset(buffer, i2)) - (i1 + CrossingOffset(buffer, i1));
}

double GetAverageWaveLength(const std::deque<double>& buffer, int approx_wave_length, int nb_periods)
{
    const int a = approx_wave_length;
    if (GetAFreq() <= 0.0 || GetSamplingRate() <= 0) return 0.0;
    if (a <= 0 || nb_periods <= 0) return 0.0;
    if (buffer.size() < std::size_t(a)) return 0.0;

    // The analysis buffer holds at most a couple of minutes of sound, far below
    // the int range; larger buffers are measured on their first INT_MAX samples.
    const int size = int(std::min<std::size_t>(buffer.size(), std::size_t(2147483647)));

    // Starting crossings, strict on both sides.
    std::vector<int> starts;
    starts.reserve(std::size_t(nb_periods));
    for (int i = 0; i + 1 < size && int(starts.size()) < nb_periods; ++i)
        if (buffer[i] < 0.0 && buffer[i + 1] > 0.0) starts.push_back(i);
    if (starts.empty()) return 0.0;

    // Accepted period lengths: one semitone either way of the approximate note,
    // widened by 2 samples.
    const double rate = GetSamplingRate();
    const double note = FreqToSemitone(rate / a);
    const int p_min = int(rate / SemitoneToFreq(note + 1)) - 2;
    const int p_max = int(rate / SemitoneToFreq(note - 1)) + 2;

    double sum = 0.0;
    int count = 0;
    for (int h : starts) {
        if (count >= nb_periods) break;
        const long long lo = (long long)h + p_min;
        if (lo + 1 >= size) break;
        const long long hi = std::min<long long>(size - 1, (long long)h + p_max);
        const long long o = (long long)h + a;
        // The expected crossing and its successor must lie inside the buffer;
        // otherwise this crossing measures no period (later ones lie even
        // further back, but are tried in turn all the same).
        if (o + 1 >= size) continue;

        long long c;
        if (IsCrossing(buffer, int(o))) {
            c = o;
        } else {
            long long k = lo;
            for (long long i = o - 1; i > lo && i >= 0; --i)
                if (IsCrossing(buffer, int(i))) {
                    k = i;
                    break;
                }
            long long u = hi;
            for (long long i = o + 1; i < hi; ++i)
                if (IsCrossing(buffer, int(i))) {
                    u = i;
                    break;
                }
            c = (o - k < u - o) ? k : u;
        }
        // lo and hi stand for "no crossing found"; both ends are excluded.
        if (lo < c && c < hi && c >= 0) {
            const double d = GetZeroCrossingDistance(buffer, h, int(c));
            if (std::isfinite(d)) {
                sum += d;
                ++count;
            }
        }
    }
    return count > 0 ? sum / count : 0.0;
}

void GetWaveSample(const std::deque<double>& buffer, std::size_t wave_length, std::deque<double>& sample)
{
    // clang-format off
    assert(wave_length>0);
    // clang-format on
    const std::size_t L = wave_length;
    const std::size_t size = buffer.size();
    // size < 2 L, written so that 2 L cannot wrap around.
    if (size / 2 < L) return;

    // Start: the lowest negative sample one period back.
    std::size_t c = 0;
    double lowest = 0.0;
    for (std::size_t i = L; i < 2 * L; ++i)
        if (buffer[i] < lowest) {
            lowest = buffer[i];
            c = i;
        }

    const double last_d = std::trunc(double(L) / 0.9 + double(c));
    if (last_d >= double(size)) return;
    const std::size_t last = std::size_t(last_d);
    const std::size_t first = std::size_t(std::trunc(0.9 * double(L) + double(c)));

    // End: the lowest negative sample about one period further back.
    std::size_t e = c + L;
    lowest = 0.0;
    for (std::size_t i = first; i <= last; ++i)
        if (buffer[i] < lowest) {
            lowest = buffer[i];
            e = i;
        }

    sample.clear();
    const std::size_t end = std::min(e, size);
    for (std::size_t i = c; i < end; ++i)
        sample.push_back(buffer[i]);
}

} // namespace Music
