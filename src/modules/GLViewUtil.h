#ifndef ORFE_GLVIEWUTIL_H
#define ORFE_GLVIEWUTIL_H

// Small helpers shared by the history views. Interface thread only; the GL
// calls need the view's context to be current.

#include <GL/gl.h>
#include <cstddef>

namespace orfe {

// Pixel coordinates with y pointing up: viewport (0, 0, w, h), orthographic
// projection (0, w, 0, h, 0, 1), identity model-view. Also switches off what a
// QPainter on the same context may have left on, so that plain coloured lines
// come out as drawn.
// Start state of every history view's context: white background.
inline void glInitWhite()
{
    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    glShadeModel(GL_SMOOTH);
    glLoadIdentity();
}

inline void glPixelProjection(int w, int h)
{
    glViewport(0, 0, w, h);
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
