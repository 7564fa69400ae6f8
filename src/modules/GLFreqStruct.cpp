#include "GLFreqStruct.h"

#include "GLDevicePixels.h"
#include "GLViewUtil.h"

#include <QAction>
#include <QPainter>
#include <QSpinBox>
#include <algorithm>
#include <cmath>

GLFreqStruct::GLFreqStruct(QWidget* parent)
    : QOpenGLWidget(parent), View(tr("Harmonics"), this), m_components(16, 0.0), m_max_level(1.0)
{
    m_font.setFamily("Helvetica");

    m_show_action->setIcon(QIcon(":/orfe/ui/images/module_harmonics.svg"));
    m_show_action->setChecked(false);
    hide();

    spinNumComponents = addSpinSetting(tr("Number of harmonics"), "spinNumComponents", 1, 128, 1, 16,
                                       tr("Number of harmonics"), SLOT(spinNumComponentsChanged(int)));
}

void GLFreqStruct::spinNumComponentsChanged(int num)
{
    m_components.resize(std::size_t(std::max(num, 1)), 0.0);
    update();
}

void GLFreqStruct::feedCycle(const CycleData& data)
{
    if (!m_show_action->isChecked() || !(data.freq > 0.0)) return;

    std::fill(m_components.begin(), m_components.end(), s_missing_level);
    const std::vector<Music::Harmonic> harms =
        data.pipeline.harmonicStructure(data.freq, int(m_components.size()));
    // The largest level written, not the largest above 0 dB: a quiet sound whose
    // harmonics all lie below 0 dB is still drawn from its strongest harmonic
    // down. Nothing written leaves 0, nothing to draw.
    bool written = false;
    m_max_level = 0.0;
    for (const Music::Harmonic& h : harms) {
        if (h.harm_number < 1 || h.harm_number > int(m_components.size())) continue;
        // A zero modulus has no finite level: it counts as not found.
        if (!(h.mod > 0.0) || !std::isfinite(h.mod)) continue;
        const double level = 20.0 * std::log10(1000.0 * h.mod);
        m_components[std::size_t(h.harm_number - 1)] = level;
        m_max_level = written ? std::max(m_max_level, level) : level;
        written = true;
    }
}

void GLFreqStruct::mouseReleaseEvent(QMouseEvent* e)
{
    View::mouseReleaseEvent(e);
}

void GLFreqStruct::initializeGL()
{
    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    glShadeModel(GL_FLAT);
    glLoadIdentity();
}

void GLFreqStruct::resizeGL(int, int)
{
    const orfe::DevicePixels dev(this);
    orfe::glPixelProjection(dev.w, dev.h);
}

void GLFreqStruct::paintGL()
{
    const double M = m_max_level;
    if (M == 0.0) return;

    const orfe::DevicePixels dev(this);
    const int W = dev.w;
    const int H = dev.h;
    const int N = int(m_components.size());
    const int lw = dev.px(fontMetrics().horizontalAdvance("-40dB"));
    const int d = lw + dev.px(2);
    const double step = double(W - d) / N;
    const int gap = step > 2 * dev.ratio ? dev.px(1) : 0;
    // The harmonic numbers take the bottom strip; 50 dB span the rest.
    const int bottom = dev.px(12);
    const int span = H - bottom;
    auto below = [&](int dB) { return dB * span / 50; }; // pixels from the top

    glClear(GL_COLOR_BUFFER_BIT);

    QPainter p(this);
    p.beginNativePainting();
    orfe::glPixelProjection(W, H);

    glColor3f(0.4f, 0.4f, 0.5f);
    glBegin(GL_QUADS);
    for (int i = 0; i < N; ++i) {
        // The strongest harmonic reaches the top, 50 dB below it the strip;
        // weaker ones are not drawn (they would cover the numbers).
        const double e = H + std::trunc((m_components[std::size_t(i)] - M) * span / 50.0);
        if (!(e > bottom)) continue;
        const int x0 = int(i * step) + d;
        const int x1 = int((i + 1) * step) + d - gap;
        glVertex2i(x0, bottom);
        glVertex2i(x1, bottom);
        glVertex2d(x1, e);
        glVertex2d(x0, e);
    }
    glEnd();

    glLineWidth(GLfloat(dev.ratio));
    auto grid = [&](int every, int last, float g) {
        glColor3f(g, g, g);
        glBegin(GL_LINES);
        for (int j = 0; j <= last; j += every) {
            glVertex2i(d, H - below(j));
            glVertex2i(W, H - below(j));
        }
        glEnd();
    };
    // Thresholds in widget units, so that the grid is the same at any scale.
    if (height() - 1 > 73) grid(2, 48, 0.875f);
    if (height() - 1 >= 14) grid(10, 40, 0.75f);
    p.endNativePainting();

    m_font.setPixelSize(14);
    p.setFont(m_font);
    const double xh = dev.ratio * p.fontMetrics().xHeight() / 2;
    for (int j = 10; j <= 40; j += 10)
        p.drawText(dev.painterPos(dev.px(2), xh + below(j)), QString("-%1dB").arg(j));

    m_font.setPixelSize(10);
    p.setFont(m_font);
    for (int i = 0; i < N; ++i)
        p.drawText(dev.painterPos(lw + int((i + 0.5) * step) - dev.px(1), H - dev.px(2)),
                   QString::number(i + 1));

    m_font.setPixelSize(20);
    p.setFont(m_font);
    p.drawText(2, 20, tr("Harmonics' amplitude"));

    p.end();
    glFlush();
}
