#include <QtTest>

#include "AbortsWith.h"

#include "Music/Filter.h"

#include <cmath>
#include <complex>
#include <sys/wait.h>
#include <unistd.h>

using namespace Music;

namespace {

// Gain of an impulse response at f cycles per sample.
double gainAt(const std::vector<double>& h, double f)
{
    std::complex<double> sum = 0;
    for (size_t i = 0; i < h.size(); ++i)
        sum += h[i] * std::polar(1.0, -2 * M_PI * f * double(i));
    return std::abs(sum);
}

} // namespace

class TestFilter : public QObject
{
    Q_OBJECT

private slots:
    void dummy()
    {
        DummyRTFilter f;
        QCOMPARE(f.size(), 1);
        QCOMPARE(f.apply(0.25), 0.25);
        QCOMPARE(f.apply(-1.0), -1.0);
    }

    void rectangular_data()
    {
        QTest::addColumn<int>("N");
        QTest::addColumn<QVector<double>>("input");
        QTest::addColumn<QVector<double>>("expected");
        QTest::addColumn<int>("size");
        // [1]: 1 - 1 = 0; [2,1]: history[1] = 1, mean 1.5 -> -0.5; [3,2,1]: 2 - 2 = 0;
        // [4,3,2]: 3 - 3 = 0.
        QTest::newRow("N=3") << 3 << QVector<double>{1, 2, 3, 4} << QVector<double>{0, -0.5, 0, 0} << 3;
        // [1]: 0; [3,1]: 1 - 2 = -1; [5,3]: 3 - 4 = -1; [5,5]: 5 - 5 = 0.
        QTest::newRow("N=2") << 2 << QVector<double>{1, 3, 5, 5} << QVector<double>{0, -1, -1, 0} << 2;
        // Window of 1: x - x = 0 whatever x.
        QTest::newRow("N=0") << 0 << QVector<double>{1, -7, 0.5} << QVector<double>{0, 0, 0} << 1;
        QTest::newRow("N=-4") << -4 << QVector<double>{3, 2} << QVector<double>{0, 0} << 1;
        // N=5 on a constant 2: the centre equals the mean from the first sample on.
        QTest::newRow("N=5 constant") << 5 << QVector<double>(8, 2.0) << QVector<double>(8, 0.0) << 5;
        // N=4, 0,0,0,4: [0] 0; [0,0] 0; [0,0,0] 0; [4,0,0,0]: history[2] = 0 - 1 = -1;
        // then 0: [0,4,0,0]: history[2] = 0 - 1 = -1; 0: [0,0,4,0]: 4 - 1 = 3.
        QTest::newRow("N=4 step") << 4 << QVector<double>{0, 0, 0, 4, 0, 0}
                                  << QVector<double>{0, 0, 0, -1, -1, 3} << 4;
    }

    void rectangular()
    {
        QFETCH(int, N);
        QFETCH(QVector<double>, input);
        QFETCH(QVector<double>, expected);
        QFETCH(int, size);
        RectangularHighPassRTFilter f(N);
        QCOMPARE(f.size(), size);
        for (int i = 0; i < input.size(); ++i)
            QCOMPARE(f.apply(input[i]), expected[i]);
    }

    void rectangularReset()
    {
        RectangularHighPassRTFilter f; // constructed with 0, as the main window does
        QCOMPARE(f.size(), 1);
        f.reset(3);
        f.apply(10);
        f.apply(20);
        f.reset(3); // history and sum emptied: behaves as new
        QCOMPARE(f.size(), 3);
        QCOMPARE(f.apply(1), 0.0);
        QCOMPARE(f.apply(2), -0.5);
        f.reset(0);
        QCOMPARE(f.size(), 1);
        QCOMPARE(f.apply(5), 0.0);
    }

    void fir_data()
    {
        QTest::addColumn<QVector<double>>("imp_res");
        QTest::addColumn<QVector<double>>("input");
        QTest::addColumn<QVector<double>>("expected");
        // One coefficient: identity from the first sample on.
        QTest::newRow("identity") << QVector<double>{1.0} << QVector<double>{0.5, -1, 3}
                                  << QVector<double>{0.5, -1, 3};
        // [1, 2, 3], coefficient 0 on the newest: two samples of warm-up, then
        // 1*3 + 2*2 + 3*1 = 10, 1*4 + 2*3 + 3*2 = 16, 1*0 + 2*4 + 3*3 = 17.
        QTest::newRow("three taps") << QVector<double>{1, 2, 3} << QVector<double>{1, 2, 3, 4, 0}
                                    << QVector<double>{0, 0, 10, 16, 17};
        // Difference y = x[n] - x[n-1]: warm-up 0, then 2 - 1 = 1, 4 - 2 = 2.
        QTest::newRow("difference") << QVector<double>{1, -1} << QVector<double>{1, 2, 4}
                                    << QVector<double>{0, 1, 2};
    }

    void fir()
    {
        QFETCH(QVector<double>, imp_res);
        QFETCH(QVector<double>, input);
        QFETCH(QVector<double>, expected);
        FIRRTFilter f(std::vector<double>(imp_res.begin(), imp_res.end()));
        QCOMPARE(f.size(), imp_res.size());
        for (int i = 0; i < input.size(); ++i)
            QCOMPARE(f.apply(input[i]), expected[i]);
    }

    void firEmptyImpulseResponse()
    {
        QVERIFY(abortsWith([] { FIRRTFilter f{std::vector<double>()}; }, "imp_res.size()>0"));
    }

    void highPass_data()
    {
        QTest::addColumn<double>("cutoff");
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("taps");
        QTest::addColumn<double>("stop_hz"); // gain below 1e-2 there
        QTest::addColumn<double>("pass_hz"); // gain within 1e-3 of 1 there
        // The Blackman window's transition is about 5.5 / (taps - 1) of the
        // rate wide: 121 Hz for 2001 taps at 44100 Hz, 440 Hz for 101 at 8000.
        QTest::newRow("55 Hz at 44100, 2001 taps") << 55.0 << 44100.0 << 2001 << 2001 << 5.0 << 220.0;
        QTest::newRow("even length made odd") << 1000.0 << 8000.0 << 100 << 101 << 600.0 << 1500.0;
        // Raised to 5 taps (the window's ends are 0, so 3 would cancel out
        // entirely): far too short for a sharp cutoff, no pass band to check.
        QTest::newRow("too short") << 1000.0 << 8000.0 << 1 << 5 << 100.0 << -1.0;
    }

    void highPass()
    {
        QFETCH(double, cutoff);
        QFETCH(double, rate);
        QFETCH(int, length);
        QFETCH(int, taps);
        QFETCH(double, stop_hz);
        QFETCH(double, pass_hz);
        const std::vector<double> h = HighPassImpulseResponse(cutoff, rate, length);
        QCOMPARE(int(h.size()), taps);
        double sum = 0;
        for (double v : h)
            sum += v;
        QVERIFY(std::fabs(sum) < 1e-12); // no DC gets through
        for (int i = 0; i < taps; ++i)   // symmetric: linear phase
            QVERIFY(std::fabs(h[size_t(i)] - h[size_t(taps - 1 - i)]) < 1e-15);
        QVERIFY(gainAt(h, stop_hz / rate) < 1e-2);
        if (pass_hz < 0) return;
        QVERIFY(std::fabs(gainAt(h, pass_hz / rate) - 1.0) < 1e-3);
        // The -6 dB point (gain 1/2) sits at the cutoff.
        QVERIFY(std::fabs(gainAt(h, cutoff / rate) - 0.5) < 0.01);
    }

    void highPassRemovesDcInFilter()
    {
        FIRRTFilter f(HighPassImpulseResponse(1000.0, 8000.0, 31));
        double y = 1;
        for (int i = 0; i < 40; ++i)
            y = f.apply(0.7);
        QVERIFY(std::fabs(y) < 1e-12);
    }

    void highPassBadArguments_data()
    {
        QTest::addColumn<double>("cutoff");
        QTest::addColumn<double>("rate");
        QTest::newRow("cutoff 0") << 0.0 << 44100.0;
        QTest::newRow("cutoff at Nyquist") << 22050.0 << 44100.0;
        QTest::newRow("rate -1") << 55.0 << -1.0;
        QTest::newRow("NaN cutoff") << std::nan("") << 44100.0;
    }

    void highPassBadArguments()
    {
        QFETCH(double, cutoff);
        QFETCH(double, rate);
        QCOMPARE(HighPassImpulseResponse(cutoff, rate, 101), std::vector<double>{1.0});
    }
};

QTEST_APPLESS_MAIN(TestFilter)
#include "tst_filter.moc"
