// Capture figures: JACK period to capture queue latency, and queue lock time per packet.

#include "CaptureThread.h"
#include "CaptureThreadImpl.h"

#include <QCoreApplication>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <jack/jack.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

int64_t NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

double Percentile(std::vector<double> v, double q)
{
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    return v[size_t(q * double(v.size() - 1))];
}

// A source client: every sample of period p carries the value ((p mod 4000) + 1) / 8192
// (exact in float), and the time the period was written is kept under p mod 4000.
struct PeriodStamper
{
    static constexpr int SLOTS = 4000;
    jack_client_t* client = nullptr;
    jack_port_t* port = nullptr;
    long period = 0;
    std::atomic<int64_t> written_ns[SLOTS];

    static int process(jack_nframes_t n, void* arg)
    {
        auto* self = static_cast<PeriodStamper*>(arg);
        float* out = static_cast<float*>(jack_port_get_buffer(self->port, n));
        const int slot = int(self->period % SLOTS);
        const float value = float(slot + 1) / 8192.0f;
        for (jack_nframes_t i = 0; i < n; ++i)
            out[i] = value;
        self->written_ns[slot].store(NowNs(), std::memory_order_release);
        ++self->period;
        return 0;
    }
};

void BM_JackPeriodToQueue(benchmark::State& state)
{
    const QByteArray server_name = "orfe_bench_" + QByteArray::number(qint64(getpid()));
    qputenv("JACK_DEFAULT_SERVER", server_name);
    qputenv("JACK_NO_START_SERVER", "1");
    QProcess server;
    server.setStandardOutputFile(QProcess::nullDevice());
    server.setStandardErrorFile(QProcess::nullDevice());
    server.start("jackd", {"--no-realtime", "-n", QString::fromLatin1(server_name), "-d", "dummy", "-r",
                           "44100", "-p", "1024"});
    PeriodStamper stamper;
    for (int waited = 0; waited < 10000 && !stamper.client; waited += 50) {
        stamper.client = jack_client_open("orfe_bench_src", JackNoStartServer, nullptr);
        if (!stamper.client) QThread::msleep(50);
    }
    if (!stamper.client) {
        state.SkipWithError("jackd did not start");
        return;
    }
    stamper.port = jack_port_register(stamper.client, "out", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
    jack_set_process_callback(stamper.client, &PeriodStamper::process, &stamper);
    jack_activate(stamper.client);

    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("ORFE_BENCH_SECONDS", &ok);
    const int duration_s = ok && seconds > 0 ? seconds : 60;
    std::vector<double> latencies_ms;
    {
        CaptureThread front("orfe");
        front.selectTransport(QString("JACK"));
        front.setSource(QString::fromLatin1(jack_port_name(stamper.port)));
        front.startCapture();
        for (auto _ : state) {
            const int64_t end = NowNs() + int64_t(duration_s) * 1000000000;
            std::vector<double> batch;
            float last = -1.0f;
            while (NowNs() < end) {
                batch.clear();
                {
                    std::lock_guard<std::mutex> lock(front.m_capture_queue.m_queue_lock);
                    while (!front.m_capture_queue.m_sample_queue.empty()) {
                        batch.push_back(front.m_capture_queue.m_sample_queue.back());
                        front.m_capture_queue.m_sample_queue.pop_back();
                    }
                }
                const int64_t now = NowNs();
                for (double v : batch) {
                    const float f = float(v);
                    if (f != last && f > 0.0f) {
                        const int slot = int(std::lround(f * 8192.0f)) - 1;
                        const int64_t written = stamper.written_ns[slot].load(std::memory_order_acquire);
                        latencies_ms.push_back(double(now - written) / 1e6);
                    }
                    last = f;
                }
                QThread::usleep(500); // a consumer polling every half millisecond
            }
        }
        front.stopCapture();
    }
    jack_client_close(stamper.client);
    server.terminate();
    server.waitForFinished(5000);

    // The first period may have been written before the capture started.
    if (!latencies_ms.empty()) latencies_ms.erase(latencies_ms.begin());
    state.counters["periods"] = double(latencies_ms.size());
    state.counters["median_ms"] = Percentile(latencies_ms, 0.5);
    state.counters["p99_ms"] = Percentile(latencies_ms, 0.99);
    state.counters["max_ms"] =
        latencies_ms.empty() ? 0.0 : *std::max_element(latencies_ms.begin(), latencies_ms.end());
    state.counters["target_ms"] = 1024.0 / 44100.0 * 1000.0 + 10.0;
}
BENCHMARK(BM_JackPeriodToQueue)->Iterations(1)->Unit(benchmark::kSecond);

// The producer's whole critical section for one packet of 1024 float samples (mono
// adder, counters), with the queue kept at a steady length by a consumer between packets.
void BM_QueueLockPerPacket(benchmark::State& state)
{
    CaptureThread front("orfe");
    CaptureThreadImpl* impl = front.getTransport("JACK");
    impl->declareFormat(4, true, true, 1);
    std::vector<float> packet(1024);
    for (size_t i = 0; i < packet.size(); ++i)
        packet[i] = float(std::sin(0.06 * double(i)));
    double worst_us = 0.0;
    for (auto _ : state) {
        const auto start = Clock::now();
        impl->pushFloatBlock(packet.data(), int(packet.size()));
        const auto stop = Clock::now();
        const double us = std::chrono::duration<double, std::micro>(stop - start).count();
        worst_us = std::max(worst_us, us);
        state.SetIterationTime(us / 1e6);
        std::lock_guard<std::mutex> lock(front.m_capture_queue.m_queue_lock);
        front.m_capture_queue.m_drain_started = true;
        while (front.m_capture_queue.m_sample_queue.size() > 8192)
            front.m_capture_queue.m_sample_queue.pop_back();
    }
    state.counters["max_us"] = worst_us;
    state.counters["target_us"] = 100.0;
}
BENCHMARK(BM_QueueLockPerPacket)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
