#include "GLFT.h"

#include "GLDevicePixels.h"
#include "Music/Music.h"

#include <QAction>
#include <QMouseEvent>
#include <QPainter>
#include <QSpinBox>
#include <QWidgetAction>
#include <algorithm>
#include <cassert>
#include <cmath>
#include <iostream>
#include <numeric>

namespace {

// Smallest power of two >= n (1 for n <= 1).
long long powerOfTwoAbove(long long n)
{
    long long a = 1;
    while (a < n)
        a *= 2;
    return a;
}

} // namespace

GLFT::GLFT(QWidget* parent)
    : QOpenGLWidget(parent), View(tr("Fourier Transform"), this), m_min_freq(0.0), m_max_freq(0.0),
      m_min_db(-50.0), m_max_db(100.0), m_drag_start(true), m_press_x(0), m_press_y(0), m_press_min_freq(0.0),
      m_press_max_freq(0.0), m_prev_x(0), m_prev_y(0), m_zp_factor(2.0)
{
    m_font.setFamily("Helvetica");
    m_fft.resize(1);

    // The amplitude scale is not kept between runs: a plain action rather
    // than a persisted setting.
    dBScale = new QAction(tr("dB scale"), this);
    dBScale->setCheckable(true);
    dBScale->setChecked(true);
    connect(dBScale, SIGNAL(toggled(bool)), this, SLOT(dBScaleChanged(bool)));
    m_popup_menu.addAction(dBScale);

    setting_winlen = addSpinSetting(tr("Size"), "setting_winlen", 1, 1000, 1, 20, tr("window length"),
                                    SLOT(spinWinLengthChanged(int)), InSettingsStore);
    setting_winlen->setSuffix(" ms");

    for (const QString& text : {tr("- Press left mouse button to move the view"),
                                tr("- Press SHIFT key and left mouse button to zoom in and out"),
                                tr("- Double-click to reset the view")}) {
        auto* action = new QWidgetAction(&m_popup_menu);
        auto* title = new Title(text, &m_popup_menu);
        title->setAlignment(Qt::AlignCenter);
        action->setDefaultWidget(title);
        m_popup_menu.addAction(action);
    }

    m_show_action->setIcon(QIcon(":/orfe/ui/images/module_fourier.svg"));
    m_show_action->setChecked(false);
    hide();

    resetScales();
    spinWinLengthChanged(setting_winlen->value());
}

void GLFT::spinWinLengthChanged(int num)
{
    const int rate = Music::GetSamplingRate();
    if (rate <= 0) return;

    const long long padding = (long long)std::pow(2.0, m_zp_factor);
    // A Hann window is 0 at both ends: three points is the shortest with a
    // value to normalise by.
    long long n = std::max(3LL, (long long)((double)num * rate / 1000.0));
    long long a = powerOfTwoAbove(n);
    bool capped = false;
    if (a * padding >= rate) {
        // The transform must stay shorter than the sampling rate: the window is
        // cut to the longest power of two that allows it. The setting keeps the
        // user's value, which a higher rate may allow again.
        long long longest = 1;
        while (longest * 2 * padding < rate)
            longest *= 2;
        if (longest < 3) return; // no usable window at such a rate
        n = a = longest;
        capped = true;
    }
    const int fftlen = int(a * padding);
    // clang-format off
    assert(fftlen<int(Music::GetSamplingRate()));
    // clang-format on

    m_window = Music::HannWindow(int(n));
    const double sum = std::accumulate(m_window.begin(), m_window.end(), 0.0);
    for (double& w : m_window)
        w *= 2.0 * double(n) / sum;

    m_fft.resize(fftlen);
    m_spectrum.resize(std::size_t(fftlen / 2), 0.0);

    std::cout << "GLFT: INFO: window length=" << num << "ms FFT length=" << fftlen;
    if (capped)
        std::cout << " (window cut to " << n << " samples, " << 1000.0 * double(n) / rate
                  << "ms: a longer one would need an FFT length of at least the sampling rate)";
    std::cout << std::endl;
}

void GLFT::trimSamples()
{
    const std::size_t fftlen = m_fft.in.size();
    if (m_samples.size() > fftlen) m_samples.resize(fftlen);
}

void GLFT::updateMaxFrequency(int sampling_rate)
{
    m_max_freq = sampling_rate / 2;
}

void GLFT::resetScales()
{
    m_min_freq = 0.0;
    m_max_freq = Music::GetSamplingRate() / 2;
    if (dBScale->isChecked()) {
        m_min_db = -50.0;
        m_max_db = 100.0;
    } else {
        m_max_db = 1.0;
    }
}

void GLFT::dBScaleChanged(bool)
{
    resetScales();
    update();
}

double GLFT::frequencyAt(double x) const
{
    if (width() <= 0) return m_min_freq;
    return (m_max_freq - m_min_freq) * x / width() + m_min_freq;
}

void GLFT::mousePressEvent(QMouseEvent* e)
{
    m_drag_start = true;
    m_press_x = e->pos().x();
    m_press_y = e->pos().y();
    m_press_min_freq = m_min_freq;
    m_press_max_freq = m_max_freq;
    m_text = tr("Frequency %1 [Hz]").arg(QString::number(frequencyAt(m_press_x)));
    update();
}

void GLFT::mouseDoubleClickEvent(QMouseEvent*)
{
    m_drag_start = true;
    resetScales(); // the whole frequency range, and the amplitude range
    update();
}

void GLFT::mouseMoveEvent(QMouseEvent* e)
{
    const int x = e->pos().x();
    const int y = e->pos().y();
    if (m_drag_start) {
        m_prev_x = x;
        m_prev_y = y;
        m_drag_start = false;
    }
    const double W = width();
    const double H = height();
    if ((e->buttons() & Qt::LeftButton) && W > 0 && H > 0) {
        if (e->modifiers() & Qt::ShiftModifier) {
            // Zoom about the frequency under the press: a drag over the full
            // width to the right narrows the range 8 times, to the left widens it.
            const double h = m_press_x;
            const double l = std::pow(8.0, (h - x) / W);
            const double fc = h * (m_max_freq - m_min_freq) / W + m_min_freq;
            m_min_freq = fc - (fc - m_press_min_freq) * l;
            m_max_freq = fc + (m_press_max_freq - fc) * l;
        } else {
            // Both ends move by the same amount, so a drag pans without
            // changing the span.
            const double df = (m_max_freq - m_min_freq) * (x - m_prev_x) / W;
            m_min_freq -= df;
            m_max_freq -= df;
            const double dy = y - m_prev_y;
            if (dBScale->isChecked()) {
                const double ddb = (m_max_db - m_min_db) * dy / H;
                m_min_db += ddb;
                m_max_db += ddb;
            } else if (dy < H) {
                // A drag down by the full height or more would make the scale
                // zero or negative.
                m_max_db -= dy * m_max_db / H;
            }
        }
        update();
    }
    m_prev_x = x;
    m_prev_y = y;
}

void GLFT::mouseReleaseEvent(QMouseEvent* e)
{
    View::mouseReleaseEvent(e);
}

void GLFT::initializeGL()
{
    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    glShadeModel(GL_FLAT);
    glLoadIdentity();
}

void GLFT::resizeGL(int, int)
{
    const QSize d = orfe::deviceSize(this);
    orfe::glDeviceProjection(d.width(), d.height(), false);
}

void GLFT::paintGL()
{
    glClear(GL_COLOR_BUFFER_BIT);
    QPainter p(this);

    const std::size_t fftlen = m_fft.in.size();
    const int rate = Music::GetSamplingRate();
    if (!m_window.empty() && m_samples.size() >= fftlen && rate > 0) {
        m_samples.resize(fftlen);

        m_font.setPixelSize(20);
        p.setFont(m_font);
        p.drawText(2, 20, tr("Fourier Transform"));

        // Newest sample first, zero-padded to the FFT length.
        std::fill(m_fft.in.begin(), m_fft.in.end(), 0.0);
        for (std::size_t j = 0; j < m_window.size(); ++j)
            m_fft.in[j] = m_samples[j] * m_window[j];
        m_fft.execute();
        for (std::size_t j = 0; j < m_spectrum.size(); ++j)
            m_spectrum[j] = std::abs(m_fft.out[j]);

        const QSize d = orfe::deviceSize(this);
        p.beginNativePainting();
        drawSpectrum(d.width(), d.height(), rate);
        p.endNativePainting();
    }

    if (!m_text.isEmpty()) {
        m_font.setPixelSize(14);
        p.setFont(m_font);
        p.drawText(width() / 2, 12, m_text);
    }
    p.end();
    glFlush();
}

void GLFT::drawSpectrum(int W, int H, int rate)
{
    orfe::glDeviceProjection(W, H, false);
    glLineWidth(orfe::deviceLineWidth(this));
    glColor3f(0.4f, 0.4f, 0.5f);

    const bool db = dBScale->isChecked();
    const int bins = int(m_spectrum.size());
    const double bins_per_hz = bins / (rate / 2.0);
    glBegin(GL_LINE_STRIP);
    for (int x = 0; x < W; ++x) {
        const double f = (m_max_freq - m_min_freq) * x / W + m_min_freq;
        // Nearest bin; columns beyond either end read the end bins.
        const double pos = f * bins_per_hz + 0.5;
        const int b = !(pos >= 1.0) ? 0 : pos >= bins - 1 ? bins - 1 : int(pos);
        const double v = m_spectrum[std::size_t(b)];
        const double y =
            db ? (20.0 * std::log10(std::abs(v)) - m_min_db) * H / (m_max_db - m_min_db) : v * H * m_max_db;
        glVertex2i(x, int(orfe::clampHeight(y, H)));
    }
    glEnd();
}
