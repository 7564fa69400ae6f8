#ifndef ORFE_GLDEVICEPIXELS_H
#define ORFE_GLDEVICEPIXELS_H

// Fixed-function drawing on a QOpenGLWidget whose framebuffer has more pixels
// than the widget has logical pixels (QT_SCALE_FACTOR, high-density screens),
// so that a view shows the same picture whatever the screen's scale factor.
// Views that keep logical coordinates use glPixelProjection (GLViewUtil.h);
// these helpers are for views that draw in device pixels, with every fixed
// length scaled by the ratio. QPainter texts on the same widget are placed in
// logical units. Interface thread only; the widget's
// context must be current.

#include "GLViewUtil.h"

#include <QPointF>
#include <QSize>
#include <QWidget>
#include <QtGlobal>
#include <algorithm>
#include <cmath>

namespace orfe {

struct DevicePixels
{
    explicit DevicePixels(const QWidget* widget)
        : ratio(widget->devicePixelRatioF()), w(px(widget->width())), h(px(widget->height()))
    {
    }

    // A length of `logical` widget units in whole device pixels (the way Qt
    // sizes the framebuffer of a QOpenGLWidget).
    int px(double logical) const { return int(std::lround(logical * ratio)); }
    // A painter position for the device pixel (x, y), y counted down.
    QPointF painterPos(double x, double y) const { return QPointF(x / ratio, y / ratio); }

    double ratio;
    int w; // framebuffer size
    int h;
};

// For the views that plot one value per pixel column (captured sound,
// spectrum): the finer columns a high-DPI screen has.
// Size of the widget's framebuffer, in device pixels.
inline QSize deviceSize(const QWidget* widget)
{
    const qreal ratio = widget->devicePixelRatioF();
    return QSize(qRound(widget->width() * ratio), qRound(widget->height() * ratio));
}

// Width of a line that is one pixel wide at scale factor 1.
inline float deviceLineWidth(const QWidget* widget)
{
    return float(std::max<qreal>(1.0, widget->devicePixelRatioF()));
}

// Device pixel coordinates, y up, with integer coordinates at pixel centres:
// viewport (0, 0, w, h) and an orthographic projection shifted by half a pixel,
// so that a vertical line at x lights pixel column x and a horizontal one at y
// lights row y, instead of a rasteriser's choice between two neighbours.
// Also undoes what a QPainter on the same context may have left on; blending,
// when asked for, is the usual source-alpha blending.
inline void glDeviceProjection(int w, int h, bool blend)
{
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-0.5, w - 0.5, -0.5, h - 0.5, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glShadeModel(GL_SMOOTH);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_LINE_SMOOTH);
    if (blend) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else {
        glDisable(GL_BLEND);
    }
}

// A height in pixels for a drawing of height h, kept finite and within a few
// heights of the view so that it converts to an int; what lies outside is
// clipped anyway.
inline double clampHeight(double y, int h)
{
    const double limit = 8.0 * (h + 1);
    if (std::isnan(y)) return 0.0;
    return std::min(limit, std::max(-limit, y));
}

} // namespace orfe

#endif
