#ifndef ORFE_GLSAMPLE_H
#define ORFE_GLSAMPLE_H

// Shape of one period of the played sound, stretched over the width and
// normalised to the height; with "Show fading", the previous periods behind it
// in lighter greys. Drawn with fixed-function OpenGL, the title with QPainter.
// Interface thread only.

#include "View.h"
#include "ViewFeed.h"

#include <QFont>
#include <QOpenGLWidget>
#include <deque>

class QAction;
class QSpinBox;

class GLSample : public QOpenGLWidget, public View, public CycleView
{
    Q_OBJECT

public:
    struct Period
    {
        qint64 time_ms;             // program clock when it was cut
        std::deque<double> samples; // in the order the period analysis gives them
        double max_abs;             // largest magnitude among samples, 0 when empty
    };

    explicit GLSample(QWidget* parent = nullptr);

    // Records a period as the newest, then keeps at most "Number of fading"
    // periods with fading, only this one without.
    void addPeriod(qint64 time_ms, const std::deque<double>& samples);
    void clearPeriods();

    // While shown, one period of the analysis buffer at the shown frequency;
    // hidden, nothing is kept.
    void feedCycle(const CycleData& data) override;

    void mouseReleaseEvent(QMouseEvent* e) override;

    QFont m_font;
    std::deque<Period> m_periods; // newest first
    double m_max_abs;             // normalisation amplitude of the last paint

    QAction* hasFading;
    QSpinBox* spinNumFading;

public slots:
    void initializeGL() override;
    void paintGL() override;
    void resizeGL(int w, int h) override;
};

#endif
