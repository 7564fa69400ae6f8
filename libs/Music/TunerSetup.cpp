#include "TunerSetup.h"

#include <cmath>

namespace Music {

double AnalysisSettings::referenceFreq() const
{
    // The offset is a whole number of cents in single precision in the dialog;
    // a double here holds it exactly.
    return a_offset_enabled ? a_freq * std::pow(2.0, (a_offset_cents / 100.0) / 12.0) : a_freq;
}

TunerSetup::TunerSetup()
    : m_rect_range_filter(0), m_fir_range_filter(std::vector<double>{1.0}),
      m_range_filter(&m_dummy_range_filter), m_quantizer(&m_latency_quantizer),
      m_detector_owner(new CombedFT()), m_detector(m_detector_owner.get())
{
    m_pipeline.setDetector(m_detector);
    m_pipeline.setRangeFilter(m_range_filter);
    m_pipeline.setQuantizer(m_quantizer);
}

TunerSetup::~TunerSetup() = default;

void TunerSetup::apply(const AnalysisSettings& s)
{
    m_settings = s;

    SetTuning(s.tuning);
    s_transposition = s.transposition;
    s_notes_name = s.notes_name;
    // Every change re-plans the detector: skip what did not change.
    const double a = s.referenceFreq();
    if (a != GetAFreq()) SetAFreq(a);
    if (s.min_ht != GetSemitoneMin() || s.max_ht != GetSemitoneMax()) SetSemitoneBounds(s.min_ht, s.max_ht);

    switch (s.range_filter) {
    case AnalysisSettings::RectangularRangeFilter:
        resetRectangularFilterToNoteRange();
        m_range_filter = &m_rect_range_filter;
        break;
    case AnalysisSettings::FIRRangeFilter:
        m_range_filter = &m_fir_range_filter;
        break;
    case AnalysisSettings::NoRangeFilter:
        m_range_filter = &m_dummy_range_filter;
        break;
    }

    if (s.detector != (dynamic_cast<CombedFT*>(m_detector) ? AnalysisSettings::CombedDetector
                                                           : AnalysisSettings::PartialsDetector)) {
        // Made at the pitch model's present rate; the old one unregisters as it goes.
        m_detector_owner.reset();
        m_detector_owner.reset(s.detector == AnalysisSettings::CombedDetector
                                   ? static_cast<Transform*>(new CombedFT())
                                   : new PartialFitDetector());
        m_detector = m_detector_owner.get();
        m_pipeline.setDetector(m_detector);
    }
    m_detector->setWindowFactor(s.window_factor);
    if (auto* combed = dynamic_cast<CombedFT*>(m_detector)) {
        combed->m_use_audibility_ratio = s.use_audibility;
        combed->m_audibility_ratio = std::pow(10.0, -s.audibility_db / 20.0);
    }
    m_detector->m_amplitude_treshold = std::pow(10.0, s.volume_threshold_db / 20.0);

    m_quantizer->reset();
    m_latency_quantizer.m_latency = float(s.latency_ms);
    m_quantizer = s.quantizer ? static_cast<MonoQuantizer*>(&m_latency_quantizer) : &m_dummy_quantizer;

    m_pipeline.setSettings(s.cycle);
    m_pipeline.setRangeFilter(m_range_filter);
    m_pipeline.setQuantizer(m_quantizer);
}

void TunerSetup::setSamplingRate(int rate)
{
    SetSamplingRate(rate); // the detector re-plans as a listener
    m_rect_range_filter.reset(int(GetSamplingRate() / 2000.0));
    // That short window is a high-pass around 1 to 2 kHz, which would hide every
    // low note until the settings are applied again: when the rectangular filter
    // is in use, give it its length for the new rate at once.
    if (m_settings.range_filter == AnalysisSettings::RectangularRangeFilter)
        resetRectangularFilterToNoteRange();
}

void TunerSetup::resetRectangularFilterToNoteRange()
{
    const double length = std::trunc(GetSamplingRate() / SemitoneToFreq(GetSemitoneMin()));
    m_rect_range_filter.reset(std::isfinite(length) && length > 0.0 && length < 2147483647.0 ? int(length)
                                                                                             : 0);
}

double TunerSetup::NoteTarget(double quantized_freq)
{
    // The latency quantizer already gives the tuned note; the pass-through one
    // gives the equal-tempered note, which in an unequal temperament is not the
    // note the player aims at.
    if (!(quantized_freq > 0.0) || !std::isfinite(quantized_freq)) return 0.0;
    return TunedFreq(NearestSemitone(quantized_freq));
}

double TunerSetup::DegreeTarget(float tuning_freq)
{
    return std::isfinite(tuning_freq) && tuning_freq > 0.0f ? double(tuning_freq) : 0.0;
}

TunerSetup::ScaleTarget TunerSetup::NearestScaleDegree(double freq, double root_freq,
                                                       const std::vector<double>& degree_cents)
{
    ScaleTarget best;
    if (!(freq > 0.0) || !(root_freq > 0.0) || !std::isfinite(freq) || !std::isfinite(root_freq)) return best;
    const double played = 1200.0 * std::log2(freq / root_freq); // cents above the root
    double best_distance = INFINITY;
    for (int i = -1; i < int(degree_cents.size()); ++i) {
        const double cents = i < 0 ? 0.0 : degree_cents[size_t(i)];
        if (!std::isfinite(cents)) continue;
        // The octave of this degree nearest to the played pitch.
        const double octave = std::round((played - cents) / 1200.0);
        const double target = cents + 1200.0 * octave;
        const double distance = std::fabs(played - target);
        if (!(distance < best_distance)) continue;
        const double f = root_freq * std::exp2(target / 1200.0);
        if (!std::isfinite(f) || !(f > 0.0) || std::fabs(octave) > 1e6) continue;
        best_distance = distance;
        best.freq = f;
        best.degree = i;
        best.octave = int(octave);
    }
    return best;
}

double TunerSetup::Error(double freq, double target)
{
    if (!(freq > 0.0) || !(target > 0.0)) return std::nan("");
    return std::log(freq / target) * SEMITONE_FACTOR;
}

} // namespace Music
