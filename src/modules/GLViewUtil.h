#ifndef ORFE_GLVIEWUTIL_H
#define ORFE_GLVIEWUTIL_H

// Small helpers shared by the OpenGL views. Interface thread only; the GL calls
// need the view's context to be current.
//
// The views draw in logical pixels, the unit of their width() and height() and
// of QPainter. The framebuffer of a QOpenGLWidget has devicePixelRatioF()
// device pixels per logical pixel (2 on a screen scaled by 2), so the viewport
// covers the device pixels while the projection stays in logical ones, and GL
// line widths, which GL counts in device pixels, are scaled the same way.

#include <GL/gl.h>
#include <QWidget>
#include <QtGlobal>
#include <cstddef>

namespace orfe {

// Start state of every history view's context: white background.
inline void glInitWhite()
{
    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    glShadeModel(GL_SMOOTH);
    glLoadIdentity();
}

// Viewport (0, 0, vw, vh) in framebuffer pixels, orthographic projection
// (0, w, 0, h, 0, 1) with y pointing up, identity model-view. Also switches off
// what a QPainter on the same context may have left on, so that plain coloured
// lines come out as drawn.
inline void glPixelProjection(int vw, int vh, double w, double h)
{
    glViewport(0, 0, vw, vh);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, w, 0, h, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_LINE_SMOOTH);
}

// Device pixel coordinates over a framebuffer of w x h pixels.
inline void glPixelProjection(int w, int h)
{
    glPixelProjection(w, h, w, h);
}

// Logical pixel coordinates of `view`: the viewport covers the whole
// framebuffer (width x height logical pixels times the device pixel ratio,
// rounded as Qt sizes the framebuffer), the projection spans the logical size.
inline void glPixelProjection(const QWidget& view)
{
    const qreal ratio = view.devicePixelRatioF();
    glPixelProjection(qRound(view.width() * ratio), qRound(view.height() * ratio), view.width(),
                      view.height());
}

// Line width of `width` logical pixels on `view`'s framebuffer.
inline void glLineWidthLogical(const QWidget& view, float width)
{
    glLineWidth(float(width * view.devicePixelRatioF()));
}

// Number of steps a note of `count` values spans on the time axis. A note that
// has no value yet spans nothing (it must not pull the next notes back).
inline int segmentLength(std::size_t count)
{
    return count > 0 ? int(count) - 1 : 0;
}

// Pixels per value along `width` pixels for the kept notes. When no note spans
// a step (every note has at most one value) the step is 0: every note starts at
// the left margin and its curve, at most one point, has no length.
template <class Notes, class Count> double historyStep(int width, const Notes& notes, Count count)
{
    long total = 0;
    for (const auto& note : notes)
        total += segmentLength(count(note));
    return total > 0 ? double(width) / double(total) : 0.0;
}

} // namespace orfe

#endif
