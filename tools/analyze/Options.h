#ifndef ORFE_ANALYZE_OPTIONS_H
#define ORFE_ANALYZE_OPTIONS_H

// Command-line options of orfe-analyze. They mirror the tuner's configuration,
// with its factory values as defaults and its ranges as limits.

#include <string>
#include <vector>

struct AnalyzeOptions
{
    int refresh_ms = 20;
    double a4 = 440.0;
    double offset_cents = 0.0;
    int min_ht = -36;
    int max_ht = 48;
    double threshold_db = -28.0;
    int window_factor = 4;
    bool use_audibility = false;
    double audibility_db = 15.0;
    enum class Refinement { Time, Frequency, None } refinement = Refinement::Time;
    int periods = 4;
    int harmonics = 8;
    int latency_ms = 125; // 0 selects the pass-through quantizer
    int detector = 0;     // Music::AnalysisSettings::Detector
    int tuning = 0;       // Music::Tuning
    int names = 0;        // Music::NotesName
    int transposition = 0;
    bool range_filter = true;
    bool mix_channels = false;
    bool summary = false;
    bool help = false;
    std::vector<std::string> files;

    // --scale FILE, --root NOTE: targets are the degrees of a Scala scale in
    // any octave of the root (semitones from A4) instead of the temperament's
    // notes. Filled from the file while parsing, so the analysis needs no reader.
    bool use_scale = false;
    int root_ht = -9;                      // C4
    std::vector<double> scale_cents;       // each degree's size above the root
    std::vector<std::string> scale_labels; // each degree as written: "3/2", "150.5"
};

// Parses argv. On a bad argument returns false and sets `error` to one line
// naming the problem.
bool ParseOptions(int argc, char** argv, AnalyzeOptions& options, std::string& error);

std::string UsageText();

#endif
