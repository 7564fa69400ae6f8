// The error history: notes kept and dropped, the running statistics of a note,
// and on real pixels the grid, the scale labels and the error curve.
//
// GL coordinates have y up. A horizontal GL line of width 1 at height Y lights
// image row H - Y or H - 1 - Y (it lies between the two); see glLineRow.

#include "GLErrorHistory.h"
#include "ViewTestUtil.h"

#include "Music/Music.h"
#include "PitchModelReset.h"

#include <QAction>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>
#include <cfloat>

using namespace viewtest;

class TestErrorHistory : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void factory();
    void noteConstructors();
    void runningStatistics_data();
    void runningStatistics();
    void errorGoesToLastNote();
    void keepingNotes_data();
    void keepingNotes();
    void turningKeepOffLeavesLastNote();
    void grid_data();
    void grid();
    void scaleLabels_data();
    void scaleLabels();
    void curve_data();
    void curve();
    void separatorAndNoteLabels();
    void notesWithoutSteps();
    void persistence();

private:
    QImage paint(int w, int h);
    GLErrorHistory* m_view = nullptr;
};

void TestErrorHistory::init()
{
    resetPitchModel();
    m_view = new GLErrorHistory; // checked show action: shown at once
    QVERIFY(m_view->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
}

void TestErrorHistory::cleanup()
{
    delete m_view;
    m_view = nullptr;
}

QImage TestErrorHistory::paint(int w, int h)
{
    m_view->resize(w, h);
    QImage img = m_view->grabFramebuffer();
    if (img.size() != QSize(w, h)) qWarning() << "grabbed" << img.size();
    return img;
}

void TestErrorHistory::factory()
{
    QCOMPARE(m_view->m_name, QString("Error history"));
    QVERIFY(m_view->m_show_action->isChecked());
    QVERIFY(!m_view->keep->isChecked());
    QVERIFY(m_view->useCents->isChecked());
    QCOMPARE(m_view->spinScale->minimum(), 5);
    QCOMPARE(m_view->spinScale->maximum(), 50);
    QCOMPARE(m_view->spinScale->value(), 50);
    QCOMPARE(m_view->spinScale->toolTip(), QString("Scale range (in cents)"));
    QCOMPARE(m_view->m_font.family(), QString("Helvetica"));
    QVERIFY(m_view->m_notes.empty());
}

void TestErrorHistory::noteConstructors()
{
    GLErrorHistory::Note plain(0);
    QCOMPARE(plain.ht, 0);
    QCOMPARE(plain.factor, QString());
    QCOMPARE(plain.min_err, FLT_MAX);
    QCOMPARE(plain.max_err, -FLT_MAX);
    QCOMPARE(plain.avg_err, 0.0f);
    QVERIFY(plain.errors.empty());
    QCOMPARE(plain.label(), QString("A4"));

    // Semitone 3 above A4 is C5.
    GLErrorHistory::Note ratio(3, 3, 2);
    QCOMPARE(ratio.factor, QString("3/2"));
    QCOMPARE(ratio.label(), QString("C53/2"));
    QCOMPARE(ratio.min_err, FLT_MAX);

    // Cents in the general format with 6 significant digits.
    QCOMPARE(GLErrorHistory::Note(-12, 701.955f).factor, QString("701.955"));
    QCOMPARE(GLErrorHistory::Note(-12, 701.955f).label(), QString("A3701.955"));
    QCOMPARE(GLErrorHistory::Note(0, 1200.0f).factor, QString("1200"));
    QCOMPARE(GLErrorHistory::Note(0, 386.31371f).factor, QString("386.314"));
}

void TestErrorHistory::runningStatistics_data()
{
    QTest::addColumn<QVector<float>>("errors");
    QTest::addColumn<float>("min");
    QTest::addColumn<float>("max");
    QTest::addColumn<float>("mean");
    QTest::newRow("one") << QVector<float>{0.25f} << 0.25f << 0.25f << 0.25f;
    // (0.1 - 0.2 + 0.4) / 3 = 0.1
    QTest::newRow("three") << QVector<float>{0.1f, -0.2f, 0.4f} << -0.2f << 0.4f << 0.1f;
    // (-0.5 - 0.25 - 0.75 - 0.5) / 4 = -0.5
    QTest::newRow("all negative") << QVector<float>{-0.5f, -0.25f, -0.75f, -0.5f} << -0.75f << -0.25f
                                  << -0.5f;
}

void TestErrorHistory::runningStatistics()
{
    QFETCH(QVector<float>, errors);
    QFETCH(float, min);
    QFETCH(float, max);
    QFETCH(float, mean);
    m_view->addNote(GLErrorHistory::Note(2));
    for (float e : errors)
        m_view->addError(e);
    const GLErrorHistory::Note& note = m_view->m_notes.back();
    QCOMPARE(note.min_err, min);
    QCOMPARE(note.max_err, max);
    QVERIFY(qAbs(note.avg_err - mean) < 1e-6f);
    QCOMPARE(int(note.errors.size()), errors.size());
    for (int i = 0; i < errors.size(); ++i)
        QCOMPARE(note.errors[i], errors[i]);
}

void TestErrorHistory::errorGoesToLastNote()
{
    m_view->keep->setChecked(true);
    m_view->addNote(GLErrorHistory::Note(0));
    m_view->addError(0.1f);
    m_view->addNote(GLErrorHistory::Note(1));
    m_view->addError(0.2f);
    m_view->addError(0.3f);
    QCOMPARE(m_view->m_notes.size(), std::size_t(2));
    QCOMPARE(m_view->m_notes[0].errors.size(), std::size_t(1));
    QCOMPARE(m_view->m_notes[1].errors.size(), std::size_t(2));
    QCOMPARE(m_view->m_notes[1].min_err, 0.2f);
    QCOMPARE(m_view->m_notes[1].max_err, 0.3f);
}

void TestErrorHistory::keepingNotes_data()
{
    QTest::addColumn<bool>("keep");
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("kept");
    QTest::newRow("one note") << false << 1 << 1;
    QTest::newRow("second replaces first") << false << 2 << 1;
    QTest::newRow("six, not kept") << false << 6 << 1;
    QTest::newRow("two kept") << true << 2 << 2;
    QTest::newRow("six kept") << true << 6 << 6;
}

void TestErrorHistory::keepingNotes()
{
    QFETCH(bool, keep);
    QFETCH(int, added);
    QFETCH(int, kept);
    m_view->keep->setChecked(keep);
    for (int i = 0; i < added; ++i) {
        m_view->addNote(GLErrorHistory::Note(i));
        m_view->addError(0.01f * i);
    }
    QCOMPARE(int(m_view->m_notes.size()), kept);
    // The newest note is always the last one kept.
    QCOMPARE(m_view->m_notes.back().ht, added - 1);
    QCOMPARE(m_view->m_notes.front().ht, added - kept);
}

void TestErrorHistory::turningKeepOffLeavesLastNote()
{
    m_view->keep->setChecked(true);
    for (int i = 0; i < 5; ++i)
        m_view->addNote(GLErrorHistory::Note(10 + i));
    QCOMPARE(m_view->m_notes.size(), std::size_t(5));
    m_view->keepPreviousNotes(true); // does nothing
    QCOMPARE(m_view->m_notes.size(), std::size_t(5));
    m_view->keep->setChecked(false); // toggled -> keepPreviousNotes(false)
    QCOMPARE(m_view->m_notes.size(), std::size_t(1));
    QCOMPARE(m_view->m_notes.front().ht, 14);
}

void TestErrorHistory::grid_data()
{
    QTest::addColumn<bool>("cents");
    QTest::addColumn<int>("scale");
    QTest::addColumn<int>("height");
    QTest::addColumn<QList<int>>("heights"); // GL heights Y of the lines
    QTest::addColumn<QList<int>>("greys");   // their colour, 0..255

    // Cents, H = 100, s = 50, k = 1. 2-cent family: (100 - 29) * 2/100 * 1 =
    // 1.42, not above 2: not drawn. 10-cent family: 7.1 > 2; top = 50;
    // Y = 50 + trunc(100 g / 100) = 0, 10, ..., 100, grey 0.75 = 191.
    QList<int> ys, gs;
    for (int y = 0; y <= 100; y += 10)
        ys << y, gs << 191;
    QTest::newRow("cents 50, H 100") << true << 50 << 100 << ys << gs;

    // Cents, H = 200, s = 50: 2-cent family 171 * 2/100 = 3.42 > 2:
    // Y = 100 + trunc(200 g/100) = 100 + 2g = 0, 4, ..., 200 in grey 0.875 = 223,
    // then the 10-cent lines Y = 0, 20, ..., 200 in 191 over them.
    ys.clear(), gs.clear();
    for (int y = 0; y <= 200; y += 4)
        ys << y, gs << (y % 20 == 0 ? 191 : 223);
    QTest::newRow("cents 50, H 200") << true << 50 << 200 << ys << gs;

    // Cents, H = 100, s = 20, k = 2.5: 2-cent family 71 * 2/100 * 2.5 = 3.55:
    // top = 20, Y = 50 + trunc(2.5 g) = 0, 5, ..., 100; 10-cent family:
    // Y = 50 + 25 (g/10) = 0, 25, 50, 75, 100 in 191.
    ys.clear(), gs.clear();
    for (int y = 0; y <= 100; y += 5)
        ys << y, gs << (y % 25 == 0 ? 191 : 223);
    QTest::newRow("cents 20, H 100") << true << 20 << 100 << ys << gs;

    // Cents, H = 100, s = 5, k = 10: 2-cent top = 2 (5 div 2) = 4:
    // Y = 50 + 10 g = 10, 30, 50, 70, 90; 10-cent top = 10 (5 div 10) = 0:
    // only Y = 50, in 191.
    QTest::newRow("cents 5, H 100") << true << 5 << 100 << QList<int>{10, 30, 50, 70, 90}
                                    << QList<int>{223, 223, 191, 223, 223};

    // Fraction mode, H = 100: 50 in grey 0.5 = 128; 25 and 75 in 191; 100/8 =
    // 12, 700/8 = 87, 300/8 = 37, 500/8 = 62 in grey 0.87 = 222.
    QTest::newRow("fraction, H 100") << false << 50 << 100 << QList<int>{12, 25, 37, 50, 62, 75, 87}
                                     << QList<int>{222, 191, 222, 128, 222, 191, 222};
}

void TestErrorHistory::grid()
{
    QFETCH(bool, cents);
    QFETCH(int, scale);
    QFETCH(int, height);
    QFETCH(QList<int>, heights);
    QFETCH(QList<int>, greys);
    m_view->useCents->setChecked(cents);
    m_view->spinScale->setValue(scale);
    QImage img = paint(200, height);
    QCOMPARE(img.height(), height);
    const int x = 195; // away from the labels and the title
    QList<int> rows;
    for (int i = 0; i < heights.size(); ++i) {
        int row = glLineRow(img, x, heights[i], grey(greys[i] / 255.0));
        // A line at the very bottom or top may fall just outside the image.
        if (heights[i] == 0 || heights[i] == height) {
            if (row >= 0) rows << row;
            continue;
        }
        QVERIFY2(row >= 0, qPrintable(QString("line at %1").arg(heights[i])));
        rows << row;
    }
    std::sort(rows.begin(), rows.end());
    // Nothing else in the column.
    QCOMPARE(markedRows(img, x), rows);
}

void TestErrorHistory::scaleLabels_data()
{
    // Font "Helvetica" (DejaVu Sans here) at 14 px: x-height 8 (checked below).
    QTest::addColumn<bool>("cents");
    QTest::addColumn<int>("scale");
    QTest::addColumn<int>("height");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("baselines");

    // Cents, s = 50, H = 100, k = 1, step 10: row y = 50 - c, drawn when
    // 8 < y < 92 (so not c = 50 at row 0 nor -50 at row 100), at baseline y + 4.
    QStringList texts{"-40", "-30", "-20", "-10", "    0", "  10", "  20", "  30", "  40"};
    QList<int> rows;
    for (int c = -40; c <= 40; c += 10)
        rows << 50 - c + 4;
    QTest::newRow("cents 50") << true << 50 << 100 << texts << rows;

    // Cents, s = 20, H = 100, k = 2.5, step 5, top 20: y = 50 - trunc(2.5 c):
    // c = -20 -> 100 and 20 -> 0 are not drawn; -15 -> 50 + 37 = 87, -10 -> 75,
    // -5 -> 50 + 12 = 62, 0 -> 50, 5 -> 50 - 12 = 38, 10 -> 25, 15 -> 13.
    texts = QStringList{"-15", "-10", "-5", "    0", "  5", "  10", "  15"};
    rows = QList<int>{87 + 4, 75 + 4, 62 + 4, 50 + 4, 38 + 4, 25 + 4, 13 + 4};
    QTest::newRow("cents 20") << true << 20 << 100 << texts << rows;

    // Fraction mode, s = 50 (q = 1), H = 100: rows 3H/4 + 8 - 4 = 79 ("-1/4"),
    // H/4 + 4 = 29 ("+1/4"), 5H/8 + 4 = 66 ("-1/8"), 3H/8 + 4 = 41 ("+1/8").
    QTest::newRow("fraction 50") << false << 50 << 100 << QStringList{"-1/4", "+1/4", "-1/8", "+1/8"}
                                 << QList<int>{79, 29, 66, 41};
    // s = 25 (q = 2): 1/(4q) = 1/8 and 1/(8q) = 1/16.
    QTest::newRow("fraction 25") << false << 25 << 100 << QStringList{"-1/8", "+1/8", "-1/16", "+1/16"}
                                 << QList<int>{79, 29, 66, 41};
}

void TestErrorHistory::scaleLabels()
{
    QFETCH(bool, cents);
    QFETCH(int, scale);
    QFETCH(int, height);
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, baselines);
    QFont font("Helvetica");
    font.setPixelSize(14);
    QCOMPARE(QFontMetrics(font).xHeight(), 8);

    m_view->useCents->setChecked(cents);
    m_view->spinScale->setValue(scale);
    QImage img = paint(200, height);

    TextReference ref;
    ref.texts.push_back({20, QPoint(2, 20), "Error"});
    for (int i = 0; i < texts.size(); ++i)
        ref.texts.push_back({14, QPoint(2, baselines[i]), texts[i]});
    ref.resize(200, height);
    ref.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ref));
    QImage expected = ref.grabFramebuffer();
    // Left of the grid (which starts at x = 29) only texts are drawn.
    QCOMPARE(differences(img, expected, QRect(0, 0, 28, height)), 0);
}

void TestErrorHistory::curve_data()
{
    // W = 229, so W - 29 = 200 pixels for the curve; one note, five errors:
    // total = 4, step = 50: x = 29, 79, 129, 179, 229.
    QTest::addColumn<bool>("cents");
    QTest::addColumn<int>("scale");
    QTest::addColumn<QVector<float>>("errors");
    QTest::addColumn<QList<QPoint>>("points"); // GL (x, Y) on the curve
    QTest::addColumn<QList<QPoint>>("off");    // GL points off the curve

    // Cents, s = 50, k = 1: Y = 50 + 100 e = 50, 60, 30, 80, 50. Midpoints of the
    // segments: (54, 55), (104, 45), (154, 55), (204, 65).
    QTest::newRow("cents 50") << true << 50 << QVector<float>{0.0f, 0.1f, -0.2f, 0.3f, 0.0f}
                              << QList<QPoint>{{79, 60},  {129, 30}, {179, 80}, {54, 55},
                                               {104, 45}, {154, 55}, {204, 65}}
                              << QList<QPoint>{{79, 40}, {129, 70}, {179, 20}};
    // Cents, s = 25, k = 2: Y = 50 + 200 e: 0.1 -> 70, -0.1 -> 30, 0.2 -> 90.
    // Midpoints (54, 60), (104, 50), (154, 60), (204, 70).
    QTest::newRow("cents 25") << true << 25 << QVector<float>{0.0f, 0.1f, -0.1f, 0.2f, 0.0f}
                              << QList<QPoint>{{79, 70}, {129, 30}, {179, 90}, {54, 60}, {154, 60}, {204, 70}}
                              << QList<QPoint>{{79, 30}, {179, 10}};
    // Fraction mode, s = 10: k = 50 div 10 = 5: Y = 50 + 500 e: 0.05 -> 75,
    // -0.08 -> 10, 0.02 -> 60. Midpoints (54, 62.5), (104, 42.5), (154, 35).
    QTest::newRow("fraction 10") << false << 10 << QVector<float>{0.0f, 0.05f, -0.08f, 0.02f, 0.0f}
                                 << QList<QPoint>{{79, 75}, {129, 10}, {179, 60},
                                                  {54, 62}, {104, 42}, {154, 35}}
                                 << QList<QPoint>{{79, 25}, {129, 90}};
}

void TestErrorHistory::curve()
{
    QFETCH(bool, cents);
    QFETCH(int, scale);
    QFETCH(QVector<float>, errors);
    QFETCH(QList<QPoint>, points);
    QFETCH(QList<QPoint>, off);
    m_view->useCents->setChecked(cents);
    m_view->spinScale->setValue(scale);
    m_view->addNote(GLErrorHistory::Note(0));
    for (float e : errors)
        m_view->addError(e);
    QImage img = paint(229, 100);
    // Width 2: the pixels within one of the exact point are black.
    for (const QPoint& p : points)
        QVERIFY2(near(img, p.x(), 100 - p.y(), Qt::black),
                 qPrintable(QString("%1,%2").arg(p.x()).arg(p.y())));
    for (const QPoint& p : off)
        QVERIFY2(!near(img, p.x(), 100 - p.y(), Qt::black, 2),
                 qPrintable(QString("%1,%2").arg(p.x()).arg(p.y())));
}

void TestErrorHistory::separatorAndNoteLabels()
{
    // Two kept notes, A4 with 3 errors and C5 with 2: total = 2 + 1 = 3,
    // step = 200/3 = 66.67 (W = 229). A4 from x = 29 to 162.33, separator at
    // x = 162.33 (column 162) in grey 0.75, C5 from 162.33 to 229.
    // Labels at (trunc(29 + 2), 98) = (31, 98) and (trunc(164.33), 98) = (164, 98).
    m_view->keep->setChecked(true);
    m_view->addNote(GLErrorHistory::Note(0));
    for (float e : {0.0f, 0.0f, 0.0f})
        m_view->addError(e);
    m_view->addNote(GLErrorHistory::Note(3));
    for (float e : {0.2f, 0.2f})
        m_view->addError(e);
    QImage img = paint(229, 100);
    // Separator: column 162 grey at a row away from the grid lines, curves and labels.
    QVERIFY(isColour(img, 162, 35, grey(0.75)));
    QVERIFY(isColour(img, 162, 5, grey(0.75)));
    // A4's curve at Y = 50 (image rows 49, 50) up to x = 162; C5's at Y = 70.
    QVERIFY(near(img, 100, 50, Qt::black));
    QVERIFY(!near(img, 190, 50, Qt::black, 2));
    QVERIFY(near(img, 190, 30, Qt::black));

    TextReference ref;
    ref.texts.push_back({14, QPoint(31, 98), "A4"});
    ref.texts.push_back({14, QPoint(164, 98), "C5"});
    ref.resize(229, 100);
    ref.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ref));
    QImage expected = ref.grabFramebuffer();
    // Below the grid line at Y = 10 (row 90).
    QCOMPARE(differences(img, expected, QRect(30, 91, 40, 9)), 0);
    QCOMPARE(differences(img, expected, QRect(163, 91, 40, 9)), 0);
}

void TestErrorHistory::notesWithoutSteps()
{
    // Every kept note has a single error: no step to spread them over. The view
    // still paints its labels; the one-point curves have no length.
    m_view->keep->setChecked(true);
    m_view->addNote(GLErrorHistory::Note(0));
    m_view->addError(0.1f);
    m_view->addNote(GLErrorHistory::Note(2));
    m_view->addError(-0.1f);
    QImage img = paint(229, 100);
    for (int y = 30; y < 80; ++y)
        for (int x = 40; x < 229; ++x)
            QVERIFY(!isColour(img, x, y, Qt::black));

    // A note that has no error yet spans nothing: with A4 holding 3 errors and
    // a new empty note, A4 alone fills the width: step = 200/2 = 100, A4's
    // points at x = 29, 129, 229 with Y = 50 + 100 e = 50, 80, 50; its
    // midpoint of the first segment (79, 65) is on the curve.
    m_view->keep->setChecked(false);
    m_view->keep->setChecked(true);
    m_view->addNote(GLErrorHistory::Note(0));
    for (float e : {0.0f, 0.3f, 0.0f})
        m_view->addError(e);
    m_view->addNote(GLErrorHistory::Note(5));
    img = paint(229, 100);
    QVERIFY(near(img, 79, 100 - 65, Qt::black));
    QVERIFY(near(img, 129, 100 - 80, Qt::black));
}

void TestErrorHistory::persistence()
{
    QTemporaryDir dir;
    QSettings settings(dir.filePath("s.ini"), QSettings::IniFormat);
    View::s_settings = &settings;
    m_view->keep->setChecked(true);
    m_view->spinScale->setValue(12);
    settings.beginGroup("Error history");
    m_view->save();
    QCOMPARE(settings.childKeys(), (QStringList{"keep", "spinScale", "useCents"}));
    QCOMPARE(settings.value("keep").toBool(), true);
    QCOMPARE(settings.value("spinScale").toInt(), 12);
    QCOMPARE(settings.value("useCents").toBool(), true);
    // Loading "keep" = false drops the kept notes but the last.
    for (int i = 0; i < 3; ++i)
        m_view->addNote(GLErrorHistory::Note(i));
    settings.setValue("keep", false);
    m_view->load();
    QVERIFY(!m_view->keep->isChecked());
    QCOMPARE(m_view->m_notes.size(), std::size_t(1));
    m_view->clearSettings();
    QVERIFY(settings.childKeys().isEmpty());
    settings.endGroup();
    View::s_settings = nullptr;
}

QTEST_MAIN(TestErrorHistory)
#include "tst_errorhistory.moc"
