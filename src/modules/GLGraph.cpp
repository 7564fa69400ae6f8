#include "GLGraph.h"

#include "GLDevicePixels.h"
#include "Music/Music.h"

#include <QAction>
#include <QPainter>
#include <QSpinBox>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The factory volume threshold, -28 dB, until the window applies its own.
const int FACTORY_TRESHOLD_DB = -28;

double amplitudeOf(int db)
{
    return std::pow(10.0, db / 20.0);
}

std::pair<double, double> minMax(std::deque<double>::const_iterator first,
                                 std::deque<double>::const_iterator last)
{
    const auto mm = std::minmax_element(first, last);
    return {*mm.first, *mm.second};
}

} // namespace

GLGraph::GLGraph(QWidget* parent)
    : QOpenGLWidget(parent), View(tr("Captured Sound"), this), m_samples_per_pixel(1), m_dirty(false),
      m_max_amplitude(0.0), m_amplitude_treshold(amplitudeOf(FACTORY_TRESHOLD_DB))
{
    m_font.setFamily("Helvetica");

    m_show_action->setIcon(QIcon(":/orfe/ui/images/module_capturedsound.svg"));

    showWaveForm = addCheckSetting(tr("Show Wave Form"), "showWaveForm", true, SLOT(update()));
    autoScale = addCheckSetting(tr("Auto scale"), "autoScale", false, SLOT(update()));
    setting_spinScaleFactor = addSpinSetting(tr("Scale factor"), "setting_spinScaleFactor", 1, 1000, 10, 1000,
                                             tr("Scale factor"), SLOT(update()));
    // A new duration changes the samples per column: the columns are remade at
    // once rather than mixing two time scales until the old ones scroll away.
    spinDuration = addSpinSetting(tr("Duration"), "spinDuration", 20, 120000, 100, 10000, tr("Duration"),
                                  SLOT(rebuild()));
    spinDuration->setSuffix(" ms");
    spinMaxHeight = addSpinSetting(tr("Max height"), "spinMaxHeight", 10, 100000, 1, 50, tr("Max height"),
                                   SLOT(update()));

    // Last, since checking shows the widget, which may paint at once.
    m_show_action->setChecked(true);
}

void GLGraph::addValue(double value)
{
    if (!std::isfinite(value)) value = 0.0;
    m_pending.push_front(value);
    m_history.push_front(value);
    m_dirty = true;
}

long long GLGraph::durationSamples() const
{
    // In 64 bits: 120 s at 192 kHz is beyond an int's range once multiplied.
    const long long n = (long long)spinDuration->value() * Music::GetSamplingRate() / 1000;
    return std::max(0LL, n);
}

int GLGraph::samplesPerPixel() const
{
    const int w = orfe::deviceSize(this).width();
    if (w <= 0) return 1;
    const long long s = durationSamples() / w;
    return s > 0 ? int(std::min<long long>(s, std::numeric_limits<int>::max())) : 1;
}

std::size_t GLGraph::maxColumns() const
{
    const int w = orfe::deviceSize(this).width();
    return w > 1 ? std::size_t(w - 1) : 0;
}

void GLGraph::trimHistory()
{
    const std::size_t n = std::size_t(durationSamples());
    if (m_history.size() > n) m_history.resize(n);
}

void GLGraph::fold()
{
    const int s = samplesPerPixel();
    m_samples_per_pixel = s;
    while (m_pending.size() >= std::size_t(s)) {
        m_minmax.push_front(minMax(m_pending.end() - s, m_pending.end()));
        m_pending.erase(m_pending.end() - s, m_pending.end());
    }
    const std::size_t columns = maxColumns();
    if (m_minmax.size() > columns) m_minmax.resize(columns);
    trimHistory();
    m_dirty = false;
}

void GLGraph::rebuild()
{
    // The history holds every sample, pending ones included: the columns are
    // cut from its newest end, and the next fold goes on from there.
    m_minmax.clear();
    m_pending.clear();
    const int s = samplesPerPixel();
    m_samples_per_pixel = s;
    trimHistory();
    const std::size_t columns = maxColumns();
    for (std::size_t i = 0; i + s <= m_history.size() && m_minmax.size() < columns; i += s)
        m_minmax.push_back(minMax(m_history.begin() + i, m_history.begin() + i + s));
    m_dirty = false;
    update();
}

void GLGraph::clear()
{
    m_history.clear();
    m_minmax.clear();
    // Left over, these would start the next column with sound from before.
    m_pending.clear();
    m_dirty = false;
}

void GLGraph::setVolumeTreshold(int treshold)
{
    m_amplitude_treshold = amplitudeOf(treshold);
    update();
}

void GLGraph::mouseReleaseEvent(QMouseEvent* e)
{
    View::mouseReleaseEvent(e);
}

void GLGraph::initializeGL()
{
    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glLoadIdentity();
}

void GLGraph::resizeGL(int, int)
{
    const QSize d = orfe::deviceSize(this);
    orfe::glDeviceProjection(d.width(), d.height(), true);
    rebuild();
}

void GLGraph::paintGL()
{
    if (m_dirty) fold();
    glClear(GL_COLOR_BUFFER_BIT);
    drawCurve(0.0f);
    glFlush();
}

void GLGraph::drawCurve(float g)
{
    QPainter p(this);
    m_font.setPixelSize(20);
    p.setFont(m_font);
    p.drawText(2, 20, tr("Captured Sound"));

    if (!showWaveForm->isChecked() || m_history.empty()) return;

    const QSize d = orfe::deviceSize(this);
    const int W = d.width();
    const int H = d.height();
    const int mid = H / 2;
    const int s = m_samples_per_pixel;
    const float line = orfe::deviceLineWidth(this);

    double c = 1000.0 / setting_spinScaleFactor->value();
    if (autoScale->isChecked()) {
        m_max_amplitude = 0.0;
        if (s < 2)
            for (double v : m_history)
                m_max_amplitude = std::max(m_max_amplitude, std::abs(v));
        else
            for (const auto& mm : m_minmax)
                m_max_amplitude = std::max({m_max_amplitude, mm.second, -mm.first});
        // Over silence there is nothing to scale to: the fixed scale factor
        // stays, so the threshold lines keep their places and the silent curve
        // lies on the zero line.
        const double auto_c = 1.0 / m_max_amplitude;
        if (m_max_amplitude > 0.0 && std::isfinite(auto_c)) c = auto_c;
    }
    auto height = [&](double v) { return orfe::clampHeight(c * v * H * 0.5 + mid, H); };

    p.beginNativePainting();
    orfe::glDeviceProjection(W, H, true);
    glLineWidth(line);

    glColor3f(0.8f, 0.8f, 0.8f);
    glBegin(GL_LINES);
    glVertex2i(0, mid);
    glVertex2i(W, mid);
    glEnd();

    const double t = m_amplitude_treshold;
    for (double side : {1.0, -1.0}) {
        const int y = int(orfe::clampHeight((1.0 + side * c * t) * H * 0.5, H));
        glBegin(GL_LINES);
        glColor3f(1.0f, 1.0f, 1.0f);
        glVertex2i(0, y);
        glColor3f(1.0f, 0.5f, 0.5f);
        glVertex2i(W, y);
        glEnd();
    }

    glColor3f(g, g, g);
    if (s < 2) {
        const long long n = (long long)m_history.size();
        glBegin(GL_LINE_STRIP);
        for (long long i = 0; i < n; ++i)
            glVertex2d(double(W - 1 - i * W / n), height(m_history[std::size_t(i)]));
        glEnd();
    } else {
        // One device pixel per column; a column covers at least one pixel, so
        // that quiet sound stays visible as a line at its level.
        glLineWidth(1.0f);
        glBegin(GL_LINES);
        for (std::size_t i = 0; i < m_minmax.size(); ++i) {
            const int x = W - 1 - int(i);
            const int y0 = int(height(m_minmax[i].first));
            const double y1 = std::max(height(m_minmax[i].second), y0 + 1.0);
            glVertex2d(x, y0);
            glVertex2d(x, y1);
        }
        glEnd();
    }
    p.endNativePainting();
}
