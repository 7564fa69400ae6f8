#ifndef ORFE_GLVOLUMEHISTORY_H
#define ORFE_GLVOLUMEHISTORY_H

// Plot of the sound level of each played note, one segment per note over a
// decibel grid from 0 dB (top) to -50 dB (bottom), with the volume threshold
// as a light red line. Drawn with fixed-function OpenGL, texts with QPainter.
// Interface thread only.

#include "GLHistory.h"

#include <deque>

// One played note of the volume history (GLVolumeHistory::Note).
struct GLVolumeHistoryNote
{
    int ht;                    // semitone index of the note (gives its name)
    std::deque<float> volumes; // dB, in order

    explicit GLVolumeHistoryNote(int ht);
    // Note name with octave under the current naming settings.
    QString label() const;
};

using GLVolumeHistoryBase = GLNoteHistory<GLVolumeHistoryNote, &GLVolumeHistoryNote::volumes>;

class GLVolumeHistory : public GLVolumeHistoryBase
{
    Q_OBJECT

public:
    explicit GLVolumeHistory(QWidget* parent = nullptr);

    // Adds a level (dB) to the last note; ignored when there is none.
    void addVolume(float volume);

    int m_treshold;

public slots:
    void setVolumeTreshold(int treshold);

protected:
    void paintHistory(QPainter& p) override;
};

#endif
