#include <QtTest>

#include "AbortsWith.h"

#include "Music/CFFTW3.h"

#include <cmath>
#include <complex>
#include <sys/wait.h>
#include <unistd.h>

using namespace Music;
using cvec = std::vector<std::complex<double>>;

namespace {

std::vector<double> signal(const QString& kind, int n)
{
    std::vector<double> x(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        if (kind == "dc") x[size_t(i)] = 0.5;
        if (kind == "cosine") x[size_t(i)] = std::cos(2 * M_PI * i / n);
        if (kind == "sine") x[size_t(i)] = std::sin(2 * M_PI * i / n);
        if (kind == "cosine2") x[size_t(i)] = std::cos(2 * M_PI * 2 * i / n);
    }
    return x;
}

} // namespace

Q_DECLARE_METATYPE(cvec)

class TestCFFTW3 : public QObject
{
    Q_OBJECT

private slots:
    void transform_data()
    {
        QTest::addColumn<bool>("forward");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<cvec>("expected");
        using c = std::complex<double>;
        // n = 8, X[k] = sum_j x[j] exp(-+2 pi i j k / 8), no normalisation.
        // DC 0.5: X[0] = 8 * 0.5 = 4, all others 0.
        QTest::newRow("dc") << true << "dc" << cvec{4, 0, 0, 0, 0, 0, 0, 0};
        // cos(2 pi j / 8) = (e^{+} + e^{-}) / 2: 8/2 = 4 at k = 1 and k = 7.
        QTest::newRow("cosine") << true << "cosine" << cvec{0, 4, 0, 0, 0, 0, 0, 4};
        // sin = (e^{+} - e^{-}) / 2i: forward sign -1 gives 8/(2i) = -4i at k = 1, +4i at k = 7.
        QTest::newRow("sine forward") << true << "sine" << cvec{0, c(0, -4), 0, 0, 0, 0, 0, c(0, 4)};
        // Backward sign +1 mirrors it: +4i at k = 1, -4i at k = 7.
        QTest::newRow("sine backward") << false << "sine" << cvec{0, c(0, 4), 0, 0, 0, 0, 0, c(0, -4)};
        // cos(2 pi 2 j / 8): 4 at k = 2 and k = 6.
        QTest::newRow("cosine bin 2") << true << "cosine2" << cvec{0, 0, 4, 0, 0, 0, 4, 0};
    }

    void transform()
    {
        QFETCH(bool, forward);
        QFETCH(QString, kind);
        QFETCH(cvec, expected);
        CFFTW3 fft(forward);
        fft.resize(8);
        fft.in = signal(kind, 8);
        fft.in.push_back(1e6);                              // one value too many: must be ignored
        cvec result(9, std::complex<double>(999.0, 999.0)); // sentinel at index 8
        fft.execute(fft.in, result);
        QCOMPARE(int(result.size()), 9);
        for (int k = 0; k < 8; ++k) {
            QVERIFY2(std::abs(result[size_t(k)] - expected[size_t(k)]) < 1e-12,
                     qPrintable(QString::number(k)));
        }
        QCOMPARE(result[8], std::complex<double>(999.0, 999.0));
    }

    void executeOnOwnVectors()
    {
        CFFTW3 fft;
        fft.resize(8);
        QCOMPARE(int(fft.in.size()), 8);
        QCOMPARE(int(fft.out.size()), 8);
        fft.in = signal("cosine", 8);
        fft.execute();
        QVERIFY(std::abs(fft.out[1] - std::complex<double>(4, 0)) < 1e-12);
        QVERIFY(std::abs(fft.out[0]) < 1e-12);
    }

    void resultGrows()
    {
        CFFTW3 fft;
        fft.resize(4);
        cvec result; // shorter than the transform: grows to 4
        const std::vector<double> x{1, 1, 1, 1};
        fft.execute(x, result);
        QCOMPARE(int(result.size()), 4);
        QCOMPARE(result[0], std::complex<double>(4, 0));
    }

    void resizeKeepsAndZeroes()
    {
        CFFTW3 fft;
        fft.resize(4);
        fft.in = {1, 2, 3, 4};
        fft.execute();
        fft.resize(6); // grow: old entries kept, new ones 0
        QCOMPARE(fft.in, (std::vector<double>{1, 2, 3, 4, 0, 0}));
        QCOMPARE(int(fft.out.size()), 6);
        QCOMPARE(fft.out[5], std::complex<double>(0, 0));
        fft.resize(2); // shrink
        QCOMPARE(int(fft.in.size()), 2);
        QCOMPARE(int(fft.out.size()), 2);
        // 2 points of 1, 2: X[0] = 3, X[1] = 1 - 2 = -1.
        fft.execute();
        QVERIFY(std::abs(fft.out[0] - 3.0) < 1e-12);
        QVERIFY(std::abs(fft.out[1] + 1.0) < 1e-12);
    }

    void executeWithoutPlanDoesNothing()
    {
        CFFTW3 fft;
        cvec result(1, 7.0);
        fft.execute(std::vector<double>(), result);
        QCOMPARE(result[0], std::complex<double>(7.0, 0));
    }

    void realTransform_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<cvec>("expected");
        using c = std::complex<double>;
        // The same 8-point sums as the complex transform (forward sign), whose
        // upper half is the conjugate of the lower: X[8 - k] = conj(X[k]).
        QTest::newRow("dc") << "dc" << cvec{4, 0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("cosine") << "cosine" << cvec{0, 4, 0, 0, 0, 0, 0, 4};
        QTest::newRow("sine") << "sine" << cvec{0, c(0, -4), 0, 0, 0, 0, 0, c(0, 4)};
        QTest::newRow("cosine bin 2") << "cosine2" << cvec{0, 0, 4, 0, 0, 0, 4, 0};
    }

    void realTransform()
    {
        QFETCH(QString, kind);
        QFETCH(cvec, expected);
        CFFTW3Real fft;
        fft.resize(8);
        QCOMPARE(int(fft.in.size()), 8);
        QCOMPARE(int(fft.out.size()), 8);
        fft.in = signal(kind, 8);
        fft.execute();
        for (int k = 0; k < 8; ++k)
            QVERIFY2(std::abs(fft.out[size_t(k)] - expected[size_t(k)]) < 1e-12,
                     qPrintable(QString::number(k)));
        // Without the mirror, entries above n/2 = 4 keep what they held.
        const std::complex<double> sentinel(999.0, 999.0);
        for (int k = 5; k < 8; ++k)
            fft.out[size_t(k)] = sentinel;
        fft.execute(false);
        for (int k = 0; k <= 4; ++k)
            QVERIFY(std::abs(fft.out[size_t(k)] - expected[size_t(k)]) < 1e-12);
        for (int k = 5; k < 8; ++k)
            QCOMPARE(fft.out[size_t(k)], sentinel);
    }

    void realTransformOddSize()
    {
        // n = 5, x = 1, 2, 3, 4, 5: X[0] = 15; X[1] = -2.5 + 3.4409548i (the
        // classic 5-point sum: -n/2 + i n/2 cot(pi/5) = -2.5 + 2.5 * 1.3763819i);
        // X[4] = conj(X[1]).
        CFFTW3Real fft;
        fft.resize(5);
        fft.in = {1, 2, 3, 4, 5};
        fft.execute();
        QVERIFY(std::abs(fft.out[0] - 15.0) < 1e-12);
        QVERIFY(std::abs(fft.out[1] - std::complex<double>(-2.5, 3.4409548)) < 1e-6);
        QVERIFY(std::abs(fft.out[4] - std::complex<double>(-2.5, -3.4409548)) < 1e-6);
    }

    void preconditions_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("text");
        QTest::newRow("resize 0") << 0 << "n>0";
        QTest::newRow("resize -3") << 1 << "n>0";
        QTest::newRow("short input") << 2 << "int(in.size())>=m_size";
    }

    void preconditions()
    {
        QFETCH(int, which);
        QFETCH(QString, text);
        QVERIFY(abortsWith(
            [which] {
                CFFTW3 fft;
                if (which == 0) fft.resize(0);
                if (which == 1) fft.resize(-3);
                if (which == 2) {
                    fft.resize(4);
                    cvec r;
                    fft.execute(std::vector<double>(3, 0.0), r);
                }
            },
            qPrintable(text)));
    }
};

QTEST_APPLESS_MAIN(TestCFFTW3)
#include "tst_cfftw3.moc"
