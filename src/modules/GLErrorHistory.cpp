#include "GLErrorHistory.h"

#include "GLViewUtil.h"
#include "Music/Music.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSettings>
#include <QSpinBox>
#include <QWidgetAction>
#include <algorithm>

GLErrorHistory::Note::Note(int h) : ht(h)
{
    init();
}

GLErrorHistory::Note::Note(int h, int num, int den) : ht(h)
{
    init();
    factor = QString::number(num) + "/" + QString::number(den);
}

GLErrorHistory::Note::Note(int h, float cents) : ht(h)
{
    init();
    factor = QString::number(cents, 'g', 6);
}

void GLErrorHistory::Note::init()
{
    min_err = std::numeric_limits<float>::max();
    max_err = -std::numeric_limits<float>::max();
    avg_err = 0.0f;
}

void GLErrorHistory::Note::addError(float err)
{
    min_err = std::min(min_err, err);
    max_err = std::max(max_err, err);
    const float n = float(errors.size());
    errors.push_back(err);
    avg_err = (avg_err * n + err) / (n + 1.0f);
}

QString GLErrorHistory::Note::label() const
{
    return QString::fromStdString(Music::GetNoteName(ht, Music::s_notes_name, Music::s_transposition, true)) +
           factor;
}

GLErrorHistory::GLErrorHistory(QWidget* parent) : QOpenGLWidget(parent), View(tr("Error history"), this)
{
    m_font.setFamily("Helvetica");

    m_show_action->setIcon(QIcon(":/orfe/ui/images/module_errorhistory.svg"));

    keep = addCheckSetting(tr("Keep previous notes"), "keep", false, SLOT(keepPreviousNotes(bool)));
    useCents = addCheckSetting(tr("Use cents"), "useCents", true, SLOT(update()));
    spinScale = addSpinSetting(tr("Scale range"), "spinScale", 5, 50, 1, 50, tr("Scale range (in cents)"),
                               SLOT(update()));

    // Last, since checking shows the widget, which may paint at once.
    m_show_action->setChecked(true);
}

void GLErrorHistory::addNote(const Note& note)
{
    m_notes.push_back(note);
    if (!keep->isChecked())
        while (m_notes.size() > 1)
            m_notes.pop_front();
}

void GLErrorHistory::addError(float err)
{
    // The analysis cycle adds a note before the first error; an error without a
    // note has nowhere to go.
    if (m_notes.empty()) return;
    m_notes.back().addError(err);
}

void GLErrorHistory::keepPreviousNotes(bool k)
{
    if (!k)
        while (m_notes.size() > 1)
            m_notes.pop_front();
}

void GLErrorHistory::save()
{
    s_settings->setValue("keep", keep->isChecked());
    s_settings->setValue("useCents", useCents->isChecked());
    s_settings->setValue("spinScale", spinScale->value());
}

void GLErrorHistory::load()
{
    keep->setChecked(s_settings->value("keep", keep->isChecked()).toBool());
    useCents->setChecked(s_settings->value("useCents", useCents->isChecked()).toBool());
    spinScale->setValue(s_settings->value("spinScale", spinScale->value()).toInt());
}

void GLErrorHistory::clearSettings()
{
    s_settings->remove("keep");
    s_settings->remove("useCents");
    s_settings->remove("spinScale");
}

void GLErrorHistory::mouseReleaseEvent(QMouseEvent* e)
{
    View::mouseReleaseEvent(e);
}

void GLErrorHistory::initializeGL()
{
    orfe::glInitWhite();
}

void GLErrorHistory::resizeGL(int w, int h)
{
    orfe::glPixelProjection(w, h);
}

void GLErrorHistory::paintGL()
{
    const int W = width();
    const int H = height();
    const int margin = 29;
    const int s = spinScale->value();
    const bool cents = useCents->isChecked();

    glClear(GL_COLOR_BUFFER_BIT);
    glLineWidth(1.0f);

    QPainter p(this);
    m_font.setPixelSize(20);
    p.setFont(m_font);
    p.drawText(2, 20, tr("Error"));

    // Grid.
    p.beginNativePainting();
    orfe::glPixelProjection(W, H);
    if (cents) {
        const double k = 50.0 / s;
        auto family = [&](int step, float grey) {
            if ((H - margin) * step / 100.0 * k <= 2) return;
            const int top = step * (s / step);
            glColor3f(grey, grey, grey);
            glBegin(GL_LINES);
            for (int g = -top; g <= top; g += step) {
                int y = H / 2 + int(H * g / 100.0 * k);
                glVertex2i(margin, y);
                glVertex2i(W, y);
            }
            glEnd();
        };
        family(2, 0.875f);
        family(10, 0.75f);
    } else {
        auto line = [&](int y) {
            glVertex2i(margin, y);
            glVertex2i(W, y);
        };
        glBegin(GL_LINES);
        glColor3f(0.5f, 0.5f, 0.5f);
        line(H / 2);
        glColor3f(0.75f, 0.75f, 0.75f);
        line(H / 4);
        line(3 * H / 4);
        glColor3f(0.87f, 0.87f, 0.87f);
        line(H / 8);
        line(7 * H / 8);
        line(3 * H / 8);
        line(5 * H / 8);
        glEnd();
    }
    p.endNativePainting();

    // Scale labels.
    m_font.setPixelSize(14);
    p.setFont(m_font);
    const int xHeight = p.fontMetrics().xHeight();
    if (cents) {
        const double k = 50.0 / s;
        const int step = s <= 10 ? 1 : (s <= 25 ? 5 : 10);
        const int top = step * (s / step);
        for (int c = -top; c <= top; c += step) {
            QString text = QString::number(c);
            if (c >= 0) text = "  " + text;
            if (c == 0) text = "  " + text;
            int y = H / 2 - int(c * H / 100.0 * k);
            if (xHeight < y && y < H - xHeight) p.drawText(2, y + xHeight / 2, text);
        }
    } else {
        // The numbers match the curve: 1/(4q) semitone reaches the quarter-height
        // rows and 1/(8q) the three-eighth rows.
        const int q = 50 / s;
        p.drawText(2, 3 * H / 4 + xHeight - 4, "-1/" + QString::number(4 * q));
        p.drawText(2, H / 4 + xHeight - 4, "+1/" + QString::number(4 * q));
        p.drawText(2, 5 * H / 8 + xHeight - 4, "-1/" + QString::number(8 * q));
        p.drawText(2, 3 * H / 8 + xHeight - 4, "+1/" + QString::number(8 * q));
    }

    // Notes.
    if (!m_notes.empty()) {
        const double k = cents ? 50.0 / s : double(50 / s);
        const double step =
            orfe::historyStep(W - margin, m_notes, [](const Note& n) { return n.errors.size(); });
        double x0 = margin;
        int drawn = 0;
        for (std::size_t n = 0; n < m_notes.size(); ++n) {
            const Note& note = m_notes[n];
            p.drawText(int(x0 + 2), H - 2, note.label());
            p.beginNativePainting();
            orfe::glPixelProjection(W, H);
            glColor3f(0.0f, 0.0f, 0.0f);
            glLineWidth(2.0f);
            glBegin(GL_LINE_STRIP);
            for (std::size_t i = 0; i < note.errors.size(); ++i)
                glVertex2d(x0 + i * step, H / 2 + note.errors[i] * k * H);
            glEnd();
            drawn += orfe::segmentLength(note.errors.size());
            x0 = margin + step * drawn;
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
