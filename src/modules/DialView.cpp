#include "DialView.h"

#include <QAction>
#include <QPainter>
#include <QSpinBox>
#include <cmath>

namespace {

// The interval from 440 Hz to 441 Hz, 12*log2(441/440) semitone (about 3.93 cents).
constexpr double TOLERANCE = 0.0393015854;

// Point at the offset angle delta (degrees, clockwise from the vertical) on the
// ellipse of semi-axes (a, b) around the origin; y points down.
QPoint ellipsePoint(int a, int b, double delta)
{
    double rad = delta * M_PI / 180.0;
    return QPoint(int(a * std::sin(rad)), int(-b * std::cos(rad)));
}

void radialLine(QPainter& p, int rx, int ry, int len, double delta)
{
    p.drawLine(ellipsePoint(rx, ry, delta), ellipsePoint(rx + len, ry + len, delta));
}

} // namespace

DialView::DialView(QWidget* parent)
    : QFrame(parent), View(tr("Dial"), this), m_error(0.0f), m_min_error(0.0f), m_max_error(0.0f)
{
    showTolerance = addCheckSetting(tr("Show tolerance"), "showTolerance", true, SLOT(update()));
    showTrace = addCheckSetting(tr("Show trace"), "showTrace", true, SLOT(update()));
    useCents = addCheckSetting(tr("Use cents"), "useCents", true, SLOT(update()));
    spinScale = addSpinSetting(tr("Scale range"), "spinScale", 5, 100, 1, 50, tr("Scale range (in cents)"),
                               SLOT(update()));
}

void DialView::setError(float error)
{
    m_error = error;
    repaint();
}

void DialView::mouseReleaseEvent(QMouseEvent* e)
{
    View::mouseReleaseEvent(e);
}

void DialView::paintEvent(QPaintEvent* e)
{
    QFrame::paintEvent(e);

    QPainter p(this);
    const QFontMetrics fm = p.fontMetrics();
    const int W = width();
    const int H = height();
    const int fh = fm.height();
    const int s = spinScale->value();
    const bool cents = useCents->isChecked();
    // Degrees of offset per semitone are 150*k: +-s cents reach +-75 degrees in
    // cents mode; in fraction mode the factor is a whole number.
    const double k = cents ? 50.0 / s : double(50 / s);
    const double w = 150.0 * k;

    const bool landscape = W >= H;
    const int A = landscape ? W : H;
    const int R = landscape ? H : W;
    const int m = R / 10;

    // Unit, before any transform.
    p.setPen(Qt::black);
    const QString unit = cents ? tr("cents") : tr("1/x");
    if (landscape)
        p.drawText(W / 2 + fm.horizontalAdvance("cent"), H, unit);
    else
        p.drawText(W - fm.horizontalAdvance(unit), H / 2 - fh, unit);

    // Origin at the pivot; in portrait the fan opens to the left and positive
    // errors point upward.
    if (landscape) {
        p.translate(W / 2, H);
    } else {
        p.translate(W, H / 2);
        p.rotate(-90);
    }

    const int rx = A / 2 - fh - m;
    const int ry = R - fh - m;
    const bool needle = -1.0f < m_error && m_error < 1.0f;

    p.setBrush(QColor(123, 205, 145));
    p.setPen(QColor(83, 165, 105));

    if (showTolerance->isChecked()) {
        double t = k * 5.0 / 6.0 * TOLERANCE * 180.0;
        p.drawPie(QRect(-(rx - 2), -(ry - 2), 2 * (rx - 2), 2 * (ry - 2)), int((90.0 - t) * 16),
                  int(2.0 * t * 16));
    }

    if (needle && showTrace->isChecked() && m_max_error - m_min_error > 0) {
        p.setPen(QPen(QColor(128, 128, 128), R / 40));
        p.setBrush(Qt::NoBrush);
        int a = rx - 2 - R / 80;
        int b = ry - 2 - R / 80;
        p.drawArc(QRect(-a, -b, 2 * a, 2 * b), int((90.0 - m_min_error * w) * 16),
                  int(-(m_max_error - m_min_error) * w * 16));
    }

    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);

    // Labels, centred on an ellipse just outside the ticks, kept upright.
    const int la = A / 2 - fh + fh / 2 + 2;
    const int lb = R - fh + fh / 2 + 2;
    auto label = [&](const QString& text, double delta) {
        QPoint pt = ellipsePoint(la, lb, delta);
        p.translate(pt);
        if (!landscape) p.rotate(90);
        p.drawText(-(fm.horizontalAdvance(text) / 2), fh / 2, text);
        if (!landscape) p.rotate(-90);
        p.translate(-pt);
    };

    if (cents) {
        int step = s <= 10 ? 1 : (s <= 25 ? 5 : 10);
        int top = step * (s / step);
        for (int c = -top; c <= top; c += step)
            label(QString::number(c), w * c / 100.0);
    } else {
        static const int pairs[9][2] = {{0, 1}, {1, 2},  {-1, 2}, {1, 4},  {-1, 4},
                                        {1, 8}, {-1, 8}, {1, 16}, {-1, 16}};
        for (const auto& pr : pairs) {
            QString text = pr[0] == 0 ? QString("0") : QString::number(pr[1] * (50 / s));
            label(text, double(int(150.0 * pr[0] / pr[1])));
        }
    }

    // Ticks, longest first; shorter ones are drawn over them.
    if (cents) {
        const int steps[3] = {10, 5, 1};
        const int lens[3] = {m, int(0.6 * m), int(0.3 * m)};
        for (int i = 0; i < 3; ++i) {
            int top = steps[i] * (s / steps[i]);
            for (int c = -top; c <= top; c += steps[i])
                radialLine(p, rx, ry, lens[i], w * c / 100.0);
        }
    } else {
        for (int i = -4; i <= 4; ++i)
            radialLine(p, rx, ry, m, 75.0 * (i / 4.0));
        const double qs[3] = {0.125, 0.0625, 0.03125};
        const int lens[3] = {(2 * m) / 3, R / 20, R / 30};
        for (int i = 0; i < 3; ++i)
            for (double f = -0.5 + qs[i]; f < 0.5; f += 2 * qs[i])
                radialLine(p, rx, ry, lens[i], 150.0 * f);
    }

    if (needle) {
        double phi = (90.0 + w * m_error) * M_PI / 180.0;
        int x = -int((rx - 4) * std::cos(phi));
        int y = -int((ry - 4) * std::sin(phi));
        QPoint knee(int(std::floor(0.9 * x + 0.5)), int(std::floor(0.9 * y + 0.5)));
        p.setPen(QPen(QColor(64, 64, 64), 3));
        p.drawLine(QPoint(0, 0), knee);
        p.setPen(QPen(QColor(64, 64, 64), 1));
        p.drawLine(knee, QPoint(x, y));
    }
}
