#include "GLSample.h"

#include "GLDevicePixels.h"
#include "GLViewUtil.h"

#include <QAction>
#include <QPainter>
#include <QSpinBox>
#include <algorithm>
#include <cmath>

GLSample::GLSample(QWidget* parent) : QOpenGLWidget(parent), View(tr("Waveform"), this), m_max_abs(0.0)
{
    m_font.setFamily("Helvetica");

    m_show_action->setIcon(QIcon(":/orfe/ui/images/module_waveformperiod.svg"));
    m_show_action->setChecked(false);
    hide();

    hasFading = addCheckSetting(tr("Show fading"), "hasFading", false, SLOT(update()));
    spinNumFading = addSpinSetting(tr("Number of fading"), "spinNumFading", 1, 10000, 1, 20,
                                   tr("Number of fading"), SLOT(update()));
}

void GLSample::addPeriod(qint64 time_ms, const std::deque<double>& samples)
{
    double max_abs = 0.0;
    for (double v : samples)
        max_abs = std::max(max_abs, std::fabs(v));
    m_periods.push_front(Period{time_ms, samples, max_abs});

    const std::size_t keep = hasFading->isChecked() ? std::size_t(spinNumFading->value()) : 1;
    while (m_periods.size() > keep)
        m_periods.pop_back();
}

void GLSample::clearPeriods()
{
    m_periods.clear();
}

void GLSample::feedCycle(const CycleData& data)
{
    if (data.freq != 0.0 && m_show_action->isChecked()) {
        std::deque<double> period;
        data.pipeline.wavePeriod(data.capture_rate, data.freq, period);
        addPeriod(data.time_ms, period);
    } else
        clearPeriods();
}

void GLSample::mouseReleaseEvent(QMouseEvent* e)
{
    View::mouseReleaseEvent(e);
}

void GLSample::initializeGL()
{
    orfe::glInitWhite();
}

void GLSample::resizeGL(int, int)
{
    const orfe::DevicePixels dev(this);
    orfe::glPixelProjection(dev.w, dev.h);
}

void GLSample::paintGL()
{
    const orfe::DevicePixels dev(this);
    const int W = dev.w;
    const int H = dev.h;

    glClear(GL_COLOR_BUFFER_BIT);

    QPainter p(this);
    m_font.setPixelSize(20);
    p.setFont(m_font);
    p.drawText(2, 20, tr("Waveform's period"));

    p.beginNativePainting();
    orfe::glPixelProjection(W, H);
    glLineWidth(GLfloat(dev.ratio));

    glColor3f(0.5f, 0.5f, 0.5f);
    glBegin(GL_LINES);
    glVertex2i(0, H / 2);
    glVertex2i(W, H / 2);
    glEnd();

    if (m_max_abs == 0.0) m_max_abs = 1.0;
    const std::size_t P = m_periods.size();
    if (P > 0) {
        // Without fading only the newest period is drawn, normalised on its own:
        // until the next period trims the queue after "Show fading" was turned
        // off, the older ones are still there but must not show.
        const bool fading = hasFading->isChecked();
        const std::size_t drawn = fading ? P : 1;
        m_max_abs = 0.0;
        for (std::size_t n = 0; n < drawn; ++n)
            m_max_abs = std::max(m_max_abs, m_periods[n].max_abs);

        // Oldest first, so that the newest (black) lies on top.
        for (std::size_t n = drawn; n-- > 0 && m_max_abs != 0.0;) {
            const std::deque<double>& v = m_periods[n].samples;
            const std::size_t M = v.size();
            if (M == 0) continue; // the buffer was too short to cut a period
            const GLfloat g = GLfloat(double(n) / double(P));
            const double step = double(W) / double(M);
            auto y = [&](double sample) { return sample / m_max_abs * H * 0.5 + H / 2; };
            // The last sample at the left edge, the first at the right edge.
            glColor3f(g, g, g);
            glBegin(GL_LINE_STRIP);
            for (std::size_t j = M - 1; j >= 1; --j)
                glVertex2d(std::trunc(double(M - 1 - j) * step), y(v[j]));
            glVertex2d(W, y(v[0]));
            glEnd();
        }
    }

    p.endNativePainting();
    p.end();
    glFlush();
}
