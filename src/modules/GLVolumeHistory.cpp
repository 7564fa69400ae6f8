#include "GLVolumeHistory.h"

#include "GLViewUtil.h"
#include "Music/Music.h"

#include <QAction>
#include <QPainter>
#include <QSettings>

GLVolumeHistory::Note::Note(int h) : ht(h) {}

QString GLVolumeHistory::Note::label() const
{
    return QString::fromStdString(Music::GetNoteName(ht, Music::s_notes_name, Music::s_transposition, true));
}

GLVolumeHistory::GLVolumeHistory(QWidget* parent)
    : QOpenGLWidget(parent), View(tr("Volume history"), this), m_treshold(-100)
{
    m_font.setFamily("Helvetica");

    m_show_action->setIcon(QIcon(":/orfe/ui/images/module_volumehistory.svg"));
    m_show_action->setChecked(false);
    hide();

    keep = addCheckSetting(tr("Keep previous notes"), "keep", false, SLOT(keepPreviousNotes(bool)));
}

void GLVolumeHistory::addNote(const Note& note)
{
    m_notes.push_back(note);
    if (!keep->isChecked())
        while (m_notes.size() > 1)
            m_notes.pop_front();
}

void GLVolumeHistory::addVolume(float volume)
{
    // The analysis cycle adds a note before the first level; a level without a
    // note has nowhere to go.
    if (m_notes.empty()) return;
    m_notes.back().volumes.push_back(volume);
}

void GLVolumeHistory::setVolumeTreshold(int treshold)
{
    m_treshold = treshold;
}

void GLVolumeHistory::keepPreviousNotes(bool k)
{
    if (!k)
        while (m_notes.size() > 1)
            m_notes.pop_front();
}

void GLVolumeHistory::save()
{
    s_settings->setValue("keep", keep->isChecked());
}

void GLVolumeHistory::load()
{
    keep->setChecked(s_settings->value("keep", keep->isChecked()).toBool());
}

void GLVolumeHistory::clearSettings()
{
    s_settings->remove("keep");
}

void GLVolumeHistory::mouseReleaseEvent(QMouseEvent* e)
{
    View::mouseReleaseEvent(e);
}

void GLVolumeHistory::initializeGL()
{
    orfe::glInitWhite();
}

void GLVolumeHistory::resizeGL(int w, int h)
{
    orfe::glPixelProjection(w, h);
}

void GLVolumeHistory::paintGL()
{
    const int W = width();
    const int H = height();

    glClear(GL_COLOR_BUFFER_BIT);
    glLineWidth(1.0f);

    QPainter p(this);
    m_font.setPixelSize(20);
    p.setFont(m_font);
    p.drawText(2, 20, tr("Volume"));

    const int g = fontMetrics().horizontalAdvance("50%") + 2;

    // Grid: the line at i*H/50 marks -(50 - i) dB.
    p.beginNativePainting();
    orfe::glPixelProjection(W, H);
    auto lines = [&](int from, int step, float grey) {
        glColor3f(grey, grey, grey);
        glBegin(GL_LINES);
        for (int i = from; i <= 48; i += step) {
            glVertex2i(g, i * H / 50);
            glVertex2i(W, i * H / 50);
        }
        glEnd();
    };
    if (H - 1 > 73) lines(2, 2, 0.875f);
    if (H - 1 > 13) lines(10, 10, 0.75f);
    p.endNativePainting();

    m_font.setPixelSize(14);
    p.setFont(m_font);
    const int xh = p.fontMetrics().xHeight() / 2;
    p.drawText(2, H - 2, tr("[dB]"));
    p.drawText(2, H / 5 + xh, "-10");
    p.drawText(2, 20 * H / 50 + xh, "-20");
    p.drawText(2, 30 * H / 50 + xh, "-30");
    p.drawText(2, 40 * H / 50 + xh, "-40");

    p.beginNativePainting();
    orfe::glPixelProjection(W, H);
    glColor3f(1.0f, 0.5f, 0.5f);
    glLineWidth(2.0f);
    glBegin(GL_LINES);
    glVertex2i(g, H + m_treshold * H / 50);
    glVertex2i(W, H + m_treshold * H / 50);
    glEnd();
    p.endNativePainting();

    if (!m_notes.empty()) {
        const double step = orfe::historyStep(W - g, m_notes, [](const Note& n) { return n.volumes.size(); });
        double x0 = g;
        int drawn = 0;
        for (std::size_t n = 0; n < m_notes.size(); ++n) {
            const Note& note = m_notes[n];
            p.drawText(int(x0 + 2), H - 2, note.label());
            p.beginNativePainting();
            orfe::glPixelProjection(W, H);
            if (!note.volumes.empty()) {
                glColor3f(0.0f, 0.0f, 0.0f);
                glLineWidth(2.0f);
                glBegin(GL_LINE_STRIP);
                for (std::size_t i = 0; i < note.volumes.size(); ++i)
                    glVertex2d(x0 + i * step, H + note.volumes[i] * H / 50.0);
                glEnd();
            }
            drawn += orfe::segmentLength(note.volumes.size());
            x0 = g + step * drawn;
            if (n + 1 < m_notes.size()) {
                glLineWidth(1.0f);
                glColor3f(0.75f, 0.75f, 0.75f);
                glBegin(GL_LINES);
                glVertex2d(x0, 0);
                glVertex2d(x0, H);
                glEnd();
            }
            p.endNativePainting();
        }
    }

    p.end();
    glFlush();
}
