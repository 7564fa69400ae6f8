#ifndef CPPADDONS_FIT_H
#define CPPADDONS_FIT_H

#include <cassert>

// Parabola y = a*x^2 + b*x + c through three points with distinct abscissae.
template <typename T> void FitParabola(T x1, T y1, T x2, T y2, T x3, T y3, T& a, T& b, T& c)
{
    // clang-format off
    assert(x1!=x2 && x1!=x3 && x2!=x3);
    // clang-format on
    const T d1 = (y2 - y1) / (x2 - x1);
    a = ((y3 - y1) / (x3 - x1) - d1) / (x3 - x2);
    b = d1 - (x1 + x2) * a;
    c = y1 - a * x1 * x1 - b * x1;
}

// Abscissa of the vertex of the parabola through three points. Collinear points
// have no vertex: the result is then not finite, and callers must check it.
template <typename T> T FitParabolaVertex(T x1, T y1, T x2, T y2, T x3, T y3)
{
    T a, b, c;
    FitParabola(x1, y1, x2, y2, x3, y3, a, b, c);
    return -b / (2 * a);
}

#endif
