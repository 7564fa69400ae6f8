#ifndef ORFE_DIALVIEW_H
#define ORFE_DIALVIEW_H

// The tuner's needle: a fan of +-75 degrees around the vertical showing the
// error of the played pitch against the nearest note, with an optional
// tolerance sector, an optional trace of the current note's error range, ticks
// and labels in cents or in fractions of a semitone. Interface thread only.

#include "View.h"

#include <QFrame>

class QAction;
class QSpinBox;

class DialView : public QFrame, public View
{
    Q_OBJECT

public:
    explicit DialView(QWidget* parent = nullptr);

    // Error of the current pitch in semitones; repaints at once.
    void setError(float error);

    void mouseReleaseEvent(QMouseEvent* e) override;

    float m_error;
    // Error range of the current note, written by the analysis cycle after
    // setError; used at the next paint.
    float m_min_error;
    float m_max_error;

    QAction* showTolerance;
    QAction* showTrace;
    QAction* useCents;
    QSpinBox* spinScale;

protected:
    void paintEvent(QPaintEvent* e) override;
};

#endif
