#ifndef ORFE_CUSTOMINSTRUMENTTUNERFORM_H
#define ORFE_CUSTOMINSTRUMENTTUNERFORM_H

// The main window: the hub that owns the configuration dialog, the settings
// store and (as the program grows) the capture front, the analysis pipeline and
// the views, and wires them together. Everything here runs in the interface
// thread; the capture reaches it only through queued signals and the capture
// queue.
//
// Construction runs in fixed stages (see the constructor); the stages whose
// subsystems are not built yet are empty functions kept at their place so that
// the order stays visible and each subsystem knows where it plugs in.

#include "AutoQSettings.h"
#include "CustomConfigForm.h"
#include "ui_InstrumentTunerForm.h"
#include <QMainWindow>

class QCloseEvent;

class CustomInstrumentTunerForm : public QMainWindow, public Ui_InstrumentTunerForm
{
    Q_OBJECT

public:
    // Members in construction order (destruction runs in reverse). Public so
    // that the views' wiring and the tests can reach the dialog's controls.

    // First of all: the configuration dialog, with its layout applied at once.
    CustomConfigForm m_config_form;

    // Seam (capture front): CaptureThread m_capture_thread, built with "orfe".
    // Seam (detector): Music::CombedFT* m_detector.
    // Seam (views): m_dialTune, m_glGraph, m_glErrorHistory, m_glVolumeHistory,
    //   m_glSample, m_glFreqStruct, m_glFT, m_microtonalView, m_glStatistics.
    // Seam (analysis state): m_queue, m_freq, m_compared_freq, m_error, m_time.

    AutoQSettings m_settings;

    // Seam (clocks and timer): m_time_refresh, m_time_refresh_views, m_timer_refresh.
    // Seam (range filters): m_rect_range_filter, m_fir_range_filter,
    //   m_dummy_range_filter, m_range_filter.
    // Seam (quantizers): m_latency_quantizer, m_dummy_quantizer, m_quantizer.

    CustomInstrumentTunerForm();
    ~CustomInstrumentTunerForm() override;

    // Construction stage 10: the registered controls, the views' settings, the
    // window size, the stored transport and audio input device.
    void loadSettings();

    // Refills the Qt audio device list with the input devices the system
    // reports, selecting the last entry named `selected`.
    void fillAudioInputDevices(const QString& selected);

protected:
    virtual void refresh_views();

public slots:
    virtual void helpAbout();
    virtual void configure();
    virtual void pause(bool on);
    virtual void ui_spinAFreq_valueChanged(int value);
    virtual void ui_spinAOffset_valueChanged(int cents);
    virtual void saveSettings();
    virtual void samplingRateChanged(int sampling_rate);
    virtual void errorRaised(const QString& error);
    virtual void transportChanged(const QString& name);
    virtual void noteStarted(double freq, double dt);
    virtual void noteFinished(double freq, double dt);
    virtual void update_views();
    virtual void tuningFreqChanged(float freq);
    virtual void configure_ok();
    virtual void configure_cancel();
    virtual void restoreFactorySettings();
    virtual void noteRangeChanged();
    virtual void transpositionChanged();
    virtual void selectTransport(const QString& name);
    virtual void autoDetectTransport();
    void refresh();
    void update_localized_note_names();
    void closeEvent(QCloseEvent* event) override;

    // Seam (configuration controller): keyPressEvent and toggleFullScreen.
    // Seam (views): resizeEvent, which runs update_views.

private:
    // Construction stages 3 to 12, in the order the constructor runs them.
    void stageViewSettings();       // 3: lend m_settings to the views
    void stageRegisterSettings();   // 4
    void stageCreateDetector();     // 5
    void stageTransports();         // 6
    void stageCaptureConnections(); // 7
    void stageCreateViews();        // 8
    void stageDialogConnections();  // 9
    void stageApplyConfiguration(); // 11
    void stageStartAnalysis();      // 12

    // Destruction stage 1.
    void saveSettingsOnExit();
};

#endif
