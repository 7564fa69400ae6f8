// The statistics view: columns made as semitones are played, values refused,
// the running mean and deviation, and on real pixels the bars, the band, the
// texts and the scale labels. scaledPicture also runs at QT_SCALE_FACTOR 1.5
// and 2 (see CMakeLists.txt).
//
// Widget 229 x 140 unless said: w = 200, h = 100. Cents mode at scale range 50
// (k = 1): a value v sits at GL height y(v) = trunc((v + 0.5) 100) + 40, image
// row 140 - y (y up in GL).

#include "GLStatistics.h"
#include "ViewTestUtil.h"

#include "Music/Music.h"

#include <QAction>
#include <QSpinBox>
#include <QtTest>
#include <cmath>

using namespace viewtest;

class TestStatistics : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstValueMakesOneColumn();
    void twoBelowAddsTwoColumns();
    void hiddenViewRecordsNothing();
    void semitoneBounds_data();
    void semitoneBounds();
    void fedByTheCycle();
    void meanAndDeviation();
    void scaleLabels_data();
    void scaleLabels();
    void scaledPicture();

private:
    QImage paint(int w, int h)
    {
        m_view->resize(w, h);
        return m_view->grabFramebuffer();
    }
    GLStatistics* m_view = nullptr;
};

void TestStatistics::init()
{
    Music::s_notes_name = Music::LOCAL_ANGLO;
    Music::s_transposition = 0;
    m_view = new GLStatistics;
    QVERIFY(m_view->isHidden()); // unchecked show action at the factory
    m_view->m_show_action->setChecked(true);
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
}

void TestStatistics::cleanup()
{
    delete m_view;
}

void TestStatistics::firstValueMakesOneColumn()
{
    m_view->addError(5, 0.25f);
    QCOMPARE(m_view->m_stats.size(), std::size_t(1));
    QCOMPARE(m_view->m_stats[0].ht, 5);
    QCOMPARE(m_view->setting_scale_min->value(), 5);
    QCOMPARE(m_view->setting_scale_max->value(), 5);
    // One column over x 29..229: its mean 0.25 at y = 75 + 40 = 115, row 25.
    QImage img = paint(229, 140);
    QVERIFY(near(img, 60, 140 - 115, Qt::black));
    QVERIFY(near(img, 200, 140 - 115, Qt::black));
    // A reset forgets it; the next value starts afresh.
    m_view->reset();
    QVERIFY(m_view->m_stats.empty());
    QCOMPARE(m_view->setting_scale_min->value(), 0);
    QCOMPARE(m_view->setting_scale_max->value(), 0);
}

void TestStatistics::twoBelowAddsTwoColumns()
{
    m_view->addError(5, 0.125f);
    m_view->addError(3, -0.25f);
    QCOMPARE(m_view->setting_scale_min->value(), 3);
    QCOMPARE(m_view->setting_scale_max->value(), 5);
    QCOMPARE(m_view->m_stats.size(), std::size_t(3));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(m_view->m_stats[std::size_t(i)].ht, 3 + i);
    QCOMPARE(m_view->m_stats[1].errors.size(), std::size_t(0));
    QCOMPARE(m_view->m_stats[2].errors.size(), std::size_t(1));
    // Columns from trunc(200 i / 3) + 29: 29, 95, 162, 229; centres 62, 128, 195.
    // Means: -0.25 at y = 25 + 40 = 65 (row 75), 0.125 at y = 62 + 40 = 102 (row 38).
    QImage img = paint(229, 140);
    QVERIFY(near(img, 62, 75, Qt::black));
    QVERIFY(near(img, 195, 38, Qt::black));
    auto dark = [&](int x0, int x1, int y0, int y1) {
        int count = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                count += QColor(img.pixel(x, y)).lightness() < 128;
        return count;
    };
    // The empty column (ht 4): no bar, a name (baseline row 119), no count (row 136).
    QCOMPARE(dark(100, 157, 0, 99), 0);
    QVERIFY(dark(100, 157, 105, 121) > 0);
    QCOMPARE(dark(100, 157, 124, 139), 0);
    QVERIFY(dark(34, 90, 124, 139) > 0); // "1" under the first column
}

void TestStatistics::hiddenViewRecordsNothing()
{
    m_view->m_show_action->setChecked(false);
    m_view->addError(2, 0.1f);
    QVERIFY(m_view->m_stats.empty());
    QCOMPARE(m_view->m_current_ht, 2); // still highlighted when shown again
    m_view->setting_keep_hidden->setChecked(true);
    m_view->addError(4, 0.1f);
    QCOMPARE(m_view->m_stats.size(), std::size_t(1));
}

void TestStatistics::semitoneBounds_data()
{
    QTest::addColumn<int>("ht");
    QTest::addColumn<bool>("recorded");
    QTest::newRow("96") << 96 << true;
    QTest::newRow("97") << 97 << false;
    QTest::newRow("-96") << -96 << true;
    QTest::newRow("-97") << -97 << false;
    QTest::newRow("no semitone") << Music::NO_SEMITONE << false;
}

void TestStatistics::semitoneBounds()
{
    QFETCH(int, ht);
    QFETCH(bool, recorded);
    m_view->addError(ht, 0.1f);
    QCOMPARE(!m_view->m_stats.empty(), recorded);
}

void TestStatistics::fedByTheCycle()
{
    // A = 440 Hz: a target of 493.88 Hz is B4, semitone 2; a target of 0 (a note
    // whose start was not announced) has no semitone and is not recorded.
    Music::SetAFreq(440.0);
    Music::AnalysisPipeline pipeline;
    m_view->feedCycle(CycleData{pipeline, 44100, 495.0, 493.88, 0.0392, false, 0.0, 0});
    m_view->feedCycle(CycleData{pipeline, 44100, 495.0, 0.0, 0.0392, false, 0.0, 20});
    QCOMPARE(m_view->m_stats.size(), std::size_t(1));
    QCOMPARE(m_view->m_stats[0].ht, 2);
    QCOMPARE(m_view->m_stats[0].errors, std::deque<float>{0.0392f});
}

void TestStatistics::meanAndDeviation()
{
    m_view->addError(0, 0.1f);
    QCOMPARE(m_view->m_stats[0].std_err, 0.0f);
    m_view->addError(0, 0.3f);
    const GLStatistics::SemitoneStat& st = m_view->m_stats[0];
    // Mean (0.1 + 0.3) / 2 = 0.2; S = 0.01 + 0.01 = 0.02, deviation sqrt(0.02 / 1).
    QVERIFY(std::fabs(st.avg_err - 0.2f) < 1e-6f);
    QVERIFY(std::fabs(st.std_err - std::sqrt(0.02f)) < 1e-6f);
    // Band from y(0.2 + 0.1414) = 84 + 40 = 124 to y(0.0586) = 55 + 40 = 95:
    // image rows 16 to 44 in grey 0.85, outside white. Mean at y = 110.
    QImage img = paint(229, 140);
    for (int row : {16, 35, 44})
        QVERIFY2(isColour(img, 129, row, grey(0.85)), qPrintable(QString::number(row)));
    QVERIFY(isColour(img, 129, 14, Qt::white));
    QVERIFY(isColour(img, 129, 46, Qt::white));
    QVERIFY(near(img, 129, 30, Qt::black));

    // 1000 values 0.25 +- 0.0625 in turn: mean 0.25, S = 1000 * 0.0625^2,
    // deviation 0.0625 sqrt(1000 / 999) = 0.06253128.
    for (int i = 0; i < 1000; ++i)
        m_view->addError(-5, i % 2 ? 0.3125f : 0.1875f);
    QVERIFY(std::fabs(m_view->m_stats[0].avg_err - 0.25f) < 1e-6f);
    QVERIFY(std::fabs(m_view->m_stats[0].std_err - 0.06253128f) < 1e-6f);
}

void TestStatistics::scaleLabels_data()
{
    QTest::addColumn<bool>("cents");
    QTest::addColumn<int>("scale");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("baselines");
    // x-height 8: row h/2 + 4 - c = 54 - c, for c = -50 ... 40 (50 is not labelled).
    QStringList texts{"-50", "-40", "-30", "-20", "-10", "    0", "  10", "  20", "  30", "  40"};
    QList<int> rows;
    for (int c = -50; c < 50; c += 10)
        rows << 54 - c;
    QTest::newRow("cents 50") << true << 50 << texts << rows;
    // Fraction, the numbers of the bars (q = 50 div s): 1/(4q) at rows 75 + 4 and
    // 25 + 4, 1/(8q) at rows 62 + 4 and 37 + 4.
    QTest::newRow("fraction 50") << false << 50 << QStringList{"-1/4", "+1/4", "-1/8", "+1/8"}
                                 << QList<int>{79, 29, 66, 41};
    QTest::newRow("fraction 25") << false << 25 << QStringList{"-1/8", "+1/8", "-1/16", "+1/16"}
                                 << QList<int>{79, 29, 66, 41};
}

void TestStatistics::scaleLabels()
{
    QFETCH(bool, cents);
    QFETCH(int, scale);
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, baselines);
    m_view->useCents->setChecked(cents);
    m_view->spinScale->setValue(scale);
    QImage img = paint(229, 140);
    TextReference ref;
    ref.texts.push_back({20, QPoint(2, 20), "Statistics"});
    for (int i = 0; i < texts.size(); ++i)
        ref.texts.push_back({14, QPoint(2, baselines[i]), texts[i]});
    ref.resize(229, 140);
    ref.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ref));
    // Left of the plot (x < 29) only texts are drawn.
    QCOMPARE(differences(img, ref.grabFramebuffer(), QRect(0, 0, 28, 140)), 0);
}

void TestStatistics::scaledPicture()
{
    // The picture of meanAndDeviation at r device pixels per logical pixel.
    const double r = m_view->devicePixelRatioF();
    m_view->addError(0, 0.1f);
    m_view->addError(0, 0.3f);
    QImage img = paint(229, 140);
    QCOMPARE(img.size(), QSize(qRound(229 * r), qRound(140 * r)));
    auto at = [&](double x, double row) { return QPoint(int(x * r), int(row * r)); };
    QPoint band = at(129, 35), above = at(129, 13), tolerance = at(129, 140 - 87.5);
    QVERIFY(isColour(img, band.x(), band.y(), grey(0.85)));
    QVERIFY(isColour(img, above.x(), above.y(), Qt::white));
    QVERIFY(isColour(img, tolerance.x(), tolerance.y(), QColor(167, 220, 181), 1));
    // The mean bar, 2 logical pixels thick, around row 30.
    int thick = 0;
    for (int y = int(25 * r); y < int(35 * r); ++y)
        thick += isColour(img, int(129 * r), y, Qt::black);
    QCOMPARE(thick, qRound(2 * r));
    // The texts under the column at 14 logical pixels: their ink spans the same
    // logical box. "A4" and "2" centred on x = 0.5 * 200 + 29 = 129, baselines
    // at rows 140 - 21 and 140 - 4.
    QRect ink;
    for (int y = int(101 * r); y < img.height(); ++y)
        for (int x = int(30 * r); x < int(228 * r); ++x)
            if (QColor(img.pixel(x, y)).lightness() < 128) ink |= QRect(x, y, 1, 1);
    QFont font("Helvetica");
    font.setPixelSize(14);
    const QFontMetrics fm(font);
    const QRect logical = fm.tightBoundingRect("A4").translated(129 - fm.horizontalAdvance("A4") / 2, 119) |
                          fm.tightBoundingRect("2").translated(129 - fm.horizontalAdvance("2") / 2, 136);
    for (auto edges :
         {qMakePair(ink.left() / r, logical.left()), qMakePair(ink.right() / r, logical.right()),
          qMakePair(ink.top() / r, logical.top()), qMakePair(ink.bottom() / r, logical.bottom())})
        QVERIFY2(std::abs(edges.first - edges.second) <= 1.5, qPrintable(QString::number(edges.first)));
}

QTEST_MAIN(TestStatistics)
#include "tst_statistics.moc"
