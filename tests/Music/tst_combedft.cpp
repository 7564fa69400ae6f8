#include <QtTest>

#include "CountingAllocator.h"
#include "Music/CombedFT.h"
#include "Music/Music.h"
#include "PitchModelReset.h"

#include "CoutCapture.h"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <new>
#include <sstream>

using namespace Music;

namespace {

struct Partial
{
    double freq, amplitude;
};

// n samples, newest first, of a sum of sines at 44100 Hz (or `rate`).
std::deque<double> sound(int n, const std::vector<Partial>& partials, double rate = 44100)
{
    std::deque<double> b(static_cast<size_t>(n), 0.0);
    for (int i = 0; i < n; ++i)
        for (const Partial& p : partials)
            b[size_t(i)] += p.amplitude * std::sin(2 * M_PI * p.freq * i / rate);
    return b;
}

// Partials h = 1..8 of f0 at amplitudes 0.5 / h, below Nyquist; with a weak
// fundamental the first is a tenth of the second (20 dB under it).
std::vector<Partial> harmonics(double f0, bool weak_fundamental, double rate = 44100)
{
    std::vector<Partial> p;
    for (int h = 1; h <= 8 && h * f0 < rate / 2; ++h)
        p.push_back({h * f0, 0.5 / h});
    if (weak_fundamental) p[0].amplitude = 0.025;
    return p;
}

std::deque<double> signal(const QString& kind, int n)
{
    std::deque<double> b(static_cast<size_t>(n), 0.0);
    for (int i = 0; i < n; ++i) {
        double& x = b[size_t(i)];
        if (kind == "dc") x = 1.0;
        if (kind == "square") x = std::sin(2 * M_PI * 220 * i / 44100.0) >= 0 ? 1.0 : -1.0;
        if (kind == "impulse") x = i == n / 2 ? 1.0 : 0.0;
        if (kind == "nyquist") x = i % 2 ? -1.0 : 1.0;
        if (kind == "near nyquist") x = std::sin(2 * M_PI * 3990 * i / 8000.0);
        if (kind == "nan") x = i == 100 ? std::nan("") : 0.1;
        if (kind == "inf") x = i == 100 ? HUGE_VAL : 0.1;
        if (kind == "huge") x = i % 3 ? 1e307 : -1e307;
        if (kind == "sine") x = 0.5 * std::sin(2 * M_PI * 220 * i / 44100.0);
    }
    return b;
}

struct Minimal : Algorithm
{
    void apply(const std::deque<double>&) override {}
    bool hasNoteRecognized() const override { return false; }
    int size() const override { return 0; }
};

} // namespace

class TestCombedFT : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetPitchModel(44100, -48, 48); }

    void algorithmDefaults()
    {
        Minimal a;
        CoutCapture out;
        a.samplingRateChanged();
        a.AFreqChanged();
        a.semitoneBoundsChanged();
        QCOMPARE(
            out.str(),
            std::string("libs/Music/Algorithm.h:40 Algorithm::samplingRateChanged Not Yet Implemented\n"
                        "libs/Music/Algorithm.h:41 Algorithm::AFreqChanged Not Yet Implemented\n"
                        "libs/Music/Algorithm.h:42 Algorithm::semitoneBoundsChanged Not Yet Implemented\n"));
    }

    void sizes_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("min");
        QTest::addColumn<double>("window_factor");
        QTest::addColumn<double>("zp");
        QTest::addColumn<int>("W");
        QTest::addColumn<int>("N");
        QTest::addColumn<QString>("line");
        // L = trunc(44100 / (440 * 2^-4)) = trunc(44100 / 27.5) = trunc(1603.6) = 1603, W = N = 2048.
        QTest::newRow("defaults")
            << 44100 << -48 << 1.0 << 1.0 << 2048 << 2048
            << "window size=1603 FFT size=2048 window size factor=1 zero padding factor=1";
        // trunc(1603 * 2) = 3206 > 2048: N doubles to 4096, the window stays 2048.
        QTest::newRow("zero padding 2")
            << 44100 << -48 << 1.0 << 2.0 << 2048 << 4096
            << "window size=1603 FFT size=4096 window size factor=1 zero padding factor=2";
        // trunc(1603 * 1.5) = 2404: N = 4096.
        QTest::newRow("zero padding 1.5")
            << 44100 << -48 << 1.0 << 1.5 << 2048 << 4096
            << "window size=1603 FFT size=4096 window size factor=1 zero padding factor=1.5";
        // Factory: 440 * 2^-3 = 55 Hz, L = trunc(4 * 44100 / 55) = trunc(3207.3) = 3207, W = N = 4096.
        QTest::newRow("factory")
            << 44100 << -36 << 4.0 << 1.0 << 4096 << 4096
            << "window size=3207 FFT size=4096 window size factor=4 zero padding factor=1";
        // L = trunc(8000 / 27.5) = 290: W = N = 512.
        QTest::newRow("8000 Hz") << 8000 << -48 << 1.0 << 1.0 << 512 << 512
                                 << "window size=290 FFT size=512 window size factor=1 zero padding factor=1";
        // L = trunc(1 / 27.5) = 0: the window is at least 2 points.
        QTest::newRow("1 Hz") << 1 << -48 << 1.0 << 1.0 << 2 << 2
                              << "window size=0 FFT size=2 window size factor=1 zero padding factor=1";
        // A zero-padding factor below 1 never shrinks the transform below the window.
        QTest::newRow("zero padding 0.5")
            << 44100 << -48 << 1.0 << 0.5 << 2048 << 2048
            << "window size=1603 FFT size=2048 window size factor=1 zero padding factor=0.5";
    }

    void sizes()
    {
        QFETCH(int, rate);
        QFETCH(int, min);
        QFETCH(double, window_factor);
        QFETCH(double, zp);
        QFETCH(int, W);
        QFETCH(int, N);
        QFETCH(QString, line);
        SetSamplingRate(rate);
        SetSemitoneBounds(min, 48);
        CoutCapture out;
        CombedFT d;
        d.setWindowFactor(window_factor);
        d.setZeroPaddingFactor(zp);
        const std::string all = out.str();
        // Last line: the plan in use.
        const size_t start = all.rfind('\n', all.size() - 2);
        const std::string last = all.substr(start == std::string::npos ? 0 : start + 1);
        QCOMPARE(QString::fromStdString(last), "CombedFT: INFO: " + line + "\n");
        QCOMPARE(d.size(), W);
        QCOMPARE(int(d.m_win.size()), W);
        QCOMPARE(int(d.m_plan.in.size()), N);
        QCOMPARE(int(d.m_plan.out.size()), N);
        QCOMPARE(int(d.m_comb.size()), N / 2);
        // The N/2 moduli, zero-padded to N points for a comb at half-entry steps.
        QCOMPARE(int(d.m_plan_comb.in.size()), N);
        QCOMPARE(d.m_zp_factor, zp);
        QCOMPARE(d.m_window_factor, window_factor);
    }

    void defaults()
    {
        CombedFT d;
        QCOMPARE(d.m_amplitude_treshold, 0.0);
        QCOMPARE(d.m_components_max, 0.0);
        QCOMPARE(d.m_f0, 0.0);
        QCOMPARE(d.m_audibility_ratio, 0.1);
        QCOMPARE(d.m_use_audibility_ratio, false);
        QVERIFY(!d.hasNoteRecognized());
    }

    void sameFactorDoesNotReplan()
    {
        CombedFT d;
        {
            CoutCapture out;
            d.setWindowFactor(1.0);
            d.setZeroPaddingFactor(1.0);
            QCOMPARE(out.str(), std::string());
        }
        CoutCapture out;
        d.setWindowFactor(2.0);
        // L = trunc(2 * 1603.6) = 3207.
        QCOMPARE(out.str(), std::string("CombedFT: INFO: window size=3207 FFT size=4096 window size factor=2 "
                                        "zero padding factor=1\n"));
    }

    void notificationsReplan()
    {
        CombedFT d;
        d.apply(signal("sine", d.size()));
        QVERIFY(d.m_f0 > 0);
        CoutCapture out;
        SetSemitoneBounds(-36, 48); // L = trunc(44100 / 55) = 801, W = 1024
        QCOMPARE(d.size(), 1024);
        QCOMPARE(d.m_f0, 0.0);
        SetAFreq(220); // f_min 27.5 again: L = 1603
        QCOMPARE(d.size(), 2048);
        SetSamplingRate(22050); // L = 801
        QCOMPARE(d.size(), 1024);
        QCOMPARE(QString::fromStdString(out.str()).count("CombedFT: INFO: "), 3);
    }

    void unknownRate()
    {
        SetSamplingRate(-1);
        CoutCapture out;
        CombedFT d;
        QCOMPARE(out.str(), std::string());
        QCOMPARE(d.size(), 0);
        d.m_components_max = 7; // an apply that runs would reset it
        d.apply(std::deque<double>(4096, 0.5));
        QCOMPARE(d.m_components_max, 7.0);
        QCOMPARE(d.getFundamentalFreq(), 0.0);
    }

    void sine220()
    {
        // 220 Hz, amplitude 0.5, N = 2048: 220 * 2048 / 44100 = 10.2168, so the
        // strongest in-range bin is g = 10; the log parabola puts it at 10.2313,
        // 10.2313 * 44100 / 2048 = 220.31 Hz; the comb says rank 1. The Hann
        // window sums to about 1, so the peak's modulus is about 0.5 / 2.
        CombedFT d;
        d.apply(signal("sine", 2048));
        QVERIFY2(std::fabs(d.m_f0 - 220.31) < 0.01, qPrintable(QString::number(d.m_f0, 'f', 4)));
        QVERIFY(std::fabs(d.m_components_max - 0.2425) < 1e-4);
        QCOMPARE(d.m_plan_comb.in[10], d.m_components_max); // the peak is bin 10
        // The comb transform's input: 1024 moduli, then 1024 zeros.
        for (size_t k = 1024; k < 2048; ++k)
            QCOMPARE(d.m_plan_comb.in[k], 0.0);
        QVERIFY(d.hasNoteRecognized());
        QCOMPARE(d.getFundamentalFreq(), d.m_f0);
    }

    void sine220Threshold()
    {
        CombedFT d;
        d.m_amplitude_treshold = 0.3; // above 0.2425
        d.apply(signal("sine", 2048));
        QCOMPARE(d.m_f0, 0.0);
        QVERIFY(!d.hasNoteRecognized());
        QVERIFY(std::fabs(d.m_components_max - 0.2425) < 1e-4);
    }

    void sine220ZeroPadding()
    {
        // 4096 points: 220 * 4096 / 44100 = 20.43, the peak bin is 20.
        CombedFT d;
        d.setZeroPaddingFactor(2.0);
        d.apply(signal("sine", 2048));
        QVERIFY2(std::fabs(d.m_f0 - 220) < 0.5, qPrintable(QString::number(d.m_f0, 'f', 4)));
        QVERIFY(std::fabs(d.m_components_max - 0.2425) < 2e-3);
    }

    void weakFundamental_data()
    {
        QTest::addColumn<bool>("audibility");
        QTest::newRow("second difference") << false;
        QTest::newRow("audibility ratio") << true;
    }

    void weakFundamental()
    {
        // 110 Hz at 0.05 below 220, 330, 440 Hz at 0.5, 0.4, 0.3: the strongest
        // peak is still bin 10 (220 Hz), but the comb of the magnitude spectrum
        // has teeth every 110 Hz, so the peak is rank 2: 220.36 / 2 = 110.18 Hz.
        QFETCH(bool, audibility);
        CombedFT d;
        d.m_use_audibility_ratio = audibility;
        d.apply(sound(2048, {{110, 0.05}, {220, 0.5}, {330, 0.4}, {440, 0.3}}));
        QVERIFY2(std::fabs(d.m_f0 - 110.17) < 0.02, qPrintable(QString::number(d.m_f0, 'f', 4)));
        QCOMPARE(d.m_plan_comb.in[10], d.m_components_max);
    }

    void rangeEndBins_data()
    {
        QTest::addColumn<double>("freq");
        QTest::addColumn<int>("bin");
        // Factory range A1..A8 (55 to 7040 Hz), window factor 4: 4096 points
        // at 44100 Hz, 10.7666 Hz a bin. Bin 5 (53.83 Hz) holds 48.45 to 59.22
        // Hz, A1 among them: a sine at 55.22 Hz (A1 + 7 cents, 5.13 bins) peaks
        // there and the search must take it, not the side of the lobe in bin 6.
        QTest::newRow("A1 + 7 cents") << 55.22 << 5;
        // Bin 654 (7041.4 Hz) holds A8 (7040 Hz, 653.87 bins); its centre lies
        // above the range, yet a sine at 7045 Hz (654.35 bins) peaks there.
        QTest::newRow("A8 + 1 cent") << 7045.0 << 654;
    }

    void rangeEndBins()
    {
        QFETCH(double, freq);
        QFETCH(int, bin);
        SetSemitoneBounds(-36, 48);
        CombedFT d;
        d.setWindowFactor(4.0);
        QCOMPARE(int(d.m_plan.in.size()), 4096);
        d.apply(sound(d.size(), {{freq, 0.5}}));
        QCOMPARE(d.m_plan_comb.in[size_t(bin)], d.m_components_max);
        // The log parabola on the right peak: within 0.05 bin (0.54 Hz).
        QVERIFY2(std::fabs(d.m_f0 - freq) < 0.54, qPrintable(QString::number(d.m_f0, 'f', 4)));
    }

    // Which harmonic the strongest peak is, across the range, at the factory
    // settings (range -36..48, window factor 4: 4096 points). A wrong rank
    // is off by a factor of at least 3/2 (or a whole octave and more), so 1%
    // separates it from the log parabola's error on the right one.
    void combRank_data()
    {
        QTest::addColumn<double>("f0");
        QTest::addColumn<bool>("weak");
        QTest::addColumn<bool>("audibility");
        QTest::addColumn<int>("rate");
        QTest::newRow("A2, harmonic") << 110.0 << false << false << 44100;
        QTest::newRow("A2, weak") << 110.0 << true << false << 44100;
        QTest::newRow("A4, harmonic") << 440.0 << false << false << 44100;
        // The peak is the second partial: rank 2. Ranks 4, 6, 8 see the same
        // teeth of the comb and once won by noise (3 to 4 octaves low).
        QTest::newRow("C#5, weak") << 554.37 << true << false << 44100;
        QTest::newRow("E5, weak") << 659.26 << true << false << 44100;
        QTest::newRow("C6, weak") << 1046.5 << true << false << 44100;
        QTest::newRow("C6, weak, audibility ratio") << 1046.5 << true << true << 44100;
        // 1480 Hz was named F2 (87.06 Hz): rank 17 at the truncated spacing.
        QTest::newRow("F#6, harmonic") << 1479.98 << false << false << 44100;
        QTest::newRow("F#6, weak") << 1479.98 << true << false << 44100;
        QTest::newRow("A6, harmonic") << 1760.0 << false << false << 44100;
        QTest::newRow("E7, harmonic") << 2637.02 << false << false << 44100;
        QTest::newRow("E7, weak") << 2637.02 << true << false << 44100;
        QTest::newRow("C8, harmonic") << 4186.01 << false << false << 44100;
        QTest::newRow("C8, harmonic, 96000 Hz") << 4186.01 << false << false << 96000;
    }

    void combRank()
    {
        QFETCH(double, f0);
        QFETCH(bool, weak);
        QFETCH(bool, audibility);
        QFETCH(int, rate);
        SetSamplingRate(rate);
        SetSemitoneBounds(-36, 48);
        CombedFT d;
        d.setWindowFactor(4.0);
        d.m_use_audibility_ratio = audibility;
        d.apply(sound(d.size(), harmonics(f0, weak, rate), rate));
        QVERIFY2(std::fabs(d.m_f0 / f0 - 1) < 0.01, qPrintable(QString::number(d.m_f0, 'f', 2)));
    }

    void shortBuffer_data()
    {
        QTest::addColumn<int>("length");
        QTest::newRow("one short") << 2047;
        QTest::newRow("empty") << 0;
    }

    void shortBuffer()
    {
        QFETCH(int, length);
        CombedFT d;
        d.apply(signal("sine", 2048));
        const double f0 = d.m_f0, max = d.m_components_max;
        QVERIFY(f0 > 0);
        d.apply(std::deque<double>(size_t(length), 0.0));
        QCOMPARE(d.m_f0, f0);
        QCOMPARE(d.m_components_max, max);
    }

    void badInput_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("expect");  // 0: no pitch, 1: a pitch, -1: either
        QTest::addColumn<bool>("silent"); // m_components_max == 0
        QTest::newRow("silence") << 44100 << -48 << 48 << "zero" << 0 << true;
        QTest::newRow("dc") << 44100 << -48 << 48 << "dc" << -1 << false;
        QTest::newRow("full-scale square") << 44100 << -48 << 48 << "square" << 1 << false;
        // A single sample: every bin has the same modulus, the log moduli around
        // the strongest bin are collinear and there is no vertex.
        QTest::newRow("impulse, collinear") << 44100 << -48 << 48 << "impulse" << 0 << false;
        QTest::newRow("min above max") << 44100 << 48 << -48 << "sine" << 0 << true;
        // f_max = 7040 Hz is beyond Nyquist at 8000 Hz: the strongest bins are at
        // the top edge, N/2 - 1 = 255, which cannot be refined and is left out.
        QTest::newRow("edge bin") << 8000 << -48 << 48 << "near nyquist" << -1 << false;
        QTest::newRow("nyquist") << 8000 << -48 << 48 << "nyquist" << -1 << false;
        QTest::newRow("NaN sample") << 44100 << -48 << 48 << "nan" << 0 << true;
        QTest::newRow("infinite sample") << 44100 << -48 << 48 << "inf" << 0 << true;
        QTest::newRow("huge samples") << 44100 << -48 << 48 << "huge" << -1 << false;
    }

    void badInput()
    {
        QFETCH(int, rate);
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(QString, kind);
        QFETCH(int, expect);
        QFETCH(bool, silent);
        SetSamplingRate(rate);
        SetSemitoneBounds(min, max);
        CombedFT d;
        d.apply(signal(kind, d.size()));
        QVERIFY(std::isfinite(d.m_f0));
        QVERIFY(d.m_f0 >= 0);
        QVERIFY(std::isfinite(d.m_components_max));
        QVERIFY(std::isfinite(d.getFundamentalFreq()));
        if (expect == 0) QCOMPARE(d.m_f0, 0.0);
        if (expect == 1) QVERIFY(std::fabs(d.m_f0 - 220) < 1);
        QCOMPARE(d.m_components_max == 0, silent);
    }

    void rateLostAfterPlanning()
    {
        CombedFT d;          // planned at 44100 Hz
        SetSamplingRate(-1); // keeps the plan, but no bin maps into the range
        d.apply(signal("sine", d.size()));
        QCOMPARE(d.m_f0, 0.0);
        QCOMPARE(d.m_components_max, 0.0);
    }

    void negativeThresholdNothingInRange()
    {
        SetSemitoneBounds(48, -48);
        CombedFT d;
        d.m_amplitude_treshold = -1; // 0 is above it, but there is no peak bin
        d.apply(signal("sine", d.size()));
        QCOMPARE(d.m_f0, 0.0);
    }

    void absurdPitchModel()
    {
        CombedFT d;
        const int W = d.size();
        CoutCapture out;
        SetAFreq(0); // no window length: the plan stays
        QCOMPARE(d.size(), W);
        d.apply(signal("sine", W));
        QCOMPARE(d.m_f0, 0.0);
        SetAFreq(440);
        d.setWindowFactor(std::nan(""));
        QCOMPARE(d.size(), W);
        d.setWindowFactor(1.0);
        // 44100 / (440 * 2^(-400/12)) = 1e12 samples: clamped to 2^20 points.
        SetSemitoneBounds(-400, 48);
        QCOMPARE(d.size(), 1 << 20);
    }

    void applyAllocatesNothing_data()
    {
        QTest::addColumn<double>("zp");
        QTest::addColumn<bool>("audibility");
        QTest::addColumn<QString>("kind");
        QTest::newRow("sine") << 1.0 << false << "sine";
        QTest::newRow("sine, audibility") << 1.0 << true << "sine";
        QTest::newRow("zero padding 2") << 2.0 << false << "sine";
        QTest::newRow("silence") << 1.0 << false << "zero";
        QTest::newRow("impulse") << 1.0 << false << "impulse";
    }

    void applyAllocatesNothing()
    {
        QFETCH(double, zp);
        QFETCH(bool, audibility);
        QFETCH(QString, kind);
        CombedFT d;
        d.setZeroPaddingFactor(zp);
        d.m_use_audibility_ratio = audibility;
        const std::deque<double> b = signal(kind, d.size());
        d.apply(b); // first run outside the count, as in the program
        startCountingAllocations();
        for (int i = 0; i < 3; ++i)
            d.apply(b);
        QCOMPARE(stopCountingAllocations(), 0L);

        // The counter itself works: a vector allocates once.
        startCountingAllocations();
        std::vector<double>* v = new std::vector<double>(10);
        QCOMPARE(stopCountingAllocations(), 2L);
        delete v;
    }
};

QTEST_APPLESS_MAIN(TestCombedFT)
#include "tst_combedft.moc"
