#ifndef ORFE_GLERRORHISTORY_H
#define ORFE_GLERRORHISTORY_H

// Plot of the pitch errors of each played note, one segment per note over a
// grid of cents or of fractions of a semitone, with the running minimum,
// maximum and mean of the errors of each note. Drawn with fixed-function
// OpenGL, texts with QPainter. Interface thread only.

#include "View.h"

#include <QFont>
#include <QOpenGLWidget>
#include <QString>
#include <deque>
#include <limits>

class QAction;
class QSpinBox;

class GLErrorHistory : public QOpenGLWidget, public View
{
    Q_OBJECT

public:
    struct Note
    {
        int ht;         // semitone index of the note (gives its name)
        QString factor; // extra label text: empty, "num/den" or cents
        float min_err;  // semitones
        float max_err;
        float avg_err;
        std::deque<float> errors;

        // An equal-tempered note.
        explicit Note(int ht);
        // A scale degree given by a ratio.
        Note(int ht, int num, int den);
        // A scale degree given in cents.
        Note(int ht, float cents);

        // Adds one error (semitones) and updates the minimum, maximum and mean.
        void addError(float err);
        // Note name with octave under the current naming settings, then factor.
        QString label() const;

    private:
        void init();
    };

    explicit GLErrorHistory(QWidget* parent = nullptr);

    // Starts a new note; without "Keep previous notes" only this one is kept.
    void addNote(const Note& note);
    // Adds an error (semitones) to the last note; ignored when there is none.
    void addError(float err);

    void save() override;
    void load() override;
    void clearSettings() override;

    void mouseReleaseEvent(QMouseEvent* e) override;

    QFont m_font;
    std::deque<Note> m_notes;

    QAction* keep;
    QAction* useCents;
    QSpinBox* spinScale;

public slots:
    void keepPreviousNotes(bool keep);

    void initializeGL() override;
    void paintGL() override;
    void resizeGL(int w, int h) override;
};

#endif
