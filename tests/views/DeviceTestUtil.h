#ifndef ORFE_DEVICETESTUTIL_H
#define ORFE_DEVICETESTUTIL_H

// For the views that draw in device pixels: the tests give sizes in device
// pixels, so that the same expected pixels hold at any scale factor (the tests
// run at QT_SCALE_FACTOR 1 and 2; device sizes are even for that reason).

#include <QImage>
#include <QOpenGLWidget>
#include <QtTest>

namespace viewtest {

// Resizes the widget to w x h device pixels and grabs its framebuffer.
inline QImage grabDevice(QOpenGLWidget* widget, int w, int h)
{
    const qreal ratio = widget->devicePixelRatioF();
    widget->resize(qRound(w / ratio), qRound(h / ratio));
    QImage img = widget->grabFramebuffer();
    if (img.size() != QSize(w, h)) qWarning() << "grabbed" << img.size() << "at ratio" << ratio;
    return img;
}

} // namespace viewtest

#endif
