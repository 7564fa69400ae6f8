#include "Options.h"

#include "Scales/Scale.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>

namespace {

bool parseInt(const std::string& text, long lo, long hi, int& value)
{
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
    value = int(v);
    return true;
}

bool parseDouble(const std::string& text, double lo, double hi, double& value)
{
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(v) || v < lo || v > hi) return false;
    value = v;
    return true;
}

bool parseChoice(const std::string& text, const std::vector<std::string>& choices, int& value)
{
    for (size_t i = 0; i < choices.size(); ++i)
        if (choices[i] == text) {
            value = int(i);
            return true;
        }
    return false;
}

const std::vector<std::string> k_tunings = {"chromatic", "werckmeister3", "kirnberger3", "diatonic",
                                            "meantone"};
const std::vector<std::string> k_names = {"anglo", "latin", "german", "hindustani", "byzantine"};
const std::vector<std::string> k_refinements = {"time", "frequency", "none"};
const std::vector<std::string> k_filters = {"rectangular", "none"};
// In the order of Music::AnalysisSettings::Detector.
const std::vector<std::string> k_detectors = {"combed", "partials"};

std::string join(const std::vector<std::string>& v)
{
    std::string s;
    for (const auto& x : v)
        s += (s.empty() ? "" : "|") + x;
    return s;
}

// A note name with its octave: a letter A to G, an optional # or b, then the
// octave ("C4", "F#3", "Bb2"), as semitones from A4.
bool parseNote(const std::string& text, int& ht)
{
    static const std::string letters = "CDEFGAB";
    static const int from_a[] = {-9, -7, -5, -4, -2, 0, 2};
    if (text.empty() || letters.find(text[0]) == std::string::npos) return false;
    int n = from_a[letters.find(text[0])];
    size_t i = 1;
    if (i < text.size() && (text[i] == '#' || text[i] == 'b')) n += text[i++] == '#' ? 1 : -1;
    int octave = 0;
    if (!parseInt(text.substr(i), -10, 20, octave)) return false;
    ht = n + 12 * (octave - 4);
    return true;
}

// Reads a Scala file into the options; on failure `error` says why.
bool readScale(const std::string& path, AnalyzeOptions& o, std::string& error)
{
    try {
        const Scales::Scale scale(QString::fromLocal8Bit(path.c_str()), Scales::Scale::SCALA);
        o.scale_cents.clear();
        o.scale_labels.clear();
        for (const Scales::ScaleDegree& degree : scale.values) {
            o.scale_cents.push_back(degree.sizeInCents());
            o.scale_labels.push_back(degree.text().toStdString());
        }
    } catch (const QString& message) {
        error = "cannot read the scale '" + path + "': " + message.toStdString();
        return false;
    }
    o.use_scale = true;
    return true;
}

} // namespace

std::string UsageText()
{
    std::ostringstream o;
    o << "Usage: orfe-analyze [options] FILE...\n"
         "Analyses audio files (anything libsndfile reads) as the tuner would, and writes CSV\n"
         "to standard output: one row per analysis cycle,\n"
         "  time_s,frequency_hz,note,target_hz,error_cents,volume_db\n"
         "(a first column 'file' is added with several files). frequency_hz, note, target_hz and\n"
         "error_cents are empty while no note is held; volume_db is empty when the level is zero.\n"
         "\n"
         "Options (defaults are the tuner's factory settings):\n"
         "  --refresh-ms N        analysis period, 1..2000 ms (20)\n"
         "  --a4 F                reference frequency of A4, 220..880 Hz (440)\n"
         "  --offset-cents C      offset from the reference, -50..50 cents (0)\n"
         "  --min-ht N            lowest semitone of the note range from A4, -96..96 (-36)\n"
         "  --max-ht N            highest semitone of the note range, -96..96 (48)\n"
         "  --threshold-db V      volume threshold, -100..0 dB (-28)\n"
         "  --window-factor N     detector window size factor, 1..8 (4)\n"
         "  --audibility-db R     use the sub-harmonic audibility ratio R, 0..100 dB (off)\n"
         "  --detector D          "
      << join(k_detectors)
      << " (combed); partials refines its own estimate: --refinement is not used\n"
         "  --refinement M        "
      << join(k_refinements)
      << " (time)\n"
         "  --periods N           periods of the time-domain refinement, 1..64 (4)\n"
         "  --harmonics N         harmonics of the frequency-domain refinement, 1..64 (8)\n"
         "  --latency-ms N        quantizer latency, 0..4000 ms; 0 takes every estimate as it comes (125)\n"
         "  --tuning T            "
      << join(k_tunings)
      << " (chromatic)\n"
         "  --names S             "
      << join(k_names)
      << " (anglo)\n"
         "  --transposition N     transposition of note names, -96..96 semitones (0)\n"
         "  --range-filter F      "
      << join(k_filters)
      << " (rectangular)\n"
         "  --mix-channels        average the channels instead of taking the first\n"
         "  --summary             one row per note instead:\n"
         "                        file,note,start_s,duration_s,median_hz,median_error_cents,spread_cents\n"
         "                        (spread_cents: interquartile range of the note's errors)\n"
         "  --scale FILE          tune against the degrees of a Scala scale file in any octave\n"
         "                        of the root; the note column names them (C4+3/2, C4+150.5)\n"
         "  --root NOTE           root of the scale, a note with its octave: C4, F#3, Bb2 (C4)\n"
         "  --help                this text\n"
         "\n"
         "Bad input prints one line to standard error and exits with status 2.\n";
    return o.str();
}

bool ParseOptions(int argc, char** argv, AnalyzeOptions& o, std::string& error)
{
    using Setter = std::function<bool(const std::string&)>;
    int refinement = 0, filter = 0;
    const std::map<std::string, Setter> valued = {
        {"--refresh-ms", [&](const std::string& v) { return parseInt(v, 1, 2000, o.refresh_ms); }},
        {"--a4", [&](const std::string& v) { return parseDouble(v, 220, 880, o.a4); }},
        {"--offset-cents", [&](const std::string& v) { return parseDouble(v, -50, 50, o.offset_cents); }},
        {"--min-ht", [&](const std::string& v) { return parseInt(v, -96, 96, o.min_ht); }},
        {"--max-ht", [&](const std::string& v) { return parseInt(v, -96, 96, o.max_ht); }},
        {"--threshold-db", [&](const std::string& v) { return parseDouble(v, -100, 0, o.threshold_db); }},
        {"--window-factor", [&](const std::string& v) { return parseInt(v, 1, 8, o.window_factor); }},
        {"--audibility-db",
         [&](const std::string& v) { return o.use_audibility = parseDouble(v, 0, 100, o.audibility_db); }},
        {"--detector", [&](const std::string& v) { return parseChoice(v, k_detectors, o.detector); }},
        {"--refinement", [&](const std::string& v) { return parseChoice(v, k_refinements, refinement); }},
        {"--periods", [&](const std::string& v) { return parseInt(v, 1, 64, o.periods); }},
        {"--harmonics", [&](const std::string& v) { return parseInt(v, 1, 64, o.harmonics); }},
        {"--latency-ms", [&](const std::string& v) { return parseInt(v, 0, 4000, o.latency_ms); }},
        {"--tuning", [&](const std::string& v) { return parseChoice(v, k_tunings, o.tuning); }},
        {"--names", [&](const std::string& v) { return parseChoice(v, k_names, o.names); }},
        {"--transposition", [&](const std::string& v) { return parseInt(v, -96, 96, o.transposition); }},
        {"--range-filter", [&](const std::string& v) { return parseChoice(v, k_filters, filter); }},
    };

    std::string scale_file;
    bool root_given = false;
    const std::map<std::string, Setter> scale_options = {
        {"--scale", [&](const std::string& v) { return !(scale_file = v).empty(); }},
        {"--root", [&](const std::string& v) { return root_given = parseNote(v, o.root_ht); }},
    };

    bool options_done = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (options_done || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            if (!options_done && arg.size() > 1 && arg[0] == '-') {
                error = "unknown option '" + arg + "'";
                return false;
            }
            o.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            options_done = true;
            continue;
        }
        std::string value;
        bool has_value = false;
        const auto eq = arg.find('=');
        if (eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
            has_value = true;
        }
        if (arg == "--help" || arg == "--mix-channels" || arg == "--summary") {
            if (has_value) {
                error = "option '" + arg + "' takes no value";
                return false;
            }
            (arg == "--help" ? o.help : arg == "--summary" ? o.summary : o.mix_channels) = true;
            continue;
        }
        auto it = valued.find(arg);
        if (it == valued.end()) it = scale_options.find(arg);
        if (it == scale_options.end()) {
            error = "unknown option '" + arg + "'";
            return false;
        }
        if (!has_value) {
            if (i + 1 >= argc) {
                error = "option '" + arg + "' needs a value";
                return false;
            }
            value = argv[++i];
        }
        if (!it->second(value)) {
            error = "invalid value '" + value + "' for option '" + arg + "' (see --help for its range)";
            return false;
        }
    }
    if (root_given && scale_file.empty()) {
        error = "option '--root' needs '--scale'";
        return false;
    }
    if (!scale_file.empty() && !readScale(scale_file, o, error)) return false;
    o.refinement = AnalyzeOptions::Refinement(refinement);
    o.range_filter = filter == 0;
    if (!o.help && o.files.empty()) {
        error = "no input file (see --help)";
        return false;
    }
    return true;
}
