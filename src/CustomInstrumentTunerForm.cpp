#include "CustomInstrumentTunerForm.h"

#include "AboutBox.h"
#include "CaptureThreadImpl.h"
#include "DialView.h"
#include "GLErrorHistory.h"
#include "GLVolumeHistory.h"
#include "Music/Music.h"
#include "View.h"
#include <QAction>
#include <QAudioDeviceInfo>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QResizeEvent>
#include <QStatusBar>
#include <algorithm>
#include <cmath>
#include <iostream>

namespace {

const char* const AUTO_GROUP = "Auto/";
const int DEFAULT_WIDTH = 800;
const int DEFAULT_HEIGHT = 600;

// 12 / ln 2: natural logarithm of a frequency ratio to semitones.
const double SEMITONE_FACTOR = 17.312340490667562;
// A sample this loud among the newest SATURATION_MS of sound means clipping.
const double SATURATION_LEVEL = 1.0;
const int SATURATION_MS = 100;
// The views other than the dial are redrawn at most this often.
const qint64 VIEWS_REFRESH_MS = 50;
// The captured sound view's factory duration, used as the analysis buffer's
// length while that view does not exist.
const int FACTORY_BUFFER_DURATION_MS = 10000;

// Full screen toggle: the next toggleFullScreen enters full screen while true.
bool s_fullscreen_toggle = true;

QString NoteName(int ht, int transposition)
{
    return QString::fromStdString(Music::GetNoteName(ht, Music::s_notes_name, transposition, true));
}

void SetTip(QWidget* widget, const QString& text)
{
    widget->setToolTip(text);
    widget->setWhatsThis(text);
}

// A stored window dimension; anything but a positive whole number gives the
// default, so a damaged store cannot shrink the window to nothing.
int ReadDimension(const QSettings& settings, const QString& key, int fallback)
{
    const QVariant v = settings.value(key, fallback);
    bool ok = false;
    const int d = v.toString().trimmed().toInt(&ok);
    if (ok && d > 0) return d;
    std::cout << "AutoQSettings: WARNING: ignoring the stored value \""
              << v.toString().toLocal8Bit().constData() << "\" of " << key.toLocal8Bit().constData()
              << ", which is not a positive whole number; using " << fallback << std::endl;
    return fallback;
}

} // namespace

const QColor CustomInstrumentTunerForm::STATUS_RED(180, 74, 74);
const QColor CustomInstrumentTunerForm::STATUS_GREY(128, 128, 128);
const QColor CustomInstrumentTunerForm::STATUS_ORANGE(208, 146, 0);
const QColor CustomInstrumentTunerForm::STATUS_GREEN(83, 165, 105);

CustomInstrumentTunerForm::CustomInstrumentTunerForm()
    : QMainWindow(nullptr), m_config_form(), m_capture_thread(QStringLiteral("orfe")),
      m_queue(m_pipeline.m_queue), m_freq(m_pipeline.m_freq),
      m_settings(QStringLiteral("orfe"), QStringLiteral("orfe"), QStringLiteral("009801")),
      m_timer_refresh(this), m_rect_range_filter(0), m_fir_range_filter(std::vector<double>{1.0}),
      m_range_filter(&m_dummy_range_filter), m_quantizer(&m_latency_quantizer)
{
    // Stage 1 is the member list above (dialog first, capture front, settings
    // store, filters, quantizers).
    m_pipeline.setCaptureQueue(Music::CaptureQueueRef::make(
        m_capture_thread.m_sample_queue, m_capture_thread.m_queue_lock, m_capture_thread.m_pushed_since_drain,
        m_capture_thread.m_drain_started));
    setupUi(this);             // 2
    stageViewSettings();       // 3
    stageRegisterSettings();   // 4
    stageCreateDetector();     // 5
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

void CustomInstrumentTunerForm::stageCreateDetector()
{
    // Lives as long as the process: it stays registered with the pitch model.
    m_detector = new Music::CombedFT();
    m_pipeline.setDetector(m_detector);
}

void CustomInstrumentTunerForm::stageTransports()
{
    CustomConfigForm& c = m_config_form;
    for (CaptureThreadImpl* transport : m_capture_thread.getTransports())
        c.ui_cbTransports->addItem(transport->getName());
    if (m_capture_thread.getTransports().empty())
        QMessageBox::critical(this, tr("Error"), tr("Please compile me with a capture system ..."),
                              QMessageBox::Ok);
    if (m_capture_thread.getTransports().size() == 1) {
        c.ui_lblSelectedCaptureSystem->hide();
        c.ui_btnAutoDetect->hide();
        c.ui_chkAutoDetect->hide();
        c.ui_cbTransports->hide();
    }

    // The transport groups come back one at a time when a transport is selected;
    // the range filtering group stays hidden for good (still stored and applied);
    // the offset controls appear when the offset is enabled.
    m_config_form.ui_grpALSA->hide();
    m_config_form.ui_grpJACK->hide();
    m_config_form.ui_grpPortAudio->hide();
    m_config_form.ui_grpOSS->hide();
    m_config_form.ui_grpQt->hide();
    m_config_form.ui_grpRangeFiltering->hide();
    ui_lblA3Offset->hide();
    ui_spinA3Offset->hide();
}

void CustomInstrumentTunerForm::stageCaptureConnections()
{
    connect(&m_capture_thread, SIGNAL(samplingRateChanged(int)), this, SLOT(samplingRateChanged(int)));
    connect(&m_capture_thread, SIGNAL(errorRaised(const QString&)), this, SLOT(errorRaised(const QString&)));
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

void CustomInstrumentTunerForm::stageCreateViews()
{
    m_dialTune = new DialView(centralwidget);
    ui_dialTuneLayout->addWidget(m_dialTune);

    // Seam (captured sound view): m_glGraph = new GLGraph(centralwidget); its show
    // action and spinMaxHeight to update_views(); show action to ui_tbViews;
    // into ui_graphLayout; its addValue/fold as a sample sink of m_pipeline.

    m_glErrorHistory = new GLErrorHistory(centralwidget);
    connect(m_glErrorHistory->m_show_action, SIGNAL(toggled(bool)), this, SLOT(update_views()));
    // The dial and the error history share their scale range and unit.
    connect(m_dialTune->spinScale, SIGNAL(valueChanged(int)), m_glErrorHistory->spinScale,
            SLOT(setValue(int)));
    connect(m_glErrorHistory->spinScale, SIGNAL(valueChanged(int)), m_dialTune->spinScale,
            SLOT(setValue(int)));
    connect(m_dialTune->useCents, SIGNAL(toggled(bool)), m_glErrorHistory->useCents, SLOT(setChecked(bool)));
    connect(m_glErrorHistory->useCents, SIGNAL(toggled(bool)), m_dialTune->useCents, SLOT(setChecked(bool)));
    ui_tbViews->addAction(m_glErrorHistory->m_show_action);
    ui_errorLayout->addWidget(m_glErrorHistory);

    m_glVolumeHistory = new GLVolumeHistory(centralwidget);
    connect(m_config_form.ui_spinVolumeTreshold, SIGNAL(valueChanged(int)), m_glVolumeHistory,
            SLOT(setVolumeTreshold(int)));
    connect(m_glVolumeHistory->m_show_action, SIGNAL(toggled(bool)), this, SLOT(update_views()));
    // The keep button and both histories' keep actions move together.
    connect(ui_btnKeepErrorHistory, SIGNAL(toggled(bool)), m_glErrorHistory->keep, SLOT(setChecked(bool)));
    connect(m_glErrorHistory->keep, SIGNAL(toggled(bool)), m_glVolumeHistory->keep, SLOT(setChecked(bool)));
    connect(m_glErrorHistory->keep, SIGNAL(toggled(bool)), ui_btnKeepErrorHistory, SLOT(setChecked(bool)));
    ui_tbViews->addAction(m_glVolumeHistory->m_show_action);
    ui_volumeLayout->addWidget(m_glVolumeHistory);

    // Seam (waveform, harmonics, spectrum, microtonal and statistics views):
    // created here in that order, with their connections, show actions and
    // layouts (ui_sampleLayout, ui_formantsLayout, ui_FT, ui_microtonalLayout
    // twice); the spectrum view's sample sink goes to m_pipeline.
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

void CustomInstrumentTunerForm::loadSettings()
{
    m_settings.load();
    View::loadAll();

    resize(ReadDimension(m_settings, QStringLiteral("width"), DEFAULT_WIDTH),
           ReadDimension(m_settings, QStringLiteral("height"), DEFAULT_HEIGHT));

    const QString transport = m_settings.value(QStringLiteral("ui_cbTransports"), QString()).toString();
    if (!transport.isEmpty())
        for (int i = 0; i < m_config_form.ui_cbTransports->count(); ++i)
            if (m_config_form.ui_cbTransports->itemText(i) == transport)
                m_config_form.ui_cbTransports->setCurrentIndex(i);

    fillAudioInputDevices(
        m_settings.value(QStringLiteral("ui_cbQtDeviceName"), QStringLiteral("default")).toString());
}

void CustomInstrumentTunerForm::fillAudioInputDevices(const QString& selected)
{
    QComboBox* list = m_config_form.ui_cbQtDeviceName;
    list->clear();
    for (const QAudioDeviceInfo& device : QAudioDeviceInfo::availableDevices(QAudio::AudioInput))
        list->addItem(device.deviceName());
    for (int i = 0; i < list->count(); ++i)
        if (list->itemText(i) == selected) list->setCurrentIndex(i);
}

void CustomInstrumentTunerForm::saveSettings()
{
    m_settings.save();
    View::saveAll();
    m_settings.setValue(QStringLiteral("width"), width());
    m_settings.setValue(QStringLiteral("height"), height());
    m_settings.setValue(QStringLiteral("ui_cbTransports"), m_config_form.ui_cbTransports->currentText());
    m_settings.setValue(QStringLiteral("ui_cbQtDeviceName"), m_config_form.ui_cbQtDeviceName->currentText());
}

void CustomInstrumentTunerForm::saveSettingsOnExit()
{
    if (!m_settings.readable()) {
        // We could not see what the store holds; writing now could replace it.
        std::cout
            << "AutoQSettings: WARNING: the settings file could not be read at start; nothing is written "
               "to it on exit"
            << std::endl;
        return;
    }
    if (m_config_form.ui_chkAutoSaveOnExit->isChecked()) {
        saveSettings();
    } else {
        // Keep only the choice not to save; every other stored value stays as it was.
        m_settings.beginGroup(AUTO_GROUP);
        m_settings.save(m_config_form.ui_chkAutoSaveOnExit);
        m_settings.endGroup();
    }
}

void CustomInstrumentTunerForm::restoreFactorySettings()
{
    if (QMessageBox::question(this, tr("Restore Factory Settings"),
                              tr("This operation is NOT reversible.\nAre you sure you want to lose all your "
                                 "current settings ?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;

    m_settings.clear();
    View::clearAllSettings();
    m_settings.remove(QStringLiteral("width"));
    m_settings.remove(QStringLiteral("height"));
    m_settings.remove(QStringLiteral("ui_cbTransports"));
    m_settings.remove(QStringLiteral("ui_cbQtDeviceName"));

    QMessageBox::information(this, tr("Restore Factory Settings"),
                             tr("You can now restart ORFE to get back factory settings"), QMessageBox::Ok);
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

// ---------------------------------------------------------------------------
// Configuration

void CustomInstrumentTunerForm::configure()
{
    CustomConfigForm& c = m_config_form;
    m_capture_thread.stopCapture();

    noteRangeChanged();
    transpositionChanged();

    const int index = m_capture_thread.getCurrentTransportIndex();
    if (index < c.ui_cbTransports->count()) c.ui_cbTransports->setCurrentIndex(index);

    const int rate = m_capture_thread.getSamplingRate();
    if (CaptureThreadImpl* jack = m_capture_thread.getTransport(QStringLiteral("JACK"))) {
        c.ui_grpJACK->setTitle(jack->getDescription());
        c.ui_lblJACKSamplingRate->setText(QString::number(rate));
    }
    if (CaptureThreadImpl* oss = m_capture_thread.getTransport(QStringLiteral("OSS"))) {
        c.ui_grpOSS->setTitle(oss->getDescription());
        c.ui_spinOSSSamplingRate->setValue(rate);
    }
    if (CaptureThreadImpl* qt = m_capture_thread.getTransport(QStringLiteral("Qt"))) {
        c.ui_grpQt->setTitle(qt->getDescription());
        c.ui_spinQtSamplingRate->setValue(rate);
        fillAudioInputDevices(qt->getSource());
    } else {
        fillAudioInputDevices(QString());
    }

    c.adjustSize();
    c.show();
}

void CustomInstrumentTunerForm::configure_ok()
{
    CustomConfigForm& c = m_config_form;

    const int tuning = c.ui_cbTuning->currentIndex();
    Music::SetTuning(tuning >= 0 && tuning <= 4 ? Music::Tuning(tuning) : Music::CHROMATIC);
    Music::s_transposition = c.ui_spinTransposition->value();
    const int names = c.ui_cbNotesName->currentIndex();
    if (names >= 0 && names <= 4) Music::s_notes_name = Music::NotesName(names);

    // Seam (microtonal view): its notesNameChanged, then setAFreq((float)GetAFreq()).

    update_localized_note_names();

    Music::SetSemitoneBounds(c.ui_spinMinHT->value(), c.ui_spinMaxHT->value());

    ui_spinA3Offset->setVisible(c.ui_chkShowA4Offset->isChecked());
    ui_lblA3Offset->setVisible(c.ui_chkShowA4Offset->isChecked());

    // Transport. The names are those of the capture front's own registry, so
    // selectTransport cannot fail on them; an unknown name is reported anyway
    // rather than ending the program.
    const QString transport = c.ui_cbTransports->currentText();
    try {
        if (transport == QLatin1String("Qt")) {
            m_capture_thread.selectTransport(transport);
            m_capture_thread.setSource(c.ui_cbQtDeviceName->currentText());
            m_capture_thread.setSamplingRate(c.ui_chkQtSamplingRateMax->isChecked()
                                                 ? CaptureThread::SAMPLING_RATE_MAX
                                                 : c.ui_spinQtSamplingRate->value());
        } else if (transport == QLatin1String("JACK")) {
            m_capture_thread.selectTransport(transport);
            m_capture_thread.setSource(c.ui_chkJACKAutoConnect->isChecked() ? c.ui_txtJACKSourcePort->text()
                                                                            : QString());
            c.ui_lblJACKSamplingRate->setText(QString::number(m_capture_thread.getSamplingRate()));
        } else if (transport == QLatin1String("OSS")) {
            m_capture_thread.selectTransport(transport);
            m_capture_thread.setSource(c.ui_txtOSSPCMName->text());
            m_capture_thread.setSamplingRate(c.ui_chkOSSSamplingRateMax->isChecked()
                                                 ? CaptureThread::SAMPLING_RATE_MAX
                                                 : c.ui_spinOSSSamplingRate->value());
        }
    } catch (const QString& message) {
        errorRaised(message);
    }

    m_timer_refresh.setInterval(c.ui_spinRefreshTime->value());

    // Seam (captured sound view): m_amplitude_treshold = 10^(V/20), then clear().

    if (c.ui_grpRangeFiltering->isChecked()) {
        resetRectangularFilterToNoteRange();
        if (c.ui_rdRangeFilteringRectangular->isChecked())
            m_range_filter = &m_rect_range_filter;
        else if (c.ui_rdRangeFilteringFIR->isChecked())
            m_range_filter = &m_fir_range_filter;
    } else {
        m_range_filter = &m_dummy_range_filter;
    }

    m_detector->setWindowFactor(c.ui_spinWindowSizeFactor->value());
    m_detector->m_use_audibility_ratio = c.ui_chkAlgoUseSubHarmTresh->isChecked();
    m_detector->m_audibility_ratio = std::pow(10.0, -c.ui_spinCombedFFTAudibilityRatio->value() / 20.0);
    m_detector->m_amplitude_treshold = std::pow(10.0, c.ui_spinVolumeTreshold->value() / 20.0);

    m_quantizer->reset();
    if (c.ui_grpQuantizer->isChecked()) {
        m_latency_quantizer.m_latency = float(c.ui_spinErrorLatency->value());
        m_quantizer = &m_latency_quantizer;
    } else {
        m_quantizer = &m_dummy_quantizer;
    }

    if (!pauseAction->isChecked() && !m_capture_thread.m_is_capturing.load()) m_capture_thread.startCapture();
}

void CustomInstrumentTunerForm::configure_cancel()
{
    if (!pauseAction->isChecked() && !m_capture_thread.m_is_capturing.load()) m_capture_thread.startCapture();
}

void CustomInstrumentTunerForm::resetRectangularFilterToNoteRange()
{
    // One period of the lowest note. While the rate is unknown (-1) this is 0,
    // which the filter takes as length 1.
    const double lowest = std::pow(2.0, Music::GetSemitoneMin() / 12.0) * Music::GetAFreq();
    const double length = std::trunc(Music::GetSamplingRate() / lowest);
    m_rect_range_filter.reset(std::isfinite(length) && length < 2147483647.0 ? int(length) : 0);
}

void CustomInstrumentTunerForm::noteRangeChanged()
{
    auto label = [](int ht) {
        return NoteName(ht, Music::s_transposition) + " = " +
               QString::number(Music::GetAFreq() * std::pow(2.0, ht / 12.0), 'g', 6) + " hz";
    };
    m_config_form.ui_txtMinHT->setText(label(m_config_form.ui_spinMinHT->value()));
    m_config_form.ui_txtMaxHT->setText(label(m_config_form.ui_spinMaxHT->value()));
}

void CustomInstrumentTunerForm::transpositionChanged()
{
    m_config_form.ui_lblTransposition->setText(NoteName(-9, 0) + QString::fromUtf8(" \u2192 ") +
                                               NoteName(-9, m_config_form.ui_spinTransposition->value()));
}

void CustomInstrumentTunerForm::update_localized_note_names()
{
    CustomConfigForm& c = m_config_form;
    auto n = [](int ht) { return NoteName(ht, 0); };

    const QString t =
        tr("Transposition in number of semitones relative to %1.\nUseful to convert note names to "
           "a corresponding transposing instrument (e.g. %2 for saxophone, %3 for trumpet).")
            .arg(n(-9), n(-18), n(-11));
    SetTip(c.textLabel1_7, t);
    SetTip(c.ui_spinTransposition, t);
    SetTip(c.ui_lblTransposition, t);

    const QString a = n(0);
    const QString base = tr("The base tuning frequency (the %1 frequency)").arg(a);
    SetTip(textLabel8, base);
    SetTip(ui_spinAFreq, base);
    c.ui_chkShowA4Offset->setText(tr("Allows adding an offset to the reference %1").arg(a));
    SetTip(c.textLabel7, tr("Range of possible notes from the lowest to the highest around the %1 reference "
                            "note.\nSmaller the range, smaller the CPU usage.")
                             .arg(a));
    const QString lowest =
        tr("Lowest semitone from the %1 reference note.\nIt can useful to put it higher than "
           "-35 to avoid disturbance from the sector alimentation (~50hz).")
            .arg(a);
    SetTip(c.ui_spinMinHT, lowest);
    SetTip(c.ui_txtMinHT, lowest);
    const QString highest = tr("Highest semitone from the %1 reference note.").arg(a);
    SetTip(c.ui_spinMaxHT, highest);
    SetTip(c.ui_txtMaxHT, highest);
}

void CustomInstrumentTunerForm::transportChanged(const QString& name)
{
    selectTransport(name);
    const int index = m_capture_thread.getCurrentTransportIndex();
    if (index != m_config_form.ui_cbTransports->currentIndex())
        m_config_form.ui_cbTransports->setCurrentIndex(index);
}

void CustomInstrumentTunerForm::selectTransport(const QString& name)
{
    CustomConfigForm& c = m_config_form;
    c.ui_grpALSA->hide();
    c.ui_grpJACK->hide();
    c.ui_grpPortAudio->hide();
    c.ui_grpOSS->hide();
    c.ui_grpQt->hide();
    if (name == QLatin1String("ALSA"))
        c.ui_grpALSA->show();
    else if (name == QLatin1String("JACK"))
        c.ui_grpJACK->show();
    else if (name == QLatin1String("PortAudio"))
        c.ui_grpPortAudio->show();
    else if (name == QLatin1String("OSS"))
        c.ui_grpOSS->show();
    else if (name == QLatin1String("Qt"))
        c.ui_grpQt->show();
}

void CustomInstrumentTunerForm::autoDetectTransport()
{
    m_capture_thread.autoDetectTransport();
}

void CustomInstrumentTunerForm::ui_spinAFreq_valueChanged(int value)
{
    if (m_config_form.ui_chkShowA4Offset->isChecked())
        Music::SetAFreq(value * std::pow(2.0, double(ui_spinA3Offset->value() / 100.0f) / 12.0));
    else
        Music::SetAFreq(value);
}

void CustomInstrumentTunerForm::ui_spinAOffset_valueChanged(int cents)
{
    if (m_config_form.ui_chkShowA4Offset->isChecked())
        Music::SetAFreq(std::pow(2.0, double(cents / 100.0f) / 12.0) * ui_spinAFreq->value());
    else
        Music::SetAFreq(ui_spinAFreq->value());
}

void CustomInstrumentTunerForm::keyPressEvent(QKeyEvent* event)
{
    // Only F is ours; other keys go nowhere (the shortcuts never get here).
    if (event->key() == Qt::Key_F) toggleFullScreen();
}

void CustomInstrumentTunerForm::toggleFullScreen()
{
    if (s_fullscreen_toggle) {
        m_config_form.ui_chkFullScreen->setChecked(true);
        showFullScreen();
    } else {
        m_config_form.ui_chkFullScreen->setChecked(false);
        showNormal();
    }
    s_fullscreen_toggle = !s_fullscreen_toggle;
}

// ---------------------------------------------------------------------------
// Analysis pipeline

void CustomInstrumentTunerForm::pause(bool on)
{
    m_capture_thread.togglePause(on);
    if (on)
        m_timer_refresh.stop();
    else
        m_timer_refresh.start(m_config_form.ui_spinRefreshTime->value());
}

void CustomInstrumentTunerForm::samplingRateChanged(int sampling_rate)
{
    Music::SetSamplingRate(sampling_rate); // the detector re-plans as a listener
    m_rect_range_filter.reset(int(Music::GetSamplingRate() / 2000.0));
    // That short window is a high-pass around 1 to 2 kHz, which would hide every
    // low note until the configuration is applied again: when range filtering is
    // on, give the filter its configured length for the new rate at once.
    if (m_config_form.ui_grpRangeFiltering->isChecked()) resetRectangularFilterToNoteRange();

    // Seam (spectrum view): its step for the new rate.

    if (m_config_form.ui_cbTransports->currentText() == QLatin1String("JACK"))
        m_config_form.ui_lblJACKSamplingRate->setText(QString::number(sampling_rate));
}

void CustomInstrumentTunerForm::errorRaised(const QString& error)
{
    statusBar()->showMessage(QStringLiteral("ERROR: ") + error);
    setStatusColour(STATUS_RED);
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

Music::AnalysisPipeline::Settings CustomInstrumentTunerForm::pipelineSettings() const
{
    const CustomConfigForm& c = m_config_form;
    Music::AnalysisPipeline::Settings s;
    s.refresh_ms = c.ui_spinRefreshTime->value();
    s.refinement = c.up_grpFreqRefinement->isChecked();
    // With neither radio checked, no refinement is made.
    if (c.ui_rdUseFreqRefinement->isChecked())
        s.refinement_method = Music::AnalysisPipeline::FrequencyRefinement;
    else if (c.ui_rdUseTimeRefinement->isChecked())
        s.refinement_method = Music::AnalysisPipeline::TimeRefinement;
    else
        s.refinement = false;
    s.max_harmonics = c.ui_spinFreqRefinMaxHarm->value();
    s.max_periods = c.ui_spinTimeRefinMaxPeriod->value();
    // Seam (captured sound view): its spinDuration value.
    s.buffer_duration_ms = FACTORY_BUFFER_DURATION_MS;
    return s;
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
    m_pipeline.setSettings(pipelineSettings());
    m_pipeline.setRangeFilter(m_range_filter);
    m_pipeline.setQuantizer(m_quantizer);

    // Drain, filter, trim, detect, refine, quantize. noteStarted and
    // noteFinished run inside, before it returns.
    const Music::AnalysisPipeline::CycleResult& r = m_pipeline.cycle(elapsed, capture_rate);

    if (r.capture_failed) {
        setStatusColour(STATUS_RED);
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
            const double error = std::log(m_freq / m_compared_freq) * SEMITONE_FACTOR;
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

            // Seam (microtonal view): setAFreq((float)GetAFreq()), updateCursor((float)m_freq).

            if (r.has_volume) m_glVolumeHistory->addVolume(float(r.volume_db));

            refresh_data_sample();
            refresh_data_harmonics();

            // Seam (statistics view): addError(NearestSemitone(m_compared_freq), (float)m_error).
        } else {
            setStatusColour(STATUS_GREY);
        }
    }

    if (m_time_refresh_views.elapsed() > VIEWS_REFRESH_MS) refresh_views();
}

void CustomInstrumentTunerForm::refresh_data_sample()
{
    // Seam (waveform view): while it is shown and m_freq != 0, one period of the
    // buffer (m_pipeline.wavePeriod) to its addPeriod(m_time.elapsed(), period);
    // otherwise its clearPeriods.
    if (!m_glSample) return;
}

void CustomInstrumentTunerForm::refresh_data_harmonics()
{
    // Seam (harmonics view): while it is shown and m_freq > 0, its m_components
    // from m_pipeline.harmonicStructure(m_freq, number of components), as
    // 20 log10(1000 mod) dB, and m_max_level.
    if (!m_glFreqStruct) return;
}

void CustomInstrumentTunerForm::refresh_views()
{
    m_dialTune->repaint();
    // Seam (captured sound view): update() when shown.
    if (m_glErrorHistory->m_show_action->isChecked()) m_glErrorHistory->update();
    if (m_glVolumeHistory->m_show_action->isChecked()) m_glVolumeHistory->update();
    // Seam (microtonal, waveform, harmonics, spectrum, statistics views): update() when shown.
    m_time_refresh_views.restart();
}

void CustomInstrumentTunerForm::noteStarted(double, double)
{
    // Seam (microtonal view): when it is shown with a tuning degree, its degree's
    // frequency, labels and history notes are used instead.
    m_compared_freq = m_quantizer->m_quantized_freq;
    ui_txtNoteFreq->display(m_compared_freq);
    const int ht = Music::NearestSemitone(m_compared_freq);
    ui_txtNote->setText(NoteName(ht, Music::s_transposition));
    m_glErrorHistory->addNote(GLErrorHistory::Note(ht));
    m_glVolumeHistory->addNote(GLVolumeHistory::Note(ht));
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
        // Seam (microtonal view): ui_txtNote shows its tuningNoteText.
    } else if (m_compared_freq != 0.0) {
        ui_txtNoteFreq->display(m_compared_freq);
        ui_txtNote->setText(NoteName(Music::NearestSemitone(m_compared_freq), Music::s_transposition));
    }
    m_quantizer->reset();
}

// ---------------------------------------------------------------------------
// Views

void CustomInstrumentTunerForm::update_views()
{
    // The history and analysis views that exist so far.
    const bool error_shown = m_glErrorHistory && m_glErrorHistory->m_show_action->isChecked();
    const bool volume_shown = m_glVolumeHistory && m_glVolumeHistory->m_show_action->isChecked();
    // Seam (captured sound, waveform, harmonics, spectrum views): count them too,
    // and give the captured sound view the window's height when it is alone.
    const bool any_shown = error_shown || volume_shown;

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
