// The volume history: notes kept and dropped, levels, and on real pixels the
// decibel grid at its height thresholds, the threshold line and the curve.
//
// The widget's font is set to DejaVu Sans at 12 px, so the left margin is
// g = width("50%") + 2 = 27 + 2 = 29 (checked in init). A GL line of width 1
// at height Y lights image row H - Y or H - 1 - Y (see glLineRow).

#include "GLVolumeHistory.h"
#include "ViewTestUtil.h"

#include "Music/Music.h"
#include "PitchModelReset.h"

#include <QAction>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace viewtest;

static const QColor RED(255, 128, 128); // (1, 0.5, 0.5)

class TestVolumeHistory : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void factory();
    void levelsGoToLastNote();
    void keepingNotes_data();
    void keepingNotes();
    void turningKeepOffLeavesLastNote();
    void grid_data();
    void grid();
    void thresholdLine_data();
    void thresholdLine();
    void curve();
    void newNoteReplacesPlot();
    void notesWithoutSteps();
    void labels();
    void persistence();

private:
    QImage paint(int w, int h);
    GLVolumeHistory* m_view = nullptr;
};

void TestVolumeHistory::init()
{
    resetPitchModel();
    m_view = new GLVolumeHistory;
    QVERIFY(!m_view->isVisible()); // hidden at construction
    QFont font("DejaVu Sans");
    font.setPixelSize(12);
    m_view->setFont(font);
    QCOMPARE(m_view->fontMetrics().horizontalAdvance("50%") + 2, 29);
    m_view->m_show_action->setChecked(true);
    QVERIFY(m_view->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
}

void TestVolumeHistory::cleanup()
{
    delete m_view;
    m_view = nullptr;
}

QImage TestVolumeHistory::paint(int w, int h)
{
    m_view->resize(w, h);
    return m_view->grabFramebuffer();
}

void TestVolumeHistory::factory()
{
    GLVolumeHistory view;
    QCOMPARE(view.m_name, QString("Volume history"));
    QVERIFY(!view.m_show_action->isChecked());
    QVERIFY(view.isHidden());
    QVERIFY(!view.keep->isChecked());
    QCOMPARE(view.m_treshold, -100);
    QCOMPARE(view.m_font.family(), QString("Helvetica"));
    QVERIFY(view.m_notes.empty());
    view.setVolumeTreshold(-35);
    QCOMPARE(view.m_treshold, -35);
    QCOMPARE(GLVolumeHistory::Note(-9).label(), QString("C4"));
}

void TestVolumeHistory::levelsGoToLastNote()
{
    m_view->addVolume(-3.0f); // no note yet: nowhere to go, no harm
    QVERIFY(m_view->m_notes.empty());
    m_view->keep->setChecked(true);
    m_view->addNote(GLVolumeHistory::Note(0));
    m_view->addVolume(-10.0f);
    m_view->addNote(GLVolumeHistory::Note(1));
    m_view->addVolume(-20.0f);
    m_view->addVolume(-21.5f);
    QCOMPARE(m_view->m_notes.size(), std::size_t(2));
    QCOMPARE(m_view->m_notes[0].volumes, (std::deque<float>{-10.0f}));
    QCOMPARE(m_view->m_notes[1].volumes, (std::deque<float>{-20.0f, -21.5f}));
}

void TestVolumeHistory::keepingNotes_data()
{
    QTest::addColumn<bool>("keep");
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("kept");
    QTest::newRow("second replaces first") << false << 2 << 1;
    QTest::newRow("four, not kept") << false << 4 << 1;
    QTest::newRow("four kept") << true << 4 << 4;
}

void TestVolumeHistory::keepingNotes()
{
    QFETCH(bool, keep);
    QFETCH(int, added);
    QFETCH(int, kept);
    m_view->keep->setChecked(keep);
    for (int i = 0; i < added; ++i)
        m_view->addNote(GLVolumeHistory::Note(i));
    QCOMPARE(int(m_view->m_notes.size()), kept);
    QCOMPARE(m_view->m_notes.back().ht, added - 1);
}

void TestVolumeHistory::turningKeepOffLeavesLastNote()
{
    m_view->keep->setChecked(true);
    for (int i = 0; i < 5; ++i)
        m_view->addNote(GLVolumeHistory::Note(i));
    m_view->keepPreviousNotes(true);
    QCOMPARE(m_view->m_notes.size(), std::size_t(5));
    m_view->keep->setChecked(false);
    QCOMPARE(m_view->m_notes.size(), std::size_t(1));
    QCOMPARE(m_view->m_notes.front().ht, 4);
}

void TestVolumeHistory::grid_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<QList<int>>("heights"); // GL heights of the lines
    QTest::addColumn<QList<int>>("greys");
    // H = 14: H - 1 = 13 is not above 13: no line.
    QTest::newRow("14") << 14 << QList<int>{} << QList<int>{};
    // H = 15: only the 10 dB lines, Y = i*15/50 for i = 10..40: 3, 6, 9, 12.
    QTest::newRow("15") << 15 << QList<int>{3, 6, 9, 12} << QList<int>{191, 191, 191, 191};
    // H = 74: H - 1 = 73 is not above 73: only 10 dB lines,
    // 740/50 = 14, 1480/50 = 29, 2220/50 = 44, 2960/50 = 59.
    QTest::newRow("74") << 74 << QList<int>{14, 29, 44, 59} << QList<int>{191, 191, 191, 191};
    // H = 75: the 2 dB lines too, Y = i*75/50 = 1.5 i for i = 2, 4, ..., 48:
    // 3, 6, ..., 72 in 223, with 15, 30, 45, 60 (i = 10..40) in 191.
    QList<int> ys, gs;
    for (int i = 2; i <= 48; i += 2)
        ys << i * 75 / 50, gs << (i % 10 == 0 ? 191 : 223);
    QTest::newRow("75") << 75 << ys << gs;
    // H = 100: Y = 2 i = 4, 8, ..., 96; 20, 40, 60, 80 in 191.
    ys.clear(), gs.clear();
    for (int i = 2; i <= 48; i += 2)
        ys << 2 * i, gs << (i % 10 == 0 ? 191 : 223);
    QTest::newRow("100") << 100 << ys << gs;
}

void TestVolumeHistory::grid()
{
    QFETCH(int, height);
    QFETCH(QList<int>, heights);
    QFETCH(QList<int>, greys);
    QImage img = paint(200, height);
    QCOMPARE(img.height(), height);
    const int x = 195;
    QList<int> rows;
    for (int i = 0; i < heights.size(); ++i) {
        int row = glLineRow(img, x, heights[i], grey(greys[i] / 255.0));
        QVERIFY2(row >= 0, qPrintable(QString("line at %1").arg(heights[i])));
        rows << row;
    }
    std::sort(rows.begin(), rows.end());
    QCOMPARE(markedRows(img, x), rows);
    // The lines begin at the margin g = 29: at H = 100 the line Y = 72 (row 28
    // or 27) is there at x = 30 but not at x = 27.
    if (height == 100) {
        const int row = glLineRow(img, 195, 72, grey(0.875));
        QVERIFY(isColour(img, 30, row, grey(0.875)));
        QVERIFY(!isColour(img, 27, row, grey(0.875)));
    }
}

void TestVolumeHistory::thresholdLine_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("treshold");
    QTest::addColumn<int>("Y"); // GL height of the line
    // -20 dB: Y = H + (-20 H)/50 = 0.6 H, 60 % of the height from the bottom.
    QTest::newRow("-20 dB, H 100") << 100 << -20 << 60;
    QTest::newRow("-20 dB, H 50") << 50 << -20 << 30;
    // -35 dB, H 100: 100 - 70 = 30.
    QTest::newRow("-35 dB, H 100") << 100 << -35 << 30;
    // -7 dB, H 100: 100 + (-700)/50 = 100 - 14 = 86.
    QTest::newRow("-7 dB, H 100") << 100 << -7 << 86;
}

void TestVolumeHistory::thresholdLine()
{
    QFETCH(int, height);
    QFETCH(int, treshold);
    QFETCH(int, Y);
    QImage img = paint(200, height);
    for (int y = 0; y < height; ++y)
        QVERIFY(!isColour(img, 195, y, RED)); // factory -100: below sight
    m_view->setVolumeTreshold(treshold);
    img = paint(200, height);
    // Width 2 centred on Y: the two rows whose centres lie at Y - 0.5 and Y + 0.5,
    // image rows H - Y and H - 1 - Y.
    QList<int> red;
    for (int y = 0; y < height; ++y)
        if (isColour(img, 195, y, RED)) red << y;
    QCOMPARE(red, (QList<int>{height - 1 - Y, height - Y}));
    QVERIFY(isColour(img, 100, height - Y, RED));
    // From the margin g = 29 on.
    QVERIFY(isColour(img, 30, height - Y, RED));
    QVERIFY(!isColour(img, 27, height - Y, RED));
}

void TestVolumeHistory::curve()
{
    // W = 229, g = 29: 200 pixels. Levels -10, -20, -30, -5: total 3, step 66.67:
    // x = 29, 95.67, 162.33, 229; Y = H + v H/50 = 100 + 2v = 80, 60, 40, 90.
    // Midpoints (62.3, 70), (129, 50), (195.7, 65).
    m_view->addNote(GLVolumeHistory::Note(0));
    for (float v : {-10.0f, -20.0f, -30.0f, -5.0f})
        m_view->addVolume(v);
    QImage img = paint(229, 100);
    const QList<QPoint> on{{95, 60}, {162, 40}, {62, 70}, {129, 50}, {195, 65}};
    for (const QPoint& p : on)
        QVERIFY2(near(img, p.x(), 100 - p.y(), Qt::black),
                 qPrintable(QString("%1,%2").arg(p.x()).arg(p.y())));
    const QList<QPoint> off{{95, 40}, {162, 60}, {129, 70}};
    for (const QPoint& p : off)
        QVERIFY(!near(img, p.x(), 100 - p.y(), Qt::black, 2));
}

void TestVolumeHistory::newNoteReplacesPlot()
{
    // Without keep, the second note's curve alone fills the width: levels -25,
    // -25 at Y = 50 from x = 29 to 229; the first note's (Y = 80) is gone.
    m_view->addNote(GLVolumeHistory::Note(0));
    for (float v : {-10.0f, -10.0f, -10.0f})
        m_view->addVolume(v);
    QImage img = paint(229, 100);
    QVERIFY(near(img, 150, 20, Qt::black));
    m_view->addNote(GLVolumeHistory::Note(2));
    for (float v : {-25.0f, -25.0f})
        m_view->addVolume(v);
    img = paint(229, 100);
    QVERIFY(!near(img, 150, 20, Qt::black, 2));
    QVERIFY(near(img, 150, 50, Qt::black));
    QVERIFY(near(img, 40, 50, Qt::black));
}

void TestVolumeHistory::notesWithoutSteps()
{
    // One level per note: no step. Labels are drawn, one-point curves show nothing.
    m_view->keep->setChecked(true);
    m_view->addNote(GLVolumeHistory::Note(0));
    m_view->addVolume(-25.0f);
    m_view->addNote(GLVolumeHistory::Note(1));
    m_view->addVolume(-25.0f);
    QImage img = paint(229, 100);
    for (int x = 40; x < 229; ++x)
        QVERIFY(!near(img, x, 50, Qt::black, 0));
}

void TestVolumeHistory::labels()
{
    // Helvetica (DejaVu Sans) 14 px, x-height 8, xh = 4; H = 100:
    // "[dB]" at (2, 98), "-10" at (2, 24), "-20" at (2, 44), "-30" at (2, 64),
    // "-40" at (2, 84); title "Volume" at 20 px at (2, 20); note label "A4" at
    // (trunc(29 + 2), 98) = (31, 98).
    m_view->addNote(GLVolumeHistory::Note(0));
    QImage img = paint(200, 100);
    TextReference ref;
    ref.texts = {{20, QPoint(2, 20), "Volume"}, {14, QPoint(2, 98), "[dB]"}, {14, QPoint(2, 24), "-10"},
                 {14, QPoint(2, 44), "-20"},    {14, QPoint(2, 64), "-30"},  {14, QPoint(2, 84), "-40"},
                 {14, QPoint(31, 98), "A4"}};
    ref.resize(200, 100);
    ref.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ref));
    QImage expected = ref.grabFramebuffer();
    // Left of the grid, and the note label below the lowest grid line (row 96).
    QCOMPARE(differences(img, expected, QRect(0, 0, 28, 100)), 0);
    QCOMPARE(differences(img, expected, QRect(29, 97, 40, 3)), 0);
}

void TestVolumeHistory::persistence()
{
    QTemporaryDir dir;
    QSettings settings(dir.filePath("s.ini"), QSettings::IniFormat);
    View::s_settings = &settings;
    settings.beginGroup("Volume history");
    m_view->save();
    QCOMPARE(settings.childKeys(), QStringList{"keep"});
    QCOMPARE(settings.value("keep").toBool(), false);
    settings.setValue("keep", true);
    m_view->load();
    QVERIFY(m_view->keep->isChecked());
    m_view->clearSettings();
    QVERIFY(settings.childKeys().isEmpty());
    QVERIFY(m_view->keep->isChecked());
    settings.endGroup();
    View::s_settings = nullptr;
}

QTEST_MAIN(TestVolumeHistory)
#include "tst_volumehistory.moc"
