// The tuner end to end on a real JACK server (fixture jackd44100, 1024-frame
// periods at 44100 Hz): tones from orfe-jack-tones reach the window's JACK
// client "orfe", and the window shows the note, its frequency, the target, the
// error on the dial and the status colour. Limits on waiting are generous; how
// fast the note shows is measured by the tuner benchmark, not asserted here.

#include "GLErrorHistory.h"
#include "JackServer.h"
#include "TunerTestUtil.h"

#include "CaptureThreadImpl.h"
#include <QStatusBar>

using namespace tunertest;

namespace {

const QByteArray JACK = "ui_cbTransports=JACK\nAuto\\ui_chkAutoDetect=false\n";
const int WAIT_MS = 6000 * tunertest::WAIT_FACTOR;

bool noteHeld(const CustomInstrumentTunerForm& w)
{
    return w.m_quantizer->m_quantized_freq > 0.0;
}

} // namespace

class TestJack : public QObject
{
    Q_OBJECT

    std::unique_ptr<SettingsFolder> m_folder;
    TonePlayer m_tones;
    int m_players = 0;

    // A fresh client name for each player, so that a player still leaving the
    // server never clashes with the next one.
    QString nextName() { return QStringLiteral("orfe-src-%1").arg(++m_players); }

private slots:
    void initTestCase() { Q_INIT_RESOURCE(orfe); }

    void init()
    {
        resetPitchModel();
        m_folder = std::make_unique<SettingsFolder>();
        m_folder->write(JACK);
    }

    void cleanup() { m_tones.stop(); }

    // A4 as a harmonic tone: note, frequency, target, green, needle upright;
    // then 10 cents sharp: the needle turns by 150 x 0.1 = 15 degrees.
    void harmonicA4ThenTenCentsSharp()
    {
        QVERIFY(m_tones.start(nextName(), {"--note", "440", "--kind", "harmonic"}));
        CustomInstrumentTunerForm w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        DialView& dial = *w.m_dialTune;

        QTRY_COMPARE_WITH_TIMEOUT(w.ui_txtNote->text(), QStringLiteral("A4"), WAIT_MS);
        QTRY_VERIFY_WITH_TIMEOUT(std::fabs(w.m_freq - 440.0) < 0.1 && statusColour(w) == GREEN, WAIT_MS);
        QCOMPARE(w.m_capture_thread.getCurrentTransport()->getName(), QStringLiteral("JACK"));
        QCOMPARE(Music::GetSamplingRate(), 44100);
        QVERIFY(std::fabs(w.ui_txtFreq->value() - 440.0) < 0.1);
        QCOMPARE(w.ui_txtNoteFreq->value(), 440.0);
        QCOMPARE(w.m_compared_freq, 440.0);
        // 0.1 Hz at 440 Hz is 12 log2(440.1/440) = 0.0039 semitone.
        QVERIFY2(std::fabs(w.m_error) < 0.004, qPrintable(QString::number(w.m_error)));
        QCOMPARE(dial.m_error, float(w.m_error));
        QVERIFY(needleDrawnAt(dial, dial.m_error));
        // The needle stands upright: none of it at +15 degrees.
        QVERIFY(!needleDrawnAt(dial, 0.1));
        // The volume bar moved, and the error history holds the note's errors.
        QVERIFY(w.ui_pgbVolume->value() > 0);
        QVERIFY(!w.m_glErrorHistory->m_notes.empty());
        QCOMPARE(w.m_glErrorHistory->m_notes.back().ht, 0);
        QVERIFY(!w.m_glErrorHistory->m_notes.back().errors.empty());
        // The dial's trace spans the note's smallest to largest error.
        QCOMPARE(dial.m_min_error, w.m_glErrorHistory->m_notes.back().min_err);
        QCOMPARE(dial.m_max_error, w.m_glErrorHistory->m_notes.back().max_err);

        // 440 x 2^(10/1200) = 442.549 Hz; error +0.1 semitone.
        QVERIFY(m_tones.start(nextName(), {"--note", "440:10", "--kind", "harmonic"}));
        QTRY_VERIFY_WITH_TIMEOUT(noteHeld(w) && std::fabs(w.m_error - 0.1) < 0.01, WAIT_MS);
        QTRY_VERIFY_WITH_TIMEOUT(std::fabs(w.m_freq - 442.549) < 0.15, WAIT_MS);
        QCOMPARE(w.ui_txtNote->text(), QStringLiteral("A4"));
        QCOMPARE(w.m_compared_freq, 440.0);
        QCOMPARE(statusColour(w), GREEN);
        QCOMPARE(dial.m_error, float(w.m_error));
        // Offset angle 150 k e with k = 50 / 50: 15 degrees, within 1.5 (1 cent).
        QVERIFY(std::fabs(150.0 * dial.m_error - 15.0) < 1.5);
        QVERIFY(needleDrawnAt(dial, dial.m_error));
        QVERIFY(!needleDrawnAt(dial, 0.0));
    }

    // The sign of the error: sharp is positive, flat negative.
    void errorSign_data()
    {
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("target");
        QTest::addColumn<double>("error");
        // 12 log2(442/440) = +0.0785 semitone.
        QTest::newRow("442 Hz") << "442"
                                << "A4" << 440.0 << 0.0785;
        // 12 log2(438/440) = -0.0789.
        QTest::newRow("438 Hz") << "438"
                                << "A4" << 440.0 << -0.0789;
        // E4 = 440 x 2^(-5/12) = 329.628 Hz, 20 cents flat: -0.2.
        QTest::newRow("E4 -20 cents") << "329.628:-20"
                                      << "E4" << 329.6276 << -0.2;
    }
    void errorSign()
    {
        QFETCH(QString, note);
        QFETCH(QString, name);
        QFETCH(double, target);
        QFETCH(double, error);
        QVERIFY(m_tones.start(nextName(), {"--note", note, "--kind", "harmonic"}));
        CustomInstrumentTunerForm w;
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(noteHeld(w) && std::fabs(w.m_error - error) < 0.01, WAIT_MS);
        QCOMPARE(w.ui_txtNote->text(), name);
        QVERIFY(std::fabs(w.m_compared_freq - target) < 0.001);
        QCOMPARE(statusColour(w), GREEN);
    }

    // The tuner connects its input to the configured source port itself, and at
    // factory settings a low note passes the range filter (one period of A1)
    // without the configuration being applied a second time.
    void lowNoteFromTheSourcePort()
    {
        const QString name = nextName();
        QVERIFY(m_tones.start(name, {"--note", "55", "--kind", "sine"}, QString()));
        m_folder->write(JACK + "Auto\\ui_chkJACKAutoConnect=true\nAuto\\ui_txtJACKSourcePort=" +
                        name.toLatin1() + ":out\n");
        CustomInstrumentTunerForm w;
        w.show();
        QTRY_COMPARE_WITH_TIMEOUT(w.ui_txtNote->text(), QStringLiteral("A1"), WAIT_MS);
        QTRY_VERIFY_WITH_TIMEOUT(std::fabs(w.m_freq - 55.0) < 0.1, WAIT_MS);
        QCOMPARE(w.m_compared_freq, 55.0);
        // 44100 / 55 = 801.8 -> 801 samples.
        QCOMPARE(w.m_rect_range_filter.size(), 801);
        QCOMPARE(w.m_range_filter, static_cast<Music::RTFilter*>(&w.m_rect_range_filter));
        QVERIFY(w.statusBar()->currentMessage().isEmpty());
    }

    // A source port that does not exist is reported in the status bar.
    void missingSourcePort()
    {
        m_folder->write(JACK + "Auto\\ui_chkJACKAutoConnect=true\nAuto\\ui_txtJACKSourcePort=nobody:out\n");
        CustomInstrumentTunerForm w;
        w.show();
        QTRY_COMPARE_WITH_TIMEOUT(w.statusBar()->currentMessage(),
                                  QStringLiteral("ERROR: JACK: Invalid source 'nobody:out'"), WAIT_MS);
    }

    // Clipping (a square wave at full scale) turns a held note orange.
    void clippedSquareIsOrange()
    {
        QVERIFY(m_tones.start(nextName(), {"--note", "440", "--kind", "square", "--amplitude", "1"}));
        CustomInstrumentTunerForm w;
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(noteHeld(w) && statusColour(w) == ORANGE, WAIT_MS);
        QCOMPARE(w.ui_txtNote->text(), QStringLiteral("A4"));
        // The same square at half scale is not clipped.
        QVERIFY(m_tones.start(nextName(), {"--note", "440", "--kind", "square", "--amplitude", "0.5"}));
        QTRY_VERIFY_WITH_TIMEOUT(noteHeld(w) && statusColour(w) == GREEN, WAIT_MS);
    }

    // Silence is grey, a stopped capture red; the read-outs keep their values.
    void silenceThenStoppedCapture()
    {
        QVERIFY(m_tones.start(nextName(), {"--note", "440", "--kind", "harmonic"}));
        CustomInstrumentTunerForm w;
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(noteHeld(w) && statusColour(w) == GREEN, WAIT_MS);
        m_tones.stop(); // the server goes on delivering silence to the tuner
        QTRY_VERIFY_WITH_TIMEOUT(!noteHeld(w) && statusColour(w) == GREY, WAIT_MS);
        QCOMPARE(w.m_compared_freq, 0.0);
        QCOMPARE(w.ui_txtNote->text(), QStringLiteral("A4"));
        // The read-out keeps the last held measurement: the mean of the estimates
        // that voted for A4 in the quantizer's window, which may include the
        // cycles where the tone broke off. Each of those lies within half a
        // semitone of A4, so their mean does too.
        const double shown = w.ui_txtFreq->value();
        QVERIFY2(std::fabs(std::log2(shown / 440.0) * 1200.0) < 50.0, qPrintable(QString::number(shown)));

        w.m_capture_thread.stopCapture();
        QTRY_COMPARE_WITH_TIMEOUT(statusColour(w), RED, WAIT_MS);
        QTest::qWait(200);
        QCOMPARE(statusColour(w), RED);
        QCOMPARE(w.ui_txtFreq->value(), shown);
        QCOMPARE(w.ui_txtNote->text(), QStringLiteral("A4"));
    }

    // Opening the configuration stops the capture; OK and Cancel restart it
    // unless the pause action is checked.
    void configurationStopsTheCapture()
    {
        QVERIFY(m_tones.start(nextName(), {"--note", "440", "--kind", "harmonic"}));
        CustomInstrumentTunerForm w;
        w.show();
        CustomConfigForm& c = w.m_config_form;
        QTRY_VERIFY_WITH_TIMEOUT(w.m_capture_thread.isCapturing(), WAIT_MS);

        w.configAction->trigger();
        QVERIFY(c.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!w.m_capture_thread.isCapturing(), WAIT_MS);
        // The dialog shows the transport in use and its rate.
        QCOMPARE(c.ui_cbTransports->currentText(), QStringLiteral("JACK"));
        QVERIFY(!c.ui_grpJACK->isHidden());
        QVERIFY(c.ui_grpQt->isHidden());
        QCOMPARE(c.ui_lblJACKSamplingRate->text(), QStringLiteral("44100"));
        QTRY_COMPARE_WITH_TIMEOUT(statusColour(w), RED, WAIT_MS);
        c.reject();
        QVERIFY(!c.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(w.m_capture_thread.isCapturing(), WAIT_MS);
        QTRY_VERIFY_WITH_TIMEOUT(noteHeld(w) && statusColour(w) == GREEN, WAIT_MS);

        w.configure();
        QTRY_VERIFY_WITH_TIMEOUT(!w.m_capture_thread.isCapturing(), WAIT_MS);
        c.accept();
        QTRY_VERIFY_WITH_TIMEOUT(w.m_capture_thread.isCapturing(), WAIT_MS);
        QTRY_COMPARE_WITH_TIMEOUT(w.ui_txtNote->text(), QStringLiteral("A4"), WAIT_MS);

        // Paused: neither OK nor Cancel restarts the capture.
        w.pauseAction->setChecked(true);
        w.configure();
        QTRY_VERIFY_WITH_TIMEOUT(!w.m_capture_thread.isCapturing(), WAIT_MS);
        c.accept();
        QTest::qWait(300);
        QVERIFY(!w.m_capture_thread.isCapturing());
        w.configure();
        c.reject();
        QTest::qWait(300);
        QVERIFY(!w.m_capture_thread.isCapturing());
        // Unpaused, the next OK restarts it.
        w.pauseAction->setChecked(false);
        w.configure();
        c.accept();
        QTRY_VERIFY_WITH_TIMEOUT(w.m_capture_thread.isCapturing(), WAIT_MS);
    }

    // A connection made by hand to "orfe:input" (as with a patchbay) survives the
    // dialog: Configure closes the client, Cancel opens it again with that connection.
    void handMadeConnectionSurvivesTheDialog()
    {
        const QString name = nextName();
        QVERIFY(m_tones.start(name, {"--note", "440", "--kind", "harmonic"}, QString()));
        CustomInstrumentTunerForm w;
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(w.m_capture_thread.isCapturing(), WAIT_MS);
        QCOMPARE(QProcess::execute("jack_connect", {name + ":out", "orfe:input"}), 0);
        QTRY_VERIFY_WITH_TIMEOUT(noteHeld(w) && w.ui_txtNote->text() == "A4", WAIT_MS);
        w.configure();
        QTRY_VERIFY_WITH_TIMEOUT(!w.m_capture_thread.isCapturing(), WAIT_MS);
        w.m_config_form.reject();
        QTRY_VERIFY_WITH_TIMEOUT(noteHeld(w) && w.ui_txtNote->text() == "A4" && statusColour(w) == GREEN,
                                 WAIT_MS);
    }

    // The JACK server dies and comes back (a server of this test's own): the error
    // shows, no note is shown while the capture is dead, and the tuner resumes by
    // itself; the error goes when the capture runs again.
    void serverRestartResumes()
    {
        const QByteArray own = qgetenv("ORFE_TEST_OWN_SERVER");
        QVERIFY2(!own.isEmpty(), "ORFE_TEST_OWN_SERVER is not set");
        // The window's client and the players' go to that server for this test only.
        struct ServerName
        {
            QByteArray fixture = qgetenv("JACK_DEFAULT_SERVER");
            ~ServerName() { qputenv("JACK_DEFAULT_SERVER", fixture); }
        } restore;
        qputenv("JACK_DEFAULT_SERVER", own);
        OwnJackServer server(own);
        QVERIFY2(server.start(), "jackd did not start");
        QVERIFY(m_tones.start(nextName(), {"--note", "440", "--kind", "harmonic"}));
        CustomInstrumentTunerForm w;
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(noteHeld(w) && w.ui_txtNote->text() == "A4", WAIT_MS);

        QVERIFY(server.kill());
        m_tones.stop();
        QTRY_COMPARE_WITH_TIMEOUT(w.statusBar()->currentMessage(),
                                  QStringLiteral("ERROR: JACK: server shutdown !"), WAIT_MS);
        QTRY_VERIFY_WITH_TIMEOUT(!w.m_capture_thread.isCapturing(), WAIT_MS);
        QTRY_VERIFY_WITH_TIMEOUT(w.ui_txtNote->text().isEmpty() && !noteHeld(w), WAIT_MS);
        QCOMPARE(w.ui_txtFreq->value(), 0.0);
        QCOMPARE(w.ui_txtNoteFreq->value(), 0.0);
        QCOMPARE(statusColour(w), RED);

        QVERIFY2(server.start(), "jackd did not restart");
        QVERIFY(m_tones.start(nextName(), {"--note", "440", "--kind", "harmonic"}));
        QTRY_VERIFY_WITH_TIMEOUT(noteHeld(w) && w.ui_txtNote->text() == "A4" && statusColour(w) == GREEN,
                                 WAIT_MS);
        QVERIFY(w.statusBar()->currentMessage().isEmpty());
        m_tones.stop();
        w.m_capture_thread.stopCapture();
        QVERIFY(server.stop());
    }

    // An offset of 50 cents moves the reference to 440 x 2^(0.5/12) = 452.893 Hz:
    // a tone there is an A4 in tune, and 440 Hz is no longer the target.
    void offsetMovesTheTarget()
    {
        QVERIFY(m_tones.start(nextName(), {"--note", "452.893", "--kind", "harmonic"}));
        m_folder->write(JACK + "Auto\\ui_chkShowA4Offset=true\nAuto\\ui_spinA3Offset=50\n");
        CustomInstrumentTunerForm w;
        w.show();
        QVERIFY(std::fabs(Music::GetAFreq() - 452.893) < 0.001);
        QTRY_VERIFY_WITH_TIMEOUT(noteHeld(w) && std::fabs(w.m_error) < 0.01, WAIT_MS);
        QCOMPARE(w.ui_txtNote->text(), QStringLiteral("A4"));
        QVERIFY(std::fabs(w.m_compared_freq - 452.893) < 0.001);
        QVERIFY(std::fabs(w.ui_txtNoteFreq->value() - 452.893) < 0.001);
    }
};

QTEST_MAIN(TestJack)
#include "tst_jack.moc"
