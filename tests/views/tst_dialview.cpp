// The dial on real pixels: needle tip and knee, tolerance sector, trace,
// labels in cents and in fractions, landscape and portrait.
//
// Every case uses the font "DejaVu Sans" at 14 pixels, whose line height fh is
// 17 (checked in initTestCase), and a widget of 300 x 200 (landscape) or
// 200 x 300 (portrait). Then, in both orientations:
//   A = 300, R = 200, m = R div 10 = 20,
//   rx = A div 2 - fh - m = 150 - 17 - 20 = 113, ry = R - fh - m = 200 - 17 - 20 = 163,
//   label ellipse la = 150 - 17 + 8 + 2 = 143, lb = 200 - 17 + 8 + 2 = 193.
// Landscape pivot (150, 200): local (x, y) is widget (150 + x, 200 + y).
// Portrait pivot (200, 150), turned by -90 degrees: local (x, y) is widget
// (200 + y, 150 - x).

#include "DialView.h"
#include "ViewTestUtil.h"

#include <QAction>
#include <QFile>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>
#include <iostream>
#include <sstream>

using namespace viewtest;

namespace {

// Captures what is written to std::cout during its lifetime.
struct CoutCapture
{
    std::ostringstream text;
    std::streambuf* old;
    CoutCapture() : old(std::cout.rdbuf(text.rdbuf())) {}
    ~CoutCapture() { std::cout.rdbuf(old); }
};

// A settings file holding the INI text `lines` under the group [Dial], as a
// user might have edited it.
QString writeDialSettings(const QTemporaryDir& dir, const QByteArray& lines)
{
    const QString path = dir.filePath("s.ini");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return QString();
    file.write("[Dial]\n" + lines + "\n");
    return path;
}

} // namespace

static const QColor NEEDLE(64, 64, 64);
static const QColor FILL(123, 205, 145);
static const QColor TRACE(128, 128, 128);

class TestDialView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void initialState();
    void needleTip_data();
    void needleTip();
    void needleKneeLandscape();
    void needleKneePortrait();
    void noNeedleOutsideOneSemitone_data();
    void noNeedleOutsideOneSemitone();
    void toleranceSector_data();
    void toleranceSector();
    void trace();
    void noTraceAtStart();
    void labels_data();
    void labels();
    void unitText_data();
    void unitText();
    void persistence();
    void storedScale_data();
    void storedScale();
    void storedGarbageKeepsEverySetting();

private:
    QImage paint(float error, bool portrait = false);
    QFont m_font;
    DialView* m_dial = nullptr;
};

void TestDialView::initTestCase()
{
    m_font = QFont("DejaVu Sans");
    m_font.setPixelSize(14);
    QCOMPARE(QFontMetrics(m_font).height(), 17);
}

void TestDialView::init()
{
    m_dial = new DialView;
    m_dial->setFont(m_font);
    m_dial->resize(300, 200);
    m_dial->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dial));
}

void TestDialView::cleanup()
{
    delete m_dial;
    m_dial = nullptr;
}

QImage TestDialView::paint(float error, bool portrait)
{
    m_dial->resize(portrait ? 200 : 300, portrait ? 300 : 200);
    m_dial->setError(error);
    return m_dial->grab().toImage();
}

void TestDialView::initialState()
{
    QCOMPARE(m_dial->m_name, QString("Dial"));
    QCOMPARE(m_dial->m_error, 0.0f);
    QCOMPARE(m_dial->m_min_error, 0.0f);
    QCOMPARE(m_dial->m_max_error, 0.0f);
    QVERIFY(m_dial->showTolerance->isChecked());
    QVERIFY(m_dial->showTrace->isChecked());
    QVERIFY(m_dial->useCents->isChecked());
    QCOMPARE(m_dial->spinScale->minimum(), 5);
    QCOMPARE(m_dial->spinScale->maximum(), 100);
    QCOMPARE(m_dial->spinScale->singleStep(), 1);
    QCOMPARE(m_dial->spinScale->value(), 50);
    QCOMPARE(m_dial->spinScale->toolTip(), QString("Scale range (in cents)"));
    QVERIFY(!m_dial->m_show_action->isChecked());
    // At start the needle stands vertical: tip (0, -(ry - 4)) = (0, -159),
    // widget (150, 41).
    QImage img = m_dial->grab().toImage();
    QVERIFY(near(img, 150, 41, NEEDLE));
}

void TestDialView::needleTip_data()
{
    QTest::addColumn<bool>("cents");
    QTest::addColumn<int>("scale");
    QTest::addColumn<float>("error");
    QTest::addColumn<bool>("portrait");
    QTest::addColumn<QPoint>("tip");    // widget coordinates
    QTest::addColumn<QPoint>("beyond"); // 4 px further out along the needle
    // Tip: (trunc(109 sin d), -trunc(159 cos d)) with d = 150 k e degrees.
    // k = 1: e = 0.3 gives d = 45: (trunc(77.07), -trunc(112.43)) = (77, -112),
    // widget (227, 88); unit vector (77, -112)/135.9 = (0.567, -0.824), beyond
    // (227 + 2.3, 88 - 3.3) = (229, 85).
    QTest::newRow("cents 50, +30 cents") << true << 50 << 0.3f << false << QPoint(227, 88) << QPoint(229, 85);
    // e = -0.5: d = -75, sin = -0.96593, cos = 0.25882: (trunc(-105.29),
    // -trunc(41.15)) = (-105, -41), widget (45, 159); unit (-0.932, -0.364),
    // beyond (41, 158).
    QTest::newRow("cents 50, -50 cents")
        << true << 50 << -0.5f << false << QPoint(45, 159) << QPoint(41, 158);
    // k = 50/20 = 2.5, e = 0.1: d = 37.5, sin = 0.60876, cos = 0.79335:
    // (trunc(66.36), -trunc(126.14)) = (66, -126), widget (216, 74); unit
    // (0.464, -0.886), beyond (218, 70).
    QTest::newRow("cents 20, +10 cents") << true << 20 << 0.1f << false << QPoint(216, 74) << QPoint(218, 70);
    // Fraction mode, k = 50 div 25 = 2, e = 0.1: d = 30: (trunc(54.5),
    // -trunc(137.70)) = (54, -137), widget (204, 63); unit (0.367, -0.930),
    // beyond (205, 59).
    QTest::newRow("fraction 25") << false << 25 << 0.1f << false << QPoint(204, 63) << QPoint(205, 59);
    // Fraction mode above 50: k = 0, the needle stays vertical: (0, -159),
    // widget (150, 41), beyond (150, 37).
    QTest::newRow("fraction 60") << false << 60 << 0.3f << false << QPoint(150, 41) << QPoint(150, 37);
    // Portrait, k = 1, e = 0.3: local (77, -112) is widget (200 - 112, 150 - 77)
    // = (88, 73); positive errors point upward. Local beyond (79, -115) is
    // widget (85, 71).
    QTest::newRow("portrait +30 cents") << true << 50 << 0.3f << true << QPoint(88, 73) << QPoint(85, 71);
    // Portrait, e = -0.5: local (-105, -41) is widget (159, 255); local beyond
    // (-109, -42) is widget (158, 259).
    QTest::newRow("portrait -50 cents")
        << true << 50 << -0.5f << true << QPoint(159, 255) << QPoint(158, 259);
}

void TestDialView::needleTip()
{
    QFETCH(bool, cents);
    QFETCH(int, scale);
    QFETCH(float, error);
    QFETCH(bool, portrait);
    QFETCH(QPoint, tip);
    QFETCH(QPoint, beyond);
    m_dial->useCents->setChecked(cents);
    m_dial->spinScale->setValue(scale);
    QImage img = paint(error, portrait);
    QVERIFY(near(img, tip.x(), tip.y(), NEEDLE));
    QVERIFY(!near(img, beyond.x(), beyond.y(), NEEDLE));
}

void TestDialView::needleKneeLandscape()
{
    // Error 0: tip (0, -159) at widget (150, 41); knee (0, round(-143.1)) =
    // (0, -143) at widget (150, 57). Width 3 from the pivot to the knee
    // (columns 149 to 151), width 1 from the knee to the tip (column 150).
    QImage img = paint(0.0f);
    for (int x : {149, 150, 151})
        QVERIFY2(isColour(img, x, 120, NEEDLE), qPrintable(QString::number(x)));
    for (int y : {44, 49, 52}) {
        QVERIFY(isColour(img, 150, y, NEEDLE));
        QVERIFY(!isColour(img, 149, y, NEEDLE));
        QVERIFY(!isColour(img, 151, y, NEEDLE));
    }
    QVERIFY(!isColour(img, 150, 37, NEEDLE));
}

void TestDialView::needleKneePortrait()
{
    // Error 0 in portrait: local tip (0, -159) is widget (41, 150), local knee
    // (0, -143) widget (57, 150). Thick part rows 149 to 151, thin part row 150.
    QImage img = paint(0.0f, true);
    for (int y : {149, 150, 151})
        QVERIFY(isColour(img, 120, y, NEEDLE));
    for (int x : {44, 49, 52}) {
        QVERIFY(isColour(img, x, 150, NEEDLE));
        QVERIFY(!isColour(img, x, 149, NEEDLE));
        QVERIFY(!isColour(img, x, 151, NEEDLE));
    }
    QVERIFY(!isColour(img, 37, 150, NEEDLE));
}

void TestDialView::noNeedleOutsideOneSemitone_data()
{
    QTest::addColumn<float>("error");
    QTest::newRow("+1") << 1.0f;
    QTest::newRow("-1") << -1.0f;
    QTest::newRow("+3") << 3.0f;
}

void TestDialView::noNeedleOutsideOneSemitone()
{
    QFETCH(float, error);
    m_dial->m_min_error = -0.1f;
    m_dial->m_max_error = 0.2f;
    QImage img = paint(error);
    // Inside the dial ellipse (113, 163) and above the unit text (rows up to
    // 185) there is no text whose smoothed edges could take these colours.
    for (int y = 0; y <= 185; ++y)
        for (int x = 0; x < img.width(); ++x) {
            const double u = (x - 150) / 113.0, v = (y - 200) / 163.0;
            if (u * u + v * v >= 1.0) continue;
            QVERIFY(!isColour(img, x, y, NEEDLE));
            QVERIFY(!isColour(img, x, y, TRACE));
        }
    // The tolerance sector stays (see toleranceSector for (150, 119)).
    QVERIFY(isColour(img, 150, 119, FILL));
}

void TestDialView::toleranceSector_data()
{
    // The sector is a pie of semi-axes (111, 161). Points at half its size at
    // offset d: (55.5 sin d, -80.5 cos d) from the pivot (150, 200).
    //   d = 0:   (150, 119.5)          -> (150, 119)
    //   d = 4:   (153.87, 119.70)      -> (153, 119)
    //   d = +-9: (150 +- 8.68, 120.49) -> (158, 120), (141, 120)
    //   d = 14:  (163.43, 121.89)      -> (163, 121)
    // Scale 50: t = 1 * 5/6 * 0.0393015854 * 180 = 5.8952 degrees; start
    // trunc(84.1048 * 16) = 1345, span trunc(11.7905 * 16) = 188, so the pie
    // runs from 84.06 to 95.81 degrees: d from -5.81 to +5.94.
    // Scale 25 (k = 2): t = 11.7905; start trunc(78.2095 * 16) = 1251, span
    // trunc(23.581 * 16) = 377: d from -11.75 to +11.81.
    QTest::addColumn<int>("scale");
    QTest::addColumn<bool>("show");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<bool>("inside");
    QTest::newRow("50, d=0") << 50 << true << QPoint(150, 119) << true;
    QTest::newRow("50, d=4") << 50 << true << QPoint(153, 119) << true;
    QTest::newRow("50, d=9") << 50 << true << QPoint(158, 120) << false;
    QTest::newRow("50, d=-9") << 50 << true << QPoint(141, 120) << false;
    QTest::newRow("25, d=9") << 25 << true << QPoint(158, 120) << true;
    QTest::newRow("25, d=-9") << 25 << true << QPoint(141, 120) << true;
    QTest::newRow("25, d=14") << 25 << true << QPoint(163, 121) << false;
    QTest::newRow("hidden, d=0") << 50 << false << QPoint(150, 119) << false;
}

void TestDialView::toleranceSector()
{
    QFETCH(int, scale);
    QFETCH(bool, show);
    QFETCH(QPoint, point);
    QFETCH(bool, inside);
    m_dial->spinScale->setValue(scale);
    m_dial->showTolerance->setChecked(show);
    QImage img = paint(1.0f); // no needle in the way
    QCOMPARE(isColour(img, point.x(), point.y(), FILL), inside);
}

void TestDialView::trace()
{
    // Trace from -10 to +20 cents at scale 50 (w = 150 degrees per semitone):
    // d from -15 to +30 on the ellipse (113 - 2 - 2, 163 - 2 - 2) = (109, 159),
    // pen width 200 div 40 = 5. Points (109 sin d, -159 cos d):
    //   d = 0:   (0, -159)        -> widget (150, 41)
    //   d = 20:  (37.28, -149.41) -> (187, 50)
    //   d = -25: (-46.07, -144.10) -> (103, 55), outside the arc
    //   d = 40:  (70.06, -121.80) -> (220, 78), outside the arc
    // The needle is put out of the way at -45 cents (d = -67.5).
    m_dial->m_min_error = -0.1f;
    m_dial->m_max_error = 0.2f;
    QImage img = paint(-0.45f);
    QVERIFY(near(img, 150, 41, TRACE));
    QVERIFY(near(img, 187, 50, TRACE));
    QVERIFY(!near(img, 103, 55, TRACE, 2));
    QVERIFY(!near(img, 220, 78, TRACE, 2));

    m_dial->showTrace->setChecked(false);
    img = paint(-0.45f);
    QVERIFY(!near(img, 150, 41, TRACE, 2));
    QVERIFY(!near(img, 187, 50, TRACE, 2));
}

void TestDialView::noTraceAtStart()
{
    // Minimum and maximum both 0: no arc.
    QImage img = paint(-0.45f);
    QVERIFY(!near(img, 150, 41, TRACE, 2));
}

void TestDialView::labels_data()
{
    // Label point (trunc(143 sin d), trunc(-193 cos d)); the text's left end is
    // at -(width div 2) and its baseline at fh div 2 = 8 from that point.
    QTest::addColumn<bool>("cents");
    QTest::addColumn<int>("scale");
    QTest::addColumn<bool>("portrait");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPoint>("point"); // widget coordinates of the label point
    // The tick that reaches into the label's box, if any, drawn into the
    // reference too: from (trunc(113 sin d), -trunc(163 cos d)) to
    // (trunc(133 sin d), -trunc(183 cos d)) for a tick of length m = 20.
    QTest::addColumn<QLine>("tick");

    // Cents, scale 50 (k = 1, d = 1.5 c):
    //   c = 0:   (0, -193)                        -> (150, 7)
    //   c = 10:  d = 15: (trunc 37.01, -trunc 186.42) = (37, -186) -> (187, 14)
    //   c = -30: d = -45: (-101, -136)             -> (49, 64)
    //   c = 50:  d = 75: (trunc 138.13, -trunc 49.95) = (138, -49) -> (288, 151)
    //   c = -50: (-138, -49)                       -> (12, 151)
    QTest::newRow("50: 0") << true << 50 << false << "0" << QPoint(150, 7) << QLine(150, 37, 150, 17);
    QTest::newRow("50: 10") << true << 50 << false << "10" << QPoint(187, 14) << QLine(179, 43, 184, 24);
    QTest::newRow("50: -30") << true << 50 << false << "-30" << QPoint(49, 64) << QLine(71, 85, 56, 71);
    QTest::newRow("50: 50") << true << 50 << false << "50" << QPoint(288, 151) << QLine();
    QTest::newRow("50: -50") << true << 50 << false << "-50" << QPoint(12, 151) << QLine(41, 158, 22, 153);
    // Scale 20: step 5, k = 2.5, c = 20 at d = 75 -> (288, 151); c = -5 at
    // d = -18.75: (trunc -45.98, -trunc 182.73) = (-45, -182) -> (105, 18).
    QTest::newRow("20: 20") << true << 20 << false << "20" << QPoint(288, 151) << QLine();
    QTest::newRow("20: -5") << true << 20 << false << "-5" << QPoint(105, 18) << QLine();
    // Scale 10: step 1, k = 5, c = 1 at d = 7.5: (trunc 18.67, -trunc 191.35)
    // = (18, -191) -> (168, 9); c = -10 at d = -75 -> (12, 151).
    QTest::newRow("10: 1") << true << 10 << false << "1" << QPoint(168, 9) << QLine();
    QTest::newRow("10: -10") << true << 10 << false << "-10" << QPoint(12, 151) << QLine(41, 158, 22, 153);
    // Scale 37: step 10, top 30, k = 50/37, c = 30 at d = 60.81: sin 0.87298,
    // cos 0.48776: (trunc 124.84, -trunc 94.14) = (124, -94) -> (274, 106).
    QTest::newRow("37: 30") << true << 37 << false << "30" << QPoint(274, 106) << QLine(248, 121, 266, 111);
    // Fraction mode, offsets trunc(150 n/d): 0, 75, 37, 18, 9 degrees:
    //   37: sin 0.60182, cos 0.79864: (86, -154) -> (236, 46)
    //   18: sin 0.30902, cos 0.95106: (44, -183) -> (194, 17)
    //   9:  sin 0.15643, cos 0.98769: (22, -190) -> (172, 10)
    // Texts: denominator x (50 div s); scale 50: 2, 4, 8, 16; 25: 4, 8, 16, 32.
    QTest::newRow("1/x 50: 0") << false << 50 << false << "0" << QPoint(150, 7) << QLine(150, 37, 150, 17);
    QTest::newRow("1/x 50: 1/2") << false << 50 << false << "2" << QPoint(288, 151) << QLine();
    QTest::newRow("1/x 50: -1/2") << false << 50 << false << "2" << QPoint(12, 151) << QLine();
    QTest::newRow("1/x 50: 1/4") << false << 50 << false << "4" << QPoint(236, 46) << QLine();
    QTest::newRow("1/x 50: 1/8") << false << 50 << false << "8" << QPoint(194, 17) << QLine(186, 46, 192, 27);
    QTest::newRow("1/x 50: 1/16") << false << 50 << false << "16" << QPoint(172, 10) << QLine();
    QTest::newRow("1/x 25: 1/2") << false << 25 << false << "4" << QPoint(288, 151) << QLine();
    QTest::newRow("1/x 25: 1/16") << false << 25 << false << "32" << QPoint(172, 10) << QLine();
    QTest::newRow("1/x 30: 1/4") << false << 30 << false << "4" << QPoint(236, 46) << QLine();
    QTest::newRow("1/x 60: 1/2") << false << 60 << false << "0" << QPoint(288, 151) << QLine();
    QTest::newRow("1/x 60: -1/8") << false << 60 << false << "0" << QPoint(106, 17)
                                  << QLine(114, 46, 108, 27);
    // Portrait, upright texts: local (x, y) is widget (200 + y, 150 - x).
    //   c = 0: (0, -193) -> (7, 150); c = -30: (-101, -136) -> (64, 251);
    //   c = 50: (138, -49) -> (151, 12).
    QTest::newRow("portrait 0") << true << 50 << true << "0" << QPoint(7, 150) << QLine();
    QTest::newRow("portrait -30") << true << 50 << true << "-30" << QPoint(64, 251) << QLine();
    QTest::newRow("portrait 50") << true << 50 << true << "50" << QPoint(151, 12) << QLine(158, 41, 153, 22);
    QTest::newRow("portrait 1/x 1/4")
        << false << 50 << true << "4" << QPoint(46, 64) << QLine(71, 82, 55, 70);
}

void TestDialView::labels()
{
    QFETCH(bool, cents);
    QFETCH(int, scale);
    QFETCH(bool, portrait);
    QFETCH(QString, text);
    QFETCH(QPoint, point);
    QFETCH(QLine, tick);
    m_dial->useCents->setChecked(cents);
    m_dial->spinScale->setValue(scale);
    m_dial->showTolerance->setChecked(false);
    QImage img = paint(1.0f, portrait);

    // The same text alone, drawn at the expected place on the dial's background,
    // must match the dial's pixels over the text's extent.
    QImage ref(img.size(), img.format());
    ref.fill(m_dial->palette().color(QPalette::Window));
    QFontMetrics fm(m_font);
    const QPoint at(point.x() - fm.horizontalAdvance(text) / 2, point.y() + 17 / 2);
    {
        QPainter p(&ref);
        p.setFont(m_font);
        p.setPen(Qt::black);
        p.drawText(at, text);
        if (!tick.isNull()) p.drawLine(tick);
    }
    const QRect box = fm.boundingRect(text).translated(at).intersected(img.rect());
    QVERIFY(!box.isEmpty());
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (img.pixel(x, y) != ref.pixel(x, y))
                qDebug() << x << y << QColor(img.pixel(x, y)) << QColor(ref.pixel(x, y)) << box;
    QCOMPARE(differences(img, ref, box), 0);
}

void TestDialView::unitText_data()
{
    QTest::addColumn<bool>("cents");
    QTest::addColumn<bool>("portrait");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPoint>("at");
    // Landscape: baseline start (150 + width("cent"), 200) = (150 + 31, 200).
    QTest::newRow("cents") << true << false << "cents" << QPoint(181, 200);
    QTest::newRow("1/x") << false << false << "1/x" << QPoint(181, 200);
    // Portrait: (200 - width(text), 150 - 17): "cents" is 38 wide -> (162, 133).
    QTest::newRow("portrait cents") << true << true << "cents" << QPoint(162, 133);
}

void TestDialView::unitText()
{
    QFETCH(bool, cents);
    QFETCH(bool, portrait);
    QFETCH(QString, text);
    QFETCH(QPoint, at);
    QFontMetrics fm(m_font);
    QCOMPARE(fm.horizontalAdvance("cent"), 31);
    QCOMPARE(fm.horizontalAdvance("cents"), 38);
    m_dial->useCents->setChecked(cents);
    QImage img = paint(1.0f, portrait);
    QImage ref(img.size(), img.format());
    ref.fill(m_dial->palette().color(QPalette::Window));
    {
        QPainter p(&ref);
        p.setFont(m_font);
        p.setPen(Qt::black);
        p.drawText(at, text);
    }
    const QRect box = fm.boundingRect(text).translated(at).intersected(img.rect());
    QVERIFY(!box.isEmpty());
    QCOMPARE(differences(img, ref, box), 0);
}

void TestDialView::persistence()
{
    QTemporaryDir dir;
    QSettings settings(dir.filePath("s.ini"), QSettings::IniFormat);
    View::s_settings = &settings;
    m_dial->showTrace->setChecked(false);
    m_dial->spinScale->setValue(75);
    settings.beginGroup("Dial");
    m_dial->save();
    QCOMPARE(settings.childKeys(), (QStringList{"showTolerance", "showTrace", "spinScale", "useCents"}));
    QCOMPARE(settings.value("spinScale").toInt(), 75);
    QCOMPARE(settings.value("showTrace").toBool(), false);
    settings.setValue("useCents", false);
    settings.remove("spinScale");
    m_dial->spinScale->setValue(60);
    m_dial->load();
    QVERIFY(!m_dial->useCents->isChecked());
    QCOMPARE(m_dial->spinScale->value(), 60); // absent key: unchanged
    m_dial->clearSettings();
    QVERIFY(settings.childKeys().isEmpty());
    QVERIFY(!m_dial->useCents->isChecked());
    settings.endGroup();
    View::s_settings = nullptr;
}

void TestDialView::storedScale_data()
{
    // The scale range goes from 5 to 100 cents; the dial shows 60 before loading.
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("warned");
    QTest::newRow("valid") << QByteArray("30") << 30 << false;
    QTest::newRow("valid, spaces") << QByteArray("\" 25 \"") << 25 << false;
    QTest::newRow("above the range: clamped to 100") << QByteArray("150") << 100 << false;
    QTest::newRow("below the range: clamped to 5") << QByteArray("2") << 5 << false;
    QTest::newRow("negative: clamped to 5") << QByteArray("-40") << 5 << false;
    // Read as 0, then clamped, such text would give a 5-cent scale.
    QTest::newRow("garbage") << QByteArray("abc") << 60 << true;
    QTest::newRow("empty") << QByteArray("") << 60 << true;
    QTest::newRow("not whole") << QByteArray("12.5") << 60 << true;
    QTest::newRow("a truth value") << QByteArray("true") << 60 << true;
    QTest::newRow("a list") << QByteArray("30, 40") << 60 << true;
}

void TestDialView::storedScale()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, expected);
    QFETCH(bool, warned);
    QTemporaryDir dir;
    QSettings settings(writeDialSettings(dir, "spinScale=" + stored), QSettings::IniFormat);
    View::s_settings = &settings;
    m_dial->spinScale->setValue(60);
    QSignalSpy changed(m_dial->spinScale, SIGNAL(valueChanged(int)));
    CoutCapture out;
    settings.beginGroup("Dial");
    m_dial->load();
    settings.endGroup();
    View::s_settings = nullptr;
    QCOMPARE(m_dial->spinScale->value(), expected);
    // A value that changes the control runs the connected slots; a kept one does not.
    QCOMPARE(changed.count(), expected == 60 ? 0 : 1);
    const QString text = QString::fromStdString(out.text.str());
    QCOMPARE(text.contains("WARNING: ignoring the stored value"), warned);
    if (warned) QVERIFY2(text.contains("of Dial/spinScale, which is not a whole number"), qPrintable(text));
}

void TestDialView::storedGarbageKeepsEverySetting()
{
    // Through loadAll, as at start-up: each key is read on its own, a damaged
    // one keeps the control's state while the others load.
    QTemporaryDir dir;
    QSettings settings(writeDialSettings(dir, "showTolerance=false\nshowTrace=perhaps\n"
                                              "useCents=2\nspinScale=x20"),
                       QSettings::IniFormat);
    View::s_settings = &settings;
    CoutCapture out;
    View::loadAll();
    View::s_settings = nullptr;
    QVERIFY(!m_dial->showTolerance->isChecked());
    QVERIFY(m_dial->showTrace->isChecked());
    QVERIFY(m_dial->useCents->isChecked());
    QCOMPARE(m_dial->spinScale->value(), 50);
    QCOMPARE(QString::fromStdString(out.text.str()).count("WARNING"), 3);
}

QTEST_MAIN(TestDialView)
#include "tst_dialview.moc"
