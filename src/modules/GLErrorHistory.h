#ifndef ORFE_GLERRORHISTORY_H
#define ORFE_GLERRORHISTORY_H

// Plot of the pitch errors of each played note, one segment per note over a
// grid of cents or of fractions of a semitone, with the running minimum,
// maximum and mean of the errors of each note. Drawn with fixed-function
// OpenGL, texts with QPainter. Interface thread only.

#include "GLHistory.h"

#include <QString>
#include <deque>
#include <limits>

class QSpinBox;

// One played note of the error history (GLErrorHistory::Note).
struct GLErrorHistoryNote
{
    int ht;         // semitone index of the note (gives its name)
    QString factor; // extra label text: empty, "num/den" or cents
    float min_err;  // semitones
    float max_err;
    float avg_err;
    std::deque<float> errors;

    // An equal-tempered note.
    explicit GLErrorHistoryNote(int ht);
    // A scale degree given by a ratio.
    GLErrorHistoryNote(int ht, int num, int den);
    // A scale degree given in cents.
    GLErrorHistoryNote(int ht, float cents);

    // Adds one error (semitones) and updates the minimum, maximum and mean.
    void addError(float err);
    // Note name with octave under the current naming settings, then factor.
    QString label() const;

private:
    void init();
};

using GLErrorHistoryBase = GLNoteHistory<GLErrorHistoryNote, &GLErrorHistoryNote::errors>;

class GLErrorHistory : public GLErrorHistoryBase
{
    Q_OBJECT

public:
    explicit GLErrorHistory(QWidget* parent = nullptr);

    // Adds an error (semitones) to the last note; ignored when there is none.
    void addError(float err);

    QAction* useCents;
    QSpinBox* spinScale;

protected:
    void paintHistory(QPainter& p) override;
};

#endif
