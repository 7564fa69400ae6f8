// The captured sound view: columns of samples, the line for short durations,
// the rebuild after a resize, the scale and the threshold lines, on real
// pixels. Sizes are in device pixels (DeviceTestUtil.h); the sampling rate is
// 44100 Hz. With a height H = 100 and the scale factor c = 1 a value v lies at
// GL height 50 + 50 v, that is image row 99 - (50 + 50 v).

#include "DeviceTestUtil.h"
#include "GLGraph.h"
#include "ViewTestUtil.h"

#include "Music/Music.h"

#include <QAction>
#include <QSpinBox>
#include <QtTest>

using namespace viewtest;

class TestGraph : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void samplesPerColumn_data();
    void samplesPerColumn();
    void lineOrColumns_data();
    void lineOrColumns();
    void rebuildAfterResize();
    void scale_data();
    void scale();
    void thresholdLines();
    void factorySize();

private:
    // n chunks of `size` samples: +a for the first half of each, -a after.
    void feedSquare(int chunks, int size, double a);
    GLGraph* m_view = nullptr;
};

void TestGraph::init()
{
    Music::SetSamplingRate(44100);
    m_view = new GLGraph; // checked show action: shown at once
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
}

void TestGraph::cleanup()
{
    delete m_view;
    m_view = nullptr;
}

void TestGraph::feedSquare(int chunks, int size, double a)
{
    for (int c = 0; c < chunks; ++c) {
        for (int i = 0; i < size; ++i)
            m_view->addSample(i < size / 2 ? a : -a);
        m_view->drainFinished();
    }
}

void TestGraph::samplesPerColumn_data()
{
    QTest::addColumn<int>("duration");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("fed");
    QTest::addColumn<int>("perColumn");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("history");
    // n_D = 10000 * 44100 / 1000 = 441000, s = 441000 div 800 = 551; 442000 fed
    // make 802 columns, of which W - 1 = 799 stay; the history keeps n_D.
    QTest::newRow("10 s, 800 px") << 10000 << 800 << 442000 << 551 << 799 << 441000;
    // n_D = 882, s = 882 div 800 = 1: one column per sample, 799 kept.
    QTest::newRow("20 ms, 800 px") << 20 << 800 << 1000 << 1 << 799 << 882;
}

void TestGraph::samplesPerColumn()
{
    QFETCH(int, duration);
    QFETCH(int, width);
    QFETCH(int, fed);
    QFETCH(int, perColumn);
    QFETCH(int, columns);
    QFETCH(int, history);
    m_view->spinDuration->setValue(duration);
    grabDevice(m_view, width, 100);
    feedSquare(fed / 1000, 1000, 0.5);
    QCOMPARE(m_view->m_samples_per_pixel, perColumn);
    QCOMPARE(int(m_view->m_minmax.size()), columns);
    QCOMPARE(int(m_view->m_history.size()), history);
    // Folds take the oldest samples s at a time: fed mod s stay pending.
    QCOMPARE(int(m_view->m_pending.size()), fed % perColumn);
    m_view->clear();
    QVERIFY(m_view->m_history.empty() && m_view->m_minmax.empty() && m_view->m_pending.empty());
}

void TestGraph::lineOrColumns_data()
{
    QTest::addColumn<int>("duration");
    QTest::addColumn<bool>("line");
    // 441 samples of 0.5 at GL height 75, image row 24, W = 800.
    // 20 ms: n_D = 882, s = 1: a line through the 441 samples over the whole
    // width, x = 799 - trunc(i * 800 / 441), down to 799 - 798 = 1.
    QTest::newRow("20 ms: line") << 20 << true;
    // 40 ms: n_D = 1764, s = 2: 220 columns at x = 799 down to 580.
    QTest::newRow("40 ms: columns") << 40 << false;
}

void TestGraph::lineOrColumns()
{
    QFETCH(int, duration);
    QFETCH(bool, line);
    m_view->spinDuration->setValue(duration);
    grabDevice(m_view, 800, 100);
    for (int i = 0; i < 441; ++i)
        m_view->addSample(0.5);
    m_view->drainFinished();
    const QImage img = grabDevice(m_view, 800, 100);
    QCOMPARE(m_view->m_samples_per_pixel, line ? 1 : 2);
    QVERIFY(near(img, 790, 24, Qt::black));
    QVERIFY(near(img, 585, 24, Qt::black));
    QCOMPARE(near(img, 300, 24, Qt::black), line);
    QCOMPARE(near(img, 5, 24, Qt::black), line);
}

void TestGraph::rebuildAfterResize()
{
    // 1 s at 800 px: s = 44100 div 800 = 55. 802 chunks of 55, the newest 20 at
    // +-0.8, the others at +-0.2: 802 columns, of which 799 are kept.
    m_view->spinDuration->setValue(1000);
    grabDevice(m_view, 800, 100);
    feedSquare(782, 55, 0.2);
    feedSquare(20, 55, 0.8);
    QCOMPARE(int(m_view->m_minmax.size()), 799);
    // At 400 px: s = 110; the history (44110 fed, 44100 kept) makes 400 columns
    // from its newest end, 399 kept. The newest 1100 samples (10 columns,
    // x = 399 .. 390) span +-0.8: GL rows 10 .. 89, image rows 10 .. 89; the
    // older ones +-0.2: GL rows 40 .. 59, image rows 40 .. 59. No new sound.
    const QImage img = grabDevice(m_view, 400, 100);
    QCOMPARE(m_view->m_samples_per_pixel, 110);
    QCOMPARE(int(m_view->m_minmax.size()), 399);
    QVERIFY(m_view->m_pending.empty());
    const QList<int> loud = markedRows(img, 395);
    QCOMPARE(loud.first(), 10);
    QCOMPARE(loud.last(), 89);
    const QList<int> quiet = markedRows(img, 380);
    QCOMPARE(quiet.first(), 40);
    QCOMPARE(quiet.last(), 59);
    QVERIFY(markedRows(img, 0).size() <= 2); // no column at x = 0: the zero line only
}

void TestGraph::scale_data()
{
    QTest::addColumn<double>("amplitude");
    QTest::addColumn<bool>("autoScale");
    QTest::addColumn<int>("factor");
    QTest::addColumn<int>("top");    // first image row of the bar
    QTest::addColumn<int>("bottom"); // last image row of the bar
    // c = 1000 / 1000 = 1: +-0.4 from GL 30 to 70, rows 30 .. 69, image rows
    // 99 - 69 = 30 .. 99 - 30 = 69.
    QTest::newRow("fixed, 1000") << 0.4 << false << 1000 << 30 << 69;
    // Factor 500: c = 2, +-0.2 from GL 30 to 70.
    QTest::newRow("fixed, 500") << 0.2 << false << 500 << 30 << 69;
    // Auto: largest magnitude 0.25, c = 4: GL 0 to 100, every row.
    QTest::newRow("auto") << 0.25 << true << 1000 << 0 << 99;
    // Silence: nothing to scale to; the fixed c = 1 stays, the columns are one
    // pixel at GL 50 (image row 49), and the threshold lines stay at
    // trunc((1 +- 0.0398) * 50) = 51 and 48 (image rows 48 and 51). Lines are
    // two pixels wide at scale factor 2: one row of slack there.
    QTest::newRow("auto, silence") << 0.0 << true << 1000 << 48 << 51;
}

void TestGraph::scale()
{
    QFETCH(double, amplitude);
    QFETCH(bool, autoScale);
    QFETCH(int, factor);
    QFETCH(int, top);
    QFETCH(int, bottom);
    m_view->spinDuration->setValue(1000);
    m_view->autoScale->setChecked(autoScale);
    m_view->setting_spinScaleFactor->setValue(factor);
    grabDevice(m_view, 400, 100);
    feedSquare(20, 110, amplitude);
    const QImage img = grabDevice(m_view, 400, 100);
    const QList<int> rows = markedRows(img, 395);
    const int slack = amplitude == 0.0 && m_view->devicePixelRatioF() > 1 ? 1 : 0;
    QVERIFY(qAbs(rows.first() - top) <= slack);
    QVERIFY(qAbs(rows.last() - bottom) <= slack);
    if (autoScale) QCOMPARE(m_view->m_max_amplitude, amplitude);

    // Without the wave form only the title is drawn.
    m_view->showWaveForm->setChecked(false);
    QCOMPARE(markedRows(grabDevice(m_view, 400, 100), 395), QList<int>{});
}

void TestGraph::thresholdLines()
{
    // The factory -28 dB is 10^(-1.4) = 0.0398107.
    QVERIFY(qAbs(m_view->m_amplitude_treshold - 0.0398107) < 1e-6);
    // -6 dB: t = 0.501187; GL heights trunc(1.501187 * 50) = 75 and
    // trunc(0.498813 * 50) = 24, image rows 24 and 75. Each line shades from
    // white at x = 0 to (255, 128, 128) at the right end.
    m_view->setVolumeTreshold(-6);
    QVERIFY(qAbs(m_view->m_amplitude_treshold - 0.501187) < 1e-6);
    m_view->addSample(0.0); // some history: the lines are drawn
    const QImage img = grabDevice(m_view, 400, 100);
    for (int row : {24, 75}) {
        QVERIFY(near(img, 399, row, QColor(255, 128, 128), 1, 2));
        QVERIFY(near(img, 200, row, QColor(255, 192, 192), 1, 2));
        QVERIFY(isColour(img, 1, row, Qt::white, 2));
    }
}

void TestGraph::factorySize()
{
    // The main window at 800 x 600 gives the view about 800 x 50 widget pixels
    // (its height limit). 10 s of a 440 Hz sine of amplitude 0.3 (peaks a hair
    // below): each column spans GL trunc(H/2 - 0.3 H/2) to H/2 + 0.3 H/2. Scale
    // 1, H = 50: 17 to 32.4995, an end inside the diamond of row 32, which stays
    // unlit: GL rows 17 .. 31, image rows 18 .. 32. Scale 2, H = 100: 35 to
    // 64.999, image rows 35 .. 64. The title stays readable at the top left.
    QCOMPARE(m_view->spinMaxHeight->value(), 50);
    const int ratio = qRound(m_view->devicePixelRatioF());
    const int W = 800 * ratio, H = 50 * ratio;
    grabDevice(m_view, W, H);
    for (int i = 0; i < 441000; ++i)
        m_view->addSample(0.3 * std::sin(2.0 * M_PI * 440.0 * i / 44100.0));
    m_view->drainFinished();
    const QImage img = grabDevice(m_view, W, H);
    const int top = ratio == 1 ? 18 : 35, bottom = ratio == 1 ? 32 : 64;
    for (int x : {1, W / 2, W - 1}) {
        const QList<int> rows = markedRows(img, x);
        QCOMPARE(rows.first(), top);
        QCOMPARE(rows.last(), bottom);
    }
    QVERIFY(markedRows(img, 0).size() <= 2); // the zero line only
    int title = 0;
    for (int x = 0; x < 100 * ratio; ++x)
        for (int y = 0; y < top; ++y)
            title += isColour(img, x, y, Qt::white) ? 0 : 1;
    QVERIFY(title > 100);
}

QTEST_MAIN(TestGraph)
#include "tst_graph.moc"
