// Faults of the JACK server: none running, and one killed during a capture. The test
// runs its own server (name in ORFE_TEST_OWN_SERVER) so that killing it disturbs no other
// test; JACK_DEFAULT_SERVER names a server that never runs.

#include "CaptureTestUtil.h"
#include "CaptureThreadImplJACK.h"
#include "JackServer.h"
#include "JackSinePlayer.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QtTest>

class TestJackFaults : public QObject
{
    Q_OBJECT

    QByteArray m_own;

private slots:
    void initTestCase()
    {
        QCoreApplication::setLibraryPaths(QStringList());
        QVERIFY2(qEnvironmentVariableIsSet("JACK_NO_START_SERVER"), "JACK_NO_START_SERVER must be set");
        m_own = qgetenv("ORFE_TEST_OWN_SERVER");
        QVERIFY2(!m_own.isEmpty(), "ORFE_TEST_OWN_SERVER is not set");
    }

    void noServer()
    {
        CaptureThread front("orfe");
        QCOMPARE(front.getTransport("JACK")->getStatus(), QString("N/A"));
        front.selectTransport(QString("JACK"));
        SignalRecorder rec(&front);
        StdoutCapture out;
        front.startCapture();
        const QStringList lines = out.end();
        QVERIFY(!front.isCapturing());
        QVERIFY(lines.contains("CaptureThread: ERROR: JACK: cannot create client, JACK deamon is running ?"));
        QTRY_COMPARE(rec.errors, QStringList({"JACK: cannot create client, JACK deamon is running ?"}));
        QCOMPARE(rec.started, 0);
        QCOMPARE(rec.stopped, 0);
        // A second attempt fails the same way: the thread gave up cleanly the first time.
        front.startCapture();
        QVERIFY(!front.isCapturing());
        QTRY_COMPARE(rec.errors.size(), 2);
        QCOMPARE(static_cast<CaptureThreadImplJACK*>(front.getCurrentTransport())->ringCapacity(), size_t(0));
    }

    void serverKilledDuringCapture()
    {
        OwnJackServer server(m_own);
        QVERIFY2(server.start(), "jackd did not start");
        qputenv("JACK_DEFAULT_SERVER", m_own);

        CaptureThread front("orfe");
        front.selectTransport(QString("JACK"));
        front.setSource("system:capture_1");
        SignalRecorder rec(&front);
        front.startCapture();
        QVERIFY(front.isCapturing());
        QTRY_VERIFY(QueueSize(front) >= 2048);
        QTRY_COMPARE(rec.started, 1);

        // Nothing is asked of the front from here on: it waits for the server quietly,
        // and resumes by itself when one is back.
        StdoutCapture out;
        StdoutCapture err(2);
        QVERIFY(server.kill());
        QTRY_VERIFY_WITH_TIMEOUT(rec.errors.contains("JACK: server shutdown !"), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!front.isCapturing(), 10000);
        QTRY_COMPARE(rec.stopped, 1);
        QCOMPARE(rec.toggles, QList<bool>({true, false}));
        // Three attempts (every 500 ms) without a server; the library's complaints
        // about the missing server stay out of the console.
        QTest::qWait(3 * CaptureThreadImplJACK::RETRY_MS);
        const QStringList errors = err.end();
        QVERIFY2(errors.filter("Cannot connect to server").isEmpty(), qPrintable(errors.join('\n')));

        QVERIFY2(server.start(), "jackd did not restart");
        ClearQueue(front);
        QTRY_VERIFY_WITH_TIMEOUT(front.isCapturing(), 10000);
        QTRY_VERIFY(QueueSize(front) >= 2048);
        QTRY_COMPARE(rec.started, 2);
        const QStringList lines = out.end();
        QCOMPARE(lines.count("CaptureThread: INFO: JACK: waiting for the server to come back"), 1);
        QCOMPARE(lines.filter("CaptureThread: ERROR:").size(), 0);
        QCOMPARE(rec.errors, QStringList({"JACK: server shutdown !"}));

        front.stopCapture();
        QVERIFY(!front.isCapturing());
        QVERIFY(server.stop());
        qputenv("JACK_DEFAULT_SERVER", "orfe_none");
    }

    // A killed server of a test is started again and ended cleanly when the test lets it
    // go, and so gives its place in JACK's table of servers back.
    void killedServerGivesItsPlaceBack()
    {
        const auto inTable = [this] {
            QFile table("/dev/shm/jack-shm-registry");
            return table.open(QIODevice::ReadOnly) && table.readAll().contains(m_own);
        };
        {
            OwnJackServer server(m_own);
            QVERIFY2(server.start(), "jackd did not start");
            QVERIFY(inTable());
            QVERIFY(server.kill());
            QVERIFY(inTable());
        }
        QVERIFY(!inTable());
    }

    // A start asked for while the transport waits for its server: the wait ends, and
    // the start fails as usual without a server.
    void startWhileWaiting()
    {
        OwnJackServer server(m_own);
        QVERIFY2(server.start(), "jackd did not start");
        qputenv("JACK_DEFAULT_SERVER", m_own);
        CaptureThread front("orfe");
        front.selectTransport(QString("JACK"));
        SignalRecorder rec(&front);
        front.startCapture();
        QVERIFY(front.isCapturing());
        QVERIFY(server.kill());
        QTRY_VERIFY_WITH_TIMEOUT(rec.stopped == 1, 10000);
        rec.clear();
        front.startCapture();
        QVERIFY(!front.isCapturing());
        QTRY_COMPARE(rec.errors, QStringList({"JACK: cannot create client, JACK deamon is running ?"}));
        front.stopCapture(); // returns: nothing waits any more
        qputenv("JACK_DEFAULT_SERVER", "orfe_none");
    }
};

QTEST_GUILESS_MAIN(TestJackFaults)
#include "tst_jackfaults.moc"
