// The waveform period view on real pixels, at the scale factor the test runs
// under (1, 1.5 or 2): W x H is the framebuffer of a 200 x 200 widget, in
// device pixels. GL y points up: image row = H - y.

#include "GLSample.h"
#include "ToneCycle.h"
#include "ViewTestUtil.h"

#include <QAction>
#include <QSpinBox>

using namespace viewtest;

class TestSample : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_view = new GLSample;
        QVERIFY(m_view->isHidden() && !m_view->hasFading->isChecked() &&
                m_view->spinNumFading->value() == 20);
        m_view->m_show_action->setChecked(true);
        m_view->resize(200, 200);
        QVERIFY(QTest::qWaitForWindowExposed(m_view));
    }
    void cleanup() { delete m_view; }

    void onePeriodFillsWidth()
    {
        m_view->addPeriod(0, std::deque<double>(50, 0.3)); // replaced by the next
        std::deque<double> sine;                           // v_j = 0.5 sin(2 pi j / 100)
        for (int j = 0; j < 100; ++j)
            sine.push_back(0.5 * std::sin(2 * M_PI * j / 100));
        m_view->addPeriod(0, sine);
        QCOMPARE(m_view->m_periods.size(), std::size_t(1));
        const QImage img = m_view->grabFramebuffer();
        const int W = img.width(), H = img.height();
        // Sample j at x = trunc((99 - j) W / 100): the maximum (j = 25) touches
        // the top at x = 0.74 W, the minimum (j = 75) the bottom at 0.24 W,
        // sample 0 the right edge at H/2, sample 99 (-0.031) the left edge.
        QVERIFY(near(img, int(0.74 * W), 0, Qt::black, 1));
        QVERIFY(near(img, int(0.24 * W), H - 1, Qt::black, 1));
        QVERIFY(near(img, W - 1, H - 1 - H / 2, Qt::black, 2));
        QVERIFY(near(img, 0, H - H / 2 + int(0.031 * H), Qt::black, 2));
    }

    void fadingCurves()
    {
        // Period k flat at c_k = (k + 1) / 21 but for its first sample, -1 (so
        // every magnitude is 1): curve k at y = H/2 + c_k H/2. The newest
        // (k = 19, index 0) black, the oldest (k = 0, index 19) grey 19/20 = 0.95.
        m_view->hasFading->setChecked(true);
        for (int k = 0; k < 20; ++k) {
            std::deque<double> period(100, (k + 1) / 21.0);
            period[0] = -1.0;
            m_view->addPeriod(k, period);
        }
        const QImage img = m_view->grabFramebuffer();
        const int W = img.width(), H = img.height();
        for (int k = 0; k < 20; ++k) {
            const int row = H - int(H / 2 + (k + 1) / 21.0 * H / 2);
            QVERIFY2(near(img, W / 2, row, grey((19 - k) / 20.0), 1, 1), qPrintable(QString::number(k)));
        }
        // Twenty kept; fewer fadings take effect with the next period.
        m_view->addPeriod(0, std::deque<double>(10, 0.1));
        QCOMPARE(m_view->m_periods.size(), std::size_t(20));
        m_view->spinNumFading->setValue(3);
        QCOMPARE(m_view->m_periods.size(), std::size_t(20));
        m_view->addPeriod(0, std::deque<double>(10, 0.1));
        QCOMPARE(m_view->m_periods.size(), std::size_t(3));
    }

    void silenceLeavesTitleAndZeroLine()
    {
        m_view->addPeriod(0, std::deque<double>(100, 0.7));
        Music::AnalysisPipeline idle;
        m_view->feedCycle(CycleData{idle, 44100, 0.0, 0.0, 0.0, false, 0.0, 0}); // no pitch
        QVERIFY(m_view->m_periods.empty());
        const QImage img = m_view->grabFramebuffer();
        TextReference ref;
        ref.texts = {{20, QPoint(2, 20), "Waveform's period"}};
        ref.resize(200, 200);
        ref.show();
        QVERIFY(QTest::qWaitForWindowExposed(&ref));
        const QImage title = ref.grabFramebuffer();
        const int W = img.width(), H = img.height();
        // Off the zero line (y = H/2) the title alone; the line in grey 0.5.
        QCOMPARE(differences(img, title, QRect(0, 0, W, H / 2 - 2)), 0);
        QCOMPARE(differences(img, title, QRect(0, H / 2 + 3, W, H / 2 - 3)), 0);
        QVERIFY(!markedRows(title, W / 20).isEmpty() && !markedRows(img, W - 3).isEmpty());
        for (int y : markedRows(img, W - 3))
            QVERIFY(std::abs(y - H / 2) <= 2 && isColour(img, W - 3, y, grey(0.5)));
    }

    void feedThroughPipeline()
    {
        // 430.66 Hz at 44100 Hz: a period of about 102 samples, from a minimum.
        ToneCycle tone(430.6640625, {0.4, 0.2, 0.1, 0.05});
        m_view->feedCycle(tone.data());
        QCOMPARE(m_view->m_periods.size(), std::size_t(1));
        const std::deque<double>& v = m_view->m_periods.front().samples;
        QVERIFY2(std::abs(int(v.size()) - 102) <= 3, qPrintable(QString::number(v.size())));
        QCOMPARE(m_view->m_periods.front().max_abs, std::fabs(*std::min_element(v.begin(), v.end())));
        // Normalised: that minimum touches the bottom edge.
        const QImage img = m_view->grabFramebuffer();
        int black = 0;
        for (int x = 0; x < img.width(); ++x)
            black += isColour(img, x, img.height() - 1, Qt::black);
        QVERIFY(black > 0);
        m_view->m_show_action->setChecked(false); // hidden: nothing kept
        m_view->feedCycle(tone.data());
        QVERIFY(m_view->m_periods.empty());
    }

private:
    GLSample* m_view = nullptr;
};

QTEST_MAIN(TestSample)
#include "tst_sample.moc"
