#ifndef ORFE_GLVOLUMEHISTORY_H
#define ORFE_GLVOLUMEHISTORY_H

// Plot of the sound level of each played note, one segment per note over a
// decibel grid from 0 dB (top) to -50 dB (bottom), with the volume threshold
// as a light red line. Drawn with fixed-function OpenGL, texts with QPainter.
// Interface thread only.

#include "View.h"

#include <QFont>
#include <QOpenGLWidget>
#include <deque>

class QAction;

class GLVolumeHistory : public QOpenGLWidget, public View
{
    Q_OBJECT

public:
    struct Note
    {
        int ht;                    // semitone index of the note (gives its name)
        std::deque<float> volumes; // dB, in order

        explicit Note(int ht);
        // Note name with octave under the current naming settings.
        QString label() const;
    };

    explicit GLVolumeHistory(QWidget* parent = nullptr);

    // Starts a new note; without "Keep previous notes" only this one is kept.
    void addNote(const Note& note);
    // Adds a level (dB) to the last note; ignored when there is none.
    void addVolume(float volume);

    void save() override;
    void load() override;
    void clearSettings() override;

    void mouseReleaseEvent(QMouseEvent* e) override;

    QFont m_font;
    std::deque<Note> m_notes;
    int m_treshold;

    QAction* keep;

public slots:
    void setVolumeTreshold(int treshold);
    void keepPreviousNotes(bool keep);

    void initializeGL() override;
    void paintGL() override;
    void resizeGL(int w, int h) override;
};

#endif
