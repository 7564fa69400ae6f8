#ifndef ORFE_GLGRAPH_H
#define ORFE_GLGRAPH_H

// The captured sound of the last seconds as a scrolling waveform: newest sound
// at the right edge, one pixel column per chunk of samples. When a column
// holds many samples it shows their minimum and maximum as a vertical bar,
// otherwise the samples are joined by a line. Two faint lines mark the volume
// threshold above and below the zero line. Drawn with fixed-function OpenGL in
// device pixels, the title with QPainter.
//
// Fed by the analysis cycle as one of its sample sinks: addSample (addValue)
// for every filtered sample of a drain, drainFinished (fold) after it.
// Interface thread only.

#include "View.h"

#include "Music/AnalysisPipeline.h"

#include <QFont>
#include <QOpenGLWidget>
#include <deque>
#include <utility>

class QAction;
class QSpinBox;

class GLGraph : public QOpenGLWidget, public View, public Music::AnalysisSampleSink
{
    Q_OBJECT

public:
    explicit GLGraph(QWidget* parent = nullptr);

    // Called under the capture queue's lock: only stores the sample.
    void addSample(double value) override { addValue(value); }
    void drainFinished() override { fold(); }

    // Stores one sample (a value that is not finite counts as 0).
    void addValue(double value);
    // Folds the pending samples into columns and bounds the history and the
    // columns by the duration and the width.
    void fold();
    // Forgets the sound: history, columns and pending samples.
    void clear();
    // Draws the title and, when shown, the zero and threshold lines and the
    // waveform in the grey level g (0 black).
    virtual void drawCurve(float g);

    void mouseReleaseEvent(QMouseEvent* e) override;

    // Samples the duration holds at the current sampling rate (0 while the
    // rate is unknown).
    long long durationSamples() const;
    // Samples one column shows at the current width in device pixels (at least 1).
    int samplesPerPixel() const;

    QFont m_font;
    // Newest first.
    std::deque<double> m_pending;
    std::deque<double> m_history;
    // (minimum, maximum) of each column, newest first.
    std::deque<std::pair<double, double>> m_minmax;
    int m_samples_per_pixel;
    bool m_dirty;
    double m_max_amplitude;
    // The volume threshold as a linear amplitude.
    double m_amplitude_treshold;

    QAction* showWaveForm;
    QAction* autoScale;
    QSpinBox* setting_spinScaleFactor;
    // Shown duration in ms; also how much sound the analysis buffer keeps.
    QSpinBox* spinDuration;
    // Height limit in pixels while other history views are shown.
    QSpinBox* spinMaxHeight;

public slots:
    // The volume threshold in dB.
    void setVolumeTreshold(int treshold);
    // Remakes the columns from the history at the current width and duration.
    void rebuild();

    void initializeGL() override;
    void paintGL() override;
    void resizeGL(int w, int h) override;

private:
    // Number of columns kept: one less than the width in device pixels.
    std::size_t maxColumns() const;
    void trimHistory();
};

#endif
