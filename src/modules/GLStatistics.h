#ifndef ORFE_GLSTATISTICS_H
#define ORFE_GLSTATISTICS_H

// Statistics of the pitch errors per semitone since the last reset: one column
// per semitone over a contiguous range, with the mean error as a thick bar, an
// optional band of one standard deviation around it, the number of values and
// the note's name, over the tolerance band and a grid in cents or fractions of
// a semitone. Drawn with fixed-function OpenGL, texts with QPainter. Interface
// thread only.

#include "View.h"
#include "ViewFeed.h"

#include <QFont>
#include <QOpenGLWidget>
#include <deque>
#include <vector>

class QAction;
class QSpinBox;

class GLStatistics : public QOpenGLWidget, public View, public CycleView
{
    Q_OBJECT

public:
    struct SemitoneStat
    {
        int ht;                   // semitone index; -1000 until given
        std::deque<float> errors; // every error added, semitones
        float avg_err;            // mean of errors
        float std_err;            // sample standard deviation (0 with one value)

        explicit SemitoneStat(int ht = -1000);
        // Appends err and updates the mean and deviation in constant time.
        void addError(float err);

    private:
        // Welford's running mean and sum of squared deviations from it, in
        // double so that a long session loses nothing to rounding.
        double m_mean = 0.0;
        double m_squares = 0.0;
    };

    explicit GLStatistics(QWidget* parent = nullptr);

    // An error (semitones) measured on semitone ht.
    void addError(int ht, float error);
    // One analysed cycle with a note held: the error against the nearest
    // semitone of the target.
    void feedCycle(const CycleData& data) override;

    void mouseReleaseEvent(QMouseEvent* e) override;

    QFont m_font;
    // One entry per semitone of the shown range, in increasing ht.
    std::vector<SemitoneStat> m_stats;
    // Semitone of the latest error, highlighted.
    int m_current_ht;

    QAction* m_reset_action;
    QAction* setting_keep_hidden;
    QSpinBox* setting_keep_n_values;
    QAction* setting_show_std;
    QAction* setting_scale_auto;
    QSpinBox* setting_scale_min;
    QSpinBox* setting_scale_max;
    // Kept in step with the dial's by the main window, which stores them.
    QAction* showTolerance;
    QAction* useCents;
    QSpinBox* spinScale;

public slots:
    // Forgets every value.
    void reset();
    // With a manual scale, makes m_stats cover the scale spin boxes' range.
    void resizeScale();

    void initializeGL() override;
    void paintGL() override;
    void resizeGL(int w, int h) override;

private:
    // Rebuilds m_stats for the semitones lo..hi, keeping the entries inside.
    void rebuild(int lo, int hi);
    // Index of semitone ht in m_stats (which must hold it).
    std::size_t index(int ht) const;
};

#endif
