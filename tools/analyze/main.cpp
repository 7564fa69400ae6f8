// orfe-analyze: the tuner's analysis on audio files, as CSV.

#include "Analyzer.h"
#include "Options.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Standard output carries nothing but CSV: the library's informational lines
// (re-planning and the like) are written to standard output, so that stream is
// pointed at standard error and the CSV goes to a duplicate of the original.
FILE* TakeStandardOutput()
{
    std::fflush(stdout);
    const int fd = dup(STDOUT_FILENO);
    if (fd < 0) return stdout;
    FILE* csv = fdopen(fd, "w");
    if (!csv) return stdout;
    dup2(STDERR_FILENO, STDOUT_FILENO);
    return csv;
}

// CSV field: quoted when it holds a separator, a quote or a line end.
std::string Field(const std::string& s)
{
    if (s.find_first_of(",\"\n\r") == std::string::npos) return s;
    std::string q = "\"";
    for (char c : s)
        q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

double Quantile(std::vector<double> v, double q)
{
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    const double pos = q * double(v.size() - 1);
    const size_t i = size_t(pos);
    const double frac = pos - double(i);
    return i + 1 < v.size() ? v[i] * (1 - frac) + v[i + 1] * frac : v[i];
}

struct NoteSummary
{
    std::string note;
    double start_s = 0, end_s = 0;
    std::vector<double> freqs, errors;
};

void PrintSummary(FILE* out, const std::string& file, const NoteSummary& n, double period_s)
{
    if (n.freqs.empty()) return;
    std::fprintf(out, "%s,%s,%.6f,%.6f,%.6f,%.4f,%.4f\n", Field(file).c_str(), Field(n.note).c_str(),
                 n.start_s, n.end_s - n.start_s + period_s, Quantile(n.freqs, 0.5), Quantile(n.errors, 0.5),
                 Quantile(n.errors, 0.75) - Quantile(n.errors, 0.25));
}

} // namespace

int main(int argc, char** argv)
{
    AnalyzeOptions options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "orfe-analyze: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }

    // Measured FFTW plans are costly to make (a good part of a second) and the
    // same for every run with the same sizes: keep them between runs.
    std::string wisdom;
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache)
        wisdom = std::string(cache) + "/orfe";
    else if (const char* home = std::getenv("HOME"); home && *home)
        wisdom = std::string(home) + "/.cache/orfe";
    if (!wisdom.empty()) {
        mkdir(wisdom.substr(0, wisdom.rfind('/')).c_str(), 0755);
        mkdir(wisdom.c_str(), 0755);
        wisdom += "/fftw3.wisdom";
        fftw_import_wisdom_from_filename(wisdom.c_str());
    }

    FILE* out = TakeStandardOutput();
    const bool file_column = options.summary || options.files.size() > 1;
    bool header_done = false;
    int status = 0;
    Analyzer analyzer(options);
    const double period_s = options.refresh_ms / 1000.0;

    for (const std::string& path : options.files) {
        auto header = [&] {
            if (header_done) return;
            header_done = true;
            if (options.summary)
                std::fputs("file,note,start_s,duration_s,median_hz,median_error_cents,spread_cents\n", out);
            else
                std::fprintf(out, "%stime_s,frequency_hz,note,target_hz,error_cents,volume_db\n",
                             file_column ? "file," : "");
        };
        NoteSummary current;
        bool in_note = false;
        auto row = [&](const AnalysisRow& r) {
            header();
            if (options.summary) {
                if (in_note && (!r.note_held || r.new_note)) {
                    PrintSummary(out, path, current, period_s);
                    in_note = false;
                }
                if (r.note_held) {
                    if (!in_note) {
                        current = NoteSummary();
                        current.note = r.note;
                        current.start_s = r.time_s - period_s;
                        in_note = true;
                    }
                    current.end_s = r.time_s - period_s;
                    current.freqs.push_back(r.frequency_hz);
                    current.errors.push_back(r.error_cents);
                }
                return;
            }
            if (file_column) std::fprintf(out, "%s,", Field(path).c_str());
            std::fprintf(out, "%.6f,", r.time_s);
            if (r.note_held)
                std::fprintf(out, "%.6f,%s,%.6f,%.4f,", r.frequency_hz, Field(r.note).c_str(), r.target_hz,
                             r.error_cents);
            else
                std::fputs(",,,,", out);
            if (r.has_volume) std::fprintf(out, "%.2f", r.volume_db);
            std::fputc('\n', out);
        };
        if (!analyzer.run(path, row, error)) {
            std::fflush(out);
            std::fprintf(stderr, "orfe-analyze: %s\n", error.c_str());
            status = 2;
            continue;
        }
        if (options.summary && in_note) PrintSummary(out, path, current, period_s);
    }
    std::fflush(out);
    if (!wisdom.empty()) {
        // Written to a private name first, so that concurrent runs never read a half-written file.
        const std::string tmp = wisdom + "." + std::to_string(getpid());
        if (fftw_export_wisdom_to_filename(tmp.c_str()))
            std::rename(tmp.c_str(), wisdom.c_str());
        else
            std::remove(tmp.c_str());
    }
    return status;
}
