#ifndef ORFE_GLDEVICEPIXELS_H
#define ORFE_GLDEVICEPIXELS_H

// Fixed-function drawing on a QOpenGLWidget whose framebuffer has more pixels
// than the widget has logical pixels (QT_SCALE_FACTOR, high-density screens).
// The viewport and the projection cover every device pixel; a model-view scale
// lets the drawing code keep the widget's logical coordinates, so the picture
// is the same at any ratio, only finer. QPainter texts on the same widget are
// scaled by Qt itself. Interface thread only; the widget's context must be
// current.

#include "GLViewUtil.h"

#include <QWidget>
#include <QtGlobal>

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

} // namespace orfe

#endif
