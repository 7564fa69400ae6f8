// The spectrum view: the window and transform lengths with the console line,
// the feed and its trim, the peak of a known sine on real pixels, and the
// mouse (pan, zoom, read-out, reset). Pixel sizes are device pixels
// (DeviceTestUtil.h); mouse positions are widget pixels.

#include "DeviceTestUtil.h"
#include "GLFT.h"
#include "ViewTestUtil.h"

#include "Music/Music.h"

#include <QAction>
#include <QMouseEvent>
#include <QSpinBox>
#include <QtTest>
#include <iostream>
#include <numeric>
#include <sstream>

using namespace viewtest;

static const QColor CURVE(102, 102, 128); // (0.4, 0.4, 0.5)

class TestGLFT : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void factory();
    void lengths_data();
    void lengths();
    void feedAndTrim();
    void peakColumn();
    void mouse_data();
    void mouse();

private:
    void send(QEvent::Type type, int x, int y, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
    GLFT* m_view = nullptr;
};

// Standard output while alive.
struct CoutCapture
{
    std::ostringstream out;
    std::streambuf* old = std::cout.rdbuf(out.rdbuf());
    ~CoutCapture() { std::cout.rdbuf(old); }
};

void TestGLFT::init()
{
    Music::SetSamplingRate(44100);
    CoutCapture capture;
    m_view = new GLFT;
    QCOMPARE(QString::fromStdString(capture.out.str()),
             QString("GLFT: INFO: window length=20ms FFT length=4096\n"));
    QVERIFY(m_view->isHidden());
    m_view->m_show_action->setChecked(true);
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
}

void TestGLFT::cleanup()
{
    delete m_view;
    m_view = nullptr;
}

void TestGLFT::send(QEvent::Type type, int x, int y, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    const QPoint pos(x, y);
    QMouseEvent e(type, pos, m_view->mapToGlobal(pos),
                  type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, mods);
    QApplication::sendEvent(m_view, &e);
}

void TestGLFT::factory()
{
    QCOMPARE(m_view->m_name, QString("Fourier Transform"));
    m_view->updateMaxFrequency(48001);
    QCOMPARE(m_view->m_max_freq, 24000.0);
    // "dB scale" off and on resets both ranges; linear mode has the factor 1.
    m_view->m_min_freq = 100.0, m_view->m_min_db = 3.0;
    m_view->dBScale->setChecked(false);
    QCOMPARE(m_view->m_min_freq, 0.0);
    QCOMPARE(m_view->m_max_freq, 22050.0);
    QCOMPARE(m_view->m_max_db, 1.0);
    m_view->dBScale->setChecked(true);
    QCOMPARE(m_view->m_min_db, -50.0);
    QCOMPARE(m_view->m_max_db, 100.0);

    // While the rate is unknown nothing is planned or printed.
    Music::SetSamplingRate(-1);
    CoutCapture capture;
    m_view->spinWinLengthChanged(50);
    QCOMPARE(capture.out.str(), std::string());
    QCOMPARE(m_view->fftLength(), 4096);
}

void TestGLFT::lengths_data()
{
    QTest::addColumn<int>("ms");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("N");
    QTest::addColumn<int>("L");
    QTest::addColumn<QString>("line");
    // N = 20 * 44100 / 1000 = 882, a = 1024, L = 4a.
    QTest::newRow("20 ms, 44100") << 20 << 44100 << 882 << 4096
                                  << "GLFT: INFO: window length=20ms FFT length=4096\n";
    // N = trunc(8158.5) = 8158, a = 8192, L = 32768 < 44100: the longest allowed.
    QTest::newRow("185 ms, 44100") << 185 << 44100 << 8158 << 32768
                                   << "GLFT: INFO: window length=185ms FFT length=32768\n";
    // N = 8202 would need a = 16384, L = 65536 >= 44100: cut to 8192 samples,
    // 1000 * 8192 / 44100 = 185.76 ms, L = 32768.
    QTest::newRow("186 ms, 44100") << 186 << 44100 << 8192 << 32768
                                   << "GLFT: INFO: window length=186ms FFT length=32768 (window cut to 8192 "
                                      "samples, 185.76ms: a longer one would need an FFT length of at least "
                                      "the sampling rate)\n";
    // N = 8000, a = 8192, L = 32768 >= 8000: 4 * 1024 = 4096 < 8000 <= 4 * 2048,
    // cut to 1024 samples (128 ms).
    QTest::newRow("1000 ms, 8000") << 1000 << 8000 << 1024 << 4096
                                   << "GLFT: INFO: window length=1000ms FFT length=4096 (window cut to 1024 "
                                      "samples, 128ms: a longer one would need an FFT length of at least the "
                                      "sampling rate)\n";
}

void TestGLFT::lengths()
{
    QFETCH(int, ms);
    QFETCH(int, rate);
    QFETCH(int, N);
    QFETCH(int, L);
    QFETCH(QString, line);
    Music::SetSamplingRate(rate);
    CoutCapture capture;
    m_view->setting_winlen->setValue(ms);
    if (ms == 20) m_view->spinWinLengthChanged(ms); // the spin box did not change
    QCOMPARE(QString::fromStdString(capture.out.str()), line);
    QCOMPARE(int(m_view->m_window.size()), N);
    // The window sums to 2N.
    const double sum = std::accumulate(m_view->m_window.begin(), m_view->m_window.end(), 0.0);
    QVERIFY(qAbs(sum - 2.0 * N) < 1e-9 * N);
    QCOMPARE(m_view->fftLength(), L);
    QCOMPARE(int(m_view->m_spectrum.size()), L / 2);
}

void TestGLFT::feedAndTrim()
{
    for (int i = 0; i < 5000; ++i)
        m_view->addSample(i);
    m_view->drainFinished();
    QCOMPARE(m_view->m_samples.size(), std::size_t(4096));
    QCOMPARE(m_view->m_samples.front(), 4999.0); // newest first
    QCOMPARE(m_view->m_samples.back(), 5000.0 - 4096.0);

    // Fewer than L samples: neither title nor curve, an all-white picture.
    m_view->m_samples.resize(4095);
    const QImage img = grabDevice(m_view, 512, 300);
    for (int x = 0; x < img.width(); x += 7)
        QCOMPARE(markedRows(img, x), QList<int>{});
}

void TestGLFT::peakColumn()
{
    // 44100 Hz, 20 ms: N = 882, L = 4096, 2048 bins of 44100 / 4096 Hz. A sine of
    // amplitude 0.5 on bin 100 (1076.66 Hz) gives there 0.5 * (sum of w) / 2 =
    // 0.5 * 882 = 441, 20 log10(441) = 52.89 dB. Over W = 512 columns column x
    // reads bin trunc(x * 2048 / 512 + 0.5) = 4x: bin 100 is column 25. With
    // H = 300: y = (52.89 + 50) * 300 / 150 = 205.78, GL row 205, image row
    // 299 - 205 = 94: the curve's highest point. Columns 24 and 26 read bins
    // 96 and 104, 4 * 44100 / 4096 = 43 Hz away, inside the main lobe
    // (+-2 * 44100 / 882 = 100 Hz) but lower.
    const double f = 100.0 * 44100.0 / 4096.0;
    for (int i = 0; i < 4096; ++i)
        m_view->addSample(0.5 * std::sin(2.0 * M_PI * f * i / 44100.0));
    m_view->drainFinished();
    const QImage img = grabDevice(m_view, 512, 300);
    QVERIFY(qAbs(20.0 * std::log10(m_view->m_spectrum[100]) - 52.89) < 0.01);
    for (int b : {96, 104})
        QVERIFY(m_view->m_spectrum[b] > 0.1 * m_view->m_spectrum[100] &&
                m_view->m_spectrum[b] < 0.9 * m_view->m_spectrum[100]);
    int top_row = img.height(), top_x = -1;
    for (int x = 0; x < img.width(); ++x)
        for (int y = 0; y < top_row; ++y)
            if (isColour(img, x, y, CURVE, 1)) {
                top_row = y, top_x = x;
                break;
            }
    // Lines are two pixels wide at scale factor 2: one pixel of slack there.
    // The rasteriser may leave the vertex's own pixel unlit at a sharp peak
    // (Mesa does at scale 1): the top may be one row lower.
    const int slack = m_view->devicePixelRatioF() > 1 ? 1 : 0;
    QVERIFY2(qAbs(top_x - 25) <= slack, qPrintable(QString::number(top_x)));
    QVERIFY2(top_row >= 94 - slack && top_row <= 95, qPrintable(QString::number(top_row)));
    // The title "Fourier Transform" is drawn with the spectrum.
    QVERIFY(markedRows(img, 10).size() > 3);
}

void TestGLFT::mouse_data()
{
    // Widget 400 x 200 (widget pixels), 0 .. 22050 Hz, -50 .. 100 dB. A press,
    // a first move at the press (it only takes the position), then a move with
    // the left button held.
    QTest::addColumn<bool>("shift");
    QTest::addColumn<bool>("db");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<double>>("ranges"); // min, max Hz; min dB, max dB (or scale)
    // Read-out: 22050 * 100 / 400 = 5512.5 Hz. Pan by 100 px right: both ends
    // move by 22050 * 100 / 400 = 5512.5, the span stays 22050. Down by 50 px:
    // both dB ends by 150 * 50 / 200 = 37.5.
    QTest::newRow("pan") << false << true << QPoint(100, 50) << QPoint(200, 100) << "Frequency 5512.5 [Hz]"
                         << QList<double>{-5512.5, 16537.5, -12.5, 137.5};
    // Zoom about 11025 Hz (x = 200): l = 8^((200 - 600) / 400) = 1/8, so
    // 11025 -+ 11025 / 8 = 9646.875 .. 12403.125.
    QTest::newRow("zoom in") << true << true << QPoint(200, 50) << QPoint(600, 50) << "Frequency 11025 [Hz]"
                             << QList<double>{9646.875, 12403.125, -50.0, 100.0};
    // Linear: the scale 1 becomes 1 - 50 / 200 = 0.75; a drag down by the
    // whole height or more leaves it (it would reach 0 or below).
    QTest::newRow("linear scale") << false << false << QPoint(0, 0) << QPoint(0, 50) << "Frequency 0 [Hz]"
                                  << QList<double>{0.0, 22050.0, -50.0, 0.75};
    QTest::newRow("linear, too far") << false << false << QPoint(0, 0) << QPoint(0, 200) << "Frequency 0 [Hz]"
                                     << QList<double>{0.0, 22050.0, -50.0, 1.0};
}

void TestGLFT::mouse()
{
    QFETCH(bool, shift);
    QFETCH(bool, db);
    QFETCH(QPoint, press);
    QFETCH(QPoint, to);
    QFETCH(QString, text);
    QFETCH(QList<double>, ranges);
    m_view->dBScale->setChecked(db);
    m_view->resize(400, 200);
    const Qt::KeyboardModifiers mods = shift ? Qt::ShiftModifier : Qt::NoModifier;
    send(QEvent::MouseButtonPress, press.x(), press.y(), Qt::LeftButton, mods);
    QCOMPARE(m_view->m_text, text);
    send(QEvent::MouseMove, press.x(), press.y(), Qt::LeftButton, mods);
    send(QEvent::MouseMove, to.x(), to.y(), Qt::LeftButton, mods);
    QCOMPARE(m_view->m_min_freq, ranges[0]);
    QCOMPARE(m_view->m_max_freq, ranges[1]);
    QCOMPARE(m_view->m_min_db, ranges[2]);
    QCOMPARE(m_view->m_max_db, ranges[3]);

    // A double click resets.
    send(QEvent::MouseButtonDblClick, 10, 10, Qt::LeftButton, Qt::NoModifier);
    QCOMPARE(m_view->m_min_freq, 0.0);
    QCOMPARE(m_view->m_max_freq, 22050.0);
    QCOMPARE(m_view->m_max_db, db ? 100.0 : 1.0);
    QCOMPARE(m_view->m_min_db, -50.0);
}

QTEST_MAIN(TestGLFT)
#include "tst_glft.moc"
