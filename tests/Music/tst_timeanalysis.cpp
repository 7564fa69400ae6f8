#include <QtTest>

#include "Music/Music.h"
#include "Music/TimeAnalysis.h"
#include "PitchModelReset.h"

#include <cmath>
#include <deque>

using namespace Music;

Q_DECLARE_METATYPE(std::deque<double>)

namespace {

const double k_pi = 3.14159265358979323846;

// Newest sample at index 0; index i is i samples back in time. A sine whose
// phase advances with the index has crossings every `period` samples.
std::deque<double> Sine(int n, double period, double phase = 0.3)
{
    std::deque<double> s;
    for (int i = 0; i < n; ++i)
        s.push_back(std::sin(2 * k_pi * i / period + phase));
    return s;
}

} // namespace

class TestTimeAnalysis : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetPitchModel(44100); }

    void averageWaveLength_data()
    {
        QTest::addColumn<std::deque<double>>("buffer");
        QTest::addColumn<int>("approx");
        QTest::addColumn<int>("periods");
        QTest::addColumn<double>("expected");
        QTest::addColumn<double>("tolerance");

        // Period 100 at 44100 Hz is 441 Hz; one semitone either way gives
        // P_min = trunc(44100/467.2) - 2 = 94 - 2 = 92 and
        // P_max = trunc(44100/416.2) + 2 = 105 + 2 = 107: both 100 and 98 find
        // the crossing 100 samples on.
        QTest::newRow("sine 100, a=100") << Sine(1000, 100.0) << 100 << 3 << 100.0 << 1e-3;
        QTest::newRow("sine 100, a=98") << Sine(1000, 100.0) << 98 << 3 << 100.0 << 1e-3;
        // A fractional period is measured by the interpolation: 100.4.
        QTest::newRow("sine 100.4, a=100") << Sine(2000, 100.4) << 100 << 4 << 100.4 << 5e-3;
        // Never negative to positive: always positive.
        QTest::newRow("no crossing") << std::deque<double>(500, 0.5) << 100 << 3 << 0.0 << 0.0;
        // 99 samples < a = 100: 0 before any sample is looked at.
        QTest::newRow("shorter than a") << Sine(99, 20.0) << 100 << 3 << 0.0 << 0.0;
        QTest::newRow("a = 0") << Sine(1000, 100.0) << 0 << 3 << 0.0 << 0.0;
        QTest::newRow("a < 0") << Sine(1000, 100.0) << -5 << 3 << 0.0 << 0.0;
        QTest::newRow("no periods asked") << Sine(1000, 100.0) << 100 << 0 << 0.0 << 0.0;
        {
            // One crossing at 5 (s[5] < 0 < s[6]) and the next one expected at
            // o = 105, but the buffer ends at 105: s[o + 1] does not exist. The
            // crossing measures no period (a hi of 104 also excludes 104).
            std::deque<double> s(106, 0.5);
            s[5] = -0.5;
            s[104] = -0.5;
            s[105] = -0.5;
            QTest::newRow("expected crossing is the last sample") << s << 100 << 3 << 0.0 << 0.0;
        }
        {
            // Same, with o + 1 = 106 the last sample: a crossing at 105..106
            // exactly where expected; both samples -0.5 -> 0.5 cross at +0.5,
            // so does 5..6: distance 100.
            std::deque<double> s(107, 0.5);
            s[5] = -0.5;
            s[105] = -0.5;
            QTest::newRow("expected crossing just inside") << s << 100 << 3 << 100.0 << 1e-12;
        }
        {
            // Crossing at 5, next crossing at 103 (within 92..107 of 5 +
            // [92, 107]). Interpolation: s[5] = -1, s[6] = 1 -> 5.5;
            // s[103] = -0.25, s[104] = 0.75 -> 103.25; distance 97.75.
            std::deque<double> s(300, 0.5);
            s[5] = -1.0;
            s[6] = 1.0;
            s[103] = -0.25;
            s[104] = 0.75;
            QTest::newRow("search below expected") << s << 100 << 1 << 97.75 << 1e-12;
        }
        {
            // h = 5 (5.5 interpolated), o = 105 is no crossing. Downward
            // crossing at 102 (3 away), upward at 106 (1 away): the nearer,
            // 106 -> 106.5; distance 101.
            std::deque<double> s(300, 0.5);
            s[5] = -1.0;
            s[6] = 1.0;
            s[102] = -1.0;
            s[106] = -1.0;
            s[107] = 1.0;
            QTest::newRow("nearer crossing above") << s << 100 << 1 << 101.0 << 1e-12;
        }
        {
            // Downward at 104 (s = -1, 0.5: 104 + 1/1.5), upward at 106, both 1
            // away from o = 105: equal distances take the upward one, 106.5 -
            // 5.5 = 101 (the downward one would give 99.1667).
            std::deque<double> s(300, 0.5);
            s[5] = -1.0;
            s[6] = 1.0;
            s[104] = -1.0;
            s[106] = -1.0;
            s[107] = 1.0;
            QTest::newRow("tie goes upward") << s << 100 << 1 << 101.0 << 1e-12;
        }
        {
            // A crossing beyond P_max (at 5 + 110) is no period: 0.
            std::deque<double> s(300, 0.5);
            s[5] = -1.0;
            s[115] = -1.0;
            QTest::newRow("next crossing out of window") << s << 100 << 1 << 0.0 << 0.0;
        }
        {
            // A crossing near the end of the buffer: h = 290 in a 300-sample
            // buffer, lo = 382 is beyond the end: the walk stops, result from
            // the earlier crossing only: 5.5 -> 105.5 = 100.
            std::deque<double> s(300, 0.5);
            s[5] = -1.0;
            s[6] = 1.0;
            s[105] = -1.0;
            s[106] = 1.0;
            s[290] = -1.0;
            s[291] = 1.0;
            QTest::newRow("crossing near the end") << s << 100 << 3 << 100.0 << 1e-12;
        }
    }

    void averageWaveLength()
    {
        QFETCH(std::deque<double>, buffer);
        QFETCH(int, approx);
        QFETCH(int, periods);
        QFETCH(double, expected);
        QFETCH(double, tolerance);
        const double got = GetAverageWaveLength(buffer, approx, periods);
        QVERIFY(std::isfinite(got));
        QVERIFY2(std::fabs(got - expected) <= tolerance, qPrintable(QString::number(got, 'g', 12)));
    }

    void averageWaveLengthNeedsPitchModel()
    {
        const std::deque<double> s = Sine(1000, 100.0);
        SetSamplingRate(-1);
        QCOMPARE(GetAverageWaveLength(s, 100, 3), 0.0);
        SetSamplingRate(44100);
        SetAFreq(0.0);
        QCOMPARE(GetAverageWaveLength(s, 100, 3), 0.0);
        SetAFreq(440.0);
        QVERIFY(GetAverageWaveLength(s, 100, 3) > 99.9);
    }

    // Every start position and buffer length near one or two periods: each
    // result is 0 or a period near 100, and no read leaves the buffer (the
    // sanitizer build checks the reads).
    void averageWaveLengthShortBuffers()
    {
        for (int n = 100; n <= 230; ++n)
            for (double phase = 0.0; phase < 6.3; phase += 0.37) {
                const double got = GetAverageWaveLength(Sine(n, 100.0, phase), 100, 3);
                QVERIFY(got == 0.0 || std::fabs(got - 100.0) < 1e-2);
            }
    }

    void zeroCrossingDistance_data()
    {
        QTest::addColumn<std::deque<double>>("buffer");
        QTest::addColumn<int>("i1");
        QTest::addColumn<int>("i2");
        QTest::addColumn<double>("expected");
        // (3 - (-1)/(1-(-1))) - (0 - (-0.5)/(0.5-(-0.5))) = 3.5 - 0.5 = 3
        QTest::newRow("interpolated") << std::deque<double>{-0.5, 0.5, 0.0, -1.0, 1.0} << 0 << 3 << 3.0;
        // (0 - (-1)/(3-(-1))) = 0.25 at i2 = 0; i1 = 2: 2 - (-0.2)/(0.2-(-0.2))
        // = 2.5; 0.25 - 2.5 = -2.25
        QTest::newRow("negative") << std::deque<double>{-1.0, 3.0, -0.2, 0.2} << 2 << 0 << -2.25;
        // Flat interval [2, 3] (0, 0): its crossing is taken at 2 -> 2 - 0.5.
        QTest::newRow("flat interval") << std::deque<double>{-0.5, 0.5, 0.0, 0.0} << 0 << 2 << 1.5;
        // Flat non-zero interval at i1 = 1: crossing taken at 1; i2 = 3: 3 -
        // (-1)/2 = 3.5; 3.5 - 1 = 2.5
        QTest::newRow("flat nonzero") << std::deque<double>{0.0, 0.7, 0.7, -1.0, 1.0} << 1 << 3 << 2.5;
    }

    void zeroCrossingDistance()
    {
        QFETCH(std::deque<double>, buffer);
        QFETCH(int, i1);
        QFETCH(int, i2);
        QFETCH(double, expected);
        const double got = GetZeroCrossingDistance(buffer, i1, i2);
        QVERIFY(std::isfinite(got));
        QVERIFY2(std::fabs(got - expected) < 1e-12, qPrintable(QString::number(got, 'g', 12)));
    }

    void waveSampleTooShort_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("length");
        // 2 L = 200 > 199.
        QTest::newRow("199 < 2*100") << 199 << 100;
        QTest::newRow("1 < 2*1") << 1 << 1;
        QTest::newRow("empty") << 0 << 5;
        // 2 L = 200 fits, but with the minimum at c = 199 the end search would
        // reach trunc(100/0.9 + 199) = 310 >= 200.
        QTest::newRow("end search beyond") << 200 << 100;
    }

    void waveSampleTooShort()
    {
        QFETCH(int, size);
        QFETCH(int, length);
        std::deque<double> buffer(std::size_t(size), 0.0);
        if (size > 0) buffer.back() = -1.0; // the lowest sample at the far end
        std::deque<double> out{7.0, 8.0, 9.0};
        GetWaveSample(buffer, std::size_t(length), out);
        QCOMPARE(out, (std::deque<double>{7.0, 8.0, 9.0}));
    }

    void waveSampleSine()
    {
        // s[i] = sin(2 pi i / 100): minima (-1) at 75, 175, 275.
        // c = 175 (lowest among 100..199); last = trunc(100/0.9 + 175) = 286;
        // first = trunc(90 + 175) = 265; e = 275. Out = s[175..274]: 100 samples.
        const std::deque<double> s = Sine(400, 100.0, 0.0);
        std::deque<double> out{42.0};
        GetWaveSample(s, 100, out);
        QCOMPARE(int(out.size()), 100);
        QVERIFY(std::fabs(out.front() + 1.0) < 1e-12);
        QCOMPARE(out.front(), s[175]);
        QCOMPARE(out.back(), s[274]);
    }

    void waveSampleNoNegative()
    {
        // All positive: c = 0, last = trunc(10/0.9) = 11, e = c + L = 10:
        // s[0..9].
        std::deque<double> s;
        for (int i = 0; i < 30; ++i)
            s.push_back(1.0 + i);
        std::deque<double> out;
        GetWaveSample(s, 10, out);
        QCOMPARE(int(out.size()), 10);
        QCOMPARE(out.front(), 1.0);
        QCOMPARE(out.back(), 10.0);
    }

    void waveSampleNoEndMinimum()
    {
        // Minimum at c = 19 (L = 10, candidates 10..19), last = trunc(11.11 +
        // 19) = 30 < 31 = size; no negative among 28..30 -> e = 29; out =
        // s[19..28], 10 samples.
        std::deque<double> s(31, 0.5);
        s[19] = -1.0;
        std::deque<double> out;
        GetWaveSample(s, 10, out);
        QCOMPARE(int(out.size()), 10);
        QCOMPARE(out.front(), -1.0);
        QCOMPARE(out.back(), 0.5);
    }
};

QTEST_GUILESS_MAIN(TestTimeAnalysis)
#include "tst_timeanalysis.moc"
