#include "GLErrorHistory.h"

#include <QAction>
#include <QSpinBox>
#include <algorithm>

GLErrorHistoryNote::GLErrorHistoryNote(int h) : ht(h)
{
    init();
}

GLErrorHistoryNote::GLErrorHistoryNote(int h, int num, int den) : ht(h)
{
    init();
    factor = QString::number(num) + "/" + QString::number(den);
}

GLErrorHistoryNote::GLErrorHistoryNote(int h, float cents) : ht(h)
{
    init();
    factor = QString::number(cents, 'g', 6);
}

void GLErrorHistoryNote::init()
{
    min_err = std::numeric_limits<float>::max();
    max_err = -std::numeric_limits<float>::max();
    avg_err = 0.0f;
}

void GLErrorHistoryNote::addError(float err)
{
    min_err = std::min(min_err, err);
    max_err = std::max(max_err, err);
    const float n = float(errors.size());
    errors.push_back(err);
    avg_err = (avg_err * n + err) / (n + 1.0f);
}

QString GLErrorHistoryNote::label() const
{
    return GLErrorHistory::noteName(ht) + factor;
}

GLErrorHistory::GLErrorHistory(QWidget* parent) : GLErrorHistoryBase(tr("Error history"), parent)
{
    m_show_action->setIcon(QIcon(":/orfe/ui/images/module_errorhistory.svg"));

    useCents = addCheckSetting(tr("Use cents"), "useCents", true, SLOT(update()));
    spinScale = addSpinSetting(tr("Scale range"), "spinScale", 5, 50, 1, 50, tr("Scale range (in cents)"),
                               SLOT(update()));

    // Last, since checking shows the widget, which may paint at once.
    m_show_action->setChecked(true);
}

void GLErrorHistory::addError(float err)
{
    // The analysis cycle adds a note before the first error; an error without a
    // note has nowhere to go.
    if (m_notes.empty()) return;
    m_notes.back().addError(err);
}

void GLErrorHistory::paintHistory(QPainter& p)
{
    const int W = width();
    const int H = height();
    const int margin = 29;
    const int s = spinScale->value();
    const bool cents = useCents->isChecked();

    paintTitle(p, tr("Error"));

    // Grid.
    paintNative(p, [&] {
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
    });

    // Scale labels.
    setFontSize(p, 14);
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
    const double k = cents ? 50.0 / s : double(50 / s);
    paintNotes(p, margin, [&](float e) { return H / 2 + e * k * H; });
}
