#ifndef ORFE_ANALYZE_ANALYZER_H
#define ORFE_ANALYZE_ANALYZER_H

// Runs audio files through the tuner's analysis pipeline on file time: the sound
// is delivered in packets of 1024 frames into a capture queue, as the capture
// front would, and one analysis cycle runs every refresh period of file time.

#include "Options.h"

#include <functional>
#include <string>
#include <vector>

struct AnalysisRow
{
    double time_s = 0;      // file time at the end of the sound drained by the cycle
    bool note_held = false; // the fields below up to error_cents are valid only then
    double frequency_hz = 0;
    std::string note; // with octave
    double target_hz = 0;
    double error_cents = 0;
    bool new_note = false; // a note started in this cycle
    bool has_volume = false;
    double volume_db = 0;
};

class Analyzer
{
public:
    explicit Analyzer(const AnalyzeOptions& options);

    // Analyses one file, calling `row` for every analysis cycle. Returns false
    // with a one-line `error` when the file cannot be read as audio or holds no
    // frame; nothing has been passed to `row` then.
    bool run(const std::string& path, const std::function<void(const AnalysisRow&)>& row, std::string& error);

    // Reads up to `frames` interleaved frames into the buffer; returns how many
    // it read, 0 at the end.
    using FrameReader = std::function<long long(float* buffer, long long frames)>;

    // The same analysis on any source of interleaved frames.
    void runSource(const FrameReader& read, int rate, int channels,
                   const std::function<void(const AnalysisRow&)>& row);

    // Convenience for synthetic sound: mono samples in memory.
    void runSamples(const std::vector<float>& mono, int rate,
                    const std::function<void(const AnalysisRow&)>& row);

    // Sampling rates the analysis accepts, Hz: from the lowest a sound card
    // offers to the highest a studio interface runs at.
    static constexpr int MIN_RATE = 8000;
    static constexpr int MAX_RATE = 192000;

    // Frames of one delivered packet, as a capture transport would push them.
    static constexpr int PACKET_FRAMES = 1024;

private:
    // With a scale: the row's target becomes the degree nearest to its
    // frequency in any octave of the root, and its note names it ("C4+3/2").
    void scaleTarget(AnalysisRow& row) const;

    AnalyzeOptions m_options;
};

#endif
