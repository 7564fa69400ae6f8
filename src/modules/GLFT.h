#ifndef ORFE_GLFT_H
#define ORFE_GLFT_H

// Magnitude spectrum of the latest captured sound, computed by the view with
// its own Hann window and its own transform, independently of the pitch
// detector. The frequency range pans and zooms with the mouse, the amplitude
// axis is in decibels or linear, and a click reads the frequency under the
// cursor. The curve is drawn with fixed-function OpenGL in device pixels, the
// texts with QPainter.
//
// Fed by the analysis cycle as one of its sample sinks: every filtered sample
// goes to the front of m_samples (addSample), and the end of each drain trims
// them (drainFinished, trimSamples). Interface thread only.

#include "View.h"

#include "Music/AnalysisPipeline.h"
#include "Music/CFFTW3.h"

#include <QFont>
#include <QOpenGLWidget>
#include <QString>
#include <deque>
#include <vector>

class QAction;
class QSpinBox;

class GLFT : public QOpenGLWidget, public View, public Music::AnalysisSampleSink
{
    Q_OBJECT

public:
    explicit GLFT(QWidget* parent = nullptr);

    // Called under the capture queue's lock: only stores the sample.
    void addSample(double value) override { m_samples.push_front(value); }
    void drainFinished() override { trimSamples(); }

    // Keeps the newest FFT length samples.
    void trimSamples();
    // The right end of the frequency range: half the sampling rate (Hz).
    void updateMaxFrequency(int sampling_rate);
    // Whole frequency range; -50 to 100 dB, or the linear scale factor 1.
    void resetScales();

    // The FFT length.
    int fftLength() const { return int(m_fft.in.size()); }

    void mouseReleaseEvent(QMouseEvent* e) override;

    QFont m_font;
    // Hann window, summing to twice its length; its size is the window length.
    std::vector<double> m_window;
    Music::CFFTW3 m_fft;
    // Magnitudes of the bins 0 .. FFT length / 2 - 1.
    std::vector<double> m_spectrum;
    double m_min_freq;
    double m_max_freq;
    // Decibel range; in linear mode m_max_db is the amplitude scale factor.
    double m_min_db;
    double m_max_db;
    // Shown at the top centre after a click.
    QString m_text;
    // Newest first.
    std::deque<double> m_samples;
    // The next move takes its own position as the previous one.
    bool m_drag_start;
    int m_press_x;
    int m_press_y;
    double m_press_min_freq;
    double m_press_max_freq;
    int m_prev_x;
    int m_prev_y;
    // The FFT length is 2^m_zp_factor times the window's power of two.
    double m_zp_factor;

    QAction* dBScale;
    QSpinBox* setting_winlen;

public slots:
    // Rebuilds the window and the transform for a window of num ms at the
    // current sampling rate; nothing while the rate is unknown.
    void spinWinLengthChanged(int num);
    void dBScaleChanged(bool db);

    void initializeGL() override;
    void paintGL() override;
    void resizeGL(int w, int h) override;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    // Frequency (Hz) under the widget column x.
    double frequencyAt(double x) const;
    void drawSpectrum(int W, int H, int rate);
};

#endif
