// Capture figures on the sound servers of a desktop (run by bench_servers.sh, which
// starts a private PulseAudio or PipeWire session and sets the environment):
//   qt    - time from a click handed to the server (pacat) to its first sample in the
//           capture queue, median and maximum; then, on a steady tone, the share of
//           analysis cycles (every 20 ms, the factory refresh) that find new sound, that
//           is whose status is not red for want of sound;
//   jack  - that share for the JACK transport, fed by a sine client of this program.
// Usage: bench_servers qt|jack [SECONDS]   (default 10 s per figure)

#include "CaptureThread.h"
#include "CaptureThreadImpl.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <jack/jack.h>
#include <vector>

namespace {

constexpr int PLAY_RATE = 44100;
constexpr int REFRESH_MS = 20;

double Percentile(std::vector<double> v, double q)
{
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    return v[size_t(q * double(v.size() - 1))];
}

// Takes everything from the queue, as a drain of the analysis cycle would at least.
std::vector<double> TakeAll(CaptureThread& front)
{
    std::vector<double> out;
    front.m_capture_queue.drain(0, [&out](double v) { out.push_back(v); });
    return out;
}

// Runs the event loop for `ms` with a cycle every REFRESH_MS, like the analysis cycle's
// drain; returns the share of cycles that found new samples.
double CyclesWithSound(CaptureThread& front, int ms)
{
    const int rate = front.getSamplingRate();
    const long long minimum = (long long)(rate * REFRESH_MS / (1000.0 - REFRESH_MS));
    int cycles = 0, fed = 0;
    QTimer cycle;
    QObject::connect(&cycle, &QTimer::timeout, [&] {
        ++cycles;
        fed += front.m_capture_queue.drain(minimum, [](double) {}) > 0;
    });
    TakeAll(front);
    cycle.start(REFRESH_MS);
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return cycles ? double(fed) / cycles : 0.0;
}

void WaitEvents(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// pacat into the null sink, 16-bit mono at 44100 Hz, written in real time by the caller.
bool StartPlayer(QProcess& pacat)
{
    pacat.start("pacat", {"--playback", "-d", "null", "--raw", "--format=s16le", "--rate=44100",
                          "--channels=1", "--latency-msec=10"});
    return pacat.waitForStarted(5000);
}

int BenchQt(int seconds)
{
    CaptureThread front("orfe", CaptureThread::transportsWithoutJack());
    front.selectTransport(QString("Qt"));
    front.setSource("default"); // factory settings
    front.setSamplingRate(22050);
    front.startCapture();
    if (!front.isCapturing()) return 1;

    // Clicks: 10 ms at 0.5 every 250 ms, silence between, written every 5 ms as due.
    QProcess pacat;
    if (!StartPlayer(pacat)) return 1;
    QElapsedTimer clock;
    clock.start();
    long long written = 0;
    std::vector<double> latencies_ms;
    double click_written_ms = -1.0;
    bool in_click = false;
    const long long click_every = PLAY_RATE / 4, click_len = PLAY_RATE / 100;
    while (clock.elapsed() < seconds * 1000) {
        const long long due = clock.elapsed() * PLAY_RATE / 1000;
        QByteArray bytes;
        for (; written < due; ++written) {
            const bool click =
                written % click_every < click_len && written >= PLAY_RATE; // 1 s of silence first
            if (click && written % click_every == 0) click_written_ms = double(clock.nsecsElapsed()) / 1e6;
            const qint16 v = click ? 16384 : 0;
            bytes.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
        }
        if (!bytes.isEmpty()) pacat.write(bytes);
        WaitEvents(1);
        for (double v : TakeAll(front)) {
            const bool loud = std::fabs(v) > 0.25;
            if (loud && !in_click && click_written_ms >= 0.0) {
                latencies_ms.push_back(double(clock.nsecsElapsed()) / 1e6 - click_written_ms);
                click_written_ms = -1.0;
            }
            in_click = loud;
        }
    }
    pacat.closeWriteChannel();
    pacat.waitForFinished(5000);

    // A steady tone, handed over at once: pacat plays it in real time.
    QProcess tone;
    if (!StartPlayer(tone)) return 1;
    QByteArray bytes;
    for (long long i = 0; i < (long long)(seconds + 3) * PLAY_RATE; ++i) {
        const qint16 v = qint16(std::lround(16384.0 * std::sin(2.0 * M_PI * 440.0 * double(i) / PLAY_RATE)));
        bytes.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
    }
    tone.write(bytes);
    WaitEvents(1000);
    const double share = CyclesWithSound(front, seconds * 1000);
    tone.kill();
    tone.waitForFinished(5000);
    front.stopCapture();

    std::printf("qt sound to queue: %zu clicks, median %.1f ms, max %.1f ms\n", latencies_ms.size(),
                Percentile(latencies_ms, 0.5),
                latencies_ms.empty() ? 0.0 : *std::max_element(latencies_ms.begin(), latencies_ms.end()));
    std::printf("qt cycles with new sound at %d ms: %.1f %%\n", REFRESH_MS, 100.0 * share);
    return 0;
}

// A sine client for the JACK transport.
struct Sine
{
    jack_client_t* client = nullptr;
    jack_port_t* port = nullptr;
    double phase = 0.0, step = 0.0;
    static int process(jack_nframes_t n, void* arg)
    {
        auto* self = static_cast<Sine*>(arg);
        float* out = static_cast<float*>(jack_port_get_buffer(self->port, n));
        for (jack_nframes_t i = 0; i < n; ++i, self->phase += self->step)
            out[i] = float(0.5 * std::sin(self->phase));
        return 0;
    }
};

int BenchJack(int seconds)
{
    Sine sine;
    sine.client = jack_client_open("orfe_bench_sine", JackNoStartServer, nullptr);
    if (!sine.client) return 1;
    sine.step = 2.0 * M_PI * 440.0 / jack_get_sample_rate(sine.client);
    sine.port = jack_port_register(sine.client, "out", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
    jack_set_process_callback(sine.client, &Sine::process, &sine);
    jack_activate(sine.client);
    double share = 0.0;
    int rate = 0;
    {
        CaptureThread front("orfe", CaptureThread::builtInTransports());
        front.selectTransport(QString("JACK"));
        front.setSource(QString::fromLatin1(jack_port_name(sine.port)));
        front.startCapture();
        if (!front.isCapturing()) return 1;
        rate = front.getSamplingRate();
        WaitEvents(1000);
        share = CyclesWithSound(front, seconds * 1000);
        front.stopCapture();
    }
    const unsigned frames = jack_get_buffer_size(sine.client);
    jack_client_close(sine.client);
    std::printf("jack cycles with new sound at %d ms (%d Hz, %u-frame periods): %.1f %%\n", REFRESH_MS, rate,
                frames, 100.0 * share);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString what = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    if (what == "qt") return BenchQt(seconds);
    if (what == "jack") return BenchJack(seconds);
    std::fprintf(stderr, "usage: bench_servers qt|jack [SECONDS]\n");
    return 2;
}
