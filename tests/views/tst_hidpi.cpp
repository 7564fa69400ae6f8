// The OpenGL views on a scaled screen (QT_SCALE_FACTOR set by CTest): the
// framebuffer has r device pixels per logical pixel, and the picture must be
// the one drawn at factor 1, scaled by r. Lines are r times as thick, texts are
// drawn in logical coordinates and scaled by QPainter.
//
// A logical GL height Y (y up) of a widget H pixels high is the device height
// rY, image row r(H - Y) counted from the top of the grabbed framebuffer.

#include "GLErrorHistory.h"
#include "GLVolumeHistory.h"
#include "ViewTestUtil.h"

#include "Music/Music.h"
#include "PitchModelReset.h"

#include <QAction>
#include <QSpinBox>
#include <QtTest>
#include <cmath>

using namespace viewtest;

namespace {

// The runs of consecutive rows of column x whose colour is c, as (first, last).
QList<QPair<int, int>> runs(const QImage& img, int x, const QColor& c, int tol = 0)
{
    QList<QPair<int, int>> found;
    for (int y = 0; y < img.height(); ++y) {
        if (!isColour(img, x, y, c, tol)) continue;
        if (!found.isEmpty() && found.last().second == y - 1)
            found.last().second = y;
        else
            found.append({y, y});
    }
    return found;
}

// Centre of a run in image rows, in device pixels from the top edge: a run of
// rows a..b covers the band from a to b + 1.
double centre(const QPair<int, int>& run)
{
    return (run.first + run.second + 1) / 2.0;
}

} // namespace

class TestHiDpi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fiveCentsSharpOnItsGridRow();
    void gridLinesScaled_data();
    void gridLinesScaled();
    void scaleLabelsInLogicalPixels();
    void volumeThresholdScaled();

private:
    QImage paint(QOpenGLWidget* view, int w, int h);
    double m_ratio = 1.0;
    GLErrorHistory* m_view = nullptr;
};

void TestHiDpi::initTestCase()
{
    QWidget probe;
    m_ratio = probe.devicePixelRatioF();
    const double wanted = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
    QVERIFY2(wanted > 1.0, "run with QT_SCALE_FACTOR above 1");
    QCOMPARE(m_ratio, wanted);
}

void TestHiDpi::init()
{
    resetPitchModel();
    m_view = new GLErrorHistory;
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
}

void TestHiDpi::cleanup()
{
    delete m_view;
    m_view = nullptr;
}

QImage TestHiDpi::paint(QOpenGLWidget* view, int w, int h)
{
    view->resize(w, h);
    QImage img = view->grabFramebuffer();
    const QSize device(qRound(w * m_ratio), qRound(h * m_ratio));
    if (img.size() != device) qWarning() << "grabbed" << img.size() << "expected" << device;
    return img;
}

void TestHiDpi::fiveCentsSharpOnItsGridRow()
{
    // Scale range 10 cents, H = 100: k = 50/10 = 5. The 2-cent lines sit at
    // Y = 50 + trunc(100 g/100 * 5) = 50 + 5g, so +4 cents at Y = 70 and +6 cents
    // at Y = 80; the label "  5" belongs to the painter row 50 - trunc(5*100/100*5)
    // = 25, that is Y = 75. A tone 5 cents sharp, 0.05 semitone, is drawn at
    // Y = 50 + 0.05 * 5 * 100 = 75: image row r(100 - 75) = 25r, halfway between
    // the +6 line at 20r and the +4 line at 30r.
    m_view->spinScale->setValue(10);
    m_view->addNote(GLErrorHistory::Note(0));
    for (int i = 0; i < 5; ++i)
        m_view->addError(0.05f);
    const QImage img = paint(m_view, 229, 100);
    QCOMPARE(img.height(), qRound(100 * m_ratio));

    const int x = qRound(150 * m_ratio); // on the curve, away from the labels
    const auto black = runs(img, x, Qt::black);
    QCOMPARE(black.size(), 1);
    QVERIFY2(std::fabs(centre(black[0]) - 25 * m_ratio) <= 0.5,
             qPrintable(QString("curve centred at row %1").arg(centre(black[0]))));
    // Width 2 logical pixels: 2r rows.
    QVERIFY(std::abs(black[0].second - black[0].first + 1 - 2 * m_ratio) < 1);

    // The 2-cent lines (grey 0.875) on either side of the curve.
    const auto lines = runs(img, x, grey(0.875));
    int above = -1, below = -1;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].second < black[0].first) above = i;
        if (below < 0 && lines[i].first > black[0].second) below = i;
    }
    QVERIFY(above >= 0 && below >= 0);
    QVERIFY(std::fabs(centre(lines[above]) - 20 * m_ratio) <= 1.0);
    QVERIFY(std::fabs(centre(lines[below]) - 30 * m_ratio) <= 1.0);
    QVERIFY(std::fabs(centre(black[0]) - (centre(lines[above]) + centre(lines[below])) / 2) <= 1.0);
}

void TestHiDpi::gridLinesScaled_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<QList<int>>("heights"); // logical GL heights Y of the lines
    QTest::addColumn<QList<int>>("greys");

    // Cents, s = 50, H = 100: the 10-cent lines only (2-cent family 71 * 2/100
    // = 1.42, not above 2): Y = 0, 10, ..., 100, grey 0.75 = 191.
    QList<int> ys, gs;
    for (int y = 0; y <= 100; y += 10)
        ys << y, gs << 191;
    QTest::newRow("H 100") << 100 << ys << gs;
    // H = 200: Y = 100 + 2g for g = -50, -48, ..., 50 in 223, the multiples of 20
    // in 191 over them.
    ys.clear(), gs.clear();
    for (int y = 0; y <= 200; y += 4)
        ys << y, gs << (y % 20 == 0 ? 191 : 223);
    QTest::newRow("H 200") << 200 << ys << gs;
}

void TestHiDpi::gridLinesScaled()
{
    QFETCH(int, height);
    QFETCH(QList<int>, heights);
    QFETCH(QList<int>, greys);
    const QImage img = paint(m_view, 200, height);
    const int x = qRound(195 * m_ratio);
    QList<QPair<int, int>> expected;
    for (int i = 0; i < heights.size(); ++i) {
        const double row = m_ratio * (height - heights[i]);
        const auto found = runs(img, x, grey(greys[i] / 255.0));
        bool seen = false;
        for (const auto& run : found)
            if (std::fabs(centre(run) - row) <= 0.5 && std::abs(run.second - run.first + 1 - m_ratio) < 1)
                seen = true;
        // Lines at the very bottom or top lie half outside the image.
        if (heights[i] == 0 || heights[i] == height) continue;
        QVERIFY2(seen, qPrintable(QString("line at Y %1, row %2").arg(heights[i]).arg(row)));
    }
    // Nothing in the column but those lines: every marked row lies within
    // r/2 of a line's row.
    for (int y : markedRows(img, x)) {
        bool onLine = false;
        for (int h : heights)
            if (std::fabs(y + 0.5 - m_ratio * (height - h)) <= m_ratio / 2 + 0.5) onLine = true;
        QVERIFY2(onLine, qPrintable(QString("row %1").arg(y)));
    }
}

void TestHiDpi::scaleLabelsInLogicalPixels()
{
    // The labels of scale range 50 at H = 100 (x-height 8): rows 50 - c + 4 for
    // c = -40 ... 40, as in the factor-1 picture; the reference draws the same
    // texts at the same logical places, on the same scaled screen.
    const QImage img = paint(m_view, 200, 100);
    TextReference ref;
    ref.texts.push_back({20, QPoint(2, 20), "Error"});
    const QStringList texts{"-40", "-30", "-20", "-10", "    0", "  10", "  20", "  30", "  40"};
    for (int i = 0; i < texts.size(); ++i)
        ref.texts.push_back({14, QPoint(2, 50 + 40 - 10 * i + 4), texts[i]});
    ref.resize(200, 100);
    ref.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ref));
    const QImage expected = ref.grabFramebuffer();
    QCOMPARE(expected.size(), img.size());
    QCOMPARE(differences(img, expected, QRect(0, 0, qRound(28 * m_ratio), img.height())), 0);
}

void TestHiDpi::volumeThresholdScaled()
{
    // A threshold of -20 dB at H = 100: Y = 100 - 20 * 100/50 = 60, image row
    // r(100 - 60) = 40r, width 2 logical pixels = 2r rows of (1, 0.5, 0.5).
    GLVolumeHistory volumes;
    volumes.m_show_action->setChecked(true);
    QVERIFY(QTest::qWaitForWindowExposed(&volumes));
    volumes.setVolumeTreshold(-20);
    const QImage img = paint(&volumes, 200, 100);
    const auto red = runs(img, qRound(150 * m_ratio), QColor(255, 128, 128), 1);
    QCOMPARE(red.size(), 1);
    QVERIFY2(std::fabs(centre(red[0]) - 40 * m_ratio) <= 0.5, qPrintable(QString::number(centre(red[0]))));
    QVERIFY(std::abs(red[0].second - red[0].first + 1 - 2 * m_ratio) < 1);
}

QTEST_MAIN(TestHiDpi)
#include "tst_hidpi.moc"
