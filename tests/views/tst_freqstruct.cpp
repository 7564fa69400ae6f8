// The harmonics view on real pixels, at the scale factor the test runs under
// (1, 1.5 or 2). Positions are in device pixels: r the ratio, W x H the
// framebuffer of a 300 x 112 widget, b = 12 r the strip of the numbers, so
// that 50 dB span H - b = 100 r pixels. The widget's font is DejaVu Sans 12 px:
// the bars start at d = r (width("-40dB") + 2).

#include "GLFreqStruct.h"
#include "ToneCycle.h"
#include "ViewTestUtil.h"

#include <QAction>
#include <QSpinBox>

using namespace viewtest;

static const QColor BAR(102, 102, 128); // (0.4, 0.4, 0.5)

class TestFreqStruct : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_view = new GLFreqStruct;
        QVERIFY(m_view->isHidden() && m_view->spinNumComponents->value() == 16);
        QFont font("DejaVu Sans");
        font.setPixelSize(12);
        m_view->setFont(font);
        m_view->m_show_action->setChecked(true);
        m_view->resize(300, 112);
        QVERIFY(QTest::qWaitForWindowExposed(m_view));
    }
    void cleanup() { delete m_view; }

    void bars_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QVector<double>>("levels");  // written first, with the maximum 60
        QTest::addColumn<QVector<double>>("heights"); // bar tops, fraction of the span; -1: none
        const QVector<double> none;
        // Factory: 16 levels of 0 dB, maximum 1: 1 dB down, 49/50 of the span.
        QTest::newRow("factory") << 16 << none << QVector<double>(16, 0.98);
        QTest::newRow("8 harmonics") << 8 << none << QVector<double>(8, 0.98);
        QTest::newRow("32 harmonics") << 32 << none << QVector<double>(32, 0.98);
        QVector<double> fundamental(16, GLFreqStruct::s_missing_level), heights(16, -1);
        fundamental[0] = 60, heights[0] = 1.0;
        QTest::newRow("fundamental only") << 16 << fundamental << heights;
        // 20 dB down: (50 - 20) / 50 = 60 % of the span.
        QTest::newRow("20 dB down") << 2 << QVector<double>{60, 40} << QVector<double>{1.0, 0.6};
    }

    void bars()
    {
        QFETCH(int, count);
        QFETCH(QVector<double>, levels);
        QFETCH(QVector<double>, heights);
        m_view->spinNumComponents->setValue(count);
        QCOMPARE(int(m_view->m_components.size()), count);
        for (int i = 0; i < levels.size(); ++i)
            m_view->m_components[std::size_t(i)] = levels[i];
        if (!levels.isEmpty()) m_view->m_max_level = 60;
        checkBars(m_view->grabFramebuffer(), heights);
    }

    void partialsThroughPipeline()
    {
        // 430.66 Hz = 20 bins of 44100/2048 Hz: every partial on a bin, no
        // scalloping. Levels below the fundamental: 20 log10(a_k / 0.4) =
        // 0, -6.02, -12.04, -18.06 dB; harmonics 5 to 8 are not in the tone.
        const std::vector<double> amps{0.4, 0.2, 0.1, 0.05};
        ToneCycle tone(430.6640625, amps);
        m_view->spinNumComponents->setValue(8);
        m_view->feedCycle(tone.data());
        QCOMPARE(m_view->m_max_level, m_view->m_components[0]);
        QVector<double> heights(8, -1);
        for (std::size_t k = 0; k < amps.size(); ++k) {
            const double down = 20 * std::log10(amps[k] / amps[0]);
            QVERIFY2(std::fabs(m_view->m_components[k] - m_view->m_components[0] - down) < 0.1,
                     qPrintable(QString::number(m_view->m_components[k])));
            heights[int(k)] = 1.0 + down / 50;
        }
        checkBars(m_view->grabFramebuffer(), heights);
        // Hidden, the chart stays.
        m_view->m_show_action->setChecked(false);
        const std::vector<double> before = m_view->m_components;
        m_view->feedCycle(ToneCycle(440.0, {0.1}).data());
        QCOMPARE(m_view->m_components, before);
    }

private:
    // Bar i spans x from d + trunc(i step) with step = (W - d) / N; its top is
    // at y = b + height (H - b), image row H - y; it stops at y = b, row H - b - 1.
    // Just above the strip, one run of bar colour per bar drawn.
    void checkBars(const QImage& img, const QVector<double>& heights)
    {
        const double r = m_view->devicePixelRatioF();
        const int H = img.height(), b = qRound(12 * r);
        const int d = qRound(r * m_view->fontMetrics().horizontalAdvance("-40dB")) + qRound(2 * r);
        const double step = double(img.width() - d) / heights.size();
        int drawn = 0, runs = 0;
        for (int i = 0; i < heights.size(); ++i) {
            const int x = d + int((i + 0.5) * step);
            QList<int> rows;
            for (int y = 0; y < H; ++y)
                if (isColour(img, x, y, BAR, 1)) rows << y;
            const QString at = QString("bar %1: %2").arg(i).arg(rows.isEmpty() ? -1 : rows.front());
            QVERIFY2(rows.isEmpty() == (heights[i] < 0), qPrintable(at));
            if (rows.isEmpty()) continue;
            ++drawn;
            QVERIFY2(std::abs(rows.front() - (H - int(b + heights[i] * (H - b)))) <= r + 1, qPrintable(at));
            QCOMPARE(rows.back(), H - b - 1);
        }
        for (int x = d, y = H - b - 2; x < img.width(); ++x)
            runs += isColour(img, x, y, BAR, 1) && !isColour(img, x - 1, y, BAR, 1);
        QCOMPARE(runs, drawn);
    }

    GLFreqStruct* m_view = nullptr;
};

QTEST_MAIN(TestFreqStruct)
#include "tst_freqstruct.moc"
