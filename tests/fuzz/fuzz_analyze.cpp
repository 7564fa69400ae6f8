// The analyser from file bytes to rows: libsndfile decodes whatever the bytes
// are, the tuner's pipeline analyses it. It must end with rows or a one-line
// message, and no row may carry a value that is not a finite number. Any crash,
// sanitizer report, abort below, hang or oversized allocation is a finding.

#include "Analyzer.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

void Check(bool condition)
{
    if (!condition) std::abort();
}

// The input lives in a memory file, opened by libsndfile through its path as
// the analyser opens any file: no disk is written.
int InputFile()
{
    static const int fd = memfd_create("fuzz-analyze-input", 0);
    Check(fd >= 0);
    return fd;
}

void CheckRow(const AnalysisRow& row, double* last_time)
{
    Check(std::isfinite(row.time_s) && row.time_s >= *last_time);
    *last_time = row.time_s;
    if (row.has_volume) Check(std::isfinite(row.volume_db));
    if (!row.note_held) return;
    Check(std::isfinite(row.frequency_hz) && row.frequency_hz > 0);
    Check(std::isfinite(row.target_hz) && row.target_hz > 0);
    Check(std::isfinite(row.error_cents));
    Check(!row.note.empty());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The detector's line at every re-plan, once per input.
    std::cout.rdbuf(nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int fd = InputFile();
    Check(ftruncate(fd, 0) == 0);
    Check(pwrite(fd, data, size, 0) == ssize_t(size));
    const std::string path = "/proc/self/fd/" + std::to_string(fd);

    // The factory configuration, as orfe-analyze runs without options.
    Analyzer analyzer{AnalyzeOptions()};
    double last_time = 0;
    std::string error;
    long rows = 0;
    const bool ok = analyzer.run(
        path,
        [&](const AnalysisRow& row) {
            CheckRow(row, &last_time);
            ++rows;
        },
        error);
    if (!ok) {
        // One line naming the file, and no row before it.
        Check(rows == 0 && error.rfind(path + ": ", 0) == 0 && error.find('\n') == std::string::npos);
    }
    return 0;
}
