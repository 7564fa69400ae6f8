// Side-by-side measurement of the two detectors, outside the tuner: each is fed
// the same sound cycle by cycle (one analysis every 20 ms of sound, the newest
// samples at the front of the buffer, through the tuner's rectangular range
// filter), and its raw estimate is compared with the truth.
//
//   detector_compare synth [--quick]
//       Synthetic tone classes from B0 to C8 at 44100, 48000 and 96000 Hz
//       (note range -48..48). Per class and detector: gross errors (> 50
//       cents) among the cycles with a note, cycles without a note, median
//       and 95th percentile of |error|, cycle-to-cycle standard deviation on
//       the steady tone (median and worst over the notes), time to the first
//       stable note, and speed in multiples of real time (processor time of
//       the analyses alone). The truth of the
//       piano-like class is its first partial.
//
//   detector_compare files LIST [--threshold-db -60]
//       Sampled notes: each line of LIST is "WAV MIDI_NOTE [AUBIO_OUTPUT]". The
//       sound is normalised to a peak of 1; cycles whose newest 20 ms swing under
//       the threshold are not counted. Wrong-note share: cycles whose estimate
//       is more than 50 cents from the note, among the cycles with an estimate.
//       AUBIO_OUTPUT holds "time frequency" lines (aubio pitch -u Hz); its
//       frames are judged the same way.
//
// The combed detector runs as the tuner runs it by factory settings: window
// factor 4, then the time-domain refinement over 4 periods. The partial-fit
// detector runs alone ("partials"), and in the synthetic table also followed
// by the tuner's time or frequency refinement, to show what they do to it.

#include "Music/CombedFT.h"
#include "Music/Filter.h"
#include "Music/FreqAnalysis.h"
#include "Music/Music.h"
#include "Music/PartialFitDetector.h"
#include "Music/TimeAnalysis.h"
#include "ToneSynth.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <time.h>
#include <vector>

namespace {

const double k_cycle_s = 0.020;

struct Estimate
{
    double t;     // s, end of the sound analysed
    double f;     // Hz, 0 = none
    double level; // dB of the newest 20 ms (half the peak-to-peak swing)
};

// Silences the detectors' re-planning lines.
struct Quiet
{
    std::ostringstream sink;
    std::streambuf* old;
    Quiet() : old(std::cout.rdbuf(sink.rdbuf())) {}
    ~Quiet() { std::cout.rdbuf(old); }
};

class Runner
{
public:
    virtual ~Runner() = default;
    virtual const char* name() const = 0;
    virtual int size() const = 0;
    virtual double analyse(const std::deque<double>& buffer) = 0;
};

// The partial-fit detector alone, or followed by one of the tuner's
// refinements (which a set-up choosing it should leave off: see the table).
class FitRunner : public Runner
{
public:
    enum Refinement { None, Time, Frequency };
    explicit FitRunner(double threshold, Refinement refine = None) : m_refine(refine)
    {
        m_det.m_amplitude_treshold = threshold;
    }
    const char* name() const override
    {
        return m_refine == Time ? "partials+time" : m_refine == Frequency ? "partials+freq" : "partials";
    }
    int size() const override { return m_det.size(); }
    double analyse(const std::deque<double>& buffer) override
    {
        m_det.apply(buffer);
        double f = m_det.hasNoteRecognized() ? m_det.getFundamentalFreq() : 0.0;
        const double rate = Music::GetSamplingRate();
        const double N = double(m_det.m_plan.in.size());
        if (f <= 0 || !(N * f / rate > 1.0 && N * f / rate <= N / 2 - 1)) return f;
        if (m_refine == Time) {
            const double p = Music::GetAverageWaveLength(buffer, int(rate / f), 4);
            if (std::isfinite(p) && p > 0) f = rate / p;
        } else if (m_refine == Frequency) {
            f = Music::RefineFundamentalFreq(m_det.m_plan.out, f, 8, m_det.m_zp_factor);
        }
        return f;
    }

private:
    Music::PartialFitDetector m_det;
    Refinement m_refine;
};

// The combed detector with the tuner's plausibility check and time refinement.
class CombedRunner : public Runner
{
public:
    CombedRunner(double threshold, bool refine) : m_refine(refine)
    {
        m_det.setWindowFactor(4);
        m_det.m_amplitude_treshold = threshold;
    }
    const char* name() const override { return m_refine ? "combed+time" : "combed"; }
    int size() const override { return m_det.size(); }
    double analyse(const std::deque<double>& buffer) override
    {
        m_det.apply(buffer);
        double f = m_det.hasNoteRecognized() ? m_det.getFundamentalFreq() : 0.0;
        const double rate = Music::GetSamplingRate();
        const double x = double(m_det.m_plan.in.size()) * f / rate;
        if (!(x >= 1.0 && x <= double(m_det.m_plan.out.size() / 2))) return 0.0;
        if (m_refine) {
            const double p = Music::GetAverageWaveLength(buffer, int(rate / f), 4);
            if (std::isfinite(p) && p > 0) f = rate / p;
        }
        return f;
    }

private:
    Music::CombedFT m_det;
    bool m_refine;
};

// Level in dB of sound[begin..end): half the peak-to-peak swing, so that a
// constant offset (a rendered file's last sample held) counts as silence.
double LevelDb(const std::vector<float>& sound, size_t begin, size_t end)
{
    end = std::min(end, sound.size());
    if (begin >= end) return -1000;
    const auto [lo, hi] = std::minmax_element(sound.begin() + long(begin), sound.begin() + long(end));
    const double swing = 0.5 * (double(*hi) - double(*lo));
    return swing > 0 ? 20 * std::log10(swing) : -1000;
}

// Processor time of this thread: on a shared machine, wall time measures the neighbours.
double CpuSeconds()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

// Runs one detector over mono sound; returns the processor seconds spent analysing.
double Run(Runner& det, const std::vector<float>& sound, int rate, std::vector<Estimate>& out)
{
    Music::RectangularHighPassRTFilter filter(int(rate / Music::SemitoneToFreq(Music::GetSemitoneMin())));
    const size_t hop = size_t(std::lround(k_cycle_s * rate));
    // Enough for the detector and for the time refinement's periods.
    const size_t keep = std::max(size_t(det.size()), size_t(rate / 2));
    std::deque<double> buffer;
    double spent = 0;
    out.clear();
    for (size_t start = 0; start + hop <= sound.size(); start += hop) {
        for (size_t i = start; i < start + hop; ++i)
            buffer.push_front(filter.apply(sound[i]));
        while (buffer.size() > keep)
            buffer.pop_back();
        const double t0 = CpuSeconds();
        const double f = det.analyse(buffer);
        spent += CpuSeconds() - t0;
        out.push_back({double(start + hop) / rate, f, LevelDb(sound, start, start + hop)});
    }
    return spent;
}

double Cents(double f, double truth)
{
    return 1200.0 * std::log2(f / truth);
}

double Quantile(std::vector<double> v, double q)
{
    if (v.empty()) return NAN;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(q * double(v.size() - 1) + 0.5))];
}

double StdDev(const std::vector<double>& v)
{
    if (v.size() < 2) return NAN;
    double m = 0;
    for (double x : v)
        m += x;
    m /= double(v.size());
    double s = 0;
    for (double x : v)
        s += (x - m) * (x - m);
    return std::sqrt(s / double(v.size() - 1));
}

struct ClassStats
{
    std::vector<double> abs_err, sds, onsets;
    long long held = 0, gross = 0, missing = 0, cycles = 0;
    double spent = 0, audio = 0;
};

int Synth(bool quick)
{
    struct Class
    {
        const char* name;
        ToneSynth::Kind kind;
        double snr;
    };
    const std::vector<Class> classes = {
        {"pure sine", ToneSynth::Kind::Sine, 0},
        {"harmonic", ToneSynth::Kind::Harmonic, 0},
        {"weak fundamental", ToneSynth::Kind::WeakFundamental, 0},
        {"harmonic 40 dB SNR", ToneSynth::Kind::Harmonic, 40},
        {"harmonic 30 dB SNR", ToneSynth::Kind::Harmonic, 30},
        {"harmonic 20 dB SNR", ToneSynth::Kind::Harmonic, 20},
        {"piano-like (B=4e-4)", ToneSynth::Kind::Inharmonic, 0},
    };
    const std::vector<int> rates = quick ? std::vector<int>{44100} : std::vector<int>{44100, 48000, 96000};
    // B0 (MIDI 23) to C8 (108), every 5 semitones and C8, each a little detuned.
    std::vector<int> notes;
    for (int n = 23; n < 108; n += quick ? 10 : 5)
        notes.push_back(n);
    notes.push_back(108);
    const double onset = 0.5, length = 1.5;

    std::printf("Synthetic tones, MIDI notes");
    for (int n : notes)
        std::printf(" %d", n);
    std::printf("; rates");
    for (int r : rates)
        std::printf(" %d", r);
    std::printf(" Hz; note range -48..48, threshold -60 dB; statistics over the cycles from 300 ms after "
                "the onset\n\n");
    std::printf("| class | detector | gross | no note | median |err| ¢ | p95 ¢ | SD median ¢ | SD worst ¢ "
                "| onset median ms | onset worst ms | × real time "
                "|\n|---|---|---|---|---|---|---|---|---|---|---|\n");

    Music::SetAFreq(440);
    Music::SetSemitoneBounds(-48, 48);
    const double threshold = std::pow(10.0, -60 / 20.0);
    for (const Class& c : classes) {
        std::map<std::string, ClassStats> stats;
        const char* order[] = {"partials", "partials+time", "partials+freq", "combed+time"};
        for (int rate : rates) {
            std::vector<std::unique_ptr<Runner>> dets;
            {
                Quiet q;
                Music::SetSamplingRate(rate);
                dets.emplace_back(new FitRunner(threshold));
                dets.emplace_back(new FitRunner(threshold, FitRunner::Time));
                dets.emplace_back(new FitRunner(threshold, FitRunner::Frequency));
                dets.emplace_back(new CombedRunner(threshold, true));
            }
            for (size_t ni = 0; ni < notes.size(); ++ni) {
                ToneSynth::Tone tone;
                tone.kind = c.kind;
                const double detune = double(int(ni * 37 % 15) - 7); // -7..+7 cents
                tone.f0 = 440.0 * std::pow(2.0, (notes[ni] - 69 + detune / 100.0) / 12.0);
                tone.harmonics = 8;
                tone.snr_db = c.snr;
                tone.onset_s = onset;
                tone.seed = uint32_t(100 + ni + size_t(rate));
                const double truth = c.kind == ToneSynth::Kind::Inharmonic
                                         ? tone.f0 * std::sqrt(1 + tone.inharmonicity)
                                         : tone.f0;
                const std::vector<float> sound = ToneSynth::render(tone, rate, onset + length);
                for (auto& d : dets) {
                    std::vector<Estimate> est;
                    ClassStats& s = stats[d->name()];
                    s.spent += Run(*d, sound, rate, est);
                    s.audio += double(sound.size()) / rate;
                    std::vector<double> steady;
                    double first_stable = INFINITY;
                    for (size_t i = 0; i < est.size(); ++i) {
                        const double t = est[i].t - onset;
                        const bool ok = est[i].f > 0 && std::fabs(Cents(est[i].f, truth)) <= 50;
                        if (t >= 0 && ok && !std::isfinite(first_stable)) {
                            bool stays = true;
                            for (size_t j = i; j < est.size() && est[j].t - onset < t + 0.1; ++j)
                                stays = stays && est[j].f > 0 && std::fabs(Cents(est[j].f, truth)) <= 50;
                            if (stays) first_stable = t;
                        }
                        if (t < 0.3) continue;
                        ++s.cycles;
                        if (est[i].f <= 0) {
                            ++s.missing;
                            continue;
                        }
                        ++s.held;
                        const double e = Cents(est[i].f, truth);
                        s.abs_err.push_back(std::fabs(e));
                        if (std::fabs(e) > 50)
                            ++s.gross;
                        else
                            steady.push_back(e);
                    }
                    s.sds.push_back(StdDev(steady));
                    s.onsets.push_back(first_stable);
                }
            }
        }
        for (const char* name : order) {
            const ClassStats& s = stats[name];
            std::vector<double> sds;
            for (double x : s.sds)
                if (std::isfinite(x)) sds.push_back(x);
            std::printf("| %s | %s | %.2f%% | %.2f%% | %.4f | %.4f | %.4f | %.4f | %.0f | %.0f | %.0f |\n",
                        c.name, name, s.held ? 100.0 * double(s.gross) / double(s.held) : NAN,
                        s.cycles ? 100.0 * double(s.missing) / double(s.cycles) : NAN,
                        Quantile(s.abs_err, 0.5), Quantile(s.abs_err, 0.95), Quantile(sds, 0.5),
                        Quantile(sds, 1.0), 1000 * Quantile(s.onsets, 0.5), 1000 * Quantile(s.onsets, 1.0),
                        s.audio / s.spent);
            std::fflush(stdout);
        }
    }
    return 0;
}

bool ReadMono(const std::string& path, std::vector<float>& mono, int& rate)
{
    SF_INFO info;
    std::memset(&info, 0, sizeof info);
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
    if (!f) return false;
    std::vector<float> frames(size_t(info.frames) * size_t(info.channels));
    sf_readf_float(f, frames.data(), info.frames);
    sf_close(f);
    mono.assign(size_t(info.frames), 0.0f);
    for (sf_count_t i = 0; i < info.frames; ++i)
        mono[size_t(i)] = frames[size_t(i) * size_t(info.channels)];
    rate = info.samplerate;
    float peak = 0;
    for (float x : mono)
        peak = std::max(peak, std::fabs(x));
    if (peak > 0)
        for (float& x : mono)
            x /= peak;
    return true;
}

struct Tally
{
    long long active = 0, with_note = 0, wrong = 0;
    void add(double f, double truth)
    {
        ++active;
        if (f <= 0) return;
        ++with_note;
        if (std::fabs(Cents(f, truth)) > 50) ++wrong;
    }
    double wrongShare() const { return with_note ? 100.0 * double(wrong) / double(with_note) : NAN; }
    double coverage() const { return active ? 100.0 * double(with_note) / double(active) : NAN; }
};

int Files(const std::string& list, double threshold_db, int min_ht, bool verbose)
{
    std::ifstream in(list);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", list.c_str());
        return 2;
    }
    Music::SetAFreq(440);
    Music::SetSemitoneBounds(min_ht, 48); // -36: the factory range
    const double threshold = std::pow(10.0, threshold_db / 20.0);
    std::map<std::string, Tally> total;
    std::map<int, std::unique_ptr<Runner>> mpm, combed;
    std::string line;
    int files = 0;
    while (std::getline(in, line)) {
        std::istringstream ls(line);
        std::string path, aubio;
        int midi = 0;
        if (!(ls >> path >> midi)) continue;
        ls >> aubio;
        std::vector<float> sound;
        int rate = 0;
        if (!ReadMono(path, sound, rate)) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            continue;
        }
        ++files;
        const double truth = 440.0 * std::pow(2.0, (midi - 69) / 12.0);
        if (!mpm.count(rate)) {
            Quiet q;
            Music::SetSamplingRate(rate);
            mpm[rate].reset(new FitRunner(threshold));
            combed[rate].reset(new CombedRunner(threshold, true));
        }
        // Every detector re-plans on a rate change: keep the pitch model at this file's rate.
        if (Music::GetSamplingRate() != rate) {
            Quiet q;
            Music::SetSamplingRate(rate);
        }
        // Active cycles: the newest 20 ms reach the threshold.
        std::map<std::string, Tally> here;
        for (Runner* d : {mpm[rate].get(), combed[rate].get()}) {
            std::vector<Estimate> est;
            Run(*d, sound, rate, est);
            for (const Estimate& e : est)
                if (e.level >= threshold_db) here[d->name()].add(e.f, truth);
        }
        if (!aubio.empty()) {
            // aubio's frames: time (s) and Hz; judged by the level of the 20 ms
            // of sound that end at the frame's time.
            std::ifstream af(aubio);
            double t, f;
            while (af >> t >> f) {
                const long end = std::lround(t * rate);
                const long begin = std::max(0L, end - std::lround(k_cycle_s * rate));
                if (LevelDb(sound, size_t(begin), size_t(std::max(begin, end))) >= threshold_db)
                    here["aubio yin"].add(f, truth);
            }
        }
        for (auto& kv : here) {
            total[kv.first].active += kv.second.active;
            total[kv.first].with_note += kv.second.with_note;
            total[kv.first].wrong += kv.second.wrong;
        }
        if (verbose) {
            std::printf("%-40s %3d", path.c_str(), midi);
            for (auto& kv : here)
                std::printf("  %s %5.1f%% wrong %5.1f%% noted", kv.first.c_str(), kv.second.wrongShare(),
                            kv.second.coverage());
            std::printf("\n");
        }
    }
    std::printf("\n%d files, threshold %.0f dB, note range %d..48\n\n", files, threshold_db, min_ht);
    std::printf(
        "| detector | active cycles | with a note | wrong note (of those with one) |\n|---|---|---|---|\n");
    for (auto& kv : total)
        std::printf("| %s | %lld | %.1f%% | %.1f%% |\n", kv.first.c_str(), kv.second.active,
                    kv.second.coverage(), kv.second.wrongShare());
    return 0;
}

// One line per cycle: time, level, and each detector's estimate with its error.
int Trace(const std::string& path, int midi, int min_ht)
{
    std::vector<float> sound;
    int rate = 0;
    if (!ReadMono(path, sound, rate)) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 2;
    }
    Music::SetAFreq(440);
    Music::SetSemitoneBounds(min_ht, 48);
    std::unique_ptr<Runner> fit, combed;
    {
        Quiet q;
        Music::SetSamplingRate(rate);
        fit.reset(new FitRunner(0));
        combed.reset(new CombedRunner(0, true));
    }
    std::vector<Estimate> a, b;
    Run(*fit, sound, rate, a);
    Run(*combed, sound, rate, b);
    const double truth = 440.0 * std::pow(2.0, (midi - 69) / 12.0);
    for (size_t i = 0; i < a.size(); ++i)
        std::printf("%6.2f %7.1f dB  partials %9.3f Hz %8.1f ¢  combed+time %9.3f Hz %8.1f ¢\n", a[i].t,
                    a[i].level, a[i].f, a[i].f > 0 ? Cents(a[i].f, truth) : 0.0, b[i].f,
                    b[i].f > 0 ? Cents(b[i].f, truth) : 0.0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 4 && std::strcmp(argv[1], "trace") == 0)
        return Trace(argv[2], std::atoi(argv[3]), argc >= 5 ? std::atoi(argv[4]) : -36);
    if (argc >= 2 && std::strcmp(argv[1], "synth") == 0)
        return Synth(argc >= 3 && std::strcmp(argv[2], "--quick") == 0);
    if (argc >= 3 && std::strcmp(argv[1], "files") == 0) {
        double threshold = -60;
        bool verbose = false;
        int min_ht = -36;
        for (int i = 3; i < argc; ++i) {
            if (std::strcmp(argv[i], "--threshold-db") == 0 && i + 1 < argc) threshold = std::atof(argv[++i]);
            if (std::strcmp(argv[i], "--min-ht") == 0 && i + 1 < argc) min_ht = std::atoi(argv[++i]);
            if (std::strcmp(argv[i], "--verbose") == 0) verbose = true;
        }
        return Files(argv[2], threshold, min_ht, verbose);
    }
    std::fprintf(stderr,
                 "usage: detector_compare synth [--quick]\n"
                 "       detector_compare files LIST [--threshold-db -60] [--min-ht -36] [--verbose]\n"
                 "       detector_compare trace WAV MIDI_NOTE [MIN_HT]\n");
    return 2;
}
