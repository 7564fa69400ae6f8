#include "CustomInstrumentTunerForm.h"

#include "AboutBox.h"
#include <QAudioDeviceInfo>
#include <QCloseEvent>
#include <QMessageBox>
#include <iostream>

namespace {

const char* const AUTO_GROUP = "Auto/";
const int DEFAULT_WIDTH = 800;
const int DEFAULT_HEIGHT = 600;

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

CustomInstrumentTunerForm::CustomInstrumentTunerForm()
    : QMainWindow(nullptr), m_config_form(),
      m_settings(QStringLiteral("orfe"), QStringLiteral("orfe"), QStringLiteral("009801"))
{
    // Stage 1 is the member list above (dialog first, then the settings store).
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
    // The members then go in reverse order: the settings store (which writes
    // what is pending), then the dialog; QMainWindow deletes the child widgets.
}

void CustomInstrumentTunerForm::stageViewSettings()
{
    // Seam (views): View::s_settings = &m_settings; before any view exists.
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
    // Seam (detector): m_detector = new Music::CombedFT();
}

void CustomInstrumentTunerForm::stageTransports()
{
    // Seam (configuration controller, capture front): list the transports of the
    // capture front in ui_cbTransports, warn when there is none, hide the
    // selection controls when there is exactly one.

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
    // Seam (capture front, quantizers): samplingRateChanged, errorRaised and
    // transportChanged of m_capture_thread; noteStarted and noteFinished of both
    // quantizers.
}

void CustomInstrumentTunerForm::stageCreateViews()
{
    // Seam (views): create the nine views with centralwidget as parent, make
    // their connections, put their show actions in ui_tbViews and the views in
    // their layouts.
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
    // Seam (capture front): the ALSA, OSS and PortAudio mix check boxes'
    // toggled(bool) to m_capture_thread's setMixMultipleChannels(bool).
}

void CustomInstrumentTunerForm::stageApplyConfiguration()
{
    // Seam (capture front): auto-detect a transport when ui_chkAutoDetect is checked.
    configure_ok();
    // Seam (configuration controller): toggleFullScreen when ui_chkFullScreen is checked.
    m_config_form.adjustSize();
}

void CustomInstrumentTunerForm::stageStartAnalysis()
{
    // Seam (analysis timer): start m_time_refresh_views, m_time_refresh and
    // m_time; connect m_timer_refresh's timeout() to refresh(); start it with
    // ui_spinRefreshTime milliseconds.
}

void CustomInstrumentTunerForm::loadSettings()
{
    m_settings.load();
    // Seam (views): View::loadAll();

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
    // Seam (views): View::saveAll();
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
    // Seam (views): View::clearAllSettings();
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

void CustomInstrumentTunerForm::configure()
{
    // Seam (configuration controller): stop the capture, refresh the range and
    // transposition labels, show the current transport, its description and
    // sampling rate, refill the audio input list.
    m_config_form.adjustSize();
    m_config_form.show();
}

// Seams: the slots below are connected at their final place already and are
// filled by the subsystems named.

// Seam (analysis cycle): redraw the views.
void CustomInstrumentTunerForm::refresh_views() {}
// Seam (analysis pipeline): pause the capture, stop or restart the timer.
void CustomInstrumentTunerForm::pause(bool) {}
// Seam (configuration controller): set the reference frequency.
void CustomInstrumentTunerForm::ui_spinAFreq_valueChanged(int) {}
void CustomInstrumentTunerForm::ui_spinAOffset_valueChanged(int) {}
// Seam (analysis pipeline).
void CustomInstrumentTunerForm::samplingRateChanged(int) {}
void CustomInstrumentTunerForm::errorRaised(const QString&) {}
// Seam (configuration controller).
void CustomInstrumentTunerForm::transportChanged(const QString&) {}
// Seam (analysis cycle).
void CustomInstrumentTunerForm::noteStarted(double, double) {}
void CustomInstrumentTunerForm::noteFinished(double, double) {}
// Seam (views).
void CustomInstrumentTunerForm::update_views() {}
// Seam (analysis cycle).
void CustomInstrumentTunerForm::tuningFreqChanged(float) {}
// Seam (configuration controller): apply every setting, start the capture.
void CustomInstrumentTunerForm::configure_ok() {}
void CustomInstrumentTunerForm::configure_cancel() {}
void CustomInstrumentTunerForm::noteRangeChanged() {}
void CustomInstrumentTunerForm::transpositionChanged() {}
void CustomInstrumentTunerForm::selectTransport(const QString&) {}
void CustomInstrumentTunerForm::autoDetectTransport() {}
// Seam (analysis cycle): one analysis cycle, run by m_timer_refresh.
void CustomInstrumentTunerForm::refresh() {}
void CustomInstrumentTunerForm::update_localized_note_names() {}
