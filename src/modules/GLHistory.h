#ifndef ORFE_GLHISTORY_H
#define ORFE_GLHISTORY_H

// What the error and volume histories share: one segment per played note along
// the width of the view, the notes kept or cut back to the last one by "Keep
// previous notes", the title, and the drawing of each note's values as a black
// curve labelled with the note's name. Each history adds its own grid, scale
// and mapping of a value to a height. Drawn with fixed-function OpenGL in the
// view's logical pixels (GLViewUtil.h), texts with QPainter. Interface thread
// only.

#include "GLViewUtil.h"
#include "View.h"

#include <QAction>
#include <QFont>
#include <QOpenGLWidget>
#include <QPainter>
#include <QString>
#include <deque>

class GLHistory : public QOpenGLWidget, public View
{
    Q_OBJECT

public:
    // The widget, the View part named `name`, and the first entry of the
    // settings menu: "Keep previous notes", unchecked.
    GLHistory(const QString& name, QWidget* parent);

    void mouseReleaseEvent(QMouseEvent* e) override;

    // Name of semitone `ht` with its octave, under the current naming settings.
    static QString noteName(int ht);

    QFont m_font; // "Helvetica"; pixel size set before each use
    QAction* keep;

public slots:
    // Turning "Keep previous notes" off leaves only the last note.
    void keepPreviousNotes(bool keep);

    void initializeGL() override;
    // Clears the view (white), lets the history paint on it, flushes.
    void paintGL() override;
    void resizeGL(int w, int h) override;

protected:
    // Removes every note but the last.
    virtual void dropPreviousNotes() = 0;

    // What a history draws over the cleared view: its title, grid, scale and
    // notes. The GL line width is 1 logical pixel at the start.
    virtual void paintHistory(QPainter& p) = 0;

    // The title at the top left (font 20 px, baseline from (2, 20)).
    void paintTitle(QPainter& p, const QString& title);

    // Runs `draw` as native GL painting in the view's logical pixels, y up.
    template <class Draw> void paintNative(QPainter& p, Draw draw)
    {
        p.beginNativePainting();
        orfe::glPixelProjection(*this);
        draw();
        p.endNativePainting();
    }

    // Sets the font to `pixelSize` logical pixels on the painter.
    void setFontSize(QPainter& p, int pixelSize);
};

// The notes of a history, of type NoteT whose member `Values` holds the values
// added while the note lasted, in order.
template <class NoteT, std::deque<float> NoteT::*Values> class GLNoteHistory : public GLHistory
{
public:
    using Note = NoteT;
    using GLHistory::GLHistory;

    // Notes, oldest first.
    std::deque<Note> m_notes;

    // Starts a new note; without "Keep previous notes" only this one is kept.
    void addNote(const Note& note)
    {
        m_notes.push_back(note);
        if (!keep->isChecked()) dropPreviousNotes();
    }

protected:
    void dropPreviousNotes() override
    {
        while (m_notes.size() > 1)
            m_notes.pop_front();
    }

    // The notes side by side from x = left to the right edge, each over a width
    // proportional to its number of values less one: its label (font 14 px)
    // along the bottom edge, its values as a black line strip of width 2
    // through (x, y(value)), and a grey vertical separator before the next one.
    template <class Y> void paintNotes(QPainter& p, int left, Y y)
    {
        if (m_notes.empty()) return;
        const int W = width();
        const int H = height();
        setFontSize(p, 14);
        const double step =
            orfe::historyStep(W - left, m_notes, [](const Note& n) { return (n.*Values).size(); });
        double x0 = left;
        int drawn = 0;
        for (std::size_t n = 0; n < m_notes.size(); ++n) {
            const Note& note = m_notes[n];
            const std::deque<float>& values = note.*Values;
            p.drawText(int(x0 + 2), H - 2, note.label());
            paintNative(p, [&] {
                if (!values.empty()) {
                    glColor3f(0.0f, 0.0f, 0.0f);
                    orfe::glLineWidthLogical(*this, 2.0f);
                    glBegin(GL_LINE_STRIP);
                    for (std::size_t i = 0; i < values.size(); ++i)
                        glVertex2d(x0 + double(i) * step, y(values[i]));
                    glEnd();
                }
                drawn += orfe::segmentLength(values.size());
                x0 = left + step * drawn;
                if (n + 1 < m_notes.size()) {
                    orfe::glLineWidthLogical(*this, 1.0f);
                    glColor3f(0.75f, 0.75f, 0.75f);
                    glBegin(GL_LINES);
                    glVertex2d(x0, 0);
                    glVertex2d(x0, H);
                    glEnd();
                }
            });
        }
    }
};

#endif
