#include "CustomInstrumentTunerForm.h"

#include "AboutBox.h"
#include "CaptureThreadImpl.h"
#include "DialView.h"
#include "GLErrorHistory.h"
#include "GLFT.h"
#include "GLFreqStruct.h"
#include "GLGraph.h"
#include "GLSample.h"
#include "GLStatistics.h"
#include "GLVolumeHistory.h"
#include "MicrotonalView.h"
#include "Music/Music.h"
#include "View.h"
#include <QAction>
#include <QAudioDeviceInfo>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>
#include <cmath>
#include <iostream>

namespace {

// A sample this loud among the newest SATURATION_MS of sound means clipping.
const double SATURATION_LEVEL = 1.0;
const int SATURATION_MS = 100;
// The views other than the dial are redrawn at most this often.
const qint64 VIEWS_REFRESH_MS = 50;
} // namespace

const QColor CustomInstrumentTunerForm::STATUS_RED(180, 74, 74);
const QColor CustomInstrumentTunerForm::STATUS_GREY(128, 128, 128);
const QColor CustomInstrumentTunerForm::STATUS_ORANGE(208, 146, 0);
const QColor CustomInstrumentTunerForm::STATUS_GREEN(83, 165, 105);

CustomInstrumentTunerForm::CustomInstrumentTunerForm(
    const std::vector<CaptureThread::TransportFactory>& transports)
    : QMainWindow(nullptr), m_config_form(), m_capture_thread(QStringLiteral("orfe"), transports),
      m_detector(m_setup.m_detector), m_pipeline(m_setup.m_pipeline), m_queue(m_pipeline.m_queue),
      m_freq(m_pipeline.m_freq),
      m_settings(QStringLiteral("orfe"), QStringLiteral("orfe"), QStringLiteral("009801")),
      m_timer_refresh(this), m_rect_range_filter(m_setup.m_rect_range_filter),
      m_dummy_range_filter(m_setup.m_dummy_range_filter), m_range_filter(m_setup.m_range_filter),
      m_latency_quantizer(m_setup.m_latency_quantizer), m_dummy_quantizer(m_setup.m_dummy_quantizer),
      m_quantizer(m_setup.m_quantizer)
{
    // Stage 1 is the member list above (dialog first, capture front, settings
    // store, filters, quantizers).
    m_pipeline.setCaptureQueue(&m_capture_thread.m_capture_queue);
    setupUi(this);           // 2
    stageViewSettings();     // 3
    stageRegisterSettings(); // 4
    // 5: the detector is m_setup's, made with the other analysis pieces.
    stageTransports();         // 6
    stageCaptureConnections(); // 7
    stageCreateViews();        // 8
    stageDialogConnections();  // 9
    loadSettings();            // 10
    stageApplyConfiguration(); // 11
    stageStartAnalysis();      // 12
}

CustomInstrumentTunerForm::~CustomInstrumentTunerForm()
{
    saveSettingsOnExit();
    // No cycle may run while the members go.
    m_timer_refresh.stop();
    // The members then go in reverse order: quantizers, filters, timer, the
    // settings store (which writes what is pending), the analysis state, the
    // capture front (which stops the capture and deletes its transports), then
    // the dialog; QMainWindow deletes the views with the other child widgets.
}

void CustomInstrumentTunerForm::stageViewSettings()
{
    View::s_settings = &m_settings;
}

void CustomInstrumentTunerForm::stageRegisterSettings()
{
    CustomConfigForm& c = m_config_form;
    m_settings.add(c.ui_chkFullScreen);
    m_settings.add(c.ui_chkAutoSaveOnExit);
    m_settings.add(c.ui_chkShowA4Offset);
    m_settings.add(c.ui_cbTuning);
    m_settings.add(c.ui_spinTransposition);
    m_settings.add(c.ui_cbNotesName);
    m_settings.add(ui_spinAFreq);
    m_settings.add(ui_spinA3Offset);
    m_settings.add(c.ui_chkAutoDetect);
    m_settings.add(c.ui_chkJACKAutoConnect);
    m_settings.add(c.ui_txtJACKSourcePort);
    m_settings.add(c.ui_chkOSSSamplingRateMax);
    m_settings.add(c.ui_spinOSSSamplingRate);
    m_settings.add(c.ui_chkOSSMixMultipleChannels);
    m_settings.add(c.ui_txtOSSPCMName);
    m_settings.add(c.ui_chkQtSamplingRateMax);
    m_settings.add(c.ui_spinQtSamplingRate);
    m_settings.add(c.ui_chkQtMixMultipleChannels);
    m_settings.add(c.ui_spinRefreshTime);
    m_settings.add(c.ui_spinMinHT);
    m_settings.add(c.ui_spinMaxHT);
    m_settings.add(c.ui_grpRangeFiltering);
    m_settings.add(c.ui_rdRangeFilteringRectangular);
    m_settings.add(c.ui_rdRangeFilteringFIR);
    m_settings.add(c.ui_spinVolumeTreshold);
    m_settings.add(c.ui_spinWindowSizeFactor);
    m_settings.add(c.ui_cbDetector);
    m_settings.add(c.ui_chkAlgoUseSubHarmTresh);
    m_settings.add(c.ui_spinCombedFFTAudibilityRatio);
    m_settings.add(c.up_grpFreqRefinement);
    m_settings.add(c.ui_rdUseFreqRefinement);
    m_settings.add(c.ui_spinFreqRefinMaxHarm);
    m_settings.add(c.ui_rdUseTimeRefinement);
    m_settings.add(c.ui_spinTimeRefinMaxPeriod);
    m_settings.add(c.ui_grpQuantizer);
    m_settings.add(c.ui_spinErrorLatency);
}

void CustomInstrumentTunerForm::stageCaptureConnections()
{
    connect(&m_capture_thread, SIGNAL(samplingRateChanged(int)), this, SLOT(samplingRateChanged(int)));
    connect(&m_capture_thread, SIGNAL(errorRaised(const QString&)), this, SLOT(errorRaised(const QString&)));
    connect(&m_capture_thread, SIGNAL(captureStarted()), this, SLOT(captureStarted()));
    connect(&m_capture_thread, SIGNAL(transportChanged(const QString&)), this,
            SLOT(transportChanged(const QString&)));
    connect(&m_latency_quantizer, SIGNAL(noteStarted(double, double)), this,
            SLOT(noteStarted(double, double)));
    connect(&m_latency_quantizer, SIGNAL(noteFinished(double, double)), this,
            SLOT(noteFinished(double, double)));
    connect(&m_dummy_quantizer, SIGNAL(noteStarted(double, double)), this, SLOT(noteStarted(double, double)));
    connect(&m_dummy_quantizer, SIGNAL(noteFinished(double, double)), this,
            SLOT(noteFinished(double, double)));
}

template <class V> V* CustomInstrumentTunerForm::placeView(V* view, QLayout* layout, bool history)
{
    connect(view->m_show_action, SIGNAL(toggled(bool)), this, SLOT(update_views()));
    ui_tbViews->addAction(view->m_show_action);
    layout->addWidget(view);
    m_repainted_views.emplace_back(view, view);
    if (history) m_history_views.push_back(view);
    if constexpr (std::is_base_of<CycleView, V>::value) m_cycle_views.push_back(view);
    if constexpr (std::is_base_of<Music::AnalysisSampleSink, V>::value) m_pipeline.addSampleSink(view);
    return view;
}

void CustomInstrumentTunerForm::stageCreateViews()
{
    m_dialTune = new DialView(centralwidget);
    ui_dialTuneLayout->addWidget(m_dialTune);

    m_glGraph = placeView(new GLGraph(centralwidget), ui_graphLayout, true);
    connect(m_glGraph->spinMaxHeight, SIGNAL(valueChanged(int)), this, SLOT(update_views()));

    m_glErrorHistory = placeView(new GLErrorHistory(centralwidget), ui_errorLayout, true);
    // The dial and the error history share their scale range and unit.
    connect(m_dialTune->spinScale, SIGNAL(valueChanged(int)), m_glErrorHistory->spinScale,
            SLOT(setValue(int)));
    connect(m_glErrorHistory->spinScale, SIGNAL(valueChanged(int)), m_dialTune->spinScale,
            SLOT(setValue(int)));
    connect(m_dialTune->useCents, SIGNAL(toggled(bool)), m_glErrorHistory->useCents, SLOT(setChecked(bool)));
    connect(m_glErrorHistory->useCents, SIGNAL(toggled(bool)), m_dialTune->useCents, SLOT(setChecked(bool)));

    m_glVolumeHistory = new GLVolumeHistory(centralwidget);
    connect(m_config_form.ui_spinVolumeTreshold, SIGNAL(valueChanged(int)), m_glVolumeHistory,
            SLOT(setVolumeTreshold(int)));
    placeView(m_glVolumeHistory, ui_volumeLayout, true);
    // The keep button and both histories' keep actions move together.
    connect(ui_btnKeepErrorHistory, SIGNAL(toggled(bool)), m_glErrorHistory->keep, SLOT(setChecked(bool)));
    connect(m_glErrorHistory->keep, SIGNAL(toggled(bool)), m_glVolumeHistory->keep, SLOT(setChecked(bool)));
    connect(m_glErrorHistory->keep, SIGNAL(toggled(bool)), ui_btnKeepErrorHistory, SLOT(setChecked(bool)));

    m_glSample = placeView(new GLSample(centralwidget), ui_sampleLayout, true);
    m_glFreqStruct = placeView(new GLFreqStruct(centralwidget), ui_formantsLayout, true);
    m_glFT = placeView(new GLFT(centralwidget), ui_FT, true);

    m_microtonalView = placeView(new MicrotonalView(centralwidget), ui_microtonalLayout, false);
    connect(m_microtonalView, SIGNAL(tuningFreqChanged(float)), this, SLOT(tuningFreqChanged(float)));

    // Below the microtonal view, in the same column.
    m_glStatistics = placeView(new GLStatistics(centralwidget), ui_microtonalLayout, false);
    // The row above stretches; without a stretch of its own this row would get
    // only its views' size hints, none for an OpenGL widget. Empty, it takes nothing.
    vboxLayout->setStretchFactor(ui_microtonalLayout, 1);
    // The dial and the statistics share their scale range, unit and tolerance.
    connect(m_dialTune->spinScale, SIGNAL(valueChanged(int)), m_glStatistics->spinScale, SLOT(setValue(int)));
    connect(m_glStatistics->spinScale, SIGNAL(valueChanged(int)), m_dialTune->spinScale, SLOT(setValue(int)));
    connect(m_dialTune->useCents, SIGNAL(toggled(bool)), m_glStatistics->useCents, SLOT(setChecked(bool)));
    connect(m_glStatistics->useCents, SIGNAL(toggled(bool)), m_dialTune->useCents, SLOT(setChecked(bool)));
    connect(m_dialTune->showTolerance, SIGNAL(toggled(bool)), m_glStatistics->showTolerance,
            SLOT(setChecked(bool)));
    connect(m_glStatistics->showTolerance, SIGNAL(toggled(bool)), m_dialTune->showTolerance,
            SLOT(setChecked(bool)));
}

void CustomInstrumentTunerForm::stageDialogConnections()
{
    CustomConfigForm& c = m_config_form;
    connect(&c, SIGNAL(accepted()), this, SLOT(configure_ok()));
    connect(&c, SIGNAL(rejected()), this, SLOT(configure_cancel()));
    connect(c.ui_btnRestoreFactorySettings, SIGNAL(clicked()), this, SLOT(restoreFactorySettings()));
    connect(c.ui_spinMinHT, SIGNAL(valueChanged(int)), this, SLOT(noteRangeChanged()));
    connect(c.ui_spinMaxHT, SIGNAL(valueChanged(int)), this, SLOT(noteRangeChanged()));
    connect(c.ui_cbTuning, SIGNAL(highlighted(int)), this, SLOT(noteRangeChanged()));
    connect(c.ui_spinTransposition, SIGNAL(valueChanged(int)), this, SLOT(transpositionChanged()));
    connect(c.ui_cbNotesName, SIGNAL(highlighted(int)), this, SLOT(noteRangeChanged()));
    connect(c.ui_btnAutoDetect, SIGNAL(clicked()), this, SLOT(autoDetectTransport()));
    connect(c.ui_cbTransports, SIGNAL(activated(const QString&)), this,
            SLOT(selectTransport(const QString&)));
    // The Qt group's mix box drives nothing: the transports read the one flag
    // these three set (the OSS box is the one persisted).
    connect(c.ui_chkALSAMixMultipleChannels, SIGNAL(toggled(bool)), &m_capture_thread,
            SLOT(setMixMultipleChannels(bool)));
    connect(c.ui_chkOSSMixMultipleChannels, SIGNAL(toggled(bool)), &m_capture_thread,
            SLOT(setMixMultipleChannels(bool)));
    connect(c.ui_chkPortAudioMixMultipleChannels, SIGNAL(toggled(bool)), &m_capture_thread,
            SLOT(setMixMultipleChannels(bool)));
}

void CustomInstrumentTunerForm::stageApplyConfiguration()
{
    // The transport found is announced by transportChanged, which moves
    // ui_cbTransports to it, so configure_ok applies it.
    if (m_config_form.ui_chkAutoDetect->isChecked()) m_capture_thread.autoDetectTransport();
    configure_ok();
    if (m_config_form.ui_chkFullScreen->isChecked()) toggleFullScreen();
    m_config_form.adjustSize();
}

void CustomInstrumentTunerForm::stageStartAnalysis()
{
    m_time_refresh_views.start();
    m_time_refresh.start();
    m_time.start();
    connect(&m_timer_refresh, SIGNAL(timeout()), this, SLOT(refresh()));
    m_timer_refresh.start(m_config_form.ui_spinRefreshTime->value());
}

void CustomInstrumentTunerForm::helpAbout()
{
    AboutBox box(this);
    box.exec();
}

void CustomInstrumentTunerForm::closeEvent(QCloseEvent* event)
{
    m_config_form.close();
    QMainWindow::closeEvent(event);
}

void CustomInstrumentTunerForm::keyPressEvent(QKeyEvent* event)
{
    // Only F is ours; other keys go nowhere (the shortcuts never get here).
    if (event->key() == Qt::Key_F) toggleFullScreen();
}

void CustomInstrumentTunerForm::toggleFullScreen()
{
    if (m_fullscreen_toggle) {
        m_config_form.ui_chkFullScreen->setChecked(true);
        showFullScreen();
    } else {
        m_config_form.ui_chkFullScreen->setChecked(false);
        showNormal();
    }
    m_fullscreen_toggle = !m_fullscreen_toggle;
}

// ---------------------------------------------------------------------------
// Analysis pipeline

void CustomInstrumentTunerForm::pause(bool on)
{
    m_capture_thread.togglePause(on);
    if (on) {
        m_timer_refresh.stop();
    } else {
        m_timer_refresh.start(m_config_form.ui_spinRefreshTime->value());
        // The dialog's OK or Cancel does not start the capture while paused; with the
        // dialog open, its OK or Cancel will.
        if (!m_config_form.isVisible() && !m_capture_thread.isCapturing()) m_capture_thread.startCapture();
    }
}

void CustomInstrumentTunerForm::samplingRateChanged(int sampling_rate)
{
    m_setup.setSamplingRate(sampling_rate);

    m_glFT->spinWinLengthChanged(m_glFT->setting_winlen->value());
    m_glFT->updateMaxFrequency(sampling_rate);

    // Only JACK shows the rate it runs at; the others show the rate asked for.
    const TransportUi* t = transportUi(m_config_form.ui_cbTransports->currentText());
    if (t && t->rate_label) t->rate_label->setText(QString::number(sampling_rate));
}

void CustomInstrumentTunerForm::errorRaised(const QString& error)
{
    statusBar()->showMessage(QStringLiteral("ERROR: ") + error);
    setStatusColour(STATUS_RED);
    m_capture_error = true;
}

void CustomInstrumentTunerForm::captureStarted()
{
    m_capture_error = false;
    if (statusBar()->currentMessage().startsWith(QLatin1String("ERROR: "))) statusBar()->clearMessage();
}

void CustomInstrumentTunerForm::showNoNote()
{
    if (m_quantizer->m_quantized_freq > 0.0) m_quantizer->reset(); // noteFinished
    if (ui_txtNote->text().isEmpty() && ui_txtFreq->value() == 0.0 && ui_txtNoteFreq->value() == 0.0) return;
    ui_txtNote->clear();
    ui_txtFreq->display(0.0);
    ui_txtNoteFreq->display(0.0);
}

void CustomInstrumentTunerForm::setStatusColour(const QColor& colour)
{
    QPalette palette;
    const QBrush brush(colour, Qt::SolidPattern);
    palette.setBrush(QPalette::Active, ui_lblSoundStability->backgroundRole(), brush);
    palette.setBrush(QPalette::Inactive, ui_lblSoundStability->backgroundRole(), brush);
    palette.setBrush(QPalette::Disabled, ui_lblSoundStability->backgroundRole(), brush);
    ui_lblSoundStability->setPalette(palette);
}

// ---------------------------------------------------------------------------
// Analysis cycle

void CustomInstrumentTunerForm::refresh()
{
    const double elapsed = double(m_time_refresh.restart());

    // A transport announces its rate only when its own rate changes, so coming
    // back to a transport after another one ran at a different rate would leave
    // the pitch model (and the detector) at the other rate: keep them in step.
    const int capture_rate = m_capture_thread.getSamplingRate();
    if (capture_rate > 0 && capture_rate != Music::GetSamplingRate()) samplingRateChanged(capture_rate);

    // The settings and the pieces in use are read afresh each cycle, as the
    // dialog's controls and the configuration left them.
    m_pipeline.setSettings(cycleSettings());

    // Not capturing since an error (a device or server gone, a start refused), and
    // not because the dialog is open: the capture has failed. What a dying
    // transport still hands over is stale sound: it must not bring a note back.
    // A capture stopped without an error keeps the read-outs.
    const bool failed = m_capture_error && !m_capture_thread.isCapturing() && !m_config_form.isVisible();
    if (failed) m_capture_thread.m_capture_queue.clear();

    // Drain, filter, trim, detect, refine, quantize. noteStarted and
    // noteFinished run inside, before it returns.
    const Music::AnalysisPipeline::CycleResult& r = m_pipeline.cycle(elapsed, capture_rate);

    if (r.capture_failed) {
        setStatusColour(STATUS_RED);
        if (failed) showNoNote();
    } else {
        if (r.has_volume) ui_pgbVolume->setValue(r.volume_bar); // outside 0..100 the bar ignores it

        if (m_quantizer->m_quantized_freq > 0.0) {
            // Clipping among the newest 100 ms of the buffer.
            const long long window = (long long)m_capture_thread.getSamplingRate() * SATURATION_MS / 1000;
            const std::size_t n =
                std::size_t(std::max(0LL, std::min<long long>(window, (long long)m_queue.size())));
            bool saturated = false;
            for (std::size_t k = 0; k < n && !saturated; ++k)
                saturated = std::fabs(m_queue[k]) >= SATURATION_LEVEL;
            setStatusColour(saturated ? STATUS_ORANGE : STATUS_GREEN);

            // m_freq is the quantizer's m_avg_freq (set by the pipeline).
            const double error = Music::TunerSetup::Error(m_freq, m_compared_freq);
            // A target of 0 (a note whose start was not announced) gives no error.
            if (std::isfinite(error)) {
                m_error = error;
                m_glErrorHistory->addError(float(m_error));
                m_dialTune->setError(float(m_error));
                if (!m_glErrorHistory->m_notes.empty()) {
                    m_dialTune->m_min_error = m_glErrorHistory->m_notes.back().min_err;
                    m_dialTune->m_max_error = m_glErrorHistory->m_notes.back().max_err;
                }
            }
            ui_txtFreq->display(m_freq);
            if (r.has_volume) m_glVolumeHistory->addVolume(float(r.volume_db));

            const CycleData data{m_pipeline,  m_capture_thread.getSamplingRate(),
                                 m_freq,      m_compared_freq,
                                 m_error,     r.has_volume,
                                 r.volume_db, m_time.elapsed()};
            for (CycleView* view : m_cycle_views)
                view->feedCycle(data);
        } else {
            setStatusColour(STATUS_GREY);
        }
    }

    if (m_time_refresh_views.elapsed() > VIEWS_REFRESH_MS) refresh_views();
}

void CustomInstrumentTunerForm::refresh_views()
{
    m_dialTune->repaint();
    for (const auto& view : m_repainted_views)
        if (view.second->m_show_action->isChecked()) view.first->update();
    m_time_refresh_views.restart();
}

void CustomInstrumentTunerForm::noteStarted(double, double)
{
    // The microtonal view, shown with a tuning degree, gives the target, the
    // labels and the notes of the histories instead of the temperament.
    if (const Scales::ScaleDegree* degree = microtonalDegree()) {
        m_compared_freq = Music::TunerSetup::DegreeTarget(m_microtonalView->m_tuning_freq);
        ui_txtNoteFreq->display(std::trunc(100.0 * m_microtonalView->m_tuning_freq) / 100.0);
        ui_txtNote->setText(m_microtonalView->tuningNoteText());
        const int root = m_microtonalView->m_root;
        m_glErrorHistory->addNote(degree->is_ratio
                                      ? GLErrorHistory::Note(root, degree->numerator, degree->denominator)
                                      : GLErrorHistory::Note(root, degree->cents));
        m_glVolumeHistory->addNote(GLVolumeHistory::Note(root));
        return;
    }
    m_compared_freq = Music::TunerSetup::NoteTarget(m_quantizer->m_quantized_freq);
    ui_txtNoteFreq->display(m_compared_freq);
    const int ht = Music::NearestSemitone(m_compared_freq);
    ui_txtNote->setText(noteName(ht, Music::s_transposition));
    m_glErrorHistory->addNote(GLErrorHistory::Note(ht));
    m_glVolumeHistory->addNote(GLVolumeHistory::Note(ht));
}

const Scales::ScaleDegree* CustomInstrumentTunerForm::microtonalDegree() const
{
    // A degree without a usable frequency (0/1, huge cents) is no target.
    if (!m_microtonalView || !m_microtonalView->m_show_action->isChecked() ||
        !(m_microtonalView->m_tuning_freq > 0.0f))
        return nullptr;
    return m_microtonalView->m_tuning_degree;
}

void CustomInstrumentTunerForm::noteFinished(double, double)
{
    m_compared_freq = 0.0;
}

void CustomInstrumentTunerForm::tuningFreqChanged(float freq)
{
    if (freq != 0.0f) {
        m_compared_freq = freq;
        ui_txtNoteFreq->display(double(std::trunc(freq * 100.0f) / 100.0f));
        ui_txtNote->setText(m_microtonalView->tuningNoteText());
    } else if (m_compared_freq != 0.0) {
        ui_txtNoteFreq->display(m_compared_freq);
        ui_txtNote->setText(noteName(Music::NearestSemitone(m_compared_freq), Music::s_transposition));
    }
    m_quantizer->reset();
}

// ---------------------------------------------------------------------------
// Views

void CustomInstrumentTunerForm::update_views()
{
    const bool any_shown = std::any_of(m_history_views.begin(), m_history_views.end(),
                                       [](View* view) { return view->m_show_action->isChecked(); });
    const bool error_shown = m_glErrorHistory && m_glErrorHistory->m_show_action->isChecked();
    const bool volume_shown = m_glVolumeHistory && m_glVolumeHistory->m_show_action->isChecked();
    // The captured sound view alone takes the window's height.
    const bool graph_alone = m_glGraph->m_show_action->isChecked() &&
                             std::none_of(m_history_views.begin(), m_history_views.end(), [this](View* view) {
                                 return view != m_glGraph && view->m_show_action->isChecked();
                             });
    m_glGraph->setMaximumHeight(graph_alone ? height() : m_glGraph->spinMaxHeight->value());

    if (m_dialTune) m_dialTune->setMaximumWidth(any_shown ? ui_rightLayout->minimumSize().width() : width());
    // The left column is stretched to take what the right one leaves; empty, it
    // must not keep that space from the dial.
    hboxLayout->setStretchFactor(vboxLayout1, any_shown ? 1 : 0);
    ui_btnKeepErrorHistory->setVisible(error_shown || volume_shown);
}

void CustomInstrumentTunerForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    update_views();
}
