#ifndef ORFE_GLDEVICEPIXELS_H
#define ORFE_GLDEVICEPIXELS_H

// Fixed-function drawing on a QOpenGLWidget whose framebuffer has more pixels
// than the widget has logical pixels (QT_SCALE_FACTOR, high-density screens),
// so that a view shows the same picture whatever the screen's scale factor.
// Two ways: a model-view scale that lets the drawing code keep the widget's
// logical coordinates (glDeviceProjection), or drawing in device pixels with
// every fixed length scaled by the ratio (DevicePixels). QPainter texts on the
// same widget are placed in logical units. Interface thread only; the widget's
// context must be current.

#include "GLViewUtil.h"

#include <QPointF>
#include <QWidget>
#include <QtGlobal>
#include <cmath>

namespace orfe {

// Device pixels per logical pixel of the widget.
inline double devicePixelRatio(const QWidget* w)
{
    return w->devicePixelRatioF();
}

// Viewport (0, 0, dw, dh) and orthographic projection (0, dw, 0, dh) over the
// widget's dw x dh device pixels (y up), then a model-view scale so that
// vertices are given in logical pixels.
inline void glDeviceProjection(const QWidget* w)
{
    const double r = devicePixelRatio(w);
    glPixelProjection(qRound(w->width() * r), qRound(w->height() * r));
    glScaled(r, r, 1.0);
}

// A line width given in logical pixels.
inline void glLogicalLineWidth(const QWidget* w, double width)
{
    glLineWidth(GLfloat(width * devicePixelRatio(w)));
}

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

} // namespace orfe

#endif
