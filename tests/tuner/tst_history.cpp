// The error and volume histories in the running tuner, fed by a real JACK
// server: notes played in turn with "K" on leave one labelled segment each, the
// dial's trace follows the current note, and the histories' settings survive a
// restart when saved.

#include "GLErrorHistory.h"
#include "GLVolumeHistory.h"
#include "TunerTestUtil.h"

#include <QPushButton>

using namespace tunertest;

namespace {

const QByteArray JACK = "ui_cbTransports=JACK\nAuto\\ui_chkAutoDetect=false\n";
const int WAIT_MS = 8000 * tunertest::WAIT_FACTOR;

// Columns right of the scale margin that are the separators' grey over most of
// the height, grouped into runs of adjacent columns: one run per separator.
int separatorRuns(const QImage& img, int margin)
{
    const QColor grey(191, 191, 191); // 0.75 of full scale
    int runs = 0;
    bool in_run = false;
    for (int x = margin + 1; x < img.width(); ++x) {
        int count = 0;
        for (int y = 0; y < img.height(); ++y)
            if (QColor(img.pixel(x, y)) == grey) ++count;
        const bool full = count >= img.height() * 8 / 10;
        if (full && !in_run) ++runs;
        in_run = full;
    }
    return runs;
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

    std::unique_ptr<SettingsFolder> m_folder;
    TonePlayer m_tones;
    int m_players = 0;

    QString nextName() { return QStringLiteral("orfe-hist-%1").arg(++m_players); }

    // Plays `note` until the window names it and its history note has gathered
    // some errors.
    void play(CustomInstrumentTunerForm& w, const QString& note, const QString& name, int count)
    {
        QVERIFY(m_tones.start(nextName(), {"--note", note, "--kind", "harmonic"}));
        QTRY_VERIFY_WITH_TIMEOUT(w.ui_txtNote->text() == name &&
                                     int(w.m_glErrorHistory->m_notes.size()) == count &&
                                     w.m_glErrorHistory->m_notes.back().errors.size() > 20,
                                 WAIT_MS);
    }

private slots:
    void initTestCase() { Q_INIT_RESOURCE(orfe); }

    void init()
    {
        resetPitchModel();
        m_folder = std::make_unique<SettingsFolder>();
        m_folder->write(JACK);
    }

    void cleanup() { m_tones.stop(); }

    void threeNotesKept()
    {
        CustomInstrumentTunerForm w;
        w.resize(900, 700);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        GLErrorHistory& errors = *w.m_glErrorHistory;
        GLVolumeHistory& volumes = *w.m_glVolumeHistory;
        volumes.m_show_action->setChecked(true);
        QVERIFY(volumes.isVisible());

        // "K" checks the keep button, which checks both histories' keep actions.
        QVERIFY(!errors.keep->isChecked());
        w.activateWindow(); // the shortcut belongs to the active window
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_K);
        QTRY_VERIFY(w.ui_btnKeepErrorHistory->isChecked());
        QVERIFY(errors.keep->isChecked());
        QVERIFY(volumes.keep->isChecked());

        // A4, C5 five cents sharp, E5 eight cents flat.
        play(w, "440", "A4", 1);
        if (QTest::currentTestFailed()) return;
        play(w, "523.251:5", "C5", 2);
        if (QTest::currentTestFailed()) return;
        play(w, "659.255:-8", "E5", 3);
        if (QTest::currentTestFailed()) return;
        w.pauseAction->setChecked(true); // freeze the histories for the checks
        QVERIFY(!w.m_timer_refresh.isActive());

        QCOMPARE(int(errors.m_notes.size()), 3);
        const QStringList labels{"A4", "C5", "E5"};
        const double cents[] = {0.0, 5.0, -8.0};
        for (int i = 0; i < 3; ++i) {
            const GLErrorHistory::Note& n = errors.m_notes[size_t(i)];
            QCOMPARE(n.label(), labels[i]);
            QVERIFY(n.min_err <= n.avg_err && n.avg_err <= n.max_err);
            // The note's mean error is its detuning (errors in semitones), within a cent.
            QVERIFY2(std::fabs(100.0 * n.avg_err - cents[i]) < 1.0,
                     qPrintable(QString::number(100.0 * n.avg_err)));
        }
        QCOMPARE(int(volumes.m_notes.size()), 3);
        QCOMPARE(volumes.m_notes[0].ht, 0); // A4
        QCOMPARE(volumes.m_notes[1].ht, 3); // C5
        QCOMPARE(volumes.m_notes[2].ht, 7); // E5
        for (const auto& n : volumes.m_notes)
            QVERIFY(!n.volumes.empty());

        // The dial's trace spans the current note's smallest to largest error.
        const GLErrorHistory::Note& last = errors.m_notes.back();
        QCOMPARE(w.m_dialTune->m_min_error, last.min_err);
        QCOMPARE(w.m_dialTune->m_max_error, last.max_err);
        QVERIFY(last.min_err <= float(w.m_error) && float(w.m_error) <= last.max_err);

        // On screen: three segments, so two separators.
        const QImage img = errors.grabFramebuffer();
        QCOMPARE(separatorRuns(img, 29), 2);

        // Keep off: only the current note stays, in both histories.
        w.ui_btnKeepErrorHistory->setChecked(false);
        QCOMPARE(int(errors.m_notes.size()), 1);
        QCOMPARE(errors.m_notes.back().label(), QString("E5"));
        QCOMPARE(int(volumes.m_notes.size()), 1);
        QCOMPARE(separatorRuns(errors.grabFramebuffer(), 29), 0);
    }

    void withoutKeepOneNote()
    {
        CustomInstrumentTunerForm w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!w.ui_btnKeepErrorHistory->isChecked());
        play(w, "440", "A4", 1);
        if (QTest::currentTestFailed()) return;
        play(w, "523.251", "C5", 1);
        if (QTest::currentTestFailed()) return;
        QCOMPARE(w.m_glErrorHistory->m_notes.back().label(), QString("C5"));
    }

    void settingsSurviveARestart()
    {
        {
            CustomInstrumentTunerForm w;
            w.m_glVolumeHistory->m_show_action->setChecked(true);
            w.ui_btnKeepErrorHistory->setChecked(true);
            w.m_glErrorHistory->useCents->setChecked(false);
            w.m_glErrorHistory->spinScale->setValue(20);
            w.saveSettings();
        }
        CustomInstrumentTunerForm w;
        QVERIFY(w.m_glVolumeHistory->m_show_action->isChecked());
        QVERIFY(w.m_glErrorHistory->keep->isChecked());
        QVERIFY(w.m_glVolumeHistory->keep->isChecked());
        QVERIFY(w.ui_btnKeepErrorHistory->isChecked());
        QVERIFY(!w.m_glErrorHistory->useCents->isChecked());
        QCOMPARE(w.m_glErrorHistory->spinScale->value(), 20);
        // The dial follows its twin.
        QVERIFY(!w.m_dialTune->useCents->isChecked());
        QCOMPARE(w.m_dialTune->spinScale->value(), 20);
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
