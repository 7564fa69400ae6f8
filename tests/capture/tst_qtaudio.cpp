// The Qt audio transport on a real PulseAudio server (fixture pulse), and on the
// PulseAudio server of a real PipeWire session (fixture pipewire, the functions named in
// tests/capture/CMakeLists.txt): sound played into the null sink with pacat is captured
// from its monitor "null.monitor", the servers' default source, through Qt's PulseAudio
// back end, and through Qt's ALSA back end from the ALSA device "alsa_to_server". With
// the pulse fixture a JACK server runs as well (fixture jackd44100), to show that
// auto-detection asks Qt first.

#include "CaptureTestUtil.h"
#include "CaptureThreadImplQt.h"

#include <QCoreApplication>
#include <QPointer>
#include <QProcess>
#include <QtTest>
#include <cmath>

namespace {
constexpr double TONE_HZ = 1000.0;

/// `seconds` of a 1000 Hz sine at amplitude 0.5, signed 16-bit mono at 44100 Hz.
QByteArray Tone(double seconds)
{
    const int n = int(seconds * 44100);
    QByteArray bytes(n * 2, 0);
    auto* s = reinterpret_cast<int16_t*>(bytes.data());
    for (int i = 0; i < n; ++i)
        s[i] = int16_t(std::lround(16384.0 * std::sin(2.0 * M_PI * TONE_HZ * i / 44100.0)));
    return bytes;
}

/// Plays `seconds` of the tone into the null sink; returns once pacat has handed it over.
bool PlayTone(double seconds)
{
    QProcess pacat;
    pacat.start("pacat",
                {"--playback", "-d", "null", "--raw", "--format=s16le", "--rate=44100", "--channels=1"});
    if (!pacat.waitForStarted(5000)) return false;
    pacat.write(Tone(seconds));
    pacat.closeWriteChannel();
    return pacat.waitForFinished(15000) && pacat.exitCode() == 0;
}

/// Index of the first sample of magnitude 0.1 or more (the tone's onset), or the size.
size_t Onset(const std::vector<double>& x)
{
    size_t onset = 0;
    while (onset < x.size() && std::fabs(x[onset]) < 0.1)
        ++onset;
    return onset;
}

QStringList Starting(const QStringList& lines, const QString& prefix)
{
    QStringList out;
    for (const QString& l : lines)
        if (l.startsWith(prefix)) out.append(l);
    return out;
}
} // namespace

class TestQtAudio : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("PULSE_SERVER"),
                 "PULSE_SERVER is not set: the pulse fixture is missing");
        bool monitor = false;
        for (const QAudioDeviceInfo& d : QAudioDeviceInfo::availableDevices(QAudio::AudioInput))
            monitor |= d.deviceName() == "null.monitor";
        QVERIFY2(monitor, "no device null.monitor: the PulseAudio server of the fixture is not reachable");
    }

    void autoDetectAsksQtFirst()
    {
        CaptureThread front("orfe");
        QCOMPARE(front.getTransport("Qt")->getStatus(), QString("OK"));
        QCOMPARE(front.getTransport("JACK")->getStatus(), QString("available"));
        SignalRecorder rec(&front);
        front.autoDetectTransport();
        QCOMPARE(rec.transports, QStringList({"Qt"}));
        QCOMPARE(front.getCurrentTransportIndex(), 0);
    }

    void captureToneFromMonitor()
    {
        CaptureThread front("orfe");
        front.selectTransport(QString("Qt"));
        front.setSource("null.monitor");
        SignalRecorder rec(&front);
        StdoutCapture out;
        front.startCapture();
        const QStringList lines = out.end();
        QVERIFY(front.isCapturing());
        QVERIFY(lines.contains("CaptureThread: INFO: format is signed integer 16bits with 1 channel(s)"));
        QVERIFY(lines.contains(
            "CaptureThread: INFO: Qt: sampling rate set to max or undefined, try to determinate it."));
        // The server offers 8000, 11025, 22050, 44100 and 48000: the highest is tried first.
        QCOMPARE(Starting(lines, "CaptureThread: INFO: Qt: Try sampling rate "),
                 QStringList({"CaptureThread: INFO: Qt: Try sampling rate 48000 ... success"}));
        QCOMPARE(front.getSamplingRate(), 48000);
        QCOMPARE(rec.rates, QList<int>({48000}));
        QCOMPARE(rec.started, 1);
        QCOMPARE(rec.toggles, QList<bool>({true}));

        QProcess pacat;
        pacat.start("pacat",
                    {"--playback", "-d", "null", "--raw", "--format=s16le", "--rate=44100", "--channels=1"});
        QVERIFY(pacat.waitForStarted(5000));
        pacat.write(Tone(2.0));
        pacat.closeWriteChannel();
        QVERIFY(pacat.waitForFinished(10000));
        QCOMPARE(pacat.exitCode(), 0);
        QTest::qWait(300);
        front.stopCapture();
        QVERIFY(!front.isCapturing());
        QCOMPARE(rec.stopped, 1);

        const QueueSnapshot snap = TakeSnapshot(front);
        QCOMPARE(size_t(snap.pushed_since_drain), snap.oldest_first.size());
        const std::vector<double>& x = snap.oldest_first;
        size_t onset = 0;
        while (onset < x.size() && std::fabs(x[onset]) < 0.1)
            ++onset;
        // One second of tone, after 0.1 s for the onset: 48000 samples, 1000 rising zero
        // crossings at 1000 Hz. Allow 1 % for the server's resampling from 44100 to 48000.
        const size_t begin = onset + 4800;
        QVERIFY2(begin + 48000 <= x.size(),
                 qPrintable(QString("only %1 samples, onset at %2").arg(x.size()).arg(onset)));
        const int crossings = RisingZeroCrossings(x, begin, begin + 48000);
        QVERIFY2(std::abs(crossings - 1000) <= 10, qPrintable(QString::number(crossings)));
        const double peak = *std::max_element(x.begin() + long(begin), x.begin() + long(begin) + 48000);
        QVERIFY2(peak > 0.45 && peak < 0.55, qPrintable(QString::number(peak))); // 16384 / 32768
    }

    // Factory settings (22050 Hz) on the server's default source and on an ALSA device
    // routed to the same server: Qt's ALSA input gives nothing to reads of one sample, so
    // the tone arrives only when everything ready is read at once. The packets asked for
    // are 10 ms, 220 frames of 2 bytes at 22050 Hz.
    void toneOnTheDefaultAndAlsaDevices_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("device");
        QTest::newRow("default source") << "default"
                                        << "null.monitor";
        QTest::newRow("ALSA device") << "alsa_to_server"
                                     << "alsa_to_server";
    }
    void toneOnTheDefaultAndAlsaDevices()
    {
        QFETCH(QString, source);
        QFETCH(QString, device);
        CaptureThread front("orfe", CaptureThread::transportsWithoutJack());
        front.selectTransport(QString("Qt"));
        front.setSource(source);
        front.setSamplingRate(22050);
        StdoutCapture out;
        front.startCapture();
        const QStringList lines = Starting(out.end(), "CaptureThread: INFO: Qt: buffer ");
        QVERIFY(front.isCapturing());
        auto* qt = static_cast<CaptureThreadImplQt*>(front.getCurrentTransport());
        QCOMPARE(qt->device().deviceName(), device);
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].endsWith("(asked 440), notify interval 10 ms (asked 10)"), qPrintable(lines[0]));

        QVERIFY(PlayTone(1.0));
        // Half a second of tone after the onset: 11025 samples, 500 rising zero crossings.
        QTRY_VERIFY_WITH_TIMEOUT(TakeSnapshot(front).oldest_first.size() >
                                     Onset(TakeSnapshot(front).oldest_first) + 2205 + 11025,
                                 10000);
        front.stopCapture();
        const QueueSnapshot snap = TakeSnapshot(front);
        QCOMPARE(size_t(snap.pushed_since_drain), snap.oldest_first.size());
        const size_t begin = Onset(snap.oldest_first) + 2205; // 0.1 s after the onset
        const int crossings = RisingZeroCrossings(snap.oldest_first, begin, begin + 11025);
        QVERIFY2(std::abs(crossings - 500) <= 5, qPrintable(QString::number(crossings)));
        const auto first = snap.oldest_first.begin() + long(begin);
        const double peak = *std::max_element(first, first + 11025);
        // 16384 / 32768 = 0.5; PipeWire's mixing of the mono tone to the stereo sink and
        // back to mono adds 3 dB (0.5 x sqrt 2 = 0.707).
        QVERIFY2(peak > 0.45 && peak < 0.75, qPrintable(QString::number(peak)));
    }

    // Another device with the same format gets an audio input of its own.
    void newDeviceNewInput()
    {
        CaptureThread front("orfe", CaptureThread::transportsWithoutJack());
        front.selectTransport(QString("Qt"));
        front.setSource("default");
        front.setSamplingRate(22050);
        front.startCapture();
        auto* qt = static_cast<CaptureThreadImplQt*>(front.getCurrentTransport());
        const QPointer<QAudioInput> first = qt->audioInput();
        QVERIFY(first);
        front.setSource("alsa_to_server"); // restarts the capture
        QVERIFY(front.isCapturing());
        QCOMPARE(qt->device().deviceName(), QString("alsa_to_server"));
        QVERIFY(first.isNull()); // replaced
        QCOMPARE(qt->format().sampleRate(), 22050);
        ClearQueue(front);
        QVERIFY(PlayTone(0.3));
        QTRY_VERIFY_WITH_TIMEOUT(Onset(TakeSnapshot(front).oldest_first) < QueueSize(front), 10000);
        front.stopCapture();
    }

    void unknownDevice()
    {
        CaptureThread front("orfe");
        front.selectTransport(QString("Qt"));
        front.setSource("nosuchdevice");
        SignalRecorder rec(&front);
        StdoutCapture out;
        front.startCapture();
        const QStringList lines = out.end();
        QVERIFY(!front.isCapturing());
        QVERIFY(lines.contains("CaptureThread: ERROR: Qt: Cannot open device 'nosuchdevice'"));
        QCOMPARE(rec.errors, QStringList({"Qt: Cannot open device 'nosuchdevice'"}));
        QCOMPARE(rec.started, 0);
        QCOMPARE(rec.stopped, 0);
    }

    void audioInputReuse()
    {
        CaptureThread front("orfe");
        front.selectTransport(QString("Qt"));
        front.setSource("default");
        auto* qt = static_cast<CaptureThreadImplQt*>(front.getCurrentTransport());
        front.startCapture();
        QVERIFY(front.isCapturing());
        // "default": the server's default source, through Qt's PulseAudio back end.
        QCOMPARE(qt->device().deviceName(), QString("null.monitor"));
        QAudioInput* first = qt->audioInput();
        QVERIFY(first);
        front.stopCapture();
        front.startCapture();
        QCOMPARE(qt->audioInput(), first); // same settings, same input
        // A new rate while capturing: stop, announce, restart with a new input.
        SignalRecorder rec(&front);
        front.setSamplingRate(22050);
        QVERIFY(front.isCapturing());
        QCOMPARE(rec.rates, QList<int>({22050}));
        QCOMPARE(qt->format().sampleRate(), 22050);
        QVERIFY(qt->audioInput() != nullptr);
        front.stopCapture();
        QCOMPARE(rec.started, 1);
        QCOMPARE(rec.stopped, 2);
    }

    void pauseDropsData()
    {
        CaptureThread front("orfe");
        front.selectTransport(QString("Qt"));
        front.setSource("null.monitor");
        front.startCapture();
        QTRY_VERIFY(QueueSize(front) > 0);
        front.togglePause(true);
        const QueueSnapshot before = TakeSnapshot(front);
        QTest::qWait(500);
        const QueueSnapshot after = TakeSnapshot(front);
        QCOMPARE(after.oldest_first.size(), before.oldest_first.size());
        QCOMPARE(after.pushed_since_drain, before.pushed_since_drain);
        front.togglePause(false);
        QTRY_VERIFY(QueueSize(front) > before.oldest_first.size());
        front.stopCapture();
    }

    void startStopManyTimes()
    {
        CaptureThread front("orfe");
        front.selectTransport(QString("Qt"));
        front.setSource("null.monitor");
        SignalRecorder rec(&front);
        for (int i = 0; i < 5; ++i) {
            front.startCapture();
            QVERIFY(front.isCapturing());
            front.stopCapture();
            QVERIFY(!front.isCapturing());
        }
        QCOMPARE(rec.started, 5);
        QCOMPARE(rec.stopped, 5);
        QVERIFY(rec.errors.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestQtAudio)
#include "tst_qtaudio.moc"
