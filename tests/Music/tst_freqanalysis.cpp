#include <QtTest>

#include "AbortsWith.h"

#include "CppAddons/Fit.h"
#include "Music/CFFTW3.h"
#include "Music/FreqAnalysis.h"
#include "Music/Music.h"
#include "PitchModelReset.h"

#include <cmath>
#include <sys/wait.h>
#include <unistd.h>

using namespace Music;
using cvec = std::vector<std::complex<double>>;

namespace {

const double e = std::exp(1.0);

// Spectrum of n bins of modulus 1 with the given moduli at the given bins.
cvec spectrum(int n, const QVector<QPair<int, double>>& moduli)
{
    cvec s(static_cast<size_t>(n), std::complex<double>(1.0, 0.0));
    for (const auto& m : moduli)
        s[size_t(m.first)] = m.second;
    return s;
}

// Moduli exp(-(k - vertex)^2) around bin p: a log parabola with its vertex
// exactly at `vertex`.
cvec parabola(int n, int p, double vertex)
{
    cvec s(static_cast<size_t>(n), 0.0);
    for (int k = p - 3; k <= p + 3; ++k)
        s[size_t(k)] = std::exp(-(k - vertex) * (k - vertex));
    return s;
}

// N = 128 bins at 12800 Hz: bin k is k * 100 Hz, E = N/2 - 1 = 63. A sound
// near 1000 Hz (10 bins per harmonic):
//   rank 1: bins 9, 10, 11 = e, e^2, e^1.5  (peak at 10, asymmetric)
//   rank 2: peak at 21 (e^2, neighbours e), c = 20 is not a peak
//   rank 3: nothing near 30
//   rank 4: peaks at 39 and 41, equally far from c = 40
//   rank 5: peaks at 47 (3 below c = 50) and 52 (2 above)
//   rank 6: peaks at 59 (1 below c = 60) and 62 (2 above)
//   rank 7: c = 70 >= 63, the walk stops there
cvec harmonicSpectrum()
{
    QVector<QPair<int, double>> m{{9, e}, {10, e * e}, {11, std::exp(1.5)}, {20, e}, {21, e * e}, {22, e}};
    for (int p : {39, 41, 47, 52, 59, 62}) {
        m.append({p - 1, e});
        m.append({p, e * e});
        m.append({p + 1, e});
    }
    return spectrum(128, m);
}

// Rank 1 refined: vertex 10 + 1/6, d = 1/6, zp = 1:
// 10.1666667 + 0.331932 * (1/36 - 1/4) * (1/6) = 10.1666667 - 0.0122938 = 10.1543729 -> 1015.43729 Hz.
const double rank1 = 1015.43729;

} // namespace

Q_DECLARE_METATYPE(cvec)

class TestFreqAnalysis : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetPitchModel(12800, -48, 48); }

    void fitParabola_data()
    {
        QTest::addColumn<QVector<double>>("points");
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<double>("c");
        // d1 = (2 - 1)/1 = 1, a = ((1.5 - 1)/2 - 1)/1 = -0.75, b = 1 - 19 * -0.75 = 15.25,
        // c = 1 + 0.75 * 81 - 15.25 * 9 = -75.5; vertex 15.25 / 1.5 = 10.1667.
        QTest::newRow("9 10 11") << QVector<double>{9, 1, 10, 2, 11, 1.5} << -0.75 << 15.25 << -75.5;
        // y = x^2 through (0,0), (1,1), (2,4).
        QTest::newRow("x squared") << QVector<double>{0, 0, 1, 1, 2, 4} << 1.0 << 0.0 << 0.0;
        // Unordered abscissae: y = -2x^2 + 3 through (1,1), (-1,1), (0,3).
        QTest::newRow("unordered") << QVector<double>{1, 1, -1, 1, 0, 3} << -2.0 << 0.0 << 3.0;
    }

    void fitParabola()
    {
        QFETCH(QVector<double>, points);
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(double, c);
        double ra, rb, rc;
        const auto& p = points;
        FitParabola(p[0], p[1], p[2], p[3], p[4], p[5], ra, rb, rc);
        QVERIFY(std::fabs(ra - a) < 1e-12);
        QVERIFY(std::fabs(rb - b) < 1e-12);
        QVERIFY(std::fabs(rc - c) < 1e-12);
    }

    void fitParabolaCollinear()
    {
        // a = 0: no vertex, and the vertex function says so by a non-finite value.
        QVERIFY(!std::isfinite(FitParabolaVertex(0.0, 0.0, 1.0, 1.0, 2.0, 2.0)));
        QVERIFY(!std::isfinite(FitParabolaVertex(0.0, 5.0, 1.0, 5.0, 2.0, 5.0)));
    }

    void isPeak_data()
    {
        QTest::addColumn<int>("c");
        QTest::addColumn<bool>("peak");
        QTest::newRow("peak") << 10 << true;
        QTest::newRow("left neighbour") << 9 << false;
        QTest::newRow("right neighbour") << 11 << false;
        QTest::newRow("flat") << 5 << false;
        // 20 = e beside 21 = e^2: not above both.
        QTest::newRow("shoulder") << 20 << false;
        QTest::newRow("last testable bin") << 62 << true;
        QTest::newRow("first testable bin") << 1 << false;
    }

    void isPeak()
    {
        QFETCH(int, c);
        QFETCH(bool, peak);
        QCOMPARE(is_peak(harmonicSpectrum(), c), peak);
    }

    void isPeakEqualNeighbour()
    {
        // Strict on both sides: a plateau of two bins is no peak.
        const cvec s = spectrum(16, {{3, 2.0}, {4, 2.0}});
        QVERIFY(!is_peak(s, 3));
        QVERIFY(!is_peak(s, 4));
    }

    void logParabola_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("expected");
        // Moduli e, e^2, e^1.5 at 9, 10, 11: logs 1, 2, 1.5, vertex 10 + 0.5/3.
        QTest::newRow("at the peak") << 10 << 10.0 + 0.5 / 3;
        // 9 is no peak, 10 = 9 + 1 is: centred on 10.
        QTest::newRow("left of the peak") << 9 << 10.0 + 0.5 / 3;
        // 11 is no peak, 12 neither, 10 = 11 - 1 is.
        QTest::newRow("right of the peak") << 11 << 10.0 + 0.5 / 3;
        // Peak at 21 with e on both sides: exactly on the bin.
        QTest::newRow("symmetric") << 21 << 21.0;
        // Bin 20 sits beside 21: recentred there.
        QTest::newRow("shoulder") << 20 << 21.0;
    }

    void logParabola()
    {
        QFETCH(int, index);
        QFETCH(double, expected);
        QVERIFY(std::fabs(PeakRefinementLogParabola(harmonicSpectrum(), index) - expected) < 1e-12);
    }

    void logParabolaCollinear_data()
    {
        QTest::addColumn<cvec>("spectrum");
        QTest::addColumn<int>("index");
        // No peak anywhere near 5: the flat log moduli are collinear.
        QTest::newRow("flat") << harmonicSpectrum() << 5;
        // Moduli 1, 2, 4, 8 at 4..7: no peak near 5, logs 0, ln 2, 2 ln 2 on a line.
        QTest::newRow("geometric slope") << spectrum(16, {{4, 1.0}, {5, 2.0}, {6, 4.0}, {7, 8.0}}) << 5;
        // All zero: the smallest normal double keeps the logs finite (and equal).
        QTest::newRow("zeros") << cvec(16, 0.0) << 3;
    }

    void logParabolaCollinear()
    {
        QFETCH(cvec, spectrum);
        QFETCH(int, index);
        QVERIFY(!std::isfinite(PeakRefinementLogParabola(spectrum, index)));
        QVERIFY(!std::isfinite(PeakRefinementLogParabolaUnbiased(spectrum, index, 1.0)));
    }

    void logParabolaUpperHalf()
    {
        // Bins at and above N/2 - 1 cannot be tested for a peak; they still
        // refine on their own neighbours without reading past the end.
        // Moduli exp(-(k - 14.25)^2) around 14 of 16: vertex 14.25.
        const cvec s = parabola(18, 14, 14.25);
        QVERIFY(std::fabs(PeakRefinementLogParabola(cvec(s.begin(), s.begin() + 16), 14) - 14.25) < 1e-9);
    }

    void unbiased_data()
    {
        QTest::addColumn<double>("d");
        QTest::addColumn<double>("zp");
        QTest::addColumn<double>("expected_d");
        // zp = 1: 0.084372 + 0.24756 = 0.331932; the correction is
        // 0.331932 * (d - 0.5)(d + 0.5) d, zero at d = 0 and d = +-0.5.
        QTest::newRow("d=0") << 0.0 << 1.0 << 0.0;
        QTest::newRow("d=0.5") << 0.5 << 1.0 << 0.5;
        QTest::newRow("d=-0.5") << -0.5 << 1.0 << -0.5;
        // d = 0.25: 0.331932 * (0.0625 - 0.25) * 0.25 = -0.01555931.
        QTest::newRow("d=0.25") << 0.25 << 1.0 << 0.25 - 0.01555931;
        // d = -0.25: odd in d, +0.01555931.
        QTest::newRow("d=-0.25") << -0.25 << 1.0 << -0.25 + 0.01555931;
        // zp = 2: 0.084372/16 + 0.24756/4 = 0.00527325 + 0.06189 = 0.06716325;
        // times -0.046875 = -0.00314828.
        QTest::newRow("d=0.25 zp=2") << 0.25 << 2.0 << 0.25 - 0.00314828;
    }

    void unbiased()
    {
        QFETCH(double, d);
        QFETCH(double, zp);
        QFETCH(double, expected_d);
        const cvec s = parabola(32, 10, 10 + d);
        QVERIFY(std::fabs(PeakRefinementLogParabola(s, 10) - (10 + d)) < 1e-9);
        QVERIFY(std::fabs(PeakRefinementLogParabolaUnbiased(s, 10, zp) - (10 + expected_d)) < 1e-8);
    }

    void harmonicStruct_data()
    {
        QTest::addColumn<int>("nb_harm");
        QTest::addColumn<bool>("keep_missing");
        QTest::addColumn<double>("tolerance");
        QTest::addColumn<QVector<int>>("ranks");
        QTest::addColumn<QVector<double>>("freqs");
        QTest::addColumn<QVector<double>>("mods");
        const double e2 = e * e;
        // Tolerance 0.35, windows (trunc((h-0.35)*10), trunc((h+0.35)*10)], the
        // upper end included but kept below E = 63:
        // rank 2 (16, 23] finds 21; rank 3 (26, 33] nothing, kept at bin 30 (3000 Hz,
        // modulus 1); rank 4 (36, 43]: 39 and 41 tie, the upper wins; rank 5 (46, 53]:
        // 47 is 3 away, 52 is 2: 52; rank 6 (56, 62]: 59 is nearer than 62; rank 7 stops.
        QTest::newRow("keep missing")
            << 8 << true << 0.35 << QVector<int>{1, 2, 3, 4, 5, 6}
            << QVector<double>{rank1, 2100, 3000, 4100, 5200, 5900} << QVector<double>{e2, e2, 1, e2, e2, e2};
        QTest::newRow("drop missing")
            << 8 << false << 0.35 << QVector<int>{1, 2, 4, 5, 6}
            << QVector<double>{rank1, 2100, 4100, 5200, 5900} << QVector<double>{e2, e2, e2, e2, e2};
        QTest::newRow("two ranks") << 2 << false << 0.35 << QVector<int>{1, 2} << QVector<double>{rank1, 2100}
                                   << QVector<double>{e2, e2};
        QTest::newRow("nb_harm 0") << 0 << true << 0.35 << QVector<int>{} << QVector<double>{}
                                   << QVector<double>{};
        // Tolerance 0.15: windows (trunc((h-0.15)*10), trunc((h+0.15)*10)] leave one bin
        // on each side of c = 10h, the upper one included since its centre lies within
        // the tolerance (21 <= 21.5): rank 2: 19 no, 21 found; rank 3: 29, 31 no; rank
        // 4: 39 and 41 tie, the upper wins; rank 5: 49, 51 no; rank 6: 59 found, 61 no.
        // Missing ranks keep their bins: 30 (1), 50 (1).
        QTest::newRow("narrow") << 8 << true << 0.15 << QVector<int>{1, 2, 3, 4, 5, 6}
                                << QVector<double>{rank1, 2100, 3000, 4100, 5000, 5900}
                                << QVector<double>{e2, e2, 1, e2, 1, e2};
    }

    void harmonicStruct()
    {
        QFETCH(int, nb_harm);
        QFETCH(bool, keep_missing);
        QFETCH(double, tolerance);
        QFETCH(QVector<int>, ranks);
        QFETCH(QVector<double>, freqs);
        QFETCH(QVector<double>, mods);
        const std::vector<Harmonic> h =
            GetHarmonicStruct(harmonicSpectrum(), 1000.0, nb_harm, keep_missing, 1.0, tolerance);
        QCOMPARE(int(h.size()), ranks.size());
        for (int i = 0; i < ranks.size(); ++i) {
            QCOMPARE(h[size_t(i)].harm_number, ranks[i]);
            QVERIFY2(std::fabs(h[size_t(i)].freq - freqs[i]) < 1e-4,
                     qPrintable(QString::number(h[size_t(i)].freq)));
            QVERIFY(std::fabs(h[size_t(i)].mod - mods[i]) < 1e-12);
        }
    }

    void harmonicStructOddRefinement()
    {
        // zp = 0 makes the correction infinite (or 0 * inf): the peak keeps its
        // bin frequency instead of passing on a value that is not finite.
        const std::vector<Harmonic> h = GetHarmonicStruct(harmonicSpectrum(), 1000.0, 2, false, 0.0, 0.35);
        QCOMPARE(int(h.size()), 2);
        QCOMPARE(h[0].freq, 1000.0);
        QCOMPARE(h[1].freq, 2100.0);
    }

    void harmonicStructCollinearPeak()
    {
        // A peak by its squared moduli whose logs round to the same value: the
        // moduli differ by one part in 2^51 around 1e150 (ln 1e150 = 345.4, whose
        // spacing is 5.7e-14), so the parabola through the logs is flat.
        const double big = 1e150;
        cvec s(64, 1.0);
        s[9] = big;
        s[10] = big * (1 + std::ldexp(1.0, -51));
        s[11] = big;
        QVERIFY(is_peak(s, 10));
        QVERIFY(!std::isfinite(PeakRefinementLogParabola(s, 10)));
        // 64 bins at 12800 Hz: 200 Hz a bin; 2000 Hz is bin 10.
        const std::vector<Harmonic> h = GetHarmonicStruct(s, 2000.0, 1, false, 1.0, 0.1);
        QCOMPARE(int(h.size()), 1);
        QCOMPARE(h[0].freq, 2000.0);
        QCOMPARE(RefineFundamentalFreq(s, 2000.0, 1, 1.0), 2000.0);
    }

    void refine_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<double>("approx");
        QTest::addColumn<int>("nb_harm");
        QTest::addColumn<double>("expected");
        // Tolerance 0.2 around 10 bins: rank 2's window (18, 22) finds 21.
        QTest::newRow("one harmonic") << 12800 << 1000.0 << 1 << rank1;
        // (1015.43729 + 2100 / 2) / 2 = 1032.71865; rank 3 has no peak and is left out.
        QTest::newRow("two harmonics") << 12800 << 1000.0 << 2 << (rank1 + 1050.0) / 2;
        // Rank 4 (38, 42]: 39 and 41 tie, 41; rank 5 (48, 52]: 52; rank 6 (58, 62]:
        // 59. None of them stands out as a partial (10 in power above the moduli
        // half a spacing, 5 bins, away): bin 41 is e^2 over bin 46 = e (the side of
        // the peak at 47), a power ratio of e^2 = 7.4; bin 52 is no higher than bin
        // 47 beside it; bin 59 is e^2 over bin 63 = e. Ranks 1 and 2 stand e^2 over
        // moduli 1 (ratio e^4 = 54.6). Mean of 1015.43729 and 2100 / 2.
        QTest::newRow("all harmonics") << 12800 << 1000.0 << 8 << (rank1 + 1050.0) / 2;
        QTest::newRow("nb_harm 0") << 12800 << 1000.0 << 0 << 0.0;
        // Outside (1, N/2 - 1] bins, or no known rate: nothing to refine.
        QTest::newRow("bin 1") << 12800 << 100.0 << 4 << 0.0;
        QTest::newRow("zero") << 12800 << 0.0 << 4 << 0.0;
        QTest::newRow("NaN") << 12800 << std::nan("") << 4 << 0.0;
        QTest::newRow("above bin 63") << 12800 << 6350.0 << 4 << 0.0;
        QTest::newRow("rate -1") << -1 << 1000.0 << 4 << 0.0;
    }

    void refine()
    {
        QFETCH(int, rate);
        QFETCH(double, approx);
        QFETCH(int, nb_harm);
        QFETCH(double, expected);
        SetSamplingRate(rate);
        const double f = RefineFundamentalFreq(harmonicSpectrum(), approx, nb_harm, 1.0);
        QVERIFY2(std::fabs(f - expected) < 1e-4, qPrintable(QString::number(f, 'f', 6)));
    }

    // Which local maxima the refinement counts as partials. Rank 1 as in
    // harmonicSpectrum (1015.43729 Hz); at rank 2 a peak of modulus `height`
    // in bin 21 over a floor of 1, its neighbours 20 and 22 at the floor (a
    // symmetric peak: exactly 2100 Hz, 1050 Hz as a fundamental). It counts
    // when its power is 10 times (10 dB) that of the moduli half a spacing
    // (5 bins) away, bins 16 and 26, and nothing between them is higher.
    void refineCountsPartials_data()
    {
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("higher_bin"); // a modulus e^3 there, 0: none
        QTest::addColumn<double>("expected");
        // 3.1^2 = 9.61 < 10: a ripple, left out.
        QTest::newRow("9.8 dB") << 3.1 << 0 << rank1;
        // 3.2^2 = 10.24 >= 10: a partial.
        QTest::newRow("10.1 dB") << 3.2 << 0 << (rank1 + 1050.0) / 2;
        // e^2 = 7.39 (17.4 dB), but bin 24, within half a spacing, holds e^3:
        // the side of something larger, left out.
        QTest::newRow("higher within half a spacing") << e * e << 24 << rank1;
        // Bin 27 lies beyond half a spacing: it does not matter.
        QTest::newRow("higher beyond half a spacing") << e * e << 27 << (rank1 + 1050.0) / 2;
    }

    void refineCountsPartials()
    {
        QFETCH(double, height);
        QFETCH(int, higher_bin);
        QFETCH(double, expected);
        QVector<QPair<int, double>> m{{9, e}, {10, e * e}, {11, std::exp(1.5)}, {21, height}};
        if (higher_bin) m.append({higher_bin, std::exp(3.0)});
        const double f = RefineFundamentalFreq(spectrum(128, m), 1000.0, 2, 1.0);
        QVERIFY2(std::fabs(f - expected) < 1e-4, qPrintable(QString::number(f, 'f', 6)));
    }

    void refineEmptySpectrum() { QCOMPARE(RefineFundamentalFreq(cvec(), 1000.0, 4, 1.0), 0.0); }

    void refineSine()
    {
        // The detector's view of a 220 Hz sine of amplitude 0.5 at 44100 Hz:
        // 2048-point Hann window, newest sample first. True bin 220 * 2048 / 44100
        // = 10.2168; the log parabola gives 10.2313 (220.31 Hz), the correction
        // 0.331932 * (0.2313^2 - 0.25) * 0.2313 = -0.0151 brings it to 10.2162,
        // 10.2162 * 44100 / 2048 = 219.99 Hz.
        SetSamplingRate(44100);
        CFFTW3 fft;
        fft.resize(2048);
        const std::vector<double> w = HannWindow(2048);
        for (int i = 0; i < 2048; ++i)
            fft.in[size_t(i)] = w[size_t(i)] * 0.5 * std::sin(2 * M_PI * 220 * i / 44100.0);
        fft.execute();
        QVERIFY(std::fabs(PeakRefinementLogParabola(fft.out, 10) - 10.2313) < 1e-4);
        QVERIFY(std::fabs(PeakRefinementLogParabolaUnbiased(fft.out, 10, 1.0) - 10.2162) < 1e-4);
        const double f = RefineFundamentalFreq(fft.out, 44100 * 10.2313 / 2048, 1, 1.0);
        QVERIFY2(std::fabs(f - 219.99) < 0.01, qPrintable(QString::number(f, 'f', 4)));
    }

    void preconditions_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("text");
        QTest::newRow("is_peak 0") << 0 << "c>0 && c<int(spectrum.size())/2-1";
        QTest::newRow("is_peak N/2-1") << 1 << "c>0 && c<int(spectrum.size())/2-1";
        QTest::newRow("refinement 0") << 2 << "peak_index>0 && peak_index<int(spectrum.size()-1)";
        QTest::newRow("refinement N-1") << 3 << "peak_index>0 && peak_index<int(spectrum.size()-1)";
        QTest::newRow("structure bin 1") << 4 << "approx_f0_rel>1 && approx_f0_rel<=spectrum.size()/2-1";
        QTest::newRow("structure above") << 5 << "approx_f0_rel>1 && approx_f0_rel<=spectrum.size()/2-1";
        QTest::newRow("parabola") << 6 << "x1!=x2 && x1!=x3 && x2!=x3";
    }

    void preconditions()
    {
        QFETCH(int, which);
        QFETCH(QString, text);
        QVERIFY(abortsWith(
            [which] {
                const cvec s = harmonicSpectrum();
                if (which == 0) is_peak(s, 0);
                if (which == 1) is_peak(s, 63);
                if (which == 2) PeakRefinementLogParabola(s, 0);
                if (which == 3) PeakRefinementLogParabola(s, 127);
                if (which == 4) GetHarmonicStruct(s, 100.0, 1, true, 1.0, 0.1);
                if (which == 5) GetHarmonicStruct(s, 6350.0, 1, true, 1.0, 0.1);
                double a, b, c;
                if (which == 6) FitParabola(1.0, 0.0, 1.0, 1.0, 2.0, 0.0, a, b, c);
            },
            qPrintable(text)));
    }
};

QTEST_APPLESS_MAIN(TestFreqAnalysis)
#include "tst_freqanalysis.moc"
