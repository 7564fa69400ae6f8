// The OSS transport: format, channel and rate negotiation, reads, pauses and failures on
// a scripted device (this machine has no OSS device), and the real system calls on a
// missing "/dev/dsp" and on a FIFO.

#include "CaptureTestUtil.h"
#include "CaptureThreadImplOSS.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/soundcard.h>
#include <sys/stat.h>
#include <thread>

namespace {

/// What the scripted device does; shared between the test and the capture thread.
struct DeviceScript
{
    std::mutex lock;
    int open_errno = 0;   // non-zero: open fails with it
    int setfmt_errno = 0; // non-zero: SNDCTL_DSP_SETFMT fails with it
    int format_answer = AFMT_S16_LE;
    int channels_errno = 0;
    int channels_answer = 1;
    QList<int> accepted_rates; // SNDCTL_DSP_SPEED fails with EINVAL for others
    int rate_offset = 0;       // the device writes back rate + offset
    struct Chunk
    {
        QByteArray bytes;
        int error = 0; // non-zero: the read fails with it
    };
    QList<Chunk> reads; // consumed in order; when empty, reads return 0
    int reads_done = 0;
    int opens = 0;
    int closes = 0;
    QList<int> speed_requests;

    // Locked reads for the test's thread.
    int readsDone()
    {
        std::lock_guard<std::mutex> l(lock);
        return reads_done;
    }
    bool balanced()
    {
        std::lock_guard<std::mutex> l(lock);
        return opens == closes;
    }
    int openCount()
    {
        std::lock_guard<std::mutex> l(lock);
        return opens;
    }
    int closeCount()
    {
        std::lock_guard<std::mutex> l(lock);
        return closes;
    }
};

class ScriptedDevice : public OSSDevice
{
public:
    explicit ScriptedDevice(DeviceScript* script) : m_script(script) {}
    int open(const QByteArray&, int flags) override
    {
        std::lock_guard<std::mutex> l(m_script->lock);
        if (flags != O_RDONLY) return fail(EACCES);
        if (m_script->open_errno) return fail(m_script->open_errno);
        ++m_script->opens;
        return 42;
    }
    int ioctl(int fd, unsigned long request, int* arg) override
    {
        std::lock_guard<std::mutex> l(m_script->lock);
        if (fd != 42) return fail(EBADF);
        if (request == SNDCTL_DSP_SETFMT) {
            if (m_script->setfmt_errno) return fail(m_script->setfmt_errno);
            *arg = m_script->format_answer;
            return 0;
        }
        if (request == SNDCTL_DSP_CHANNELS) {
            if (m_script->channels_errno) return fail(m_script->channels_errno);
            *arg = m_script->channels_answer;
            return 0;
        }
        if (request == SNDCTL_DSP_SPEED) {
            m_script->speed_requests.append(*arg);
            if (!m_script->accepted_rates.contains(*arg)) return fail(EINVAL);
            *arg += m_script->rate_offset;
            return 0;
        }
        return fail(ENOTTY);
    }
    long read(int fd, void* buffer, size_t bytes) override
    {
        std::unique_lock<std::mutex> l(m_script->lock);
        if (fd != 42) return fail(EBADF);
        if (m_script->reads.isEmpty()) return 0;
        DeviceScript::Chunk chunk = m_script->reads.takeFirst();
        ++m_script->reads_done;
        if (chunk.error) return fail(chunk.error);
        const size_t n = std::min(bytes, size_t(chunk.bytes.size()));
        std::memcpy(buffer, chunk.bytes.constData(), n);
        return long(n);
    }
    int close(int fd) override
    {
        std::lock_guard<std::mutex> l(m_script->lock);
        if (fd != 42) return fail(EBADF);
        ++m_script->closes;
        return 0;
    }

private:
    static int fail(int err)
    {
        errno = err;
        return -1;
    }
    DeviceScript* m_script;
};

QByteArray S16(std::initializer_list<int16_t> values)
{
    QByteArray bytes;
    for (int16_t v : values)
        bytes.append(reinterpret_cast<const char*>(&v), 2);
    return bytes;
}

QStringList Filter(const QStringList& lines, const QString& prefix)
{
    QStringList out;
    for (const QString& l : lines)
        if (l.startsWith(prefix)) out.append(l);
    return out;
}

} // namespace

class TestOSS : public QObject
{
    Q_OBJECT

    struct Setup
    {
        CaptureThread front{"orfe", CaptureThread::transportsWithoutJack()};
        CaptureThreadImplOSS* oss = nullptr;
        DeviceScript script;
        Setup()
        {
            oss = static_cast<CaptureThreadImplOSS*>(front.getTransport("OSS"));
            oss->setDevice(std::unique_ptr<OSSDevice>(new ScriptedDevice(&script)));
            front.selectTransport(QString("OSS"));
        }
    };

private slots:
    void initTestCase() { QCoreApplication::setLibraryPaths(QStringList()); }

    void rateSearch_data()
    {
        QTest::addColumn<QList<int>>("accepted");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("failed_lines");
        QTest::addColumn<int>("rate");
        // Candidates 44100, 32000, 24000, 22050, 16000, 11025, 8000.
        QTest::newRow("first") << QList<int>{44100, 8000} << 0 << 0 << 44100;
        QTest::newRow("only 8000") << QList<int>{8000} << 0 << 6 << 8000;
        QTest::newRow("22050 written back as 22052") << QList<int>{22050} << 2 << 3 << 22052;
    }
    void rateSearch()
    {
        QFETCH(QList<int>, accepted);
        QFETCH(int, offset);
        QFETCH(int, failed_lines);
        QFETCH(int, rate);
        Setup s;
        s.script.accepted_rates = accepted;
        s.script.rate_offset = offset;
        SignalRecorder rec(&s.front);
        StdoutCapture out;
        s.front.startCapture();
        QVERIFY(s.front.isCapturing());
        s.front.stopCapture();
        const QStringList lines = out.end();
        QVERIFY(lines.contains("CaptureThread: INFO: OSS: sampling rate set to max or undefined, try to "
                               "determinate it."));
        QVERIFY(lines.contains("CaptureThread: INFO: format is signed integer 16bits with 1 channel(s)"));
        const QStringList tries = Filter(lines, "CaptureThread: INFO: OSS: try sampling rate ");
        QCOMPARE(tries.size(), failed_lines + 1);
        for (int i = 0; i < failed_lines; ++i)
            QVERIFY2(tries[i].endsWith(" ... failed"), qPrintable(tries[i]));
        QVERIFY(tries.last().endsWith(" ... success"));
        QCOMPARE(s.oss->getSamplingRate(), rate);
        QCOMPARE(s.front.getSamplingRate(), rate);
        QCOMPARE(s.oss->sampleFormat(), AFMT_S16_LE);
        QTRY_COMPARE(rec.rates, QList<int>({rate}));
        QTRY_COMPARE(rec.started, 1);
        QTRY_COMPARE(rec.stopped, 1);
        QCOMPARE(rec.toggles, QList<bool>({true, false}));
        QVERIFY(s.script.balanced());
    }

    void noRateAccepted()
    {
        Setup s;
        SignalRecorder rec(&s.front);
        StdoutCapture out;
        s.front.startCapture();
        const QStringList lines = out.end();
        QVERIFY(!s.front.isCapturing());
        QCOMPARE(Filter(lines, "CaptureThread: INFO: OSS: try").size(), 7);
        QVERIFY(lines.contains("CaptureThread: ERROR: OSS: cannot set any sample rate (Invalid argument)"));
        QTRY_COMPARE(rec.errors, QStringList({"OSS: cannot set any sample rate (Invalid argument)"}));
        s.front.stopCapture(); // returns once the failed thread has closed the device
        QCOMPARE(rec.started, 0);
        QCOMPARE(s.front.getSamplingRate(), -1);
        QVERIFY(s.script.balanced());
    }

    void setupFailures_data()
    {
        QTest::addColumn<int>("what");
        QTest::addColumn<QString>("message");
        QTest::newRow("open") << 0 << "OSS: Permission denied";
        QTest::newRow("format request") << 1 << "OSS: cannot set format (Invalid argument)";
        QTest::newRow("format answer") << 2 << "OSS: cannot set format to signed 16bits";
        QTest::newRow("channels request")
            << 3 << "OSS: cannot set channel count to 1 (Device or resource busy)";
        QTest::newRow("channels answer") << 4 << "OSS: the device doesn't support mono mode";
        QTest::newRow("explicit rate") << 5 << "OSS: cannot set sampling rate (Invalid argument)";
        QTest::newRow("empty source") << 6 << "OSS: set the source first";
    }
    void setupFailures()
    {
        QFETCH(int, what);
        QFETCH(QString, message);
        Setup s;
        s.script.accepted_rates = {44100};
        switch (what) {
        case 0:
            s.script.open_errno = EACCES;
            break;
        case 1:
            s.script.setfmt_errno = EINVAL;
            break;
        case 2:
            s.script.format_answer = AFMT_U8;
            break;
        case 3:
            s.script.channels_errno = EBUSY;
            break;
        case 4:
            s.script.channels_answer = 2;
            break;
        case 5:
            s.front.setSamplingRate(48000);
            break;
        case 6:
            s.front.setSource(QString());
            break;
        }
        SignalRecorder rec(&s.front);
        StdoutCapture out;
        s.front.startCapture();
        const QStringList lines = out.end();
        QVERIFY(!s.front.isCapturing());
        QCOMPARE(Filter(lines, "CaptureThread: ERROR: "), QStringList({"CaptureThread: ERROR: " + message}));
        QTRY_COMPARE(rec.errors, QStringList({message}));
        QCOMPARE(rec.started, 0);
        s.front.stopCapture(); // returns once the failed thread has closed the device
        QVERIFY(s.script.balanced());
    }

    void explicitRateWrittenBack()
    {
        Setup s;
        s.script.accepted_rates = {48000};
        s.script.rate_offset = -10;
        SignalRecorder rec(&s.front);
        s.front.setSamplingRate(48000);
        QCOMPARE(rec.rates, QList<int>({48000})); // announced at once, while idle
        QCOMPARE(s.script.openCount(), 0);
        s.front.startCapture();
        QVERIFY(s.front.isCapturing());
        QCOMPARE(s.front.getSamplingRate(), 47990);
        s.front.stopCapture();
        QCoreApplication::processEvents();
        QCOMPARE(rec.rates, QList<int>({48000})); // the written-back rate is not announced
        s.front.setSamplingRate(47990);           // equal to the current rate: nothing
        QCOMPARE(rec.rates, QList<int>({48000}));
    }

    void oddByteCount()
    {
        Setup s;
        s.script.accepted_rates = {44100};
        // 7 bytes: samples 0x0100 = 256, 0xFF00 = -256, 0x4000 = 16384, then one odd byte.
        QByteArray bytes = S16({256, -256, 16384});
        bytes.append('\x7f');
        s.script.reads = {{bytes, 0}};
        s.front.startCapture();
        QTRY_COMPARE(s.script.readsDone(), 1);
        s.front.stopCapture();
        const QueueSnapshot snap = TakeSnapshot(s.front);
        // 256/32768 = 0.0078125, -256/32768, 16384/32768 = 0.5; (7 - 1) / 2 = 3 samples
        QCOMPARE(snap.oldest_first, std::vector<double>({0.0078125, -0.0078125, 0.5}));
        QCOMPARE(snap.pushed_since_drain, 3);
    }

    void readFailureGoesOn()
    {
        Setup s;
        s.script.accepted_rates = {44100};
        s.script.reads = {{S16({100}), 0}, {QByteArray(), EIO}, {S16({200, 300}), 0}};
        StdoutCapture out;
        s.front.startCapture();
        QTRY_COMPARE_WITH_TIMEOUT(s.script.readsDone(), 3, 5000);
        QTRY_COMPARE(QueueSize(s.front), size_t(3));
        QVERIFY(s.front.isCapturing());
        s.front.stopCapture();
        const QStringList lines = out.end();
        QCOMPARE(Filter(lines, "CaptureThread: WARNING: "),
                 QStringList({"CaptureThread: WARNING: OSS: Input/output error"}));
        QCOMPARE(TakeSnapshot(s.front).oldest_first,
                 std::vector<double>({100 / 32768.0, 200 / 32768.0, 300 / 32768.0}));
    }

    void pausedReadsAreDropped()
    {
        Setup s;
        s.script.accepted_rates = {44100};
        s.front.togglePause(true);
        s.script.reads = {{S16({1, 2, 3, 4}), 0}, {S16({5, 6}), 0}};
        s.front.startCapture();
        QTRY_COMPARE(s.script.readsDone(), 2);
        s.front.togglePause(false);
        {
            std::lock_guard<std::mutex> l(s.script.lock);
            s.script.reads.append(DeviceScript::Chunk{S16({7}), 0});
        }
        QTRY_COMPARE(QueueSize(s.front), size_t(1));
        s.front.stopCapture();
        const QueueSnapshot snap = TakeSnapshot(s.front);
        QCOMPARE(snap.oldest_first, std::vector<double>({7 / 32768.0}));
        QCOMPARE(snap.pushed_since_drain, 1);
    }

    void probeWhileCapturing()
    {
        Setup s;
        s.script.accepted_rates = {32000};
        s.front.setSamplingRate(32000);
        s.front.startCapture();
        QVERIFY(s.front.isCapturing());
        SignalRecorder rec(&s.front);
        s.script.accepted_rates = {24000};
        StdoutCapture out;
        s.front.setSamplingRate(CaptureThread::SAMPLING_RATE_MAX);
        const QStringList lines = out.end();
        QVERIFY(s.front.isCapturing());
        // The probe: 44100, 32000 fail, 24000 succeeds. The restart uses 24000 directly.
        QCOMPARE(Filter(lines, "CaptureThread: INFO: OSS: try").size(), 3);
        QCOMPARE(s.front.getSamplingRate(), 24000);
        QTRY_COMPARE(rec.started, 1);
        QCOMPARE(rec.stopped, 1);
        QCOMPARE(rec.rates, QList<int>({24000}));
        s.front.stopCapture();
        QVERIFY(s.script.balanced());
    }

    void restartManyTimes()
    {
        Setup s;
        s.script.accepted_rates = {44100};
        SignalRecorder rec(&s.front);
        for (int i = 0; i < 20; ++i) {
            s.front.startCapture();
            QVERIFY(s.front.isCapturing());
            s.front.stopCapture();
            QVERIFY(!s.front.isCapturing());
        }
        QTRY_COMPARE(rec.stopped, 20);
        QCOMPARE(rec.started, 20);
        QCOMPARE(s.script.openCount(), 20);
        QCOMPARE(s.script.closeCount(), 20);
    }

    void missingDevice()
    {
        CaptureThread front("orfe", CaptureThread::transportsWithoutJack());
        front.selectTransport(QString("OSS"));
        CaptureThreadImpl* oss = front.getTransport("OSS");
        QCOMPARE(oss->getSource(), QString("/dev/dsp"));
        QVERIFY(!oss->is_available());
        QCOMPARE(oss->getStatus(), QString("N/A (No such file or directory)"));
        SignalRecorder rec(&front);
        StdoutCapture out;
        front.startCapture();
        const QStringList lines = out.end();
        QVERIFY(!front.isCapturing());
        QVERIFY(lines.contains("CaptureThread: ERROR: OSS: No such file or directory"));
        QTRY_COMPARE(rec.errors, QStringList({"OSS: No such file or directory"}));
    }

    void fifoIsNoSoundDevice()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("dsp");
        QCOMPARE(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
        // Keep a writer open, otherwise opening the FIFO read-only would wait for one.
        const int writer = ::open(fifo.toLocal8Bit().constData(), O_RDWR);
        QVERIFY(writer >= 0);
        CaptureThread front("orfe", CaptureThread::transportsWithoutJack());
        front.selectTransport(QString("OSS"));
        front.setSource(fifo);
        QVERIFY(front.getCurrentTransport()->is_available());
        QCOMPARE(front.getCurrentTransport()->getStatus(), QString("OK"));
        SignalRecorder rec(&front);
        StdoutCapture out;
        front.startCapture();
        const QStringList lines = out.end();
        ::close(writer);
        QVERIFY(!front.isCapturing());
        QVERIFY(
            lines.contains("CaptureThread: ERROR: OSS: cannot set format (Inappropriate ioctl for device)"));
        QTRY_COMPARE(rec.errors, QStringList({"OSS: cannot set format (Inappropriate ioctl for device)"}));
    }
};

QTEST_GUILESS_MAIN(TestOSS)
#include "tst_oss.moc"
