#ifndef MUSIC_TUNERSETUP_H
#define MUSIC_TUNERSETUP_H

// The one path from the analysis settings (the configuration dialog's controls
// in the tuner, the command-line options in the offline analyser) to the state
// the analysis runs on: the pitch model, the range filter, the detector, the
// quantizer and the analysis cycle's settings; and the target and error of the
// note held. A new analysis setting is added here once, for both programs.
//
// Threads: everything here is for the thread that runs the analysis cycle
// (the interface thread in the tuner).

#include "AnalysisPipeline.h"
#include "CombedFT.h"
#include "Filter.h"
#include "MonoQuantizer.h"
#include "Music.h"
#include "PartialFitDetector.h"

#include <memory>
#include <vector>

namespace Music {

// The analysis settings, with the factory values.
struct AnalysisSettings
{
    // Reference frequency of A4, Hz, and the offset in cents the user may add to it.
    double a_freq = 440.0;
    bool a_offset_enabled = false;
    double a_offset_cents = 0.0;
    Tuning tuning = CHROMATIC;
    NotesName notes_name = LOCAL_ANGLO;
    int transposition = 0;
    // Note range, semitones from A4.
    int min_ht = -36;
    int max_ht = 48;
    // The pitch detector: the combed spectrum (the factory choice), or the fit
    // of the partials found by autocorrelation.
    enum Detector { CombedDetector, PartialsDetector };
    Detector detector = CombedDetector;
    enum RangeFilter { NoRangeFilter, RectangularRangeFilter, FIRRangeFilter };
    RangeFilter range_filter = RectangularRangeFilter;
    double volume_threshold_db = -28.0;
    int window_factor = 4;
    bool use_audibility = false;
    double audibility_db = 15.0;
    // The latency quantizer, or (off) the pass-through one.
    bool quantizer = true;
    double latency_ms = 125.0;
    // Refresh time, refinement and the analysis buffer's duration.
    AnalysisPipeline::Settings cycle;

    // Reference frequency with the offset applied, Hz.
    double referenceFreq() const;
};

class TunerSetup
{
public:
    TunerSetup();
    ~TunerSetup();
    TunerSetup(const TunerSetup&) = delete;
    TunerSetup& operator=(const TunerSetup&) = delete;

    // Applies every setting: pitch model, range filter, detector (made anew
    // when another one is chosen), quantizer
    // (reset, since its note may no longer be a note of the new settings) and
    // the pipeline. Safe before the sampling rate is known.
    void apply(const AnalysisSettings& settings);
    const AnalysisSettings& settings() const { return m_settings; }

    // The capture's rate became known or changed: the pitch model (the detector
    // re-plans as its listener) and the rectangular filter's length.
    void setSamplingRate(int rate);

    // The target of a note the quantizer started at `quantized_freq`: the
    // nearest note of the temperament, whichever quantizer is in use.
    static double NoteTarget(double quantized_freq);
    // The target of a note held against a chosen degree of a scale (the
    // microtonal view's tuning frequency): that frequency, or 0 when it is none.
    static double DegreeTarget(float tuning_freq);

    // The target of a note in a scale whose degrees lie `degree_cents` above a
    // root of `root_freq` Hz: the degree nearest to `freq` in any octave of the
    // root, the root itself (1/1) included. Degrees that are no pitch (not
    // finite) are skipped; the first of equally near degrees wins.
    struct ScaleTarget
    {
        double freq = 0.0; // Hz; 0 when freq or root_freq is not a frequency
        int degree = -1;   // index into degree_cents; -1 for the root
        int octave = 0;    // the degree lies this many octaves above (below) the root
    };
    static ScaleTarget NearestScaleDegree(double freq, double root_freq,
                                          const std::vector<double>& degree_cents);

    // Signed distance of freq from target, semitones; NaN without a target.
    static double Error(double freq, double target);

    // The range filters and the one in use.
    RectangularHighPassRTFilter m_rect_range_filter;
    FIRRTFilter m_fir_range_filter;
    DummyRTFilter m_dummy_range_filter;
    RTFilter* m_range_filter;
    // The quantizers and the one in use.
    LatencyMonoQuantizer m_latency_quantizer;
    DummyMonoQuantizer m_dummy_quantizer;
    MonoQuantizer* m_quantizer;

private:
    std::unique_ptr<Transform> m_detector_owner;

public:
    // The detector in use (owned); registered with the pitch model as a
    // settings listener for as long as it lives.
    Transform* m_detector;
    // The computing half of the analysis cycle, wired to the pieces above.
    AnalysisPipeline m_pipeline;

private:
    // One period of the lowest note of the range, in samples (0 while the rate
    // is unknown, which the filter takes as length 1).
    void resetRectangularFilterToNoteRange();

    AnalysisSettings m_settings;
};

} // namespace Music

#endif
