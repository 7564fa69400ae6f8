// The tuner on the Qt audio input, through a real PulseAudio server (fixture
// pulse), and through the PulseAudio server of a real PipeWire session (fixture
// pipewire, the functions named in tests/tuner/CMakeLists.txt): a tone played into
// the null sink with pacat comes back on the Qt input device "null.monitor", the
// servers' default source. And the move of the capture between the JACK server
// (fixture jackd44100) and the Qt input when the transport is changed in the
// configuration dialog.

#include "TunerTestUtil.h"

#include "CaptureThreadImpl.h"
#include "CaptureThreadImplQt.h"
#include <QStatusBar>

using namespace tunertest;

namespace {

const int WAIT_MS = 8000 * tunertest::WAIT_FACTOR;

bool noteHeld(const CustomInstrumentTunerForm& w)
{
    return w.m_quantizer->m_quantized_freq > 0.0;
}

// pacat playing a harmonic tone (partials 1 to 4 at amplitudes 1, 1/2, 1/3,
// 1/4, peak 0.5) into the null sink, as 16-bit mono at 44100 Hz.
class PulseTone
{
public:
    ~PulseTone() { stop(); }
    bool start(double freq, double seconds = 30.0)
    {
        stop();
        m_process = std::make_unique<QProcess>();
        m_process->setProcessChannelMode(QProcess::ForwardedChannels);
        // Without the preload a sanitizer build gives the window (the sanitizer's runtime
        // and Mesa's driver): in pacat it keeps the tone from ever playing.
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.remove("LD_PRELOAD");
        m_process->setProcessEnvironment(e);
        m_process->start("pacat", {"--playback", "--device=null", "--raw", "--format=s16le", "--rate=44100",
                                   "--channels=1"});
        if (!m_process->waitForStarted(5000)) return false;
        const int rate = 44100;
        const int n = int(seconds * rate);
        std::vector<double> s(size_t(n), 0.0);
        double peak = 0.0;
        for (int i = 0; i < n; ++i) {
            for (int h = 1; h <= 4; ++h)
                s[size_t(i)] += std::sin(2.0 * M_PI * h * freq * i / rate + 0.7 * h * h) / h;
            peak = std::max(peak, std::fabs(s[size_t(i)]));
        }
        QByteArray bytes(n * 2, '\0');
        for (int i = 0; i < n; ++i) {
            const qint16 v = qint16(std::lround(0.5 * s[size_t(i)] / peak * 32767.0));
            bytes[2 * i] = char(v & 0xff);
            bytes[2 * i + 1] = char((v >> 8) & 0xff);
        }
        m_process->write(bytes);
        return true;
    }
    void stop() { stopProcess(m_process); }

private:
    std::unique_ptr<QProcess> m_process;
};

// The JACK server's port list.
QString jackPorts()
{
    QProcess p;
    p.start("jack_lsp", QStringList());
    p.waitForFinished(5000);
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// Chooses a transport in the dialog as the user does (the list's activation)
// and presses OK.
void chooseTransport(CustomInstrumentTunerForm& w, const QString& name)
{
    CustomConfigForm& c = w.m_config_form;
    w.configure();
    const int i = c.ui_cbTransports->findText(name);
    QVERIFY(i >= 0);
    c.ui_cbTransports->setCurrentIndex(i);
    // The window listens to the list's activated(const QString&).
    QVERIFY(QMetaObject::invokeMethod(c.ui_cbTransports, "activated", Q_ARG(QString, name)));
    QVERIFY(c.ui_grpQt->isHidden() == (name != "Qt"));
    QVERIFY(c.ui_grpJACK->isHidden() == (name != "JACK"));
    if (name == "Qt") {
        const int d = c.ui_cbQtDeviceName->findText("null.monitor");
        QVERIFY(d >= 0);
        c.ui_cbQtDeviceName->setCurrentIndex(d);
        // Opening the dialog copied the rate in use (JACK's) into the Qt rate;
        // the user asks for another one.
        QCOMPARE(c.ui_spinQtSamplingRate->value(), 44100);
        c.ui_chkQtSamplingRateMax->setChecked(false);
        c.ui_spinQtSamplingRate->setValue(22050);
    }
    c.accept();
}

// The share of `samples` looks at the status label, every 100 ms, that are green.
int greenSamples(const CustomInstrumentTunerForm& w, int samples)
{
    int green = 0;
    for (int i = 0; i < samples; ++i) {
        QTest::qWait(100);
        green += statusColour(w) == GREEN;
    }
    return green;
}

} // namespace

class TestQtAudio : public QObject
{
    Q_OBJECT

    std::unique_ptr<SettingsFolder> m_folder;
    PulseTone m_pulse;

private slots:
    void initTestCase() { Q_INIT_RESOURCE(orfe); }

    void init()
    {
        resetPitchModel();
        m_folder = std::make_unique<SettingsFolder>();
    }

    void cleanup() { m_pulse.stop(); }

    // Factory settings, no dialog: the Qt input is detected first and hears the
    // default device; over two seconds of steady tone the status stays green (the
    // sound arrives in packets shorter than the refresh period; in bursts of a second
    // nearly every cycle would find nothing new and show red).
    void freshStartOnTheDefaultDevice()
    {
        QVERIFY(m_pulse.start(440.0));
        CustomInstrumentTunerForm w;
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(noteHeld(w) && w.ui_txtNote->text() == "A4" && statusColour(w) == GREEN,
                                 WAIT_MS);
        QCOMPARE(w.m_capture_thread.getCurrentTransport()->getName(), QStringLiteral("Qt"));
        auto* qt = static_cast<CaptureThreadImplQt*>(w.m_capture_thread.getCurrentTransport());
        QCOMPARE(qt->device().deviceName(), QStringLiteral("null.monitor"));
        QCOMPARE(w.m_capture_thread.getSamplingRate(), 22050);
        // 20 looks: a cycle that found nothing new now and then is no fault, a
        // status that is mostly red is.
        const int green = greenSamples(w, 20);
        QVERIFY2(green >= 15, qPrintable(QString("green in %1 of 20 looks").arg(green)));
    }

    // Another device chosen in the dialog is the one captured from.
    void deviceChosenInTheDialog()
    {
        QVERIFY(m_pulse.start(440.0));
        CustomInstrumentTunerForm w;
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(noteHeld(w), WAIT_MS);
        auto* qt = static_cast<CaptureThreadImplQt*>(w.m_capture_thread.getCurrentTransport());
        CustomConfigForm& c = w.m_config_form;
        w.configure();
        const int d = c.ui_cbQtDeviceName->findText("alsa_to_server");
        QVERIFY(d >= 0);
        c.ui_cbQtDeviceName->setCurrentIndex(d);
        c.accept();
        QCOMPARE(qt->device().deviceName(), QStringLiteral("alsa_to_server"));
        QVERIFY(w.m_capture_thread.isCapturing());
        QTRY_VERIFY_WITH_TIMEOUT(noteHeld(w) && w.ui_txtNote->text() == "A4", WAIT_MS);
    }

    // Pause, Configure, OK, unpause: the capture runs again.
    void unpauseAfterTheDialog()
    {
        QVERIFY(m_pulse.start(440.0));
        CustomInstrumentTunerForm w;
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(noteHeld(w), WAIT_MS);
        w.pauseAction->setChecked(true);
        w.configure();
        w.m_config_form.accept();
        QVERIFY(!w.m_capture_thread.isCapturing());
        w.pauseAction->setChecked(false);
        QVERIFY(w.m_capture_thread.isCapturing());
        QTRY_VERIFY_WITH_TIMEOUT(noteHeld(w) && statusColour(w) == GREEN, WAIT_MS);
    }

    void a4OnTheQtInput()
    {
        m_folder->write("ui_cbTransports=Qt\nui_cbQtDeviceName=null.monitor\nAuto\\ui_chkAutoDetect=false\n");
        QVERIFY(m_pulse.start(440.0));
        CustomInstrumentTunerForm w;
        w.show();
        QCOMPARE(w.m_config_form.ui_cbQtDeviceName->currentText(), QStringLiteral("null.monitor"));
        QTRY_COMPARE_WITH_TIMEOUT(w.ui_txtNote->text(), QStringLiteral("A4"), WAIT_MS);
        QTRY_VERIFY_WITH_TIMEOUT(noteHeld(w) && std::fabs(w.m_freq - 440.0) < 0.1 && statusColour(w) == GREEN,
                                 WAIT_MS);
        QCOMPARE(w.m_capture_thread.getCurrentTransport()->getName(), QStringLiteral("Qt"));
        // The factory rate of the Qt input.
        QCOMPARE(w.m_capture_thread.getSamplingRate(), 22050);
        QCOMPARE(Music::GetSamplingRate(), 22050);
        QCOMPARE(w.ui_txtNoteFreq->value(), 440.0);
        QVERIFY(std::fabs(w.m_error) < 0.004);
        QVERIFY(w.statusBar()->currentMessage().isEmpty());
    }

    // JACK -> Qt -> JACK through the dialog: the JACK client leaves and comes
    // back, and the analysis follows each transport's rate.
    void transportMovesWithTheDialog()
    {
        m_folder->write("ui_cbTransports=JACK\nAuto\\ui_chkAutoDetect=false\n");
        TonePlayer jack_tone;
        QVERIFY(jack_tone.start("orfe-qt-src", {"--note", "440", "--kind", "harmonic"}));
        CustomInstrumentTunerForm w;
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(noteHeld(w) && w.ui_txtNote->text() == "A4", WAIT_MS);
        QCOMPARE(Music::GetSamplingRate(), 44100);
        QVERIFY(jackPorts().contains("orfe:input"));

        // To the Qt input at 22050 Hz, with E4 (440 x 2^(-5/12) = 329.628 Hz) playing there.
        QVERIFY(m_pulse.start(329.6276));
        chooseTransport(w, "Qt");
        QCOMPARE(w.m_capture_thread.getCurrentTransport()->getName(), QStringLiteral("Qt"));
        QTRY_VERIFY_WITH_TIMEOUT(w.m_capture_thread.isCapturing(), WAIT_MS);
        QTRY_VERIFY_WITH_TIMEOUT(!jackPorts().contains("orfe:input"), WAIT_MS);
        QTRY_COMPARE_WITH_TIMEOUT(w.ui_txtNote->text(), QStringLiteral("E4"), WAIT_MS);
        QCOMPARE(Music::GetSamplingRate(), 22050);
        QTRY_VERIFY_WITH_TIMEOUT(std::fabs(w.m_freq - 329.6276) < 0.1, WAIT_MS);

        // And back: the JACK rate is in force again although the JACK transport
        // saw no change of its own rate.
        chooseTransport(w, "JACK");
        QCOMPARE(w.m_capture_thread.getCurrentTransport()->getName(), QStringLiteral("JACK"));
        QTRY_VERIFY_WITH_TIMEOUT(jackPorts().contains("orfe:input"), WAIT_MS);
        QTRY_COMPARE_WITH_TIMEOUT(Music::GetSamplingRate(), 44100, WAIT_MS);
        QTRY_COMPARE_WITH_TIMEOUT(w.ui_txtNote->text(), QStringLiteral("A4"), WAIT_MS);
        QTRY_VERIFY_WITH_TIMEOUT(std::fabs(w.m_freq - 440.0) < 0.1, WAIT_MS);
        QCOMPARE(w.m_rect_range_filter.size(), 801); // one period of A1 at 44100 Hz
    }
};

QTEST_MAIN(TestQtAudio)
#include "tst_qtaudio.moc"
