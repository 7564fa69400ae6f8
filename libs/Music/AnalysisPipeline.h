#ifndef MUSIC_ANALYSISPIPELINE_H
#define MUSIC_ANALYSISPIPELINE_H

// The computing half of the analysis cycle: drain the capture queue through the
// range filter into the analysis buffer (feeding the sample sinks on the way),
// trim the buffer, run the detector, measure the volume, discard implausible
// estimates, refine, and feed the quantizer. The tuner's main window drives it
// from its refresh timer and then shows the results; the offline analyser drives
// it on file time. Both share this one code path.
//
// Threads: every function is for the thread that runs the analysis cycle (the
// interface thread in the tuner). The only data shared with other threads is the
// capture queue, which cycle() touches only while holding the queue's lock.

#include <deque>
#include <functional>
#include <vector>

#include "CaptureQueue.h"
#include "FreqAnalysis.h"

namespace Music {

class RTFilter;
class Transform;
class MonoQuantizer;

// Receives every filtered sample of a drain (the captured sound view's addValue,
// the spectrum view's m_samples push), then the end of the drain (the captured
// sound view's fold, the spectrum view's trimSamples).
class AnalysisSampleSink
{
public:
    virtual ~AnalysisSampleSink() = default;
    // Called with the capture queue's lock held: keep it cheap, take no lock and
    // emit no signal.
    virtual void addSample(double value) = 0;
    // Called after the lock is released, once per cycle, even when nothing was
    // drained.
    virtual void drainFinished() {}
};

// A sink made of two functions; either may be empty.
class FunctionSampleSink : public AnalysisSampleSink
{
public:
    FunctionSampleSink(std::function<void(double)> add, std::function<void()> finished = {})
        : m_add(std::move(add)), m_finished(std::move(finished))
    {
    }
    void addSample(double value) override
    {
        if (m_add) m_add(value);
    }
    void drainFinished() override
    {
        if (m_finished) m_finished();
    }

private:
    std::function<void(double)> m_add;
    std::function<void()> m_finished;
};

class AnalysisPipeline
{
public:
    // Which refinement the refinement group's radio buttons select.
    enum RefinementMethod { FrequencyRefinement, TimeRefinement };

    // The settings the cycle reads, with the factory values.
    struct Settings
    {
        int refresh_ms = 20;                                 // refresh time R, ms
        bool refinement = true;                              // refinement group checked
        RefinementMethod refinement_method = TimeRefinement; // the radio checked in it
        int max_harmonics = 8;                               // frequency refinement
        int max_periods = 4;                                 // time refinement
        int buffer_duration_ms = 10000;                      // captured sound view's duration
    };

    // Outcome of one cycle.
    struct CycleResult
    {
        // Samples taken from the capture queue.
        int drained = 0;
        // "Capture not working" (red): nothing drained, no detector, or more than
        // 8 refresh periods since the previous cycle. The analysis was skipped:
        // the detector, the quantizer and m_freq are untouched, the other fields
        // below keep their defaults.
        bool capture_failed = true;
        // Fundamental the detector reported (0 when it recognised none).
        double detected_freq = 0.0;
        // Estimate given to the quantizer, in Hz: finite, and 0 for "no pitch"
        // (none detected, outside the spectrum's usable band, more than half a
        // semitone outside the note range, or a frequency refinement that found
        // no harmonic).
        double freq = 0.0;
        // Whether volume_db and volume_bar mean something: false when the level
        // of the strongest component is 0 (its dB figure would be -infinity) or
        // not finite. The caller then leaves the volume bar as it is.
        bool has_volume = false;
        // 20 log10 of the detector's m_components_max.
        double volume_db = 0.0;
        // trunc(volume_db) + 100, the volume bar's value (outside 0..100 the bar
        // ignores it).
        int volume_bar = 0;
        // After the quantizer: whether it holds a note (m_quantized_freq > 0).
        bool note_held = false;
    };

    AnalysisPipeline();
    AnalysisPipeline(const AnalysisPipeline&) = delete;
    AnalysisPipeline& operator=(const AnalysisPipeline&) = delete;

    // The pieces in use: non-owning, changeable between cycles, null allowed (no
    // capture queue or no detector: every cycle is red; no range filter: samples
    // pass unchanged; no quantizer: nothing is quantized).
    void setCaptureQueue(CaptureQueue* queue) { m_capture = queue; }
    void setRangeFilter(RTFilter* filter) { m_range_filter = filter; }
    void setDetector(Transform* detector) { m_detector = detector; }
    void setQuantizer(MonoQuantizer* quantizer) { m_quantizer = quantizer; }
    RTFilter* rangeFilter() const { return m_range_filter; }
    Transform* detector() const { return m_detector; }
    MonoQuantizer* quantizer() const { return m_quantizer; }

    void setSettings(const Settings& settings) { m_settings = settings; }
    const Settings& settings() const { return m_settings; }

    // Sinks are called in the order they were added. Non-owning.
    void addSampleSink(AnalysisSampleSink* sink);
    void removeSampleSink(AnalysisSampleSink* sink);

    // Least number of samples a cycle takes when the queue holds them:
    // trunc(rate * R / (1000 - R)); 0 (no minimum) for R >= 1000 or rate <= 0.
    static long long MinimumDrain(int capture_rate, int refresh_ms);
    // Most samples the analysis buffer keeps: the buffer duration's worth at the
    // pitch model's rate (in 64 bits), but never less than the detector's size,
    // nor than the range filter's size.
    long long bufferLimit() const;

    // One cycle. elapsed_ms: time since the previous cycle (wall time in the
    // tuner, file time in the analyser); capture_rate: the capture front's
    // sampling rate (-1 when unknown), which sets the drain's minimum.
    const CycleResult& cycle(double elapsed_ms, int capture_rate);
    const CycleResult& lastResult() const { return m_result; }

    // Helpers for the display half, safe for any freq:
    // Harmonic structure of the last analysed spectrum for the fundamental freq
    // (keep_missing, tolerance 0.1); empty when there is no detector, or freq
    // lies outside (1, N/2 - 1] bins where it cannot be computed.
    std::vector<Harmonic> harmonicStructure(double freq, int nb_harm) const;
    // One period of the analysis buffer for a sound of frequency freq at
    // capture_rate; false, with `period` unchanged, when the period length
    // trunc(capture_rate / freq) would not be a positive number of samples or
    // would exceed the buffer. (GetWaveSample may still leave `period` unchanged
    // when the buffer is too short for it.)
    bool wavePeriod(int capture_rate, double freq, std::deque<double>& period) const;

    // The analysis buffer: filtered samples, newest at the front.
    std::deque<double> m_queue;
    // Frequency shown, Hz: the quantizer's m_avg_freq after each analysed cycle
    // in which it holds a note; keeps its last value otherwise; starts at 0.
    double m_freq = 0.0;

private:
    // Whether freq lies inside the band the spectral refinements accept.
    bool inRefinementBand(double freq) const;

    CaptureQueue* m_capture = nullptr;
    RTFilter* m_range_filter = nullptr;
    Transform* m_detector = nullptr;
    MonoQuantizer* m_quantizer = nullptr;
    Settings m_settings;
    std::vector<AnalysisSampleSink*> m_sinks;
    CycleResult m_result;
};

} // namespace Music

#endif
