#ifndef ORFE_GLDEVICEPIXELS_H
#define ORFE_GLDEVICEPIXELS_H

// Drawing in device pixels for the views that plot one value per pixel column
// (captured sound, spectrum), so that a high-DPI screen gets the finer columns
// it has, and the picture keeps its proportions at any scale factor: the GL
// drawing covers the framebuffer (width() * devicePixelRatioF() pixels across)
// while QPainter texts stay in widget coordinates, scaled by Qt.
// Interface thread only; the GL calls need the view's context to be current.

#include <GL/gl.h>

#include <QSize>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace orfe {

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
