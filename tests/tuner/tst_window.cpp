// The main window's own logic, without sound: the range filter's length when a
// rate is reported, the reference frequency and its offset, the dialog's note
// labels, the transport error in the status bar, pause, full screen, the views'
// placement and the controls kept in step, and the note start. The capture is
// the real OSS transport on a device file that does not exist, so that it
// fails the same way every time.

#include "GLErrorHistory.h"
#include "GLFT.h"
#include "GLFreqStruct.h"
#include "GLGraph.h"
#include "GLSample.h"
#include "GLStatistics.h"
#include "GLVolumeHistory.h"
#include "MicrotonalView.h"
#include "TunerTestUtil.h"

#include <QAction>
#include <QStatusBar>
#include <QToolBar>

using namespace tunertest;

namespace {

// The OSS transport on a missing device, no auto-detection.
const QByteArray NO_DEVICE = "ui_cbTransports=OSS\nAuto\\ui_chkAutoDetect=false\n"
                             "Auto\\ui_txtOSSPCMName=/nonexistent/orfe-dsp\n";

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<SettingsFolder> m_folder;

private slots:
    void initTestCase() { Q_INIT_RESOURCE(orfe); }

    void init()
    {
        resetPitchModel();
        m_folder = std::make_unique<SettingsFolder>();
        m_folder->write(NO_DEVICE);
    }

    // A reported rate first gives the rectangular filter rate/2000 samples; with
    // range filtering on, it then gets one period of the lowest note at once.
    void rangeFilterFollowsTheRate_data()
    {
        QTest::addColumn<bool>("filtering");
        QTest::addColumn<int>("min_ht");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("expected");
        // Lowest note A1 = 440 / 8 = 55 Hz: 44100 / 55 = 801.8 -> 801.
        QTest::newRow("on, A1, 44100") << true << -36 << 44100 << 801;
        // 48000 / 55 = 872.7 -> 872.
        QTest::newRow("on, A1, 48000") << true << -36 << 48000 << 872;
        // Lowest note A2 = 110 Hz: 44100 / 110 = 400.9 -> 400.
        QTest::newRow("on, A2, 44100") << true << -24 << 44100 << 400;
        // Filtering off: only the short window, 44100 / 2000 = 22.05 -> 22.
        QTest::newRow("off, 44100") << false << -36 << 44100 << 22;
        // 96000 / 2000 = 48.
        QTest::newRow("off, 96000") << false << -36 << 96000 << 48;
    }
    void rangeFilterFollowsTheRate()
    {
        QFETCH(bool, filtering);
        QFETCH(int, min_ht);
        QFETCH(int, rate);
        QFETCH(int, expected);
        m_folder->write(NO_DEVICE + "Auto\\ui_grpRangeFiltering=" + (filtering ? "true" : "false") +
                        "\nAuto\\ui_spinMinHT=" + QByteArray::number(min_ht) + "\n");
        CustomInstrumentTunerForm w(CaptureThread::transportsWithoutJack());
        w.samplingRateChanged(rate);
        QCOMPARE(Music::GetSamplingRate(), rate);
        QVERIFY(w.m_detector->size() > 0); // re-planned for the rate
        QCOMPARE(w.m_rect_range_filter.size(), expected);
        // The filter in use is the one the configuration chose.
        QCOMPARE(w.m_range_filter, filtering ? static_cast<Music::RTFilter*>(&w.m_rect_range_filter)
                                             : static_cast<Music::RTFilter*>(&w.m_dummy_range_filter));
        // Applying the configuration again gives the same length.
        w.configure_ok();
        QCOMPARE(w.m_rect_range_filter.size(), expected);
    }

    void referenceWithOffset_data()
    {
        QTest::addColumn<bool>("offset_on");
        QTest::addColumn<int>("freq");
        QTest::addColumn<int>("cents");
        QTest::addColumn<double>("expected");
        // 440 x 2^(0.5 / 12) = 440 x 1.0293022 = 452.893.
        QTest::newRow("440 +50") << true << 440 << 50 << 452.893;
        // 415 x 2^(-0.3 / 12) = 415 x 0.9828206 = 407.871.
        QTest::newRow("415 -30") << true << 415 << -30 << 407.871;
        // Offset box unchecked: the spin box value alone.
        QTest::newRow("440, offset off") << false << 440 << 50 << 440.0;
        QTest::newRow("442, offset off") << false << 442 << -20 << 442.0;
    }
    void referenceWithOffset()
    {
        QFETCH(bool, offset_on);
        QFETCH(int, freq);
        QFETCH(int, cents);
        QFETCH(double, expected);
        CustomInstrumentTunerForm w(CaptureThread::transportsWithoutJack());
        w.m_config_form.ui_chkShowA4Offset->setChecked(offset_on);
        w.ui_spinAFreq->setValue(freq);
        w.ui_spinA3Offset->setValue(cents);
        QVERIFY(std::fabs(Music::GetAFreq() - expected) < 0.001);
        // The offset controls show once the configuration is applied with the box checked.
        w.show();
        w.configure_ok();
        QCOMPARE(w.ui_spinA3Offset->isVisible(), offset_on);
        QCOMPARE(w.ui_lblA3Offset->isVisible(), offset_on);
    }

    void offsetFromTheStore()
    {
        // Loading applies the check box first, then the two spin boxes.
        m_folder->write(NO_DEVICE + "Auto\\ui_chkShowA4Offset=true\nAuto\\ui_spinA3Offset=50\n");
        CustomInstrumentTunerForm w(CaptureThread::transportsWithoutJack());
        QVERIFY(std::fabs(Music::GetAFreq() - 452.893) < 0.001);
        // Unchecking and changing a spin box returns to the plain value.
        w.m_config_form.ui_chkShowA4Offset->setChecked(false);
        w.ui_spinA3Offset->setValue(49);
        QCOMPARE(Music::GetAFreq(), 440.0);
    }

    void noteRangeLabels()
    {
        CustomInstrumentTunerForm w(CaptureThread::transportsWithoutJack());
        w.configure();
        QCOMPARE(w.m_config_form.ui_txtMinHT->text(), QStringLiteral("A1 = 55 hz"));
        QCOMPARE(w.m_config_form.ui_txtMaxHT->text(), QStringLiteral("A8 = 7040 hz"));
        // The labels follow the spin boxes at once; the names use the style and
        // transposition last applied.
        w.m_config_form.ui_spinMinHT->setValue(-33); // C2 = 440 x 2^(-33/12) = 65.4064
        QCOMPARE(w.m_config_form.ui_txtMinHT->text(), QStringLiteral("C2 = 65.4064 hz"));
        w.m_config_form.ui_spinTransposition->setValue(2);
        QCOMPARE(w.m_config_form.ui_lblTransposition->text(), QString::fromUtf8("C4 \u2192 D4"));
        QCOMPARE(w.m_config_form.ui_txtMinHT->text(), QStringLiteral("C2 = 65.4064 hz")); // not applied yet
        w.m_config_form.accept();
        w.noteRangeChanged();
        // Two semitones up the names, same frequencies.
        QCOMPARE(w.m_config_form.ui_txtMinHT->text(), QStringLiteral("D2 = 65.4064 hz"));
        QCOMPARE(w.m_config_form.ui_txtMaxHT->text(), QStringLiteral("B8 = 7040 hz"));
        // The transposition tooltip names the notes of the reference style.
        // n(-9) = C4, n(-18) = E flat 3, n(-11) = B flat 3.
        QCOMPARE(
            w.m_config_form.ui_spinTransposition->toolTip(),
            QString::fromUtf8("Transposition in number of semitones relative to C4.\nUseful to convert note "
                              "names to a corresponding transposing instrument (e.g. E\u266D3 for saxophone, "
                              "B\u266D3 for trumpet)."));
        QCOMPARE(w.m_config_form.ui_chkShowA4Offset->text(),
                 QStringLiteral("Allows adding an offset to the reference A4"));
    }

    // The transport's failure shows in the status bar and turns the label red;
    // the cycles then find no sample and keep it red.
    void transportErrorInTheStatusBar()
    {
        CustomInstrumentTunerForm w(CaptureThread::transportsWithoutJack());
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(w.statusBar()->currentMessage().startsWith("ERROR: "), 5000);
        QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("ERROR: OSS: No such file or directory"));
        QCOMPARE(statusColour(w), RED);
        QTest::qWait(200);
        QCOMPARE(statusColour(w), RED);
        QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("ERROR: OSS: No such file or directory"));
        QVERIFY(w.ui_txtNote->text().isEmpty());
    }

    void errorRaisedPaintsRed()
    {
        CustomInstrumentTunerForm w(CaptureThread::transportsWithoutJack());
        w.setStatusColour(GREEN);
        w.errorRaised("something broke");
        QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("ERROR: something broke"));
        QCOMPARE(statusColour(w), RED);
        const QPalette p = w.ui_lblSoundStability->palette();
        QCOMPARE(p.color(QPalette::Inactive, w.ui_lblSoundStability->backgroundRole()), RED);
        QCOMPARE(p.color(QPalette::Disabled, w.ui_lblSoundStability->backgroundRole()), RED);
    }

    void pauseStopsTheTimer()
    {
        CustomInstrumentTunerForm w(CaptureThread::transportsWithoutJack());
        QVERIFY(w.m_timer_refresh.isActive());
        QCOMPARE(w.m_timer_refresh.interval(), 20);
        w.pauseAction->setChecked(true);
        QVERIFY(!w.m_timer_refresh.isActive());
        QVERIFY(w.m_capture_thread.isPaused());
        // The refresh time in force when unpausing.
        w.m_config_form.ui_spinRefreshTime->setValue(35);
        w.pauseAction->setChecked(false);
        QVERIFY(w.m_timer_refresh.isActive());
        QCOMPARE(w.m_timer_refresh.interval(), 35);
        QVERIFY(!w.m_capture_thread.isPaused());
    }

    // F toggles full screen; a stored full-screen choice starts full screen.
    // (The toggle is process-wide: these steps run in this order.)
    void fullScreen()
    {
        {
            CustomInstrumentTunerForm w(CaptureThread::transportsWithoutJack());
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QVERIFY(!w.isFullScreen());
            QTest::keyClick(&w, Qt::Key_F);
            QVERIFY(w.isFullScreen());
            QVERIFY(w.m_config_form.ui_chkFullScreen->isChecked());
            QTest::keyClick(&w, Qt::Key_F);
            QVERIFY(!w.isFullScreen());
            QVERIFY(!w.m_config_form.ui_chkFullScreen->isChecked());
            // Other keys do nothing.
            QTest::keyClick(&w, Qt::Key_G);
            QVERIFY(!w.isFullScreen());
        }
        m_folder->write(NO_DEVICE + "Auto\\ui_chkFullScreen=true\n");
        CustomInstrumentTunerForm w(CaptureThread::transportsWithoutJack());
        QVERIFY(w.isFullScreen());
        QTest::keyClick(&w, Qt::Key_F);
        QVERIFY(!w.isFullScreen());
    }

    void viewsPlacement()
    {
        CustomInstrumentTunerForm w(CaptureThread::transportsWithoutJack());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.m_dialTune && w.m_glErrorHistory && w.m_glVolumeHistory);
        QVERIFY(w.ui_dialTuneLayout->indexOf(w.m_dialTune) >= 0);
        QVERIFY(w.ui_errorLayout->indexOf(w.m_glErrorHistory) >= 0);
        QVERIFY(w.ui_volumeLayout->indexOf(w.m_glVolumeHistory) >= 0);
        QCOMPARE(w.m_dialTune->parentWidget(), w.centralwidget);
        // The views in construction order in the registry, and the show actions
        // of the optional ones, in the same order; never the dial's.
        const std::vector<View*> views{
            w.m_dialTune,     w.m_glGraph, w.m_glErrorHistory, w.m_glVolumeHistory, w.m_glSample,
            w.m_glFreqStruct, w.m_glFT,    w.m_microtonalView, w.m_glStatistics};
        QCOMPARE(std::vector<View*>(View::s_views.begin(), View::s_views.end()), views);
        const QList<QAction*> actions = w.ui_tbViews->actions();
        QCOMPARE(actions.size(), int(views.size()) - 1);
        for (int i = 0; i < actions.size(); ++i)
            QCOMPARE(actions[i], views[size_t(i) + 1]->m_show_action);
        QVERIFY(w.ui_sampleLayout->indexOf(w.m_glSample) >= 0);
        QVERIFY(w.ui_formantsLayout->indexOf(w.m_glFreqStruct) >= 0);
        // The statistics below the microtonal view.
        QCOMPARE(w.ui_microtonalLayout->indexOf(w.m_microtonalView), 0);
        QCOMPARE(w.ui_microtonalLayout->indexOf(w.m_glStatistics), 1);
        QVERIFY(w.ui_graphLayout->indexOf(w.m_glGraph) >= 0);
        QVERIFY(w.ui_FT->indexOf(w.m_glFT) >= 0);

        // Factory: error history shown, volume history hidden, keep button shown,
        // the dial limited to the labels column.
        QVERIFY(w.m_glErrorHistory->isVisible());
        QVERIFY(!w.m_glVolumeHistory->isVisible());
        QVERIFY(w.ui_btnKeepErrorHistory->isVisible());
        QCOMPARE(w.m_dialTune->maximumWidth(), w.ui_rightLayout->minimumSize().width());

        // The captured sound view alone takes the window's height; with another
        // view its own height limit.
        QVERIFY(w.m_glGraph->isVisible());
        QCOMPARE(w.m_glGraph->maximumHeight(), w.m_glGraph->spinMaxHeight->value());
        w.m_glErrorHistory->m_show_action->setChecked(false);
        QCOMPARE(w.m_glGraph->maximumHeight(), w.height());
        w.m_glGraph->spinMaxHeight->setValue(w.m_glGraph->spinMaxHeight->value() + 10);
        QCOMPARE(w.m_glGraph->maximumHeight(), w.height());

        // Hiding every history view lets the dial take the window's width and
        // hides the keep button.
        w.m_glGraph->m_show_action->setChecked(false);
        QVERIFY(!w.m_glErrorHistory->isVisible());
        QVERIFY(!w.ui_btnKeepErrorHistory->isVisible());
        QCOMPARE(w.m_dialTune->maximumWidth(), w.width());
        w.resize(1000, 650);
        QTRY_COMPARE(w.m_dialTune->maximumWidth(), 1000);
        QTRY_VERIFY(w.m_dialTune->width() > 900);

        w.m_glVolumeHistory->m_show_action->setChecked(true);
        QVERIFY(w.m_glVolumeHistory->isVisible());
        QVERIFY(w.ui_btnKeepErrorHistory->isVisible());
        QCOMPARE(w.m_dialTune->maximumWidth(), w.ui_rightLayout->minimumSize().width());
    }

    // The statistics view sits under the row of the dial and the histories,
    // which stretches; shown, it must still get a share of the height.
    void statisticsGetsRoom()
    {
        CustomInstrumentTunerForm w(CaptureThread::transportsWithoutJack());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!w.m_glStatistics->isVisible());
        w.m_glStatistics->m_show_action->setChecked(true);
        // At 800 x 600 a third of the height is over 150 pixels.
        QTRY_VERIFY2(w.m_glStatistics->height() > 150,
                     qPrintable(QString::number(w.m_glStatistics->height())));
        QVERIFY(w.m_glErrorHistory->height() > 150);
    }

    void controlsKeptInStep()
    {
        CustomInstrumentTunerForm w(CaptureThread::transportsWithoutJack());
        DialView* dial = w.m_dialTune;
        GLErrorHistory* errors = w.m_glErrorHistory;
        GLVolumeHistory* volumes = w.m_glVolumeHistory;

        // The keep button and both keep actions.
        QVERIFY(!errors->keep->isChecked() && !volumes->keep->isChecked());
        w.ui_btnKeepErrorHistory->setChecked(true);
        QVERIFY(errors->keep->isChecked());
        QVERIFY(volumes->keep->isChecked());
        errors->keep->setChecked(false);
        QVERIFY(!w.ui_btnKeepErrorHistory->isChecked());
        QVERIFY(!volumes->keep->isChecked());
        // The button's shortcut is K.
        QCOMPARE(w.ui_btnKeepErrorHistory->shortcut(), QKeySequence("K"));

        // Scale range and unit between the dial and the error history.
        dial->spinScale->setValue(20);
        QCOMPARE(errors->spinScale->value(), 20);
        errors->spinScale->setValue(30);
        QCOMPARE(dial->spinScale->value(), 30);
        // Above the history's maximum the pair settles at 50.
        dial->spinScale->setValue(80);
        QCOMPARE(errors->spinScale->value(), 50);
        QCOMPARE(dial->spinScale->value(), 50);
        errors->useCents->setChecked(false);
        QVERIFY(!dial->useCents->isChecked());
        dial->useCents->setChecked(true);
        QVERIFY(errors->useCents->isChecked());
        // The statistics view keeps the same three in step with the dial.
        GLStatistics* stats = w.m_glStatistics;
        stats->spinScale->setValue(25);
        QCOMPARE(dial->spinScale->value(), 25);
        QCOMPARE(errors->spinScale->value(), 25);
        stats->useCents->setChecked(false);
        QVERIFY(!dial->useCents->isChecked() && !errors->useCents->isChecked());
        dial->showTolerance->setChecked(!dial->showTolerance->isChecked());
        QCOMPARE(stats->showTolerance->isChecked(), dial->showTolerance->isChecked());
        stats->showTolerance->setChecked(!stats->showTolerance->isChecked());
        QCOMPARE(dial->showTolerance->isChecked(), stats->showTolerance->isChecked());

        // The volume threshold line follows the dialog.
        w.m_config_form.ui_spinVolumeTreshold->setValue(-40);
        QCOMPARE(volumes->m_treshold, -40);
    }

    // The dialog's detector choice is applied at OK, and the pipeline runs the
    // detector chosen; the combed spectrum is the factory one.
    void detectorChoice()
    {
        CustomInstrumentTunerForm w(CaptureThread::transportsWithoutJack());
        QVERIFY(dynamic_cast<Music::CombedFT*>(w.m_detector));
        for (int choice : {1, 0, 1}) {
            w.m_config_form.ui_cbDetector->setCurrentIndex(choice);
            w.configure_ok();
            QCOMPARE(dynamic_cast<Music::PartialFitDetector*>(w.m_detector) != nullptr, choice == 1);
            QCOMPARE(w.m_pipeline.detector(), w.m_detector);
            QCOMPARE(w.m_detector->size(), w.m_pipeline.detector()->size());
        }
    }

    // A note start sets the target, the labels and one note in each history.
    void noteStartSetsTheTarget()
    {
        // The pass-through quantizer takes each estimate as it comes.
        m_folder->write(NO_DEVICE + "Auto\\ui_grpQuantizer=false\n");
        CustomInstrumentTunerForm w(CaptureThread::transportsWithoutJack());
        QCOMPARE(w.m_quantizer, static_cast<Music::MonoQuantizer*>(&w.m_dummy_quantizer));
        w.m_dummy_quantizer.quantize(442.0);
        QCOMPARE(w.m_compared_freq, 440.0);
        QCOMPARE(w.ui_txtNote->text(), QStringLiteral("A4"));
        QCOMPARE(w.ui_txtNoteFreq->value(), 440.0);
        QCOMPARE(w.m_glErrorHistory->m_notes.size(), size_t(1));
        QCOMPARE(w.m_glErrorHistory->m_notes.back().ht, 0);
        QCOMPARE(w.m_glVolumeHistory->m_notes.size(), size_t(1));
        // C5 = 440 x 2^(3/12) = 523.25; without "keep" only the last note stays.
        w.m_dummy_quantizer.quantize(523.0);
        QCOMPARE(w.ui_txtNote->text(), QStringLiteral("C5"));
        QVERIFY(std::fabs(w.m_compared_freq - 523.2511) < 0.001);
        QCOMPARE(w.m_glErrorHistory->m_notes.size(), size_t(1));
        QCOMPARE(w.m_glErrorHistory->m_notes.back().ht, 3);
        // The end of the note clears the target only.
        w.m_dummy_quantizer.quantize(0.0);
        QCOMPARE(w.m_compared_freq, 0.0);
        QCOMPARE(w.ui_txtNote->text(), QStringLiteral("C5"));
        // The microtonal view's "no target" with no note held changes no label.
        w.tuningFreqChanged(0.0f);
        QCOMPARE(w.ui_txtNote->text(), QStringLiteral("C5"));
        // A target from the microtonal view: two decimals, cut.
        w.tuningFreqChanged(441.129f);
        QCOMPARE(w.m_compared_freq, double(441.129f));
        QCOMPARE(w.ui_txtNoteFreq->value(), double(std::trunc(441.129f * 100.0f) / 100.0f));
    }

    // With the microtonal view shown and a degree chosen, a note start tunes
    // against the degree: 3/2 above C3 (the factory root and octave) is
    // 440 x 2^(-21/12) x 1.5 = 196.22 Hz. Hidden, the temperament is back.
    void microtonalDegreeIsTheTarget()
    {
        m_folder->write(NO_DEVICE + "Auto\\ui_grpQuantizer=false\n");
        CustomInstrumentTunerForm w(CaptureThread::transportsWithoutJack());
        MicrotonalView* view = w.m_microtonalView;
        for (auto& degree : view->m_current_scale->values)
            if (degree.is_ratio && degree.numerator == 3 && degree.denominator == 2)
                view->m_tuning_degree = &degree;
        QVERIFY(view->m_tuning_degree);
        view->emitTuningFreqChanged();
        const float fifth = float(440.0 * std::pow(2.0, -21.0 / 12.0) * 1.5);
        QCOMPARE(w.m_compared_freq, double(fifth));
        QCOMPARE(w.ui_txtNote->text(), QStringLiteral("C3:3/2"));

        view->m_show_action->setChecked(true);
        w.m_dummy_quantizer.quantize(197.0);
        QCOMPARE(w.m_compared_freq, double(fifth));
        QCOMPARE(w.ui_txtNote->text(), QStringLiteral("C3:3/2"));
        QCOMPARE(w.ui_txtNoteFreq->value(), 196.21);
        QCOMPARE(w.m_glErrorHistory->m_notes.back().ht, 3);

        w.m_dummy_quantizer.quantize(0.0);
        view->m_show_action->setChecked(false);
        w.m_dummy_quantizer.quantize(197.0); // nearest note G3, 196.00 Hz
        QCOMPARE(w.ui_txtNote->text(), QStringLiteral("G3"));

        // The configuration renames the roots.
        w.m_config_form.ui_cbNotesName->setCurrentIndex(Music::LOCAL_LATIN);
        w.configure_ok();
        QCOMPARE(view->m_roots.front()->text(), QStringLiteral("Do5"));
    }

    // A transposition applied names the notes for the transposing instrument.
    void noteNamesTransposed()
    {
        m_folder->write(NO_DEVICE + "Auto\\ui_grpQuantizer=false\nAuto\\ui_spinTransposition=2\n");
        CustomInstrumentTunerForm w(CaptureThread::transportsWithoutJack());
        w.m_dummy_quantizer.quantize(440.0);
        QCOMPARE(w.ui_txtNote->text(), QStringLiteral("B4"));
        QCOMPARE(w.m_compared_freq, 440.0);
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
