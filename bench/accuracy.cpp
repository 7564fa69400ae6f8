// Accuracy report: tones with known fundamentals, synthesised here, are run
// through the tuner's analysis pipeline (the offline analyser's engine, so the
// same code path as the tuner) and the errors are summarised per class of tone.
//
// For every tone: 0.5 s of silence, then 1.5 s of tone. Figures per class:
//   median |error| and its 95th percentile, in cents, over the cycles more than
//   300 ms after the onset in which a note is held (error against the true f0);
//   gross errors: share of those cycles more than 50 cents off (octave errors
//   included), plus the share of cycles after 300 ms that hold no note at all;
//   onset: time from the onset to the first note that is correct and stays
//   correct for 100 ms (median and worst over the class).

#include "Analyzer.h"
#include "ToneSynth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct ClassSpec
{
    const char* name;
    ToneSynth::Kind kind;
    double snr_db;
};

struct Stats
{
    std::vector<double> abs_errors;
    long long held = 0, gross = 0, missing = 0, cycles = 0;
    std::vector<double> onsets; // seconds; infinity when never stable
};

double Quantile(std::vector<double> v, double q)
{
    if (v.empty()) return NAN;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(q * double(v.size() - 1) + 0.5))];
}

const double k_onset_s = 0.5;
const double k_tone_s = 1.5;

void RunTone(const AnalyzeOptions& options, const ToneSynth::Tone& tone, int rate, Stats& stats)
{
    std::vector<float> sound(size_t(k_onset_s * rate), 0.0f);
    ToneSynth::append(sound, tone, rate, k_tone_s);

    struct Row
    {
        double t, err;
        bool held, correct;
    };
    std::vector<Row> rows;
    Analyzer analyzer(options);
    analyzer.runSamples(sound, rate, [&](const AnalysisRow& r) {
        Row row{r.time_s - k_onset_s, 0.0, r.note_held, false};
        if (r.note_held) {
            row.err = 1200.0 * std::log2(r.frequency_hz / tone.f0);
            row.correct = std::fabs(row.err) <= 50.0;
        }
        rows.push_back(row);
    });

    for (const Row& r : rows) {
        if (r.t <= 0.3 || r.t > k_tone_s) continue;
        ++stats.cycles;
        if (!r.held) {
            ++stats.missing;
            continue;
        }
        ++stats.held;
        stats.abs_errors.push_back(std::fabs(r.err));
        if (!r.correct) ++stats.gross;
    }
    double onset = INFINITY;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].t < 0 || !rows[i].correct) continue;
        bool stable = true;
        for (size_t j = i; j < rows.size() && rows[j].t < rows[i].t + 0.1; ++j)
            stable = stable && rows[j].correct;
        if (stable) {
            onset = rows[i].t;
            break;
        }
    }
    stats.onsets.push_back(onset);
}

void Print(const char* cls, const char* refinement, const char* range, const Stats& s)
{
    const double gross = s.held ? 100.0 * double(s.gross) / double(s.held) : NAN;
    const double missing = s.cycles ? 100.0 * double(s.missing) / double(s.cycles) : NAN;
    std::printf("| %-22s | %-9s | %-7s | %8.4f | %8.4f | %6.2f%% | %6.2f%% | %6.0f | %6.0f |\n", cls,
                refinement, range, Quantile(s.abs_errors, 0.5), Quantile(s.abs_errors, 0.95), gross, missing,
                1000 * Quantile(s.onsets, 0.5), 1000 * Quantile(s.onsets, 1.0));
}

} // namespace

int main(int argc, char** argv)
{
    bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    // The library's informational lines would drown the table: send them away.
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    FILE* out = fdopen(saved, "w");
    if (out) {
        std::freopen("/dev/null", "w", stdout);
        stdout = out;
    }

    const std::vector<double> freqs = {41.2, 55, 82.4, 110, 146.8, 196, 440, 659.3, 1046.5};
    const std::vector<double> detune = {+3, -4, +7, -2, +5, -6, +1, -3, +4};
    const std::vector<int> rates = quick ? std::vector<int>{44100} : std::vector<int>{44100, 48000, 96000};
    const std::vector<ClassSpec> classes = {
        {"pure sine", ToneSynth::Kind::Sine, 0},
        {"harmonic", ToneSynth::Kind::Harmonic, 0},
        {"weak fundamental", ToneSynth::Kind::WeakFundamental, 0},
        {"harmonic, 40 dB SNR", ToneSynth::Kind::Harmonic, 40},
        {"harmonic, 30 dB SNR", ToneSynth::Kind::Harmonic, 30},
        {"harmonic, 20 dB SNR", ToneSynth::Kind::Harmonic, 20},
        {"inharmonic (piano-like)", ToneSynth::Kind::Inharmonic, 0},
    };
    const struct
    {
        const char* name;
        AnalyzeOptions::Refinement r;
    } refinements[] = {{"time", AnalyzeOptions::Refinement::Time},
                       {"frequency", AnalyzeOptions::Refinement::Frequency},
                       {"none", AnalyzeOptions::Refinement::None}};

    std::printf("Accuracy at the factory settings (note range -36..48; 41.2 Hz with -48..48), rates:");
    for (int r : rates)
        std::printf(" %d", r);
    std::printf(" Hz\n\n");
    std::printf("| class                  | refine    | range   | median ¢ | p95 ¢    | gross   | no note | "
                "onset ms | worst ms |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|\n");
    for (const ClassSpec& c : classes) {
        for (const auto& ref : refinements) {
            for (int low = 0; low < 2; ++low) {
                Stats stats;
                AnalyzeOptions options;
                options.refinement = ref.r;
                if (low) options.min_ht = -48;
                for (int rate : rates)
                    for (size_t i = 0; i < freqs.size(); ++i) {
                        // 41.2 Hz lies below the factory range: it is measured with -48 only.
                        if ((freqs[i] < 50) != bool(low)) continue;
                        ToneSynth::Tone tone;
                        tone.kind = c.kind;
                        tone.f0 = freqs[i] * std::pow(2.0, detune[i] / 1200.0);
                        tone.harmonics = 8;
                        tone.snr_db = c.snr_db;
                        tone.seed = uint32_t(1000 + i * 7 + size_t(rate));
                        RunTone(options, tone, rate, stats);
                    }
                Print(c.name, ref.name, low ? "41 Hz" : "55-1047", stats);
            }
        }
    }
    std::fflush(stdout);
    return 0;
}
