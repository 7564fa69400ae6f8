#include "GLVolumeHistory.h"

GLVolumeHistoryNote::GLVolumeHistoryNote(int h) : ht(h) {}

QString GLVolumeHistoryNote::label() const
{
    return GLVolumeHistory::noteName(ht);
}

GLVolumeHistory::GLVolumeHistory(QWidget* parent)
    : GLVolumeHistoryBase(tr("Volume history"), parent), m_treshold(-100)
{
    m_show_action->setIcon(QIcon(":/orfe/ui/images/module_volumehistory.svg"));
    m_show_action->setChecked(false);
    hide();
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

void GLVolumeHistory::paintHistory(QPainter& p)
{
    const int W = width();
    const int H = height();

    paintTitle(p, tr("Volume"));

    const int g = fontMetrics().horizontalAdvance("50%") + 2;

    // Grid: the line at i*H/50 marks -(50 - i) dB.
    paintNative(p, [&] {
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
    });

    setFontSize(p, 14);
    const int xh = p.fontMetrics().xHeight() / 2;
    p.drawText(2, H - 2, tr("[dB]"));
    p.drawText(2, H / 5 + xh, "-10");
    p.drawText(2, 20 * H / 50 + xh, "-20");
    p.drawText(2, 30 * H / 50 + xh, "-30");
    p.drawText(2, 40 * H / 50 + xh, "-40");

    paintNative(p, [&] {
        glColor3f(1.0f, 0.5f, 0.5f);
        orfe::glLineWidthLogical(*this, 2.0f);
        glBegin(GL_LINES);
        glVertex2i(g, H + m_treshold * H / 50);
        glVertex2i(W, H + m_treshold * H / 50);
        glEnd();
    });

    paintNotes(p, g, [&](float v) { return H + v * H / 50.0; });
}
