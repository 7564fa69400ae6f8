#include "Analyzer.h"

#include "Music/TunerSetup.h"

#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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
        // libsndfile says "does not exist or is not a regular file" for formats
        // it cannot decode too: tell the user which it is.
        struct stat st;
        if (stat(path.c_str(), &st) != 0)
            error = path + ": " + std::strerror(errno);
        else if (!S_ISREG(st.st_mode))
            error = path + ": not a regular file";
        else if (access(path.c_str(), R_OK) != 0)
            error = path + ": " + std::strerror(errno);
        else
            error = path + ": not in an audio format this program can decode";
        return false;
    }
    if (info.frames <= 0 || info.channels <= 0) {
        error = path + ": contains no audio frames";
        return false;
    }
    if (info.samplerate < MIN_RATE || info.samplerate > MAX_RATE) {
        error = path + ": sampling rate of " + std::to_string(info.samplerate) + " Hz, outside the " +
                std::to_string(MIN_RATE) + " to " + std::to_string(MAX_RATE) + " Hz the tuner analyses";
        return false;
    }
    SNDFILE* f = file.f;
    runSource([f](float* buffer, long long frames) { return (long long)sf_readf_float(f, buffer, frames); },
              info.samplerate, info.channels, emit_row);
    return true;
}

void Analyzer::scaleTarget(AnalysisRow& row) const
{
    const AnalyzeOptions& o = m_options;
    // The root in equal temperament from the reference (its offset included).
    const double root_freq = Music::GetAFreq() * std::exp2(o.root_ht / 12.0);
    const auto target = Music::TunerSetup::NearestScaleDegree(row.frequency_hz, root_freq, o.scale_cents);
    if (!(target.freq > 0.0)) return;
    row.target_hz = target.freq;
    row.error_cents = 100.0 * Music::TunerSetup::Error(row.frequency_hz, target.freq);
    row.note =
        Music::GetNoteName(o.root_ht + 12 * target.octave, Music::s_notes_name, Music::s_transposition, true);
    if (target.degree >= 0) row.note += "+" + o.scale_labels[size_t(target.degree)];
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

    Music::AnalysisSettings settings;
    settings.a_freq = o.a4;
    settings.a_offset_enabled = true;
    settings.a_offset_cents = o.offset_cents;
    settings.tuning = Music::Tuning(o.tuning);
    settings.notes_name = Music::NotesName(o.names);
    settings.transposition = o.transposition;
    settings.min_ht = o.min_ht;
    settings.max_ht = o.max_ht;
    settings.range_filter = o.range_filter ? Music::AnalysisSettings::RectangularRangeFilter
                                           : Music::AnalysisSettings::NoRangeFilter;
    settings.volume_threshold_db = o.threshold_db;
    settings.window_factor = o.window_factor;
    settings.detector = Music::AnalysisSettings::Detector(o.detector);
    settings.use_audibility = o.use_audibility;
    settings.audibility_db = o.audibility_db;
    settings.quantizer = o.latency_ms > 0;
    settings.latency_ms = o.latency_ms;
    settings.cycle.refresh_ms = o.refresh_ms;
    settings.cycle.refinement = o.refinement != AnalyzeOptions::Refinement::None;
    settings.cycle.refinement_method = o.refinement == AnalyzeOptions::Refinement::Frequency
                                           ? Music::AnalysisPipeline::FrequencyRefinement
                                           : Music::AnalysisPipeline::TimeRefinement;
    settings.cycle.max_harmonics = o.harmonics;
    settings.cycle.max_periods = o.periods;

    // The settings are applied before the rate is known, as the tuner does
    // before its capture reports its rate, so that the detector plans its
    // transforms once, for the final window size (planning is costly).
    Music::SetSamplingRate(-1);
    Music::TunerSetup setup;
    setup.apply(settings);
    setup.setSamplingRate(rate);

    double now_ms = 0.0;
    setup.m_latency_quantizer.setClock([&now_ms] { return now_ms; });
    Music::MonoQuantizer* quantizer = setup.m_quantizer;

    double compared_freq = 0.0;
    bool new_note = false;
    QObject::connect(quantizer, &Music::MonoQuantizer::noteStarted, [&](double, double) {
        compared_freq = Music::TunerSetup::NoteTarget(quantizer->m_quantized_freq);
        new_note = true;
    });
    QObject::connect(quantizer, &Music::MonoQuantizer::noteFinished,
                     [&](double, double) { compared_freq = 0.0; });

    // The capture queue, filled as a transport would fill it.
    Music::CaptureQueue capture_queue;
    Music::AnalysisPipeline& pipeline = setup.m_pipeline;
    pipeline.setCaptureQueue(&capture_queue);

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
            capture_queue.push(int(n) * channels, [&](Music::CaptureQueue& queue) {
                for (long long k = 0; k < n; ++k) {
                    const float* frame = &packet[size_t(k) * size_t(channels)];
                    double v = frame[0];
                    if (o.mix_channels && channels > 1) {
                        double sum = 0;
                        for (int c = 0; c < channels; ++c)
                            sum += frame[c];
                        v = sum / channels;
                    }
                    queue.pushFront(v);
                }
            });
        }
        if (end_of_file && capture_queue.size() == 0) break;

        new_note = false;
        const auto& result = pipeline.cycle(o.refresh_ms, rate);
        frames_drained += result.drained;
        // With a refresh of a second or more a cycle takes no minimum, so the
        // last packet would wait for a later one for ever. Nothing more will
        // come: an empty block tells the next drain that every sample left
        // arrived before it.
        if (end_of_file && result.drained == 0) capture_queue.push(0, [](Music::CaptureQueue&) {});
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
            row.error_cents = 100.0 * Music::TunerSetup::Error(pipeline.m_freq, compared_freq);
            row.note = Music::GetNoteName(Music::NearestSemitone(compared_freq), Music::s_notes_name,
                                          Music::s_transposition, true);
            if (o.use_scale) scaleTarget(row);
        }
        emit_row(row);
    }
}
