// The JACK transport on a real server (fixture jackd<rate>, rate in ORFE_TEST_RATE): a
// client of the test plays a sine into the transport's input port through the source
// auto-connection, and the capture queue is checked for count, continuity and frequency.

#include "CaptureTestUtil.h"
#include "CaptureThreadImplJACK.h"
#include "JackSinePlayer.h"

#include <QCoreApplication>
#include <QtTest>
#include <thread>

namespace {
constexpr double SINE_HZ = 440.0;
const char* PLAYER = "orfe_test_sine";

int EnvInt(const char* name, int fallback)
{
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok ? v : fallback;
}
} // namespace

class TestJack : public QObject
{
    Q_OBJECT

    int m_rate = 0;
    JackSinePlayer* m_player = nullptr;

    /// Waits until at least `count` samples are in the queue.
    static bool waitForSamples(CaptureThread& front, size_t count)
    {
        for (int waited = 0; waited < 10000 && QueueSize(front) < count; waited += 10)
            QTest::qWait(10);
        return QueueSize(front) >= count;
    }

private slots:
    void initTestCase()
    {
        // No Qt audio plugin: auto-detection must then find this server.
        QCoreApplication::setLibraryPaths(QStringList());
        m_rate = EnvInt("ORFE_TEST_RATE", 0);
        QVERIFY2(m_rate > 0, "ORFE_TEST_RATE is not set");
        QVERIFY2(!qEnvironmentVariableIsEmpty("JACK_DEFAULT_SERVER"), "JACK_DEFAULT_SERVER is not set");
        m_player = new JackSinePlayer(PLAYER, SINE_HZ);
        QVERIFY2(m_player->ok(), "no JACK server: the fixture should have started one");
        QCOMPARE(m_player->rate(), m_rate);
    }
    void cleanupTestCase() { delete m_player; }

    void autoDetectFindsJack()
    {
        CaptureThread front("orfe");
        QCOMPARE(front.getTransport("JACK")->getStatus(), QString("available"));
        SignalRecorder rec(&front);
        StdoutCapture out;
        front.autoDetectTransport();
        QCOMPARE(out.end(),
                 QStringList({"CaptureThread: INFO: Auto detecting a working transport ... using JACK"}));
        QCOMPARE(rec.transports, QStringList({"JACK"}));
    }

    void captureSine()
    {
        CaptureThread front("orfe");
        front.selectTransport(QString("JACK"));
        front.setSource(m_player->portName());
        SignalRecorder rec(&front);
        StdoutCapture out;
        front.startCapture();
        const QStringList lines = out.end();
        QVERIFY(front.isCapturing());
        QVERIFY(lines.contains(QString("CaptureThread: INFO: JACK: sampling rate=%1").arg(m_rate)));
        QVERIFY(lines.contains("CaptureThread: INFO: format is signed float 32bits with 1 channel(s)"));
        QVERIFY(lines.contains(QString("CaptureThread: INFO: JACK: auto-connect '%1' with 'orfe:input'")
                                   .arg(m_player->portName())));
        QCOMPARE(front.getSamplingRate(), m_rate);
        QTRY_COMPARE(rec.started, 1);
        QCOMPARE(rec.toggles, QList<bool>({true}));
        QCOMPARE(rec.rates, QList<int>({m_rate}));
        QVERIFY(rec.errors.isEmpty());

        // One second of sound.
        QVERIFY(waitForSamples(front, size_t(m_rate)));
        front.stopCapture();
        QVERIFY(!front.isCapturing());
        QTRY_COMPARE(rec.stopped, 1);
        QCOMPARE(rec.toggles, QList<bool>({true, false}));
        auto* jack = static_cast<CaptureThreadImplJACK*>(front.getTransport("JACK"));
        QCOMPARE(jack->ringCapacity(), size_t(0)); // released at close

        const QueueSnapshot snap = TakeSnapshot(front);
        const size_t n = snap.oldest_first.size();
        // Nothing drained: the counter holds every pushed sample; the server's periods
        // of 1024 frames arrive whole.
        QCOMPARE(size_t(snap.pushed_since_drain), n);
        QCOMPARE(n % 1024, size_t(0));
        QVERIFY(n <= size_t(m_player->frames()));
        // The sine from the first sample to the last, without a gap: the recurrence
        // x[n+1] = 2 cos(w) x[n] - x[n-1] holds to float rounding (a lost period would
        // break it by up to 2 x 0.5). Checked per period, across each boundary.
        const double w = 2.0 * M_PI * SINE_HZ / m_rate;
        int breaks = 0;
        for (size_t b = 0; b + 2 < n; b += 1024)
            if (SineRecurrenceError(snap.oldest_first, b, std::min(n, b + 1026), w) >= 1e-5) ++breaks;
        // A cycle the server reports as late (xrun, common on a loaded machine without
        // real-time scheduling) may hand the transport a stale or missing period of the
        // player: the sine breaks where that period starts and again where the fresh
        // periods resume, so two breaks per late cycle; nothing else may break it.
        QVERIFY2(breaks <= 2 * m_player->xruns(),
                 qPrintable(QString("the captured sine breaks at %1 of %2 period boundaries; xruns: %3")
                                .arg(breaks)
                                .arg(n / 1024)
                                .arg(m_player->xruns())));
        // Frequency: rising zero crossings over the whole capture. 440 Hz over n/rate
        // seconds gives 440 n / rate crossings, within one, and within one period's
        // worth more for each of the two breaks a late cycle may cause (see above).
        const double expected = SINE_HZ * double(n) / m_rate;
        const double per_period = SINE_HZ * 1024.0 / m_rate + 1.0;
        const double crossings = RisingZeroCrossings(snap.oldest_first, 0, n);
        QVERIFY2(std::fabs(crossings - expected) <= 1.0 + 2.0 * per_period * m_player->xruns(),
                 qPrintable(QString("%1 crossings, %2 expected, %3 xruns")
                                .arg(crossings)
                                .arg(expected)
                                .arg(m_player->xruns())));
        // The values are the player's, unscaled: the amplitude is 0.5.
        const double peak = *std::max_element(snap.oldest_first.begin(), snap.oldest_first.end());
        QVERIFY(peak > 0.49 && peak <= 0.5);
    }

    void packetCounters()
    {
        CaptureThread front("orfe");
        front.selectTransport(QString("JACK"));
        front.setSource(m_player->portName());
        front.startCapture();
        QVERIFY(waitForSamples(front, 1024));
        {
            std::lock_guard<std::mutex> lock(front.m_capture_queue.m_queue_lock);
            front.m_capture_queue.m_drain_started = true;
        }
        QTRY_VERIFY(!TakeSnapshot(front).drain_started);
        const QueueSnapshot snap = TakeSnapshot(front);
        // The first packet after the drain reset the counter to its own size: whole
        // periods, at most one read (1024 samples) per packet.
        QVERIFY(snap.pushed_since_drain >= 1024);
        QCOMPARE(snap.pushed_since_drain % 1024, 0);
        front.stopCapture();
    }

    void pause()
    {
        CaptureThread front("orfe");
        front.selectTransport(QString("JACK"));
        front.setSource(m_player->portName());
        front.startCapture();
        QVERIFY(waitForSamples(front, 2048));
        front.togglePause(true);
        QTest::qWait(200); // let the capture thread finish a packet it may have begun
        const QueueSnapshot before = TakeSnapshot(front);
        const long played = m_player->frames();
        QTRY_VERIFY(m_player->frames() > played + 4 * 1024);
        const QueueSnapshot after = TakeSnapshot(front);
        QCOMPARE(after.oldest_first.size(), before.oldest_first.size());
        QCOMPARE(after.pushed_since_drain, before.pushed_since_drain);
        QVERIFY(front.isCapturing());
        front.togglePause(false);
        QVERIFY(waitForSamples(front, before.oldest_first.size() + 1024));
        front.stopCapture();
    }

    void emptySourceAndInvalidSource_data()
    {
        QTest::addColumn<QString>("source");
        QTest::newRow("empty") << QString();
        QTest::newRow("invalid") << "nosuchclient:nosuchport";
    }
    void emptySourceAndInvalidSource()
    {
        QFETCH(QString, source);
        CaptureThread front("orfe");
        front.selectTransport(QString("JACK"));
        front.setSource(source);
        SignalRecorder rec(&front);
        StdoutCapture out;
        front.startCapture();
        const QStringList lines = out.end();
        QVERIFY(front.isCapturing());
        bool auto_connect = false;
        for (const QString& l : lines)
            auto_connect |= l.startsWith("CaptureThread: INFO: JACK: auto-connect");
        QCOMPARE(auto_connect, !source.isEmpty());
        // Unconnected, the input port delivers silence, and capture goes on.
        QVERIFY(waitForSamples(front, 2048));
        QVERIFY(front.isCapturing());
        front.stopCapture();
        QTRY_COMPARE(rec.stopped, 1);
        if (source.isEmpty())
            QVERIFY(rec.errors.isEmpty());
        else
            QCOMPARE(rec.errors, QStringList({"JACK: Invalid source 'nosuchclient:nosuchport'"}));
        const QueueSnapshot snap = TakeSnapshot(front);
        QVERIFY(std::all_of(snap.oldest_first.begin(), snap.oldest_first.end(),
                            [](double v) { return v == 0.0; }));
    }

    // A connection made by hand to the input survives a stop and a start (the
    // configuration dialog); the auto-connection is made again only while the source
    // asks for it. (The player is connected by hand, another output port is the source:
    // no client of the test closes meanwhile.)
    void handMadeConnectionSurvivesARestart()
    {
        const QByteArray own = "orfe:input", by_hand = m_player->portName().toLatin1(),
                         source = m_player->anotherOutput();
        QVERIFY2(!source.isEmpty(), "the server has no other output port");
        CaptureThread front("orfe");
        front.selectTransport(QString("JACK"));
        front.setSource(QString::fromLatin1(source));
        front.startCapture();
        QVERIFY(front.isCapturing());
        QCOMPARE(m_player->connect(by_hand, own), 0);
        front.stopCapture();
        front.startCapture();
        QVERIFY(m_player->connected(by_hand, own));
        QVERIFY(m_player->connected(source, own));
        front.setSource(QString()); // restarts the capture without the auto-connection
        QVERIFY(front.isCapturing());
        QVERIFY(m_player->connected(by_hand, own));
        QVERIFY(!m_player->connected(source, own));
        front.stopCapture();
    }

    void availabilityAndRateRequest()
    {
        CaptureThread front("orfe");
        front.selectTransport(QString("JACK"));
        CaptureThreadImpl* jack = front.getCurrentTransport();
        QVERIFY(jack->is_available());
        front.startCapture();
        QVERIFY(jack->is_available());
        QCOMPARE(jack->getStatus(), QString("available"));
        SignalRecorder rec(&front);
        StdoutCapture out;
        front.setSamplingRate(CaptureThread::SAMPLING_RATE_MAX);
        front.setSamplingRate(22050);
        QCOMPARE(out.end(),
                 QStringList(QVector<QString>(2, "CaptureThread: ERROR: JACK: setSamplingRate not available "
                                                 "with JACK ! change the JACK server sampling "
                                                 "rate instead")
                                 .toList()));
        QCOMPARE(front.getSamplingRate(), m_rate);
        QVERIFY(front.isCapturing());
        front.stopCapture();
        QCoreApplication::processEvents();
        QVERIFY(rec.rates.isEmpty());
        QVERIFY(rec.errors.isEmpty());
    }

    void sampleRateCallback()
    {
        CaptureThread front("orfe");
        front.selectTransport(QString("JACK"));
        front.setSource(m_player->portName());
        front.startCapture();
        auto* jack = static_cast<CaptureThreadImplJACK*>(front.getCurrentTransport());
        // Room for one second: rate x 4 bytes (the buffer rounds up to a power of two).
        QVERIFY(jack->ringCapacity() >= size_t(m_rate) * 4);
        QVERIFY(jack->ringCapacity() < size_t(m_rate) * 8);
        SignalRecorder rec(&front);
        // The server's notification thread reports a rate: first the current one (nothing
        // happens), then a new one, while the process callback and the capture loop run.
        const int new_rate = m_rate * 2;
        std::thread notifier([&] {
            CaptureThreadImplJACK::jackSampleRate(jack_nframes_t(m_rate), jack);
            CaptureThreadImplJACK::jackSampleRate(jack_nframes_t(new_rate), jack);
        });
        notifier.join();
        QTRY_COMPARE(rec.rates, QList<int>({new_rate}));
        QCOMPARE(front.getSamplingRate(), new_rate);
        QVERIFY(jack->ringCapacity() >= size_t(new_rate) * 4);
        QVERIFY(jack->ringCapacity() < size_t(new_rate) * 8);
        const size_t before = QueueSize(front);
        QVERIFY(waitForSamples(front, before + 4096));
        QVERIFY(front.isCapturing());
        front.stopCapture();
        QCOMPARE(jack->ringCapacity(), size_t(0));
    }

    void restartManyTimes()
    {
        const int cycles = EnvInt("ORFE_TEST_CYCLES", 5);
        CaptureThread front("orfe");
        front.selectTransport(QString("JACK"));
        front.setSource(m_player->portName());
        SignalRecorder rec(&front);
        for (int i = 0; i < cycles; ++i) {
            front.startCapture();
            QVERIFY(front.isCapturing());
            front.stopCapture();
            QVERIFY(!front.isCapturing());
        }
        QTRY_COMPARE(rec.stopped, cycles);
        QCOMPARE(rec.started, cycles);
        QVERIFY(rec.errors.isEmpty());
        // Two captures in a row, each with sound.
        for (int i = 0; i < 2; ++i) {
            ClearQueue(front);
            front.startCapture();
            QVERIFY(waitForSamples(front, 4096));
            front.stopCapture();
        }
    }

    void transportChangeWhileCapturing()
    {
        CaptureThread front("orfe");
        front.selectTransport(QString("JACK"));
        front.startCapture();
        QVERIFY(front.isCapturing());
        SignalRecorder rec(&front);
        // To OSS, which has no device here: JACK stops, OSS fails to start.
        front.selectTransport(QString("OSS"));
        QVERIFY(!front.isCapturing());
        QTRY_COMPARE(rec.errors, QStringList({"OSS: No such file or directory"}));
        QCOMPARE(rec.transports, QStringList({"OSS"}));
        // Back to JACK by index while "running" is false: selected, not started.
        front.selectTransport(1);
        QVERIFY(!front.isCapturing());
        front.startCapture();
        QVERIFY(front.isCapturing());
        // An unknown name while capturing: stopped, message, raised, not restarted.
        bool raised = false;
        try {
            front.selectTransport(QString("ALSA"));
        } catch (const QString& e) {
            raised = e == "CaptureThread: ERROR: unknown transport 'ALSA'";
        }
        QVERIFY(raised);
        QVERIFY(!front.isCapturing());
        QCOMPARE(front.getCurrentTransport()->getName(), QString("JACK"));
        // Source change while capturing restarts the capture.
        front.startCapture();
        QCoreApplication::processEvents(); // deliver this start's queued signals
        rec.clear();
        front.setSource(m_player->portName());
        QVERIFY(front.isCapturing());
        QTRY_COMPARE(rec.started, 1);
        QCOMPARE(rec.stopped, 1);
        QCOMPARE(rec.sources, QStringList({m_player->portName()}));
        // reset() is a stop and a start.
        front.reset();
        QVERIFY(front.isCapturing());
        QTRY_COMPARE(rec.started, 2);
        // Destroyed while capturing: the destructor stops and waits.
    }
};

QTEST_GUILESS_MAIN(TestJack)
#include "tst_jack.moc"
