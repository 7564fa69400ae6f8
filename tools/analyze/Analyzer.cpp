#include "Analyzer.h"

#include "Music/AnalysisPipeline.h"
#include "Music/CombedFT.h"
#include "Music/Filter.h"
#include "Music/MonoQuantizer.h"
#include "Music/Music.h"

#include <sndfile.h>

#include <QMutex>

#include <algorithm>
#include <cmath>
#include <deque>
#include <memory>
#include <vector>

Analyzer::Analyzer(const AnalyzeOptions& options) : m_options(options) {}

namespace {

struct SndFile
{
    SNDFILE* f = nullptr;
    ~SndFile()
    {
        if (f) sf_close(f);
    }
};

} // namespace

bool Analyzer::run(const std::string& path, const std::function<void(const AnalysisRow&)>& emit_row,
                   std::string& error)
{
    SF_INFO info{};
    SndFile file;
    file.f = sf_open(path.c_str(), SFM_READ, &info);
    if (!file.f) {
        error = path + ": " + sf_strerror(nullptr);
        return false;
    }
    if (info.frames <= 0 || info.channels <= 0) {
        error = path + ": contains no audio frames";
        return false;
    }
    if (info.samplerate <= 0) {
        error = path + ": invalid sampling rate";
        return false;
    }
    SNDFILE* f = file.f;
    runSource([f](float* buffer, long long frames) { return (long long)sf_readf_float(f, buffer, frames); },
              info.samplerate, info.channels, emit_row);
    return true;
}

void Analyzer::runSamples(const std::vector<float>& mono, int rate,
                          const std::function<void(const AnalysisRow&)>& emit_row)
{
    size_t pos = 0;
    runSource(
        [&](float* buffer, long long frames) {
            const size_t n = std::min(size_t(frames), mono.size() - pos);
            std::copy(mono.begin() + long(pos), mono.begin() + long(pos + n), buffer);
            pos += n;
            return (long long)n;
        },
        rate, 1, emit_row);
}

void Analyzer::runSource(const FrameReader& read, int rate, int channels,
                         const std::function<void(const AnalysisRow&)>& emit_row)
{
    const AnalyzeOptions& o = m_options;

    // The pitch model, as the tuner's configuration sets it.
    Music::SetTuning(Music::Tuning(o.tuning));
    Music::s_transposition = o.transposition;
    Music::s_notes_name = Music::NotesName(o.names);
    Music::SetAFreq(o.a4 * std::pow(2.0, (o.offset_cents / 100.0) / 12.0));
    Music::SetSemitoneBounds(o.min_ht, o.max_ht);

    // The detector is configured before the rate is known, so that it plans its
    // transforms once, for the final window size (planning is costly).
    Music::SetSamplingRate(-1);
    Music::CombedFT detector;
    detector.setWindowFactor(o.window_factor);
    detector.m_use_audibility_ratio = o.use_audibility;
    detector.m_audibility_ratio = std::pow(10.0, -o.audibility_db / 20.0);
    detector.m_amplitude_treshold = std::pow(10.0, o.threshold_db / 20.0);
    Music::SetSamplingRate(rate);

    // The configuration applied once the capture's rate is known: the
    // rectangular filter spans one period of the lowest note of the range.
    Music::RectangularHighPassRTFilter rect_filter(0);
    Music::DummyRTFilter dummy_filter;
    rect_filter.reset(
        int(Music::GetSamplingRate() / (std::pow(2.0, Music::GetSemitoneMin() / 12.0) * Music::GetAFreq())));
    Music::RTFilter* range_filter =
        o.range_filter ? static_cast<Music::RTFilter*>(&rect_filter) : &dummy_filter;

    double now_ms = 0.0;
    Music::LatencyMonoQuantizer latency_quantizer;
    Music::DummyMonoQuantizer dummy_quantizer;
    latency_quantizer.setClock([&now_ms] { return now_ms; });
    latency_quantizer.m_latency = float(o.latency_ms);
    Music::MonoQuantizer* quantizer =
        o.latency_ms > 0 ? static_cast<Music::MonoQuantizer*>(&latency_quantizer) : &dummy_quantizer;

    double compared_freq = 0.0;
    bool new_note = false;
    QObject::connect(quantizer, &Music::MonoQuantizer::noteStarted, [&](double, double) {
        compared_freq = quantizer->m_quantized_freq;
        new_note = true;
    });
    QObject::connect(quantizer, &Music::MonoQuantizer::noteFinished,
                     [&](double, double) { compared_freq = 0.0; });

    // The capture queue, filled as a transport would fill it.
    std::deque<double> sample_queue;
    QMutex queue_lock;
    int pushed_since_drain = 0;
    bool drain_started = false;

    Music::AnalysisPipeline pipeline;
    pipeline.setCaptureQueue(
        Music::CaptureQueueRef::make(sample_queue, queue_lock, pushed_since_drain, drain_started));
    pipeline.setRangeFilter(range_filter);
    pipeline.setDetector(&detector);
    pipeline.setQuantizer(quantizer);
    Music::AnalysisPipeline::Settings settings;
    settings.refresh_ms = o.refresh_ms;
    settings.refinement = o.refinement != AnalyzeOptions::Refinement::None;
    settings.refinement_method = o.refinement == AnalyzeOptions::Refinement::Frequency
                                     ? Music::AnalysisPipeline::FrequencyRefinement
                                     : Music::AnalysisPipeline::TimeRefinement;
    settings.max_harmonics = o.harmonics;
    settings.max_periods = o.periods;
    pipeline.setSettings(settings);

    std::vector<float> packet(size_t(PACKET_FRAMES) * size_t(channels));
    long long frames_read = 0; // frames delivered so far
    long long frames_drained = 0;
    bool end_of_file = false;
    for (long long cycle = 1;; ++cycle) {
        now_ms = double(cycle) * o.refresh_ms;
        // Deliver every packet whose last frame has been "captured" by now.
        while (!end_of_file && double(frames_read + PACKET_FRAMES) * 1000.0 / rate <= now_ms) {
            const long long n = read(packet.data(), PACKET_FRAMES);
            if (n <= 0) {
                end_of_file = true;
                break;
            }
            frames_read += n;
            if (n < PACKET_FRAMES) end_of_file = true;
            queue_lock.lock();
            for (long long k = 0; k < n; ++k) {
                const float* frame = &packet[size_t(k) * size_t(channels)];
                double v = frame[0];
                if (o.mix_channels && channels > 1) {
                    double sum = 0;
                    for (int c = 0; c < channels; ++c)
                        sum += frame[c];
                    v = sum / channels;
                }
                sample_queue.push_front(v);
            }
            if (drain_started) {
                pushed_since_drain = 0;
                drain_started = false;
            }
            pushed_since_drain += int(n) * channels;
            queue_lock.unlock();
        }
        if (end_of_file && sample_queue.empty()) break;

        new_note = false;
        const auto& result = pipeline.cycle(o.refresh_ms, rate);
        frames_drained += result.drained;
        if (result.capture_failed) continue; // nothing drained yet: no analysis ran

        AnalysisRow row;
        row.time_s = double(frames_drained) / rate;
        row.has_volume = result.has_volume;
        row.volume_db = result.volume_db;
        row.new_note = new_note;
        if (result.note_held && compared_freq > 0 && pipeline.m_freq > 0) {
            row.note_held = true;
            row.frequency_hz = pipeline.m_freq;
            row.target_hz = compared_freq;
            row.error_cents = 100.0 * std::log(pipeline.m_freq / compared_freq) * Music::SEMITONE_FACTOR;
            row.note = Music::GetNoteName(Music::NearestSemitone(compared_freq), Music::s_notes_name,
                                          Music::s_transposition, true);
        }
        emit_row(row);
    }
}
