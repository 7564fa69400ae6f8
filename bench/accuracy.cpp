// Accuracy report: tones with known fundamentals, synthesised here, are run
// through the tuner's analysis pipeline (the offline analyser's engine, so the
// same code path as the tuner) and the errors are summarised per class of tone.
//
// Notes: every semitone from B0 (30.9 Hz, a 5-string bass) to C8 (4186 Hz, the
// top of a piano, a piccolo), each detuned by a few cents, at 44100, 48000 and
// 96000 Hz. Notes from A1 up are measured with the factory note range
// (-36..48); the notes below it with the range lowered to -48, as a bass player
// would set it.
//
// For every tone: 0.5 s of silence, then 1.5 s of tone. Figures per class and
// refinement:
//   median |error| and its 95th percentile, in cents, over the cycles more than
//   300 ms after the onset in which a note is held (error against the true f0);
//   gross: share of those cycles more than 50 cents off (octave errors
//   included); no note: share of the cycles after 300 ms that hold no note;
//   drop: share of the cycles after the note is established (below) that hold
//   no note; onset: time from the onset to the first note that is correct and
//   stays correct for 100 ms, the note's establishment (median and worst over
//   the class; "inf" when some tone never gets there).
//
// Options: --quick (44100 Hz only), --notes (after the table, one line per
// tone with a gross error, a drop or no established note), --tones (one line
// per tone, to compare two builds tone by tone).

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

// A row of each class: the detector and the refinement it runs with.
struct RefinementSpec
{
    const char* name;
    AnalyzeOptions::Refinement refinement;
    int detector = 0; // Music::AnalysisSettings::Detector
};

// Outcome of one tone.
struct ToneResult
{
    std::vector<double> abs_errors;
    long long held = 0, gross = 0, missing = 0, cycles = 0;
    long long after_onset = 0, dropped = 0;
    double onset = INFINITY; // seconds
};

struct Stats
{
    std::vector<double> abs_errors;
    long long held = 0, gross = 0, missing = 0, cycles = 0, after_onset = 0, dropped = 0;
    std::vector<double> onsets;

    void add(const ToneResult& t)
    {
        abs_errors.insert(abs_errors.end(), t.abs_errors.begin(), t.abs_errors.end());
        held += t.held;
        gross += t.gross;
        missing += t.missing;
        cycles += t.cycles;
        after_onset += t.after_onset;
        dropped += t.dropped;
        onsets.push_back(t.onset);
    }
};

double Quantile(std::vector<double> v, double q)
{
    if (v.empty()) return NAN;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(q * double(v.size() - 1) + 0.5))];
}

double Percent(long long part, long long whole)
{
    return whole ? 100.0 * double(part) / double(whole) : NAN;
}

const double k_onset_s = 0.5;
const double k_tone_s = 1.5;
const double k_settle_s = 0.3;
const double k_stable_s = 0.1;
const double k_gross_cents = 50.0;

ToneResult RunTone(const AnalyzeOptions& options, const std::vector<float>& sound, double f0, int rate)
{
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
            row.err = 1200.0 * std::log2(r.frequency_hz / f0);
            row.correct = std::fabs(row.err) <= k_gross_cents;
        }
        rows.push_back(row);
    });

    ToneResult res;
    for (size_t i = 0; i < rows.size() && std::isinf(res.onset); ++i) {
        if (rows[i].t < 0 || !rows[i].correct) continue;
        bool stable = true;
        for (size_t j = i; j < rows.size() && rows[j].t < rows[i].t + k_stable_s; ++j)
            stable = stable && rows[j].correct;
        if (stable) res.onset = rows[i].t;
    }
    for (const Row& r : rows) {
        if (r.t > k_tone_s) continue;
        if (r.t >= res.onset) {
            ++res.after_onset;
            if (!r.held) ++res.dropped;
        }
        if (r.t <= k_settle_s) continue;
        ++res.cycles;
        if (!r.held) {
            ++res.missing;
            continue;
        }
        ++res.held;
        res.abs_errors.push_back(std::fabs(r.err));
        if (!r.correct) ++res.gross;
    }
    return res;
}

void PrintRow(const char* cls, const char* refinement, const Stats& s)
{
    std::printf("| %-23s | %-14s | %8.4f | %9.4f | %6.2f%% | %6.2f%% | %6.2f%% | %5.0f | %5.0f |\n", cls,
                refinement, Quantile(s.abs_errors, 0.5), Quantile(s.abs_errors, 0.95),
                Percent(s.gross, s.held), Percent(s.missing, s.cycles), Percent(s.dropped, s.after_onset),
                1000 * Quantile(s.onsets, 0.5), 1000 * Quantile(s.onsets, 1.0));
}

// Anglo-Saxon name with octave of a semitone counted from A4.
std::string NoteName(int semitone)
{
    static const char* names[] = {"A", "A#", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#"};
    const int index = ((semitone % 12) + 12) % 12;
    const int octave = 4 + (semitone - index) / 12 + (index >= 3 ? 1 : 0);
    return names[index] + std::to_string(octave);
}

} // namespace

int main(int argc, char** argv)
{
    bool quick = false, list_notes = false, list_tones = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0)
            quick = true;
        else if (std::strcmp(argv[i], "--notes") == 0)
            list_notes = true;
        else if (std::strcmp(argv[i], "--tones") == 0)
            list_tones = true;
        else {
            std::fprintf(stderr, "usage: %s [--quick] [--notes] [--tones]\n", argv[0]);
            return 2;
        }
    }
    // The library's informational lines would drown the table: send them away.
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    FILE* out = fdopen(saved, "w");
    if (out) {
        std::freopen("/dev/null", "w", stdout);
        stdout = out;
    }

    // B0 (-46 semitones from A4) to C8 (+39); A1 (-36) is the factory range's
    // lowest note. The detuning pattern puts A1 7 cents sharp (55.22 Hz).
    const int lowest = -46, highest = 39, factory_min = -36;
    const double detune[] = {+3, +7, -4, -2, +5, -6, +1, -3, +4};
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
    const std::vector<RefinementSpec> refinements = {
        {"factory (time)", AnalyzeOptions::Refinement::Time},
        {"frequency", AnalyzeOptions::Refinement::Frequency},
        {"none", AnalyzeOptions::Refinement::None},
        {"partials detector", AnalyzeOptions::Refinement::Time, 1}};

    std::printf(
        "Accuracy at the factory settings, B0 (30.9 Hz) to C8 (4186 Hz), every semitone detuned by -6 to "
        "+7 cents; note range -36..48, -48..48 below A1; rates:");
    for (int r : rates)
        std::printf(" %d", r);
    std::printf(" Hz\n\n");

    std::vector<std::string> failures;
    std::vector<std::vector<Stats>> stats(classes.size(), std::vector<Stats>(refinements.size()));
    for (size_t c = 0; c < classes.size(); ++c) {
        for (int rate : rates)
            for (int s = lowest; s <= highest; ++s) {
                ToneSynth::Tone tone;
                tone.kind = classes[c].kind;
                tone.f0 = 440.0 * std::pow(2.0, (s + detune[(s - lowest) % 9] / 100.0) / 12.0);
                tone.harmonics = 8;
                tone.snr_db = classes[c].snr_db;
                tone.seed = uint32_t(1000 + (s - lowest) * 7 + rate);
                std::vector<float> sound(size_t(k_onset_s * rate), 0.0f);
                ToneSynth::append(sound, tone, rate, k_tone_s);
                for (size_t r = 0; r < refinements.size(); ++r) {
                    AnalyzeOptions options;
                    options.refinement = refinements[r].refinement;
                    options.detector = refinements[r].detector;
                    if (s < factory_min) options.min_ht = -48;
                    const ToneResult res = RunTone(options, sound, tone.f0, rate);
                    stats[c][r].add(res);
                    const bool failed = res.gross > 0 || res.dropped > 0 || std::isinf(res.onset);
                    if (list_tones || (list_notes && failed)) {
                        char line[256];
                        std::snprintf(line, sizeof line,
                                      "%-23s %-14s %6d Hz %-4s %8.2f Hz: gross %lld/%lld, drop %lld/%lld, "
                                      "median error %.4f cents, onset %.0f ms",
                                      classes[c].name, refinements[r].name, rate, NoteName(s).c_str(),
                                      tone.f0, res.gross, res.held, res.dropped, res.after_onset,
                                      Quantile(res.abs_errors, 0.5), 1000 * res.onset);
                        failures.push_back(line);
                    }
                }
            }
    }

    std::printf(
        "| class                   | refinement     | median ¢ | p95 ¢     | gross   | no note | drop    "
        "| onset | worst |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|\n");
    for (size_t c = 0; c < classes.size(); ++c)
        for (size_t r = 0; r < refinements.size(); ++r)
            PrintRow(classes[c].name, refinements[r].name, stats[c][r]);

    if (list_notes || list_tones) {
        std::printf(list_tones ? "\nEvery tone:\n"
                               : "\nTones with a gross error, a drop, or no established note:\n");
        for (const std::string& f : failures)
            std::printf("%s\n", f.c_str());
    }
    std::fflush(stdout);
    return 0;
}
