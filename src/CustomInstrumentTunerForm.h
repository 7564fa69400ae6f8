#ifndef ORFE_CUSTOMINSTRUMENTTUNERFORM_H
#define ORFE_CUSTOMINSTRUMENTTUNERFORM_H

// The main window: the hub that owns the configuration dialog, the capture
// front, the analysis pipeline, the settings store and the views, and wires them
// together. Everything here runs in the interface thread; the capture reaches it
// only through queued signals and the capture queue (whose lock the analysis
// cycle takes for one drain).
//
// Construction runs in fixed stages (see the constructor), each a function of
// its own so that the order stays visible.

#include "AutoQSettings.h"
#include "CaptureThread.h"
#include "CustomConfigForm.h"
#include "Music/TunerSetup.h"
#include "ViewFeed.h"
#include "ui_InstrumentTunerForm.h"
#include <QColor>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

class QCloseEvent;
class QKeyEvent;
class QResizeEvent;

class View;
class DialView;
class GLErrorHistory;
class GLVolumeHistory;
class GLGraph;
class GLSample;
class GLFreqStruct;
class GLFT;
class MicrotonalView;
class GLStatistics;
namespace Scales {
struct ScaleDegree;
}

class CustomInstrumentTunerForm : public QMainWindow, public Ui_InstrumentTunerForm
{
    Q_OBJECT

public:
    // Members in construction order (destruction runs in reverse). Public so
    // that the views' wiring and the tests can reach the dialog's controls.

    // First of all: the configuration dialog, with its layout applied at once.
    CustomConfigForm m_config_form;

    // The capture front, client name "orfe". Its destructor stops the capture
    // and deletes the transports.
    CaptureThread m_capture_thread;

    // The analysis settings turned into the pitch model, range filter, detector,
    // quantizer and pipeline; the names below are the pieces it holds.
    Music::TunerSetup m_setup;
    Music::Transform*& m_detector;

    // The views, children of the central widget (deleted with it).
    DialView* m_dialTune = nullptr;
    GLGraph* m_glGraph = nullptr;
    GLErrorHistory* m_glErrorHistory = nullptr;
    GLVolumeHistory* m_glVolumeHistory = nullptr;
    GLSample* m_glSample = nullptr;
    GLFreqStruct* m_glFreqStruct = nullptr;
    GLFT* m_glFT = nullptr;
    MicrotonalView* m_microtonalView = nullptr;
    GLStatistics* m_glStatistics = nullptr;

    // The computing half of the analysis cycle. It holds the analysis buffer
    // (m_queue, filtered samples, newest at the front) and the frequency shown
    // (m_freq, Hz), shared with the offline analyser.
    Music::AnalysisPipeline& m_pipeline;
    std::deque<double>& m_queue;
    double& m_freq;
    // Target frequency of the note held, Hz; 0 when none.
    double m_compared_freq = 0.0;
    // Error of m_freq against m_compared_freq, semitones.
    double m_error = 0.0;
    // Program clock: time stamps of the waveform view.
    QElapsedTimer m_time;

    AutoQSettings m_settings;

    // Time since the previous analysis cycle, and since the views were redrawn.
    QElapsedTimer m_time_refresh;
    QElapsedTimer m_time_refresh_views;
    // Drives the analysis cycle (refresh); its Qt parent is the window.
    QTimer m_timer_refresh;

    // Range filters and the one in use, quantizers and the one in use: those of
    // m_setup.
    Music::RectangularHighPassRTFilter& m_rect_range_filter;
    Music::DummyRTFilter& m_dummy_range_filter;
    Music::RTFilter*& m_range_filter;
    Music::LatencyMonoQuantizer& m_latency_quantizer;
    Music::DummyMonoQuantizer& m_dummy_quantizer;
    Music::MonoQuantizer*& m_quantizer;

    // Status colours of the note-stability label.
    static const QColor STATUS_RED;
    static const QColor STATUS_GREY;
    static const QColor STATUS_ORANGE;
    static const QColor STATUS_GREEN;

    // `transports` makes the capture front's transports (the program's own by
    // default).
    explicit CustomInstrumentTunerForm(
        const std::vector<CaptureThread::TransportFactory>& transports = CaptureThread::builtInTransports());
    ~CustomInstrumentTunerForm() override;

    // Construction stage 10: the registered controls, the views' settings, the
    // window size, the stored transport and audio input device.
    void loadSettings();

    // Refills the Qt audio device list with the input devices the system
    // reports, selecting the last entry named `selected`.
    void fillAudioInputDevices(const QString& selected);

    // Full screen on and off (the F key, and ui_chkFullScreen at start-up).
    void toggleFullScreen();

    // Paints the background of the note-stability label in `colour`.
    void setStatusColour(const QColor& colour);

    // While the capture has failed: the note held ends and the note and frequency
    // read-outs show no note.
    void showNoNote();

protected:
    virtual void refresh_views();
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

public slots:
    virtual void helpAbout();
    virtual void configure();
    virtual void pause(bool on);
    virtual void ui_spinAFreq_valueChanged(int value);
    virtual void ui_spinAOffset_valueChanged(int cents);
    virtual void saveSettings();
    virtual void samplingRateChanged(int sampling_rate);
    virtual void errorRaised(const QString& error);
    // The capture runs (again): an error it ended or failed with is no longer shown.
    virtual void captureStarted();
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

private:
    // A view other than the dial: its show action in the views toolbar and to
    // update_views, its widget in `layout`, and its feeds (samples, cycles)
    // registered by the kinds it derives from. `history` marks the history and
    // analysis views, which share the window's width with the dial.
    template <class V> V* placeView(V* view, QLayout* layout, bool history);

    // Per transport: its dialog group, how the dialog shows it, how OK applies it.
    struct TransportUi
    {
        QString name;
        QGroupBox* group;
        QLabel* rate_label; // the rate the transport runs at, or null
        std::function<void(CaptureThreadImpl*)> show;
        std::function<void()> apply;
    };
    std::vector<TransportUi> m_transport_ui;
    // An error came from the capture since it last started.
    bool m_capture_error = false;
    const TransportUi* transportUi(const QString& name) const;

    // The views the cycle feeds, the ones it repaints, and the history and
    // analysis views.
    std::vector<CycleView*> m_cycle_views;
    std::vector<std::pair<QWidget*, View*>> m_repainted_views;
    std::vector<View*> m_history_views;
    // The next toggleFullScreen enters full screen while true.
    bool m_fullscreen_toggle = true;

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

    // The microtonal view's tuning degree when the view is shown and the degree
    // has a frequency; null otherwise.
    const Scales::ScaleDegree* microtonalDegree() const;

    // A note's name with its octave, in the names chosen.
    static QString noteName(int ht, int transposition);
    // The analysis settings as the dialog shows them now.
    Music::AnalysisSettings analysisSettings() const;
    // The analysis cycle's own settings, read afresh by every cycle.
    Music::AnalysisPipeline::Settings cycleSettings() const;
};

#endif
