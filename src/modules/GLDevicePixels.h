#ifndef ORFE_GLDEVICEPIXELS_H
#define ORFE_GLDEVICEPIXELS_H

// Drawing in device pixels, so that a view shows the same picture whatever the
// screen's scale factor: the GL viewport and projection span the framebuffer's
// real pixels, every fixed length of the drawing (margins, gaps, line widths)
// is scaled by the device pixel ratio, and texts, which QPainter places in
// widget (logical) units, are placed at device positions divided by the ratio.
// Interface thread only.

#include <QPointF>
#include <QWidget>
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

} // namespace orfe

#endif
