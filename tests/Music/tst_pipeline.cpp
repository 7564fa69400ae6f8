#include <QtTest>

#include "Music/AnalysisPipeline.h"
#include "Music/CombedFT.h"
#include "Music/Filter.h"
#include "Music/FreqAnalysis.h"
#include "Music/MonoQuantizer.h"
#include "Music/Music.h"
#include "Music/TimeAnalysis.h"
#include "PitchModelReset.h"

#include <cmath>
#include <deque>
#include <functional>
#include <limits>
#include <mutex>
#include <random>
#include <vector>

using namespace Music;

namespace {

const double k_pi = 3.14159265358979323846;

// The capture queue, with the producers' packet protocol.
struct Capture : CaptureQueue
{
    CaptureQueue* ref() { return this; }
    void push(const std::vector<double>& block) { pushBlock(block.data(), int(block.size())); }

    // A block that arrived before the previous drain: the next cycle may take
    // all of it.
    void pushOld(const std::vector<double>& block)
    {
        push(block);
        m_pushed_since_drain = 0;
        m_drain_started = true;
    }
};

// The real detector, with the fundamental and the level it reports replaced
// by chosen values, to put estimates exactly on the edges of the usable band.
class ChosenEstimateDetector : public CombedFT
{
public:
    double chosen_f0 = 0.0;
    double chosen_level = 0.25;
    void apply(const std::deque<double>& buffer) override
    {
        CombedFT::apply(buffer);
        m_components_max = chosen_level;
    }
    bool hasNoteRecognized() const override { return true; }
    double getFundamentalFreq() const override { return chosen_f0; }
};

// Connects the pipeline to the capture queue, the range filter (may be null),
// the detector and the quantizer, with the refinement as given.
void Wire(AnalysisPipeline& p, Capture& capture, RTFilter* filter, CombedFT& d, MonoQuantizer& q,
          bool refinement, AnalysisPipeline::RefinementMethod method)
{
    p.setCaptureQueue(capture.ref());
    p.setRangeFilter(filter);
    p.setDetector(&d);
    p.setQuantizer(&q);
    AnalysisPipeline::Settings s;
    s.refinement = refinement;
    s.refinement_method = method;
    p.setSettings(s);
}

// One cycle's set-up around the chosen-estimate detector: 4096 samples of
// 0.25 waiting in the capture queue (all of them taken by the next cycle),
// the pass-through quantizer, the refinement as given.
struct ChosenCycle
{
    ChosenCycle(double f0, bool refinement, AnalysisPipeline::RefinementMethod method)
    {
        d.chosen_f0 = f0;
        capture.pushOld(std::vector<double>(4096, 0.25));
        Wire(p, capture, nullptr, d, q, refinement, method);
    }
    AnalysisPipeline::CycleResult run() { return p.cycle(20, 44100); }

    ChosenEstimateDetector d;
    Capture capture;
    DummyMonoQuantizer q;
    AnalysisPipeline p;
};

// Harmonic tone: partials k = 1..amps.size() of f0, sample n at rate.
double Tone(double f0, const std::vector<double>& amps, long long n, int rate)
{
    double v = 0.0;
    for (std::size_t k = 0; k < amps.size(); ++k)
        v += amps[k] * std::sin(2 * k_pi * f0 * double(k + 1) * double(n) / rate + 0.7 * double(k));
    return v;
}

double Cents(double f, double ref)
{
    return 1200.0 * std::log2(f / ref);
}

// Kinds of test tone for the note table.
enum class ToneKind {
    Sine,     // the fundamental alone
    Harmonic, // partials h = 1..8 at amplitudes 1/h
    Weak,     // the same with the fundamental 20 dB under the second partial (0.05)
};

// `seconds` of a tone at f0 Hz: the partials of `kind` below Nyquist, with
// spread phases, normalised to a peak of 0.5, plus white noise at snr_db dB
// under the tone's power when snr_db > 0 (fixed seed).
std::vector<double> TestTone(ToneKind kind, double f0, int rate, double seconds, double snr_db)
{
    std::vector<double> amps{1.0};
    if (kind != ToneKind::Sine)
        for (int h = 2; h <= 8; ++h)
            amps.push_back(1.0 / h);
    if (kind == ToneKind::Weak) amps[0] = 0.05;
    while (amps.size() * f0 >= rate / 2.0)
        amps.pop_back();
    std::vector<double> s(std::size_t(seconds * rate));
    double peak = 0.0, power = 0.0;
    for (std::size_t n = 0; n < s.size(); ++n) {
        s[n] = Tone(f0, amps, (long long)n, rate);
        peak = std::max(peak, std::fabs(s[n]));
        power += s[n] * s[n];
    }
    std::mt19937 gen(7);
    // A deviation of 0 is not a distribution; a clean tone draws no noise anyway.
    std::normal_distribution<double> noise(
        0.0, snr_db > 0 ? std::sqrt(power / double(s.size()) / std::pow(10.0, snr_db / 10.0)) : 1.0);
    for (double& v : s)
        v = 0.5 * (v + (snr_db > 0 ? noise(gen) : 0.0)) / peak;
    return s;
}

// What the tuner shows in each cycle of a note table run.
struct CycleShown
{
    double t_ms;      // sound time at the cycle
    bool held;        // a note is held
    std::string note; // its name, with octave
    double freq;      // m_freq, Hz
};

// The chain the tuner runs on a capture queue: the rectangular range filter
// over one period of the lowest note, the detector, the chosen refinement and
// the latency quantizer on the sound's own clock. The pitch model must be set
// up (rate, reference, range) first.
struct ToneChain
{
    ToneChain(int rate_, bool refinement, AnalysisPipeline::RefinementMethod method)
        : rate(rate_), filter(int(rate_ / SemitoneToFreq(GetSemitoneMin())))
    {
        q.setClock([this] { return sound_ms; });
        Wire(p, capture, &filter, d, q, refinement, method);
    }

    // Delivers, as a capture transport would, every whole 1024-sample packet
    // of the sound (sample(n) for n below length) due by the end of cycle c,
    // 20 ms each, then runs the cycle.
    const AnalysisPipeline::CycleResult& runCycle(int c, const std::function<double(long long)>& sample,
                                                  long long length = std::numeric_limits<long long>::max())
    {
        const long long due = std::min(length, (long long)c * rate * 20 / 1000);
        while (produced + 1024 <= due) {
            std::vector<double> block(1024);
            for (int k = 0; k < 1024; ++k)
                block[std::size_t(k)] = sample(produced + k);
            capture.push(block);
            produced += 1024;
        }
        sound_ms = double(produced) * 1000.0 / rate;
        return p.cycle(20.0, rate);
    }

    const int rate;
    CombedFT d;
    RectangularHighPassRTFilter filter;
    LatencyMonoQuantizer q;
    double sound_ms = 0.0;
    long long produced = 0;
    Capture capture;
    AnalysisPipeline p;
};

// The factory chain (window factor 4, -28 dB threshold) on `sound`, cycle by
// cycle while a whole packet is left.
std::vector<CycleShown> RunFactoryChain(const std::vector<double>& sound, int rate, bool refinement,
                                        AnalysisPipeline::RefinementMethod method)
{
    ToneChain chain(rate, refinement, method);
    chain.d.setWindowFactor(4.0);
    chain.d.m_amplitude_treshold = std::pow(10.0, -28.0 / 20.0);
    const long long length = (long long)sound.size();
    std::vector<CycleShown> shown;
    for (int c = 1; chain.produced + 1024 <= length; ++c) {
        const bool held = chain
                              .runCycle(
                                  c, [&sound](long long n) { return sound[std::size_t(n)]; }, length)
                              .note_held;
        shown.push_back(
            {chain.sound_ms, held,
             held ? GetNoteName(NearestSemitone(chain.q.m_quantized_freq), LOCAL_ANGLO, 0, true) : "",
             chain.p.m_freq});
    }
    return shown;
}

// A note range that holds the whole usable band of a 2048-point spectrum at
// 44100 Hz within half a semitone, so that only the band decides about
// estimates at its edges: bin 1 (21.53 Hz) is semitone -52.25 and 22050 Hz is
// semitone +67.77. The lowest note, 440 * 2^(-52/12) = 21.83 Hz, gives a
// window of trunc(44100 / 21.83) = 2020 samples: still 2048 points.
void WidenRangeToBand()
{
    SetSemitoneBounds(-52, 68);
}

} // namespace

class TestPipeline : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetPitchModel(44100, -48, 48); }

    void minimumDrain_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("refresh");
        QTest::addColumn<long long>("expected");
        // 44100 / (1/0.02 - 1) = 44100 / 49 = 900
        QTest::newRow("44100, 20 ms") << 44100 << 20 << 900LL;
        // 44100 / (1/0.1 - 1) = 44100 / 9 = 4900
        QTest::newRow("44100, 100 ms") << 44100 << 100 << 4900LL;
        // 48000 / (1/0.01 - 1) = 48000 / 99 = 484.8 -> 484
        QTest::newRow("48000, 10 ms") << 48000 << 10 << 484LL;
        // 1/1 - 1 = 0: infinite quotient, no minimum
        QTest::newRow("1000 ms") << 44100 << 1000 << 0LL;
        // negative quotient, no minimum
        QTest::newRow("1500 ms") << 44100 << 1500 << 0LL;
        QTest::newRow("2000 ms") << 44100 << 2000 << 0LL;
        // no transport: rate -1 -> -1/49 -> no minimum
        QTest::newRow("rate unknown") << -1 << 20 << 0LL;
        QTest::newRow("rate 0, 1000 ms") << 0 << 1000 << 0LL;
    }

    void minimumDrain()
    {
        QFETCH(int, rate);
        QFETCH(int, refresh);
        QFETCH(long long, expected);
        QCOMPARE(AnalysisPipeline::MinimumDrain(rate, refresh), expected);
    }

    void drainRule_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("refresh");
        QTest::addColumn<int>("backlog"); // samples queued before the latest packets
        QTest::addColumn<int>("recent");  // pushed since the previous drain
        QTest::addColumn<int>("expected");
        // At least 900, then nothing more once only the recent ones are left.
        QTest::newRow("one packet") << 44100 << 20 << 0 << 1024 << 900;
        QTest::newRow("less than the minimum") << 44100 << 20 << 0 << 500 << 500;
        // A backlog is caught up at once: everything but the recent packet.
        QTest::newRow("backlog") << 44100 << 20 << 10000 << 1024 << 10000;
        // Backlog smaller than the minimum: the minimum wins.
        QTest::newRow("small backlog") << 44100 << 20 << 300 << 1024 << 900;
        // Stereo counts raw samples: 2048 pushed, 1024 queued.
        QTest::newRow("counter above the queue") << 44100 << 20 << -1024 << 2048 << 900;
        QTest::newRow("1000 ms, backlog") << 44100 << 1000 << 3000 << 1024 << 3000;
        QTest::newRow("1000 ms, only recent") << 44100 << 1000 << 0 << 1024 << 0;
        QTest::newRow("2000 ms") << 44100 << 2000 << 1024 << 1024 << 1024;
        QTest::newRow("rate unknown") << -1 << 20 << 3000 << 1024 << 3000;
        QTest::newRow("empty") << 44100 << 20 << 0 << 0 << 0;
    }

    void drainRule()
    {
        QFETCH(int, rate);
        QFETCH(int, refresh);
        QFETCH(int, backlog);
        QFETCH(int, recent);
        QFETCH(int, expected);
        Capture capture;
        const int queued = backlog + recent;
        for (int k = 0; k < queued; ++k)
            capture.m_sample_queue.push_front(double(k)); // value = age rank, oldest 0
        capture.m_pushed_since_drain = recent;

        DummyRTFilter filter;
        AnalysisPipeline p;
        p.setCaptureQueue(capture.ref());
        p.setRangeFilter(&filter);
        AnalysisPipeline::Settings s;
        s.refresh_ms = refresh;
        p.setSettings(s);
        const AnalysisPipeline::CycleResult& r = p.cycle(refresh, rate);

        QCOMPARE(r.drained, expected);
        QCOMPARE(int(capture.m_sample_queue.size()), queued - expected);
        QCOMPARE(int(p.m_queue.size()), expected);
        QVERIFY(capture.m_drain_started);
        QCOMPARE(capture.m_pushed_since_drain, recent); // the consumer never touches it
        if (expected > 0) {
            // Oldest first: the newest drained sample is at the front.
            QCOMPARE(p.m_queue.front(), double(expected - 1));
            QCOMPARE(p.m_queue.back(), 0.0);
        }
        // No detector: every cycle is red.
        QVERIFY(r.capture_failed);
    }

    void packetProtocol()
    {
        // A packet after a drain restarts the counter: 1024 + 1024 queued, the
        // drain takes 900, the next packet sets the counter to 1024 and
        // lowers the flag; the next drain takes 900 more (1148 left of which
        // 1024 recent) and stops at 248 left.
        Capture capture;
        AnalysisPipeline p;
        p.setCaptureQueue(capture.ref());
        capture.push(std::vector<double>(1024, 0.1));
        capture.push(std::vector<double>(1024, 0.1));
        QCOMPARE(capture.m_pushed_since_drain, 2048);
        QCOMPARE(p.cycle(20, 44100).drained, 900);
        capture.push(std::vector<double>(1024, 0.1));
        QVERIFY(!capture.m_drain_started);
        QCOMPARE(capture.m_pushed_since_drain, 1024);
        // 1148 + 1024 = 2172 queued: takes 900 (1272 left > 1024 recent), then
        // on to 1024 left: 1148 in all.
        QCOMPARE(p.cycle(20, 44100).drained, 1148);
        QCOMPARE(int(capture.m_sample_queue.size()), 1024);
    }

    void bufferLimit_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("duration");
        QTest::addColumn<bool>("detector");
        QTest::addColumn<int>("filter"); // rectangular window length, 0: none
        QTest::addColumn<long long>("expected");
        // 10000 ms * 44100 / 1000 = 441000
        QTest::newRow("factory") << 44100 << 10000 << true << 1603 << 441000LL;
        // 20 * 44100 / 1000 = 882 < detector 2048
        QTest::newRow("detector larger") << 44100 << 20 << true << 22 << 2048LL;
        // 882 < filter 5000 (>= the limit)
        QTest::newRow("filter larger") << 44100 << 20 << false << 5000 << 5000LL;
        // detector 2048 and filter 2048: filter size is >= the limit, same
        QTest::newRow("filter equal") << 44100 << 20 << true << 2048 << 2048LL;
        // 120000 * 44100 = 5.292e9 would leave 32 bits: 5292000
        QTest::newRow("120 s") << 44100 << 120000 << true << 1603 << 5292000LL;
        // 120000 * 192000 / 1000 = 23040000
        QTest::newRow("120 s at 192 kHz") << 192000 << 120000 << false << 0 << 23040000LL;
        QTest::newRow("zero duration") << 44100 << 0 << false << 0 << 0LL;
        // 20 * 11025 / 1000 = 220.5 -> 220
        QTest::newRow("truncated") << 11025 << 20 << false << 0 << 220LL;
    }

    void bufferLimit()
    {
        QFETCH(int, rate);
        QFETCH(int, duration);
        QFETCH(bool, detector);
        QFETCH(int, filter);
        QFETCH(long long, expected);
        CombedFT d; // planned at 44100 Hz: 2048 samples
        QCOMPARE(d.size(), 2048);
        SetSamplingRate(rate);
        RectangularHighPassRTFilter f(filter);
        AnalysisPipeline p;
        if (detector) p.setDetector(&d);
        if (filter > 0) p.setRangeFilter(&f);
        AnalysisPipeline::Settings s;
        s.buffer_duration_ms = duration;
        p.setSettings(s);
        QCOMPARE(p.bufferLimit(), expected);
    }

    void bufferTrim()
    {
        // 3000 samples drained, limit 882 (20 ms, no detector, filter size 1):
        // the 882 newest are kept.
        Capture capture;
        std::vector<double> block;
        for (int k = 0; k < 3000; ++k)
            block.push_back(k);
        capture.push(block);
        capture.m_drain_started = true; // as after an earlier drain
        capture.m_pushed_since_drain = 0;
        AnalysisPipeline p;
        p.setCaptureQueue(capture.ref());
        AnalysisPipeline::Settings s;
        s.buffer_duration_ms = 20;
        p.setSettings(s);
        QCOMPARE(p.cycle(20, 44100).drained, 3000);
        QCOMPARE(int(p.m_queue.size()), 882);
        QCOMPARE(p.m_queue.front(), 2999.0);
        QCOMPARE(p.m_queue.back(), 2999.0 - 881);
    }

    void redConditions_data()
    {
        QTest::addColumn<bool>("samples");
        QTest::addColumn<bool>("detector");
        QTest::addColumn<double>("elapsed");
        QTest::addColumn<bool>("red");
        QTest::newRow("normal") << true << true << 20.0 << false;
        QTest::newRow("nothing drained") << false << true << 20.0 << true;
        QTest::newRow("no detector") << true << false << 20.0 << true;
        // 8 * 20 = 160: strictly more is red
        QTest::newRow("elapsed 160") << true << true << 160.0 << false;
        QTest::newRow("elapsed 160.5") << true << true << 160.5 << true;
    }

    void redConditions()
    {
        QFETCH(bool, samples);
        QFETCH(bool, detector);
        QFETCH(double, elapsed);
        QFETCH(bool, red);
        CombedFT d;
        Capture capture;
        if (samples) {
            std::vector<double> block;
            for (int k = 0; k < 4096; ++k)
                block.push_back(Tone(440.0, {0.5}, k, 44100));
            capture.pushOld(block);
        }
        double now = 0.0;
        LatencyMonoQuantizer q;
        q.setClock([&now] { return now; });
        AnalysisPipeline p;
        p.setCaptureQueue(capture.ref());
        if (detector) p.setDetector(&d);
        p.setQuantizer(&q);
        const AnalysisPipeline::CycleResult r = p.cycle(elapsed, 44100);
        QCOMPARE(r.capture_failed, red);
        // A red cycle analyses nothing: no volume, no estimate, the quantizer
        // is not fed.
        QCOMPARE(int(q.m_values.size()), red ? 0 : 1);
        if (red) {
            QVERIFY(!r.has_volume);
            QCOMPARE(r.freq, 0.0);
            QCOMPARE(p.m_freq, 0.0);
        } else {
            QVERIFY(r.has_volume);
            QVERIFY(r.note_held);
        }
    }

    void plausibility_data()
    {
        QTest::addColumn<double>("bins"); // estimate in bins of the 2048-point spectrum
        QTest::addColumn<bool>("kept");
        // One bin is 44100 / 2048 = 21.533203125 Hz, exactly representable.
        QTest::newRow("0.999 bin") << 0.999 << false;
        QTest::newRow("1 bin") << 1.0 << true;
        QTest::newRow("20 bins") << 20.0 << true;
        QTest::newRow("1024 bins") << 1024.0 << true;
        QTest::newRow("1024.01 bins") << 1024.01 << false;
        QTest::newRow("negative") << -3.0 << false;
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << false;
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << false;
    }

    void plausibility()
    {
        QFETCH(double, bins);
        QFETCH(bool, kept);
        WidenRangeToBand();
        ChosenCycle chosen(bins * 44100.0 / 2048.0, false, AnalysisPipeline::TimeRefinement);
        QCOMPARE(int(chosen.d.m_plan.in.size()), 2048);
        DummyMonoQuantizer& q = chosen.q;
        q.m_avg_freq = 12345.0; // sentinel: overwritten by the quantizer's input
        const AnalysisPipeline::CycleResult r = chosen.run();
        QVERIFY(!r.capture_failed);
        QCOMPARE(r.freq, kept ? chosen.d.chosen_f0 : 0.0);
        QCOMPARE(q.m_avg_freq, r.freq);
        QVERIFY(std::isfinite(q.m_quantized_freq));
    }

    void volume_data()
    {
        QTest::addColumn<double>("level");
        QTest::addColumn<bool>("has_volume");
        QTest::addColumn<double>("db");
        QTest::addColumn<int>("bar");
        // 20 log10(0.5) = -6.0206 -> trunc -6 + 100 = 94
        QTest::newRow("0.5") << 0.5 << true << -6.020599913279624 << 94;
        QTest::newRow("1.0") << 1.0 << true << 0.0 << 100;
        // 20 log10(2) = 6.0206 -> 106 (beyond the bar: it ignores it)
        QTest::newRow("2.0") << 2.0 << true << 6.020599913279624 << 106;
        // 20 log10(1e-6) = -120 -> -20
        QTest::newRow("1e-6") << 1e-6 << true << -120.0 << -20;
        // The smallest subnormal: 20 log10(4.94e-324) = 20 * -323.306 = -6466.1
        // -> trunc -6466 + 100 = -6366
        QTest::newRow("denormal") << std::numeric_limits<double>::denorm_min() << true << -6466.1 << -6366;
        // A zero level would be -infinity dB: no volume.
        QTest::newRow("zero") << 0.0 << false << 0.0 << 0;
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << false << 0.0 << 0;
    }

    void volume()
    {
        QFETCH(double, level);
        QFETCH(bool, has_volume);
        QFETCH(double, db);
        QFETCH(int, bar);
        ChosenEstimateDetector d;
        d.chosen_level = level;
        d.chosen_f0 = 440.0;
        Capture capture;
        capture.pushOld(std::vector<double>(4096, 0.25));
        AnalysisPipeline p;
        p.setCaptureQueue(capture.ref());
        p.setDetector(&d);
        const AnalysisPipeline::CycleResult r = p.cycle(20, 44100);
        QCOMPARE(r.has_volume, has_volume);
        QVERIFY(std::isfinite(r.volume_db));
        if (has_volume) {
            QVERIFY2(std::fabs(r.volume_db - db) < 0.1, qPrintable(QString::number(r.volume_db)));
            if (std::fabs(db) < 200) QVERIFY(std::fabs(r.volume_db - db) < 1e-9);
            QCOMPARE(r.volume_bar, bar);
        }
    }

    void refinement_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("method");
        QTest::newRow("off") << false << int(AnalysisPipeline::TimeRefinement);
        QTest::newRow("off, frequency radio") << false << int(AnalysisPipeline::FrequencyRefinement);
        QTest::newRow("frequency") << true << int(AnalysisPipeline::FrequencyRefinement);
        QTest::newRow("time") << true << int(AnalysisPipeline::TimeRefinement);
    }

    void refinement()
    {
        QFETCH(bool, enabled);
        QFETCH(int, method);
        // 220 Hz with partials 220, 440, 660: the detector's log-parabola
        // estimate is biased (about 220.3 Hz for a pure sine); both
        // refinements move it, each differently.
        CombedFT d;
        Capture capture;
        std::vector<double> block;
        for (int k = 0; k < 8192; ++k)
            block.push_back(Tone(220.0, {0.5, 0.3, 0.2}, k, 44100));
        capture.pushOld(block);
        DummyMonoQuantizer q;
        AnalysisPipeline p;
        p.setCaptureQueue(capture.ref());
        p.setDetector(&d);
        p.setQuantizer(&q);
        AnalysisPipeline::Settings s;
        s.refinement = enabled;
        s.refinement_method = AnalysisPipeline::RefinementMethod(method);
        p.setSettings(s);
        const AnalysisPipeline::CycleResult r = p.cycle(20, 44100);
        QVERIFY(r.detected_freq > 0.0);
        const double by_freq = RefineFundamentalFreq(d.m_plan.out, r.detected_freq, 8, d.m_zp_factor);
        const double by_time = 44100.0 / GetAverageWaveLength(p.m_queue, int(44100 / r.detected_freq), 4);
        // The three candidates are distinct (here about 220.315, 219.9980 and
        // 219.9974 Hz), so the exact comparison below tells them apart.
        QVERIFY(std::fabs(by_freq - r.detected_freq) > 0.1);
        QVERIFY(std::fabs(by_time - r.detected_freq) > 0.1);
        QVERIFY(std::fabs(by_time - by_freq) > 1e-4);
        // Both refinements find the true fundamental closely.
        QVERIFY(std::fabs(Cents(by_time, 220.0)) < 0.1);
        QVERIFY(std::fabs(Cents(by_freq, 220.0)) < 0.1);
        const double expected = !enabled
                                    ? r.detected_freq
                                    : (method == AnalysisPipeline::FrequencyRefinement ? by_freq : by_time);
        QVERIFY(r.freq == expected);
        QVERIFY(q.m_avg_freq == expected);
    }

    void refinementMargin_data()
    {
        QTest::addColumn<double>("bins");
        QTest::addColumn<int>("method");
        // Between 1 bin and just above it, and between N/2 - 1 and N/2 bins,
        // the spectral refinement cannot run: the estimate goes on as it is.
        QTest::newRow("1 bin, frequency") << 1.0 << int(AnalysisPipeline::FrequencyRefinement);
        QTest::newRow("1023.5 bins, frequency") << 1023.5 << int(AnalysisPipeline::FrequencyRefinement);
        QTest::newRow("1024 bins, frequency") << 1024.0 << int(AnalysisPipeline::FrequencyRefinement);
        // The time refinement has no such limit; on a constant buffer it finds
        // no crossing and leaves the estimate as it is too.
        QTest::newRow("1 bin, time") << 1.0 << int(AnalysisPipeline::TimeRefinement);
        QTest::newRow("1024 bins, time") << 1024.0 << int(AnalysisPipeline::TimeRefinement);
    }

    void refinementMargin()
    {
        QFETCH(double, bins);
        QFETCH(int, method);
        WidenRangeToBand();
        ChosenCycle chosen(bins * 44100.0 / 2048.0, true, AnalysisPipeline::RefinementMethod(method));
        const AnalysisPipeline::CycleResult r = chosen.run();
        QCOMPARE(r.freq, chosen.d.chosen_f0);
        // The harmonic structure is not computed there either.
        QVERIFY(chosen.p.harmonicStructure(chosen.d.chosen_f0, 8).empty());
    }

    // A 440 Hz harmonic tone delivered in 1024-sample packets as a capture
    // transport would, cycles every 20 ms of sound time, the factory chain:
    // rectangular range filter over one period of the lowest note, detector,
    // time refinement, latency quantizer on the sound's own clock.
    void toneThroughQueue_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<double>("tolerance_cents");
        QTest::newRow("time refinement") << int(AnalysisPipeline::TimeRefinement) << true << 0.1;
        QTest::newRow("frequency refinement") << int(AnalysisPipeline::FrequencyRefinement) << true << 0.1;
        // The detector alone only names the note.
        QTest::newRow("no refinement") << int(AnalysisPipeline::TimeRefinement) << false << 5.0;
    }

    void toneThroughQueue()
    {
        QFETCH(int, method);
        QFETCH(bool, enabled);
        QFETCH(double, tolerance_cents);
        const int rate = 44100;
        ToneChain chain(rate, enabled, AnalysisPipeline::RefinementMethod(method));
        QCOMPARE(chain.filter.size(), 1603); // trunc(44100 / 27.5)
        LatencyMonoQuantizer& q = chain.q;
        AnalysisPipeline& p = chain.p;
        std::vector<double> started;
        int finished = 0;
        connect(&q, &MonoQuantizer::noteStarted, [&started](double f, double) { started.push_back(f); });
        connect(&q, &MonoQuantizer::noteFinished, [&finished](double, double) { ++finished; });
        int seen = 0;
        FunctionSampleSink sink([&seen](double) { ++seen; });
        p.addSampleSink(&sink);

        long long drained = 0;
        const std::vector<double> amps{0.4, 0.25, 0.15, 0.1};
        for (int c = 1; c <= 100; ++c) { // 2 s
            const AnalysisPipeline::CycleResult r =
                chain.runCycle(c, [&](long long n) { return Tone(440.0, amps, n, rate); });
            drained += r.drained;
            QVERIFY(std::isfinite(r.freq) && r.freq >= 0.0);
            QVERIFY(std::isfinite(r.volume_db));
            if (c > 10) {
                QVERIFY2(r.note_held, qPrintable(QString("cycle %1").arg(c)));
                QCOMPARE(q.m_quantized_freq, 440.0);
            }
        }
        const long long produced = chain.produced;
        Capture& capture = chain.capture;
        QCOMPARE(drained + (long long)capture.m_sample_queue.size(), produced);
        QCOMPARE((long long)seen, drained);
        QCOMPARE(started, std::vector<double>{440.0});
        QCOMPARE(finished, 0);
        QCOMPARE(GetNoteName(NearestSemitone(q.m_quantized_freq), LOCAL_ANGLO, 0, true), std::string("A4"));
        QVERIFY2(std::fabs(Cents(p.m_freq, 440.0)) < tolerance_cents,
                 qPrintable(QString::number(Cents(p.m_freq, 440.0), 'g', 6)));
        // Volume: the strongest partial (0.4) gives a level of at most 0.2
        // (-13.98 dB), less by the Hann window's scalloping loss (at most 1.42
        // dB) since 440 Hz lies at bin 20.43 (measured: -15.04 dB).
        const double v = p.lastResult().volume_db;
        QVERIFY(p.lastResult().has_volume);
        QVERIFY2(v <= 20 * std::log10(0.2) + 1e-9 && v >= 20 * std::log10(0.2) - 1.43,
                 qPrintable(QString::number(v)));

        // The display helpers on the last analysis: 8 harmonics near k * 440
        // with the 4 partials strongest; one period of about 100.2 samples.
        const std::vector<Harmonic> h = p.harmonicStructure(p.m_freq, 8);
        QCOMPARE(int(h.size()), 8);
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(h[std::size_t(k)].harm_number, k + 1);
            QVERIFY(std::fabs(h[std::size_t(k)].freq - 440.0 * (k + 1)) < 2.0);
        }
        std::deque<double> period;
        QVERIFY(p.wavePeriod(rate, p.m_freq, period));
        QVERIFY(std::abs(int(period.size()) - 100) <= 2);
    }

    void silence_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("zeros") << 0.0;
        // Non-finite samples count as silence, and do not poison the filter.
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("infinity") << -std::numeric_limits<double>::infinity();
    }

    void silence()
    {
        QFETCH(double, value);
        CombedFT d;
        RectangularHighPassRTFilter filter(1603);
        LatencyMonoQuantizer q;
        double now = 0.0;
        q.setClock([&now] { return now; });
        int events = 0;
        connect(&q, &MonoQuantizer::noteStarted, [&events](double, double) { ++events; });
        Capture capture;
        AnalysisPipeline p;
        p.setCaptureQueue(capture.ref());
        p.setRangeFilter(&filter);
        p.setDetector(&d);
        p.setQuantizer(&q);
        for (int c = 0; c < 20; ++c) {
            capture.push(std::vector<double>(1024, value));
            now += 23.2;
            const AnalysisPipeline::CycleResult r = p.cycle(20, 44100);
            QVERIFY(!r.capture_failed);
            QVERIFY(!r.has_volume);
            QCOMPARE(r.freq, 0.0);
            QVERIFY(!r.note_held);
        }
        QCOMPARE(events, 0);
        QCOMPARE(p.m_freq, 0.0);
        for (double v : p.m_queue)
            QCOMPARE(v, 0.0);
        // Afterwards a tone is still recognised: nothing was poisoned.
        std::vector<double> block;
        for (int k = 0; k < 4096; ++k)
            block.push_back(Tone(440.0, {0.5}, k, 44100));
        capture.pushOld(block);
        now += 93;
        QVERIFY(p.cycle(20, 44100).freq > 430.0);
    }

    void sinks()
    {
        // Each drained sample reaches every sink, oldest first, in the order
        // the sinks were added; the end of the drain is told once per cycle,
        // even when nothing was drained.
        std::vector<int> order;
        std::vector<double> a_values, b_values;
        int a_done = 0;
        FunctionSampleSink a(
            [&](double v) {
                a_values.push_back(v);
                order.push_back(1);
            },
            [&] { ++a_done; });
        FunctionSampleSink b([&](double v) {
            b_values.push_back(v);
            order.push_back(2);
        });
        Capture capture;
        capture.push({1.0, 2.0, 3.0});
        AnalysisPipeline p;
        p.setCaptureQueue(capture.ref());
        p.addSampleSink(&a);
        p.addSampleSink(&b);
        p.addSampleSink(&a); // already there: no double feed
        p.cycle(20, 44100);
        QCOMPARE(a_values, (std::vector<double>{1.0, 2.0, 3.0}));
        QCOMPARE(b_values, a_values);
        QCOMPARE(order, (std::vector<int>{1, 2, 1, 2, 1, 2}));
        QCOMPARE(p.m_queue, (std::deque<double>{3.0, 2.0, 1.0}));
        QCOMPARE(a_done, 1);
        p.cycle(20, 44100);
        QCOMPARE(a_done, 2);
        p.removeSampleSink(&a);
        capture.push({4.0});
        p.cycle(20, 44100);
        QCOMPARE(a_values.size(), std::size_t(3));
        QCOMPARE(b_values.back(), 4.0);
    }

    void noCaptureQueue()
    {
        // Nothing connected at all: a red cycle, nothing touched.
        AnalysisPipeline p;
        const AnalysisPipeline::CycleResult r = p.cycle(20, -1);
        QVERIFY(r.capture_failed);
        QCOMPARE(r.drained, 0);
        QVERIFY(p.m_queue.empty());
    }

    void keepsLastFrequency()
    {
        // m_freq follows the quantizer while a note is held and keeps its last
        // value when the note ends.
        ChosenEstimateDetector d;
        d.chosen_f0 = 441.0;
        Capture capture;
        DummyMonoQuantizer q;
        AnalysisPipeline p;
        p.setCaptureQueue(capture.ref());
        p.setDetector(&d);
        p.setQuantizer(&q);
        AnalysisPipeline::Settings s;
        s.refinement = false;
        p.setSettings(s);
        capture.pushOld(std::vector<double>(4096, 0.1));
        p.cycle(20, 44100);
        QCOMPARE(p.m_freq, 441.0);
        d.chosen_f0 = 0.0;
        capture.push(std::vector<double>(1024, 0.1));
        const AnalysisPipeline::CycleResult r = p.cycle(20, 44100);
        QVERIFY(!r.note_held);
        QCOMPARE(p.m_freq, 441.0);
    }

    // Notes across the range a tuner meets, in tone classes, through the
    // factory chain: after the note is established (400 ms: the 93 ms window,
    // the 125 ms quantizer memory, with room to spare) every cycle holds the
    // played note, within the tolerance of the true frequency; a note more than
    // half a semitone outside the range is never held. f0 = 440 * 2^((semitone
    // + cents / 100) / 12).
    void notes_data()
    {
        QTest::addColumn<int>("semitone"); // from A4
        QTest::addColumn<double>("cents"); // played off the note
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("snr_db"); // 0: no noise
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("min_ht");       // lowest note of the range (the highest is 48)
        QTest::addColumn<int>("refinement");   // -1 none, else the method
        QTest::addColumn<QString>("expected"); // empty: no note held at all
        QTest::addColumn<double>("tolerance"); // cents
        const int S = int(ToneKind::Sine), H = int(ToneKind::Harmonic), Wk = int(ToneKind::Weak);
        const int time = AnalysisPipeline::TimeRefinement, freq = AnalysisPipeline::FrequencyRefinement,
                  none = -1;
        // The lowest note of the factory range, 7 cents sharp: 55.22 Hz, whose
        // fundamental lies in bin 5 (53.83 Hz at 4096 points). The time
        // refinement averages four periods: a few cents of noise at 20 dB.
        QTest::newRow("A1 +7, harmonic, 20 dB SNR")
            << -36 << 7.0 << H << 20.0 << 44100 << -36 << time << "A1" << 5.0;
        QTest::newRow("A1 +7, sine, 20 dB SNR")
            << -36 << 7.0 << S << 20.0 << 44100 << -36 << time << "A1" << 5.0;
        QTest::newRow("A1 +7, sine") << -36 << 7.0 << S << 0.0 << 44100 << -36 << time << "A1" << 0.1;
        // 53.75 Hz, within half a semitone under the range: still A1.
        QTest::newRow("A1 -40, harmonic") << -36 << -40.0 << H << 0.0 << 44100 << -36 << time << "A1" << 0.1;
        // 51.91 Hz, a semitone under the range: no note.
        QTest::newRow("G#1 under the range") << -37 << 0.0 << S << 0.0 << 44100 << -36 << time << "" << 0.0;
        QTest::newRow("B0, range -48") << -46 << 3.0 << H << 0.0 << 44100 << -48 << time << "B0" << 0.1;
        // 61.66 Hz: 5.73 bins per harmonic, the rank window must reach bin 6.
        QTest::newRow("B1 -4, sine, frequency")
            << -34 << -4.0 << S << 0.0 << 44100 << -36 << freq << "B1" << 0.1;
        QTest::newRow("A2 +5, weak") << -24 << 5.0 << Wk << 0.0 << 44100 << -36 << time << "A2" << 0.1;
        QTest::newRow("A4, sine, frequency") << 0 << 0.0 << S << 0.0 << 44100 << -36 << freq << "A4" << 0.1;
        // The log parabola alone is off by up to about 0.05 bin: 0.05 / 40.9
        // bins at 440 Hz is 2 cents.
        QTest::newRow("A4 +3, harmonic, none") << 0 << 3.0 << H << 0.0 << 44100 << -36 << none << "A4" << 3.0;
        // From C#5 up the time refinement measures periods of 80 samples or
        // fewer between crossings interpolated on a straight line between
        // samples; a quarter of a sample over four periods of E7 (16.7 samples)
        // is 1731 * 0.25 / 66.9 = 6.5 cents, hence 6 cents; with 20 dB of noise
        // at C8 (10.5 samples) 15 cents.
        QTest::newRow("C#5 -2, weak") << 4 << -2.0 << Wk << 0.0 << 44100 << -36 << time << "C♯5" << 6.0;
        QTest::newRow("E5 +1, weak") << 7 << 1.0 << Wk << 0.0 << 44100 << -36 << time << "E5" << 6.0;
        QTest::newRow("C6 -6, weak") << 15 << -6.0 << Wk << 0.0 << 44100 << -36 << time << "C6" << 6.0;
        QTest::newRow("F#6 +5, harmonic") << 21 << 5.0 << H << 0.0 << 44100 << -36 << time << "F♯6" << 6.0;
        QTest::newRow("F#6 +5, harmonic, 48000 Hz")
            << 21 << 5.0 << H << 0.0 << 48000 << -36 << time << "F♯6" << 6.0;
        QTest::newRow("F#6 +5, harmonic, 96000 Hz")
            << 21 << 5.0 << H << 0.0 << 96000 << -36 << time << "F♯6" << 6.0;
        QTest::newRow("F#6 +5, weak") << 21 << 5.0 << Wk << 0.0 << 44100 << -36 << time << "F♯6" << 6.0;
        QTest::newRow("A6, harmonic") << 24 << 0.0 << H << 0.0 << 44100 << -36 << time << "A6" << 6.0;
        // A pure sine, refined on its one peak: the side lobes around its
        // would-be harmonics count for nothing (they gave +6.5 cents here).
        QTest::newRow("A6, sine, frequency") << 24 << 0.0 << S << 0.0 << 44100 << -36 << freq << "A6" << 0.1;
        QTest::newRow("E7 -3, harmonic") << 31 << -3.0 << H << 0.0 << 44100 << -36 << time << "E7" << 6.0;
        QTest::newRow("E7 -3, weak") << 31 << -3.0 << Wk << 0.0 << 44100 << -36 << time << "E7" << 6.0;
        QTest::newRow("C8 +4, harmonic") << 39 << 4.0 << H << 0.0 << 44100 << -36 << time << "C8" << 6.0;
        QTest::newRow("C8 +4, harmonic, 20 dB SNR")
            << 39 << 4.0 << H << 20.0 << 44100 << -36 << time << "C8" << 15.0;
        QTest::newRow("C8 +4, sine, frequency")
            << 39 << 4.0 << S << 0.0 << 44100 << -36 << freq << "C8" << 0.1;
    }

    void notes()
    {
        QFETCH(int, semitone);
        QFETCH(double, cents);
        QFETCH(int, kind);
        QFETCH(double, snr_db);
        QFETCH(int, rate);
        QFETCH(int, min_ht);
        QFETCH(int, refinement);
        QFETCH(QString, expected);
        QFETCH(double, tolerance);
        SetSamplingRate(rate);
        SetSemitoneBounds(min_ht, 48);
        const double f0 = 440.0 * std::pow(2.0, (semitone + cents / 100.0) / 12.0);
        const std::vector<double> sound = TestTone(ToneKind(kind), f0, rate, 1.0, snr_db);
        const std::vector<CycleShown> shown =
            RunFactoryChain(sound, rate, refinement >= 0,
                            AnalysisPipeline::RefinementMethod(refinement >= 0 ? refinement : 0));
        QVERIFY(shown.size() >= 45); // 1 s of cycles, less the last packet
        double worst = 0.0;
        for (const CycleShown& c : shown) {
            if (expected.isEmpty()) {
                QVERIFY2(!c.held,
                         qPrintable(QString("%1 ms: %2").arg(c.t_ms).arg(QString::fromStdString(c.note))));
                continue;
            }
            if (c.t_ms < 400.0) continue;
            QVERIFY2(c.held, qPrintable(QString("no note at %1 ms").arg(c.t_ms)));
            QCOMPARE(QString::fromStdString(c.note), expected);
            worst = std::max(worst, std::fabs(Cents(c.freq, f0)));
        }
        QVERIFY2(worst <= tolerance, qPrintable(QString("worst error %1 cents").arg(worst)));
    }

    // The note range's own limit, half a semitone beyond its lowest and
    // highest notes (semitones -48 and 48 here: 26.73 and 7246 Hz), with the
    // detector's estimate chosen exactly.
    void noteRangeEdges_data()
    {
        QTest::addColumn<double>("semitone");
        QTest::addColumn<bool>("kept");
        QTest::newRow("-48.49") << -48.49 << true;
        QTest::newRow("-48.51") << -48.51 << false;
        QTest::newRow("48.49") << 48.49 << true;
        QTest::newRow("48.51") << 48.51 << false;
        // D0 (18.35 Hz), the sub-harmonic the comb once named for a sharp A1.
        QTest::newRow("D0") << -55.0 << false;
    }

    void noteRangeEdges()
    {
        QFETCH(double, semitone);
        QFETCH(bool, kept);
        ChosenCycle chosen(440.0 * std::pow(2.0, semitone / 12.0), false, AnalysisPipeline::TimeRefinement);
        const AnalysisPipeline::CycleResult r = chosen.run();
        QCOMPARE(r.detected_freq, chosen.d.chosen_f0);
        QCOMPARE(r.freq, kept ? chosen.d.chosen_f0 : 0.0);
        QCOMPARE(r.note_held, kept);
    }

    void wavePeriodGuards_data()
    {
        QTest::addColumn<double>("freq");
        QTest::addColumn<bool>("done");
        QTest::newRow("zero") << 0.0 << false;
        QTest::newRow("negative") << -440.0 << false;
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << false;
        // 44100 / 50000 = 0.88 -> 0 samples
        QTest::newRow("above the rate") << 50000.0 << false;
        // 44100 / 20 = 2205 > 2048 samples held
        QTest::newRow("longer than the buffer") << 20.0 << false;
        QTest::newRow("441 Hz") << 441.0 << true;
    }

    void wavePeriodGuards()
    {
        QFETCH(double, freq);
        QFETCH(bool, done);
        AnalysisPipeline p;
        for (int k = 0; k < 2048; ++k)
            p.m_queue.push_back(std::sin(2 * k_pi * k / 100.0));
        std::deque<double> period{9.0};
        QCOMPARE(p.wavePeriod(44100, freq, period), done);
        if (!done)
            QCOMPARE(period, std::deque<double>{9.0});
        else
            QCOMPARE(int(period.size()), 100);
    }
};

QTEST_GUILESS_MAIN(TestPipeline)
#include "tst_pipeline.moc"
