#ifndef ORFE_VIEWTESTUTIL_H
#define ORFE_VIEWTESTUTIL_H

// Helpers for the view tests: pixel colours, and closing a modal menu.

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QMenu>
#include <QOpenGLWidget>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <functional>

namespace viewtest {

inline QColor at(const QImage& img, int x, int y)
{
    return QColor(img.pixel(x, y));
}

inline bool isColour(const QImage& img, int x, int y, const QColor& c, int tol = 0)
{
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return false;
    QColor p = at(img, x, y);
    return std::abs(p.red() - c.red()) <= tol && std::abs(p.green() - c.green()) <= tol &&
           std::abs(p.blue() - c.blue()) <= tol;
}

// Grey level g (0..1) as an 8-bit colour, the way GL converts it.
inline QColor grey(double g)
{
    int v = int(g * 255.0 + 0.5);
    return QColor(v, v, v);
}

// Whether a pixel of colour c lies within `radius` pixels (square) of (x, y).
inline bool near(const QImage& img, int x, int y, const QColor& c, int radius = 1, int tol = 0)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (isColour(img, x + dx, y + dy, c, tol)) return true;
    return false;
}

// Runs `inspect` on the popup menu that opens next (called from the event loop
// of the modal menu), then closes it. `opened` tells whether one was found.
inline void inspectNextPopup(std::function<void(QMenu*)> inspect, bool* opened)
{
    *opened = false;
    QTimer::singleShot(200, [inspect, opened]() {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        *opened = true;
        inspect(menu);
        menu->close();
    });
}

// Texts drawn with QPainter on a white OpenGL widget, the way the GL views
// draw theirs, so that their pixels can be compared one for one.
class TextReference : public QOpenGLWidget
{
public:
    struct Text
    {
        int pixelSize;
        QPoint pos; // baseline start
        QString text;
    };
    std::vector<Text> texts;

protected:
    void paintGL() override
    {
        QPainter p(this);
        p.beginNativePainting();
        glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        p.endNativePainting();
        QFont font("Helvetica");
        for (const Text& t : texts) {
            font.setPixelSize(t.pixelSize);
            p.setFont(font);
            p.drawText(t.pos, t.text);
        }
    }
};

// Number of pixels inside `rect` that differ between the two images.
inline int differences(const QImage& a, const QImage& b, const QRect& rect)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) ++n;
    return n;
}

// Image rows of the non-white pixels of column x.
inline QList<int> markedRows(const QImage& img, int x)
{
    QList<int> rows;
    for (int y = 0; y < img.height(); ++y)
        if (QColor(img.pixel(x, y)) != QColor(Qt::white)) rows << y;
    return rows;
}

// A horizontal GL line of width 1 at the integer height Y (y up) lies exactly
// between two pixel rows; the rasteriser lights one of them, image row H - Y or
// H - 1 - Y. Returns the image row that carries colour c, or -1.
inline int glLineRow(const QImage& img, int x, int Y, const QColor& c)
{
    const int H = img.height();
    if (isColour(img, x, H - Y, c)) return H - Y;
    if (isColour(img, x, H - 1 - Y, c)) return H - 1 - Y;
    return -1;
}

} // namespace viewtest

#endif
