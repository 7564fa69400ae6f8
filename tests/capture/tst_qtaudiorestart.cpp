// The Qt audio transport when its PulseAudio server dies during a capture and comes
// back: the test runs a server of its own (the tests' fixture script, in the folder
// ORFE_TEST_OWN_PULSE, which the environment's PULSE_SERVER points into), so that
// killing it disturbs no other test.

#include "CaptureTestUtil.h"

#include <QProcess>
#include <QtTest>
#include <csignal>

class TestQtAudioRestart : public QObject
{
    Q_OBJECT

    QString m_dir;
    QString m_script;

    bool server(const QString& action) { return QProcess::execute("sh", {m_script, action, m_dir}) == 0; }
    // SIGKILL, as a crash would: the server has no time to tell its clients.
    bool killServer()
    {
        QFile pidfile(m_dir + "/pulse.pid");
        if (!pidfile.open(QIODevice::ReadOnly)) return false;
        const int pid = pidfile.readAll().trimmed().toInt();
        return pid > 0 && ::kill(pid, SIGKILL) == 0;
    }

private slots:
    void initTestCase()
    {
        m_dir = qEnvironmentVariable("ORFE_TEST_OWN_PULSE");
        m_script = qEnvironmentVariable("ORFE_PULSE_SCRIPT");
        QVERIFY2(!m_dir.isEmpty() && !m_script.isEmpty(),
                 "ORFE_TEST_OWN_PULSE or ORFE_PULSE_SCRIPT is not set");
        QVERIFY2(server("start"), "pulseaudio did not start");
    }
    void cleanupTestCase() { server("stop"); }

    // Killed: the error is raised once and the capture counts as stopped, so that the
    // window shows no note. Back: the capture starts again by itself and sound flows.
    void serverKilledAndBack()
    {
        CaptureThread front("orfe", CaptureThread::transportsWithoutJack());
        front.selectTransport(QString("Qt"));
        SignalRecorder rec(&front);
        front.startCapture();
        QVERIFY(front.isCapturing());
        // The monitor of an idle null sink still delivers (silent) sound.
        QTRY_VERIFY_WITH_TIMEOUT(QueueSize(front) > 0, 10000);

        QVERIFY(killServer());
        QTRY_COMPARE_WITH_TIMEOUT(
            rec.errors, QStringList({"Qt: the audio input stopped, waiting for it to come back"}), 10000);
        QVERIFY(!front.isCapturing());
        QCOMPARE(rec.stopped, 1);
        QTest::qWait(1500); // attempts while the server is away say nothing more
        QCOMPARE(rec.errors.size(), 1);
        QCOMPARE(rec.started, 1);

        QVERIFY2(server("start"), "pulseaudio did not start again");
        QTRY_VERIFY_WITH_TIMEOUT(front.isCapturing(), 20000);
        QCOMPARE(rec.started, 2);
        ClearQueue(front);
        QTRY_VERIFY_WITH_TIMEOUT(QueueSize(front) > 0, 10000);
        QCOMPARE(rec.errors.size(), 1);

        // A stop while the server is away ends the attempts for good.
        QVERIFY(killServer());
        QTRY_VERIFY_WITH_TIMEOUT(!front.isCapturing(), 10000);
        front.stopCapture();
        QVERIFY2(server("start"), "pulseaudio did not start the third time");
        QTest::qWait(2500);
        QVERIFY(!front.isCapturing());
        QCOMPARE(rec.started, 2);
    }
};

QTEST_GUILESS_MAIN(TestQtAudioRestart)
#include "tst_qtaudiorestart.moc"
