#include "GLStatistics.h"

#include "ErrorScaleLabels.h"
#include "GLDevicePixels.h"
#include "Music/Music.h"

#include <QAction>
#include <QIcon>
#include <QPainter>
#include <QSpinBox>
#include <algorithm>
#include <cmath>

namespace {

// Bounds of the scale spin boxes: semitones outside are never recorded.
const int HT_LIMIT = 96;
// Left margin for the scale labels and bottom band for the column texts.
const int MARGIN_X = 29;
const int MARGIN_Y = 40;
// Half-width of the tolerance band: 12 log2(441/440) semitone, the distance
// from 440 Hz to 441 Hz (about 3.93 cents), as on the dial.
const double TOLERANCE = 0.0393015854;

} // namespace

GLStatistics::SemitoneStat::SemitoneStat(int h) : ht(h), avg_err(0.0f), std_err(0.0f) {}

void GLStatistics::SemitoneStat::addError(float err)
{
    // Welford's update: the same mean and sample deviation as a pass over every
    // stored value, at a cost that does not grow with their number.
    errors.push_back(err);
    const double n = double(errors.size());
    const double delta = double(err) - m_mean;
    m_mean += delta / n;
    m_squares += delta * (double(err) - m_mean);
    avg_err = float(m_mean);
    std_err = n >= 2.0 ? float(std::sqrt(m_squares / (n - 1.0))) : 0.0f;
}

GLStatistics::GLStatistics(QWidget* parent)
    : QOpenGLWidget(parent), View(tr("Statistics"), this), m_current_ht(Music::NO_SEMITONE)
{
    m_font.setFamily("Helvetica");

    m_reset_action = new QAction(tr("Reset statistics"), this);
    connect(m_reset_action, SIGNAL(triggered()), this, SLOT(reset()));
    m_popup_menu.addAction(m_reset_action);

    setting_keep_hidden =
        addCheckSetting(tr("Keep notes when hidden"), "setting_keep_hidden", false, SLOT(update()));
    setting_keep_n_values =
        addSpinSetting(tr("Keep n values"), "setting_keep_n_values", 1, 500, 3, 100,
                       tr("Keep this number of values in the computation of the statistics"), SLOT(update()),
                       InSettingsStore);
    // Every value counts until a reset; the setting is only stored.
    setting_keep_n_values->setEnabled(false);
    setting_show_std =
        addCheckSetting(tr("Show standard deviation"), "setting_show_std", true, SLOT(update()));
    setting_scale_auto = addCheckSetting(tr("Scale auto"), "setting_scale_auto", true, SLOT(update()));
    setting_scale_auto->setEnabled(false);
    setting_scale_min =
        addSpinSetting(tr("Scale min"), "setting_scale_min", -HT_LIMIT, HT_LIMIT, 6, -12,
                       tr("Scale min value (in semi-tones)"), SLOT(update()), InSettingsStore);
    setting_scale_max =
        addSpinSetting(tr("Scale max"), "setting_scale_max", -HT_LIMIT, HT_LIMIT, 6, 12,
                       tr("Scale max value (in semi-tones)"), SLOT(update()), InSettingsStore);
    for (QSpinBox* spin : {setting_scale_min, setting_scale_max}) {
        connect(spin, SIGNAL(valueChanged(int)), this, SLOT(resizeScale()));
        connect(setting_scale_auto, SIGNAL(toggled(bool)), spin, SLOT(setDisabled(bool)));
        spin->setEnabled(!setting_scale_auto->isChecked());
    }
    // Leaving the automatic scale shows the range of the spin boxes at once.
    connect(setting_scale_auto, SIGNAL(toggled(bool)), this, SLOT(resizeScale()));

    // Kept in step with the dial's, which stores them.
    showTolerance = addCheckSetting(tr("Show tolerance"), "showTolerance", true, SLOT(update()), NotStored);
    useCents = addCheckSetting(tr("Use cents"), "useCents", true, SLOT(update()), NotStored);
    spinScale = addSpinSetting(tr("Scale range"), "spinScale", 5, 50, 1, 50, tr("Scale range (in cents)"),
                               SLOT(update()), NotStored);

    m_show_action->setIcon(QIcon(":/orfe/ui/images/module_statistics.svg"));
    hide();
}

std::size_t GLStatistics::index(int ht) const
{
    return std::size_t(ht - m_stats.front().ht);
}

void GLStatistics::rebuild(int lo, int hi)
{
    std::vector<SemitoneStat> stats;
    stats.reserve(std::size_t(hi - lo + 1));
    for (int ht = lo; ht <= hi; ++ht)
        stats.emplace_back(ht);
    // Moved, not copied: the cost is one per semitone, whatever the values.
    for (SemitoneStat& old : m_stats)
        if (lo <= old.ht && old.ht <= hi) stats[std::size_t(old.ht - lo)] = std::move(old);
    m_stats.swap(stats);
}

void GLStatistics::addError(int ht, float error)
{
    m_current_ht = ht;
    if (isHidden() && !setting_keep_hidden->isChecked()) return;
    if (ht < -HT_LIMIT || ht > HT_LIMIT) return;
    // One value that is not a number would spoil the semitone's figures for good.
    if (!std::isfinite(error)) return;

    if (setting_scale_auto->isChecked()) {
        // The entries themselves tell the range; the spin boxes show it.
        if (m_stats.empty()) {
            rebuild(ht, ht);
            setting_scale_min->setValue(ht);
            setting_scale_max->setValue(ht);
        } else if (ht < m_stats.front().ht) {
            rebuild(ht, m_stats.back().ht);
            setting_scale_min->setValue(ht);
        } else if (ht > m_stats.back().ht) {
            rebuild(m_stats.front().ht, ht);
            setting_scale_max->setValue(ht);
        }
    } else {
        resizeScale();
        if (ht < setting_scale_min->value() || ht > setting_scale_max->value()) return;
    }
    m_stats[index(ht)].addError(error);
}

void GLStatistics::feedCycle(const CycleData& data)
{
    // A target of 0 has no semitone (NO_SEMITONE), which is never recorded.
    addError(Music::NearestSemitone(data.compared_freq), float(data.error));
}

void GLStatistics::reset()
{
    m_stats.clear();
    if (setting_scale_auto->isChecked()) {
        setting_scale_min->setValue(0);
        setting_scale_max->setValue(0);
    }
    resizeScale();
    update();
}

void GLStatistics::resizeScale()
{
    if (setting_scale_auto->isChecked()) return;
    const int lo = setting_scale_min->value();
    const int hi = setting_scale_max->value();
    if (hi < lo) return;
    if (!m_stats.empty() && m_stats.front().ht == lo && m_stats.back().ht == hi) return;
    rebuild(lo, hi);
}

void GLStatistics::mouseReleaseEvent(QMouseEvent* e)
{
    View::mouseReleaseEvent(e);
}

void GLStatistics::initializeGL()
{
    orfe::glInitWhite();
}

void GLStatistics::resizeGL(int, int)
{
    orfe::glPixelProjection(*this);
}

void GLStatistics::paintGL()
{
    // Logical pixels throughout; glDeviceProjection maps them onto the device.
    const int W = width();
    const int H = height();
    const int w = W - MARGIN_X;
    const int h = H - MARGIN_Y;
    const int n = int(m_stats.size());
    const int s = spinScale->value();
    const bool cents = useCents->isChecked();
    const double k = cents ? 50.0 / s : double(50 / s);
    auto y = [&](double v) { return int((k * v + 0.5) * h) + MARGIN_Y; };
    auto left = [&](int i) { return i * w / n + MARGIN_X; };

    glClear(GL_COLOR_BUFFER_BIT);
    glLineWidth(1.0f);

    QPainter p(this);
    // GL drawing between the painter's texts.
    auto native = [&](double lineWidth, auto draw) {
        p.beginNativePainting();
        orfe::glPixelProjection(*this);
        orfe::glLineWidthLogical(*this, lineWidth);
        draw();
        p.endNativePainting();
    };
    // Vertices of a line across the plot at height gy, of a line up the plot at
    // x, of a rectangle.
    auto across = [&](int gy) {
        glVertex2i(MARGIN_X, gy);
        glVertex2i(W, gy);
    };
    auto upward = [&](int x) {
        glVertex2i(x, MARGIN_Y);
        glVertex2i(x, H);
    };
    auto rect = [](int x0, int x1, int y0, int y1) {
        glVertex2i(x0, y0);
        glVertex2i(x1, y0);
        glVertex2i(x1, y1);
        glVertex2i(x0, y1);
    };

    m_font.setPixelSize(20);
    p.setFont(m_font);
    p.drawText(2, 20, tr("Statistics"));

    native(1.0, [&] {
        if (showTolerance->isChecked()) {
            const int lo = y(-TOLERANCE);
            const int hi = y(TOLERANCE);
            glColor3d(0.65625, 0.86328125, 0.7109375);
            glBegin(GL_QUADS);
            rect(MARGIN_X, W, lo, hi);
            glEnd();
            glColor3d(0.48, 0.8, 0.57);
            glBegin(GL_LINES);
            across(lo);
            across(hi);
            glEnd();
        }
        if (setting_show_std->isChecked()) {
            glColor3d(0.85, 0.85, 0.85);
            glBegin(GL_QUADS);
            for (int i = 0; i < n; ++i) {
                const SemitoneStat& st = m_stats[std::size_t(i)];
                if (st.errors.empty()) continue;
                rect(left(i) + 1, left(i + 1), std::max(MARGIN_Y, y(double(st.avg_err) - st.std_err)),
                     std::max(MARGIN_Y, y(double(st.avg_err) + st.std_err)));
            }
            glEnd();
        }
        glBegin(GL_LINES);
        if (cents) {
            for (const auto& family : {std::make_pair(2, 0.875), std::make_pair(10, 0.75)}) {
                const int step = family.first;
                if (h * step / 100.0 * k <= 2) continue;
                glColor3d(family.second, family.second, family.second);
                const int top = step * (s / step);
                for (int g = -top; g <= top; g += step)
                    across(h / 2 + int(h * g / 100.0 * k) + MARGIN_Y);
            }
        } else {
            glColor3d(0.5, 0.5, 0.5);
            across(h / 2 + MARGIN_Y);
            glColor3d(0.75, 0.75, 0.75);
            across(h / 4 + MARGIN_Y);
            across(3 * h / 4 + MARGIN_Y);
            glColor3d(0.87, 0.87, 0.87);
            for (int eighths : {1, 7, 3, 5})
                across(eighths * h / 8 + MARGIN_Y);
        }
        glEnd();
    });

    m_font.setPixelSize(14);
    p.setFont(m_font);
    const int xHeight = p.fontMetrics().xHeight();
    if (cents) {
        const int step = orfe::centsLabelStep(s);
        const int top = orfe::centsLabelTop(s);
        for (int c = -top; c < top; c += step)
            p.drawText(2, h / 2 + xHeight / 2 - int(c * h / 100.0 * k), orfe::centsLabelText(c));
    } else {
        const orfe::FractionLabels labels = orfe::fractionLabels(s);
        p.drawText(2, 3 * h / 4 + xHeight / 2, "-" + labels.quarter);
        p.drawText(2, h / 4 + xHeight / 2, "+" + labels.quarter);
        p.drawText(2, 5 * h / 8 + xHeight / 2, "-" + labels.eighth);
        p.drawText(2, 3 * h / 8 + xHeight / 2, "+" + labels.eighth);
    }

    if (n > 0) {
        native(1.0, [&] {
            glColor3d(0.5, 0.5, 0.5);
            glBegin(GL_LINES);
            for (int i = 0; i < n; ++i)
                upward(left(i));
            glEnd();
        });

        for (int i = 0; i < n; ++i) {
            const SemitoneStat& st = m_stats[std::size_t(i)];
            auto centred = [&](int baseline, const QString& text) {
                const int tw = p.fontMetrics().horizontalAdvance(text);
                p.drawText(int((i + 0.5) * w / n + MARGIN_X - tw / 2), baseline, text);
            };
            centred(H - 21, QString::fromStdString(Music::GetNoteName(st.ht, Music::s_notes_name,
                                                                      Music::s_transposition, true)));
            if (!st.errors.empty()) centred(H - 4, QString::number(st.errors.size()));
        }

        native(2.0, [&] {
            glColor3d(0.0, 0.0, 0.0);
            glBegin(GL_LINES);
            for (int i = 0; i < n; ++i) {
                const SemitoneStat& st = m_stats[std::size_t(i)];
                if (st.errors.empty()) continue;
                glVertex2i(left(i) + 1, y(st.avg_err));
                glVertex2i(left(i + 1), y(st.avg_err));
            }
            for (int i = 0; i < n; ++i) {
                if (m_stats[std::size_t(i)].ht != m_current_ht) continue;
                upward(left(i));
                upward(left(i + 1));
            }
            glEnd();
        });
    }

    p.end();
    glFlush();
}
