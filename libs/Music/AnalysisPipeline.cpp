#include "AnalysisPipeline.h"

#include "Algorithm.h"
#include "Filter.h"
#include "MonoQuantizer.h"
#include "Music.h"
#include "TimeAnalysis.h"

#include <algorithm>
#include <cmath>

namespace Music {

AnalysisPipeline::AnalysisPipeline() = default;

void AnalysisPipeline::addSampleSink(AnalysisSampleSink* sink)
{
    if (sink && std::find(m_sinks.begin(), m_sinks.end(), sink) == m_sinks.end()) m_sinks.push_back(sink);
}

void AnalysisPipeline::removeSampleSink(AnalysisSampleSink* sink)
{
    m_sinks.erase(std::remove(m_sinks.begin(), m_sinks.end(), sink), m_sinks.end());
}

long long AnalysisPipeline::MinimumDrain(int capture_rate, int refresh_ms)
{
    // rate / (1 / (R / 1000) - 1) = rate * R / (1000 - R): a little more than one
    // refresh period of sound. Infinite (R = 1000), NaN or negative (R > 1000)
    // means no minimum.
    const double count = capture_rate / (1.0 / (refresh_ms / 1000.0) - 1.0);
    if (!std::isfinite(count) || count <= 0.0) return 0;
    return (long long)std::min(count, 1e15);
}

long long AnalysisPipeline::bufferLimit() const
{
    // 64-bit product: a 120 s duration at 192 kHz is far beyond 32 bits.
    long long limit =
        std::max<long long>(0, (long long)m_settings.buffer_duration_ms * GetSamplingRate() / 1000);
    if (m_detector && m_detector->size() > limit) limit = m_detector->size();
    if (m_range_filter && m_range_filter->size() >= limit) limit = m_range_filter->size();
    return limit;
}

const AnalysisPipeline::CycleResult& AnalysisPipeline::cycle(double elapsed_ms, int capture_rate)
{
    m_result = CycleResult();
    const int R = m_settings.refresh_ms;
    const long long count = MinimumDrain(capture_rate, R);

    // Drain, oldest first: at least `count` samples when there are that many,
    // and beyond that everything but the latest packets' samples, so a backlog
    // is caught up at once.
    long long i = 0;
    if (m_capture) {
        i = m_capture->drain(count, [this](double value) {
            // One NaN would poison the running sum of the rectangular filter for
            // good: a non-finite sample from a device or a file counts as silence.
            if (!std::isfinite(value)) value = 0.0;
            if (m_range_filter) value = m_range_filter->apply(value);
            m_queue.push_front(value);
            for (AnalysisSampleSink* sink : m_sinks)
                sink->addSample(value);
        });
    }
    m_result.drained = int(std::min<long long>(i, 2147483647));

    // Trim the oldest samples beyond what one analysis, the filter and the
    // captured sound view need.
    const long long limit = bufferLimit();
    while ((long long)m_queue.size() > limit)
        m_queue.pop_back();

    for (AnalysisSampleSink* sink : m_sinks)
        sink->drainFinished();

    if (i == 0 || !m_detector || elapsed_ms > 8.0 * R) return m_result;
    m_result.capture_failed = false;

    m_detector->apply(m_queue);

    const double level = m_detector->m_components_max;
    if (std::isfinite(level) && level > 0.0) {
        const double v = 20.0 * std::log10(level);
        // Finite and within about +-6500 dB for any positive finite double.
        m_result.has_volume = true;
        m_result.volume_db = v;
        m_result.volume_bar = int(std::trunc(v)) + 100;
    }

    double f = m_detector->hasNoteRecognized() ? m_detector->getFundamentalFreq() : 0.0;
    if (!std::isfinite(f) || f < 0.0) f = 0.0;
    m_result.detected_freq = f;

    // Discard estimates outside the transform's usable band: below 1 bin or
    // above half the spectrum.
    const int rate = GetSamplingRate();
    if (f > 0.0) {
        const double N = double(m_detector->transformSize());
        const std::size_t half = std::size_t(m_detector->transformSize()) / 2;
        const double x = rate > 0 ? N * f / rate : -1.0;
        if (!(x >= 1.0 && x <= double(half))) f = 0.0;
    }

    if (f > 0.0 && m_settings.refinement && !m_detector->refinesItself()) {
        if (m_settings.refinement_method == FrequencyRefinement) {
            // Within one bin of either end of the band the spectral refinement
            // cannot run; the estimate then goes on unrefined.
            if (inRefinementBand(f)) {
                f = RefineFundamentalFreq(m_detector->spectrum(), f, m_settings.max_harmonics,
                                          m_detector->m_zp_factor);
                if (!std::isfinite(f) || f < 0.0) f = 0.0;
            }
        } else {
            // f lies between rate / N and rate / 2 here, so the period is a
            // positive int.
            const double p = GetAverageWaveLength(m_queue, int(rate / f), m_settings.max_periods);
            if (std::isfinite(p) && p > 0.0) f = rate / p;
        }
    }
    // An estimate more than half a semitone outside the note range is no pitch:
    // a user who set the range does not expect a note outside it (a sub-harmonic
    // the comb picked below the lowest note, for instance).
    if (f > 0.0) {
        const double semitone = FreqToSemitone(f);
        if (!(semitone >= GetSemitoneMin() - 0.5 && semitone <= GetSemitoneMax() + 0.5)) f = 0.0;
    }
    m_result.freq = f;

    if (m_quantizer) {
        m_quantizer->quantize(f);
        if (m_quantizer->m_quantized_freq > 0.0) {
            m_result.note_held = true;
            if (std::isfinite(m_quantizer->m_avg_freq)) m_freq = m_quantizer->m_avg_freq;
        }
    }
    return m_result;
}

bool AnalysisPipeline::inRefinementBand(double freq) const
{
    const int rate = GetSamplingRate();
    if (!m_detector || rate <= 0 || !std::isfinite(freq)) return false;
    const std::size_t n = std::min(std::size_t(m_detector->transformSize()), m_detector->spectrum().size());
    if (n < 4) return false;
    const double x = double(n) * freq / rate;
    return x > 1.0 && x <= double(n / 2 - 1);
}

std::vector<Harmonic> AnalysisPipeline::harmonicStructure(double freq, int nb_harm) const
{
    if (!inRefinementBand(freq) || nb_harm <= 0) return {};
    return GetHarmonicStruct(m_detector->spectrum(), freq, nb_harm, true, m_detector->m_zp_factor, 0.1);
}

bool AnalysisPipeline::wavePeriod(int capture_rate, double freq, std::deque<double>& period) const
{
    if (!(freq > 0.0) || capture_rate <= 0) return false;
    const double length = std::trunc(capture_rate / freq);
    if (!(length >= 1.0) || length > double(m_queue.size())) return false;
    GetWaveSample(m_queue, std::size_t(length), period);
    return true;
}

} // namespace Music
