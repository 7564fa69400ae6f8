#ifndef ORFE_GLFREQSTRUCT_H
#define ORFE_GLFREQSTRUCT_H

// Bar chart of the levels of the first harmonics of the played note, in dB
// below the strongest one over a 50 dB range, with the harmonic numbers under
// the bars. Drawn with fixed-function OpenGL, texts with QPainter. Interface
// thread only.

#include "View.h"
#include "ViewFeed.h"

#include <QFont>
#include <QOpenGLWidget>
#include <vector>

class QSpinBox;

class GLFreqStruct : public QOpenGLWidget, public View, public CycleView
{
    Q_OBJECT

public:
    // Level of a harmonic that was not found in the current cycle, dB.
    static constexpr double s_missing_level = -1000000.0;

    explicit GLFreqStruct(QWidget* parent = nullptr);

    // While shown, measures the harmonics of the shown frequency in the
    // detector's spectrum; hidden, the chart stays as it was.
    void feedCycle(const CycleData& data) override;

    void mouseReleaseEvent(QMouseEvent* e) override;

    QFont m_font;
    // Level of harmonic i + 1, 20 log10(1000 * modulus) dB.
    std::vector<double> m_components;
    // Largest level of the current cycle; 0: nothing to draw.
    double m_max_level;

    QSpinBox* spinNumComponents;

public slots:
    // Keeps `num` levels: new ones at 0 dB, surplus ones dropped.
    void spinNumComponentsChanged(int num);

    void initializeGL() override;
    void paintGL() override;
    void resizeGL(int w, int h) override;
};

#endif
