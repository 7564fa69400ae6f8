#include <QtTest>

#include "Music/Music.h"
#include "Music/PartialFitDetector.h"

#include "CountingAllocator.h"
#include "CoutCapture.h"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <new>
#include <random>
#include <sstream>

using namespace Music;

namespace {

// The tone classes the detector must name right: the synthetic sounds a tuner meets.
enum Kind { Sine, Harmonic, WeakFundamental, Inharmonic };

struct Tone
{
    Kind kind = Harmonic;
    double f0 = 440;   // Hz; for Inharmonic the f0 of f_k = k f0 sqrt(1 + B k^2)
    double B = 4e-4;   // stretch of Inharmonic
    double snr_db = 0; // > 0: white noise at this signal-to-noise ratio
    unsigned seed = 1;
};

// n samples at `rate`, newest first (as the analysis buffer holds them), of
// 8 partials of amplitude 1/k (those under half the rate), phases spread so
// that they do not peak together, peak about 0.5.
std::deque<double> Render(const Tone& t, int rate, int n, int offset = 0)
{
    std::vector<double> s(size_t(n), 0.0);
    const int partials = t.kind == Sine ? 1 : 8;
    for (int k = 1; k <= partials; ++k) {
        double f = k * t.f0;
        if (t.kind == Inharmonic) f *= std::sqrt(1 + t.B * k * k);
        if (f >= rate / 2.0) break;
        double amp = 0.25 / k;
        if (t.kind == WeakFundamental && k == 1) amp = 0.1 * 0.25 / 2; // 20 dB under the second
        for (int i = 0; i < n; ++i)
            s[size_t(i)] += amp * std::sin(2 * M_PI * f * (i + offset) / rate + 0.7 * k * k);
    }
    if (t.snr_db > 0) {
        double power = 0;
        for (double x : s)
            power += x * x;
        std::mt19937 gen(t.seed);
        std::normal_distribution<double> noise(0.0, std::sqrt(power / n / std::pow(10.0, t.snr_db / 10)));
        for (double& x : s)
            x += noise(gen);
    }
    // Newest first: the last sample rendered at the front.
    return std::deque<double>(s.rbegin(), s.rend());
}

double Cents(double f, double truth)
{
    return 1200 * std::log2(f / truth);
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestPartialFitDetector : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        CoutCapture quiet;
        SetAFreq(440);
        SetSemitoneBounds(-48, 48);
        SetSamplingRate(44100);
    }

    void accuracy_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<double>("f0");
        QTest::addColumn<double>("snr");
        QTest::addColumn<double>("expected");
        QTest::addColumn<double>("tolerance"); // cents
        // Note range -48..48: 27.5 Hz to 7040 Hz. Frequencies a few cents off the
        // notes (B0 30.868, A1 55, A4 440, C8 4186.009 Hz).
        // Clean tones: within 0.1 cent of the fundamental.
        for (int rate : {44100, 48000, 96000}) {
            const QByteArray r = QByteArray::number(rate);
            QTest::newRow("sine B0 " + r) << rate << Sine << 30.9 << 0.0 << 30.9 << 0.1;
            QTest::newRow("sine A4 " + r) << rate << Sine << 441.3 << 0.0 << 441.3 << 0.1;
            QTest::newRow("sine C8 " + r) << rate << Sine << 4180.0 << 0.0 << 4180.0 << 0.1;
            QTest::newRow("harmonic B0 " + r) << rate << Harmonic << 30.85 << 0.0 << 30.85 << 0.1;
            QTest::newRow("harmonic A1 " + r) << rate << Harmonic << 55.1 << 0.0 << 55.1 << 0.1;
            QTest::newRow("harmonic A4 " + r) << rate << Harmonic << 439.2 << 0.0 << 439.2 << 0.1;
            QTest::newRow("harmonic C8 " + r) << rate << Harmonic << 4190.0 << 0.0 << 4190.0 << 0.1;
            // The fundamental 20 dB under the second partial: still the fundamental,
            // not the octave above.
            QTest::newRow("weak fundamental A1 " + r)
                << rate << WeakFundamental << 55.0 << 0.0 << 55.0 << 0.1;
            QTest::newRow("weak fundamental A4 " + r)
                << rate << WeakFundamental << 440.5 << 0.0 << 440.5 << 0.1;
            // 20 dB signal-to-noise ratio: within 1 cent.
            QTest::newRow("harmonic A2 20 dB " + r) << rate << Harmonic << 110.0 << 20.0 << 110.0 << 1.0;
            QTest::newRow("harmonic A5 20 dB " + r) << rate << Harmonic << 881.0 << 20.0 << 881.0 << 1.0;
        }
        // Stretched partials: the first partial f0 sqrt(1 + B), not f0, nor a mean
        // of f_k / k, which the eighth partial would pull sqrt(1 + 64 B) up:
        // B = 4e-4: 110 * sqrt(1.0004) = 110 * 1.00019998 = 110.021998 Hz (+0.35
        // cent over f0, while f_8 / 8 is +21.9 cents);
        QTest::newRow("stretched A2 B=4e-4") << 44100 << Inharmonic << 110.0 << 0.0 << 110.021998 << 0.1;
        // B = 4e-4 at 48000 Hz: 32.7 * 1.00019998 = 32.706540 Hz.
        QTest::newRow("stretched C1 B=4e-4") << 48000 << Inharmonic << 32.7 << 0.0 << 32.706540 << 0.1;
    }

    void accuracy()
    {
        QFETCH(int, rate);
        QFETCH(Kind, kind);
        QFETCH(double, f0);
        QFETCH(double, snr);
        QFETCH(double, expected);
        QFETCH(double, tolerance);
        CoutCapture quiet;
        SetSamplingRate(rate);
        PartialFitDetector d;
        Tone t;
        t.kind = kind;
        t.f0 = f0;
        t.snr_db = snr;
        d.apply(Render(t, rate, d.size()));
        QVERIFY(d.hasNoteRecognized());
        const double err = Cents(d.getFundamentalFreq(), expected);
        QVERIFY2(std::fabs(err) <= tolerance,
                 qPrintable(QString("%1 Hz, %2 cents off").arg(d.getFundamentalFreq(), 0, 'f', 5).arg(err)));
    }

    void stretchMeasured_data()
    {
        QTest::addColumn<double>("f0");
        QTest::addColumn<double>("B");
        QTest::newRow("A1, B=2e-4") << 55.0 << 2e-4;
        QTest::newRow("A2, B=4e-4") << 110.0 << 4e-4;
        QTest::newRow("A4, B=2e-3") << 440.0 << 2e-3;
    }

    void stretchMeasured()
    {
        // The fit reports the stretch it found, within 5 %, and the first partial
        // f0 sqrt(1 + B) within 0.1 cent.
        QFETCH(double, f0);
        QFETCH(double, B);
        PartialFitDetector d;
        Tone t;
        t.kind = Inharmonic;
        t.f0 = f0;
        t.B = B;
        d.apply(Render(t, 44100, d.size()));
        QVERIFY(d.hasNoteRecognized());
        QVERIFY2(std::fabs(d.m_inharmonicity / B - 1) < 0.05, qPrintable(QString::number(d.m_inharmonicity)));
        QVERIFY(d.m_partials_used >= 5);
        QVERIFY(std::fabs(Cents(d.getFundamentalFreq(), f0 * std::sqrt(1 + B))) < 0.1);
    }

    void harmonicHasNoStretch()
    {
        PartialFitDetector d;
        Tone t;
        t.f0 = 196;
        d.apply(Render(t, 44100, d.size()));
        QVERIFY(d.hasNoteRecognized());
        QCOMPARE(d.m_inharmonicity, 0.0);
        // Eight partials, all under 22050 Hz (8 * 196 = 1568 Hz).
        QCOMPARE(d.m_partials_used, 8);
        QVERIFY(d.m_clarity > 0.99);
    }

    void steadyTone()
    {
        // Twenty successive cycles (20 ms apart) of a steady A3 at 30 dB SNR: each
        // window holds other noise, the readings stay within a fifth of a cent of
        // their mean (standard deviation).
        PartialFitDetector d;
        Tone t;
        t.f0 = 220;
        t.snr_db = 30;
        std::vector<double> readings;
        for (int cycle = 0; cycle < 20; ++cycle) {
            t.seed = unsigned(cycle + 1);
            d.apply(Render(t, 44100, d.size(), cycle * 882));
            QVERIFY(d.hasNoteRecognized());
            readings.push_back(Cents(d.getFundamentalFreq(), 220));
        }
        double mean = 0, var = 0;
        for (double c : readings)
            mean += c / readings.size();
        for (double c : readings)
            var += (c - mean) * (c - mean) / (readings.size() - 1);
        QVERIFY2(std::sqrt(var) < 0.2, qPrintable(QString::number(std::sqrt(var))));
    }

    void noNote_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("silence") << "silence";
        QTest::newRow("white noise") << "noise";
        QTest::newRow("below the threshold") << "quiet";
    }

    void noNote()
    {
        QFETCH(QString, kind);
        PartialFitDetector d;
        d.m_amplitude_treshold = std::pow(10.0, -60 / 20.0);
        std::deque<double> b(size_t(d.size()), 0.0);
        std::mt19937 gen(7);
        std::normal_distribution<double> noise(0.0, 0.3);
        if (kind == "noise")
            for (double& x : b)
                x = noise(gen);
        if (kind == "quiet") {
            // A sine of amplitude 1e-3 shows a peak of about 5e-4 (half the
            // amplitude): under the threshold 1e-3 (-60 dB).
            Tone t;
            t.kind = Sine;
            b = Render(t, 44100, d.size());
            for (double& x : b)
                x *= 1e-3 / 0.25;
        }
        // A note first, so that "no note" is a result, not the initial state.
        Tone t;
        d.apply(Render(t, 44100, d.size()));
        QVERIFY(d.hasNoteRecognized());
        d.apply(b);
        QVERIFY(!d.hasNoteRecognized());
        QCOMPARE(d.getFundamentalFreq(), 0.0);
        if (kind == "silence") QCOMPARE(d.m_components_max, 0.0);
        if (kind == "quiet") QVERIFY(d.m_components_max > 4e-4 && d.m_components_max <= 1e-3);
    }

    void oddInput_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("one NaN") << "nan";
        QTest::newRow("one infinity") << "inf";
        QTest::newRow("huge values") << "huge";
    }

    void oddInput()
    {
        // Samples no device should give: the results stay finite, never negative.
        QFETCH(QString, kind);
        PartialFitDetector d;
        Tone t;
        std::deque<double> b = Render(t, 44100, d.size());
        if (kind == "nan") b[100] = std::nan("");
        if (kind == "inf") b[100] = HUGE_VAL;
        if (kind == "huge")
            for (size_t i = 0; i < b.size(); ++i)
                b[i] = i % 3 ? 1e307 : -1e307;
        d.apply(b);
        QVERIFY(std::isfinite(d.getFundamentalFreq()) && d.getFundamentalFreq() >= 0);
        QVERIFY(std::isfinite(d.m_components_max) && d.m_components_max >= 0);
        // One bad sample among a tone is dropped; the tone is still measured.
        if (kind != "huge") QVERIFY(std::fabs(Cents(d.getFundamentalFreq(), 440)) < 1);
    }

    void volume()
    {
        // A 220 Hz sine of amplitude 0.5: the window sums to 1, so the peak bin
        // holds half the amplitude, 0.25, less the scalloping of a component off
        // the bin (at most 0.4 bin of the window's own transform with the 1.25
        // zero padding: sinc(0.4) / (1 - 0.4^2) = 0.757 / 0.84 = 0.90): 0.225..0.25.
        SetSemitoneBounds(-36, 48);
        PartialFitDetector d;
        std::deque<double> b(size_t(d.size()));
        for (size_t i = 0; i < b.size(); ++i)
            b[i] = 0.5 * std::sin(2 * M_PI * 220 * double(i) / 44100);
        d.apply(b);
        QVERIFY2(d.m_components_max >= 0.225 && d.m_components_max <= 0.25,
                 qPrintable(QString::number(d.m_components_max)));
        // The spectrum the views read peaks at bin 220 * N / 44100.
        const int N = int(d.m_plan.in.size());
        const int expected = int(std::lround(220.0 * N / 44100));
        int peak = 1;
        for (int k = 1; k < N / 2; ++k)
            if (std::abs(d.m_plan.out[size_t(k)]) > std::abs(d.m_plan.out[size_t(peak)])) peak = k;
        QCOMPARE(peak, expected);
    }

    void plans_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("min");
        QTest::addColumn<double>("factor");
        QTest::addColumn<int>("W");
        QTest::addColumn<int>("N");
        QTest::addColumn<QString>("line");
        // Factory range -36: 55 Hz. L = trunc(44100 * 4 / 55) = 3207: W = 4096.
        // Longest lag: ceil(44100 / 55) + 1 = 803, shortest floor(44100 / 7040) = 6.
        // N >= 4096 + 803 + 2 = 4901: of 8192, 3 * 2048 and 5 * 1024, 5120.
        QTest::newRow("factory") << 44100 << -36 << 4.0 << 4096 << 5120
                                 << "window size=4096 FFT size=5120 lags=6..803 window size factor=4";
        // 96000 Hz: L = trunc(96000 * 4 / 55) = 6981: W = 8192; lags
        // floor(13.6) = 13 .. ceil(1745.5) + 1 = 1747; N >= 9941: 10240 = 5 * 2048.
        QTest::newRow("96000 Hz") << 96000 << -36 << 4.0 << 8192 << 10240
                                  << "window size=8192 FFT size=10240 lags=13..1747 window size factor=4";
        // Range -48 (27.5 Hz): L = trunc(44100 * 4 / 27.5) = 6414: W = 8192; lags
        // 6 .. ceil(1603.6) + 1 = 1605; N >= 9799: 10240.
        QTest::newRow("range -48") << 44100 << -48 << 4.0 << 8192 << 10240
                                   << "window size=8192 FFT size=10240 lags=6..1605 window size factor=4";
        // Factor 1 counts as 3: L = trunc(44100 * 3 / 55) = 2405: W = 4096.
        QTest::newRow("factor 1") << 44100 << -36 << 1.0 << 4096 << 5120
                                  << "window size=4096 FFT size=5120 lags=6..803 window size factor=1";
        // Factor 8: L = trunc(44100 * 8 / 55) = 6414: W = 8192; lags 6..803;
        // N >= 8997: 10240.
        QTest::newRow("factor 8") << 44100 << -36 << 8.0 << 8192 << 10240
                                  << "window size=8192 FFT size=10240 lags=6..803 window size factor=8";
    }

    void plans()
    {
        QFETCH(int, rate);
        QFETCH(int, min);
        QFETCH(double, factor);
        QFETCH(int, W);
        QFETCH(int, N);
        QFETCH(QString, line);
        CoutCapture out;
        SetSamplingRate(rate);
        SetSemitoneBounds(min, 48);
        PartialFitDetector d;
        d.setWindowFactor(factor);
        const std::string all = out.str();
        const size_t start = all.rfind('\n', all.size() - 2);
        QCOMPARE(QString::fromStdString(all.substr(start == std::string::npos ? 0 : start + 1)),
                 "PartialFitDetector: INFO: " + line + "\n");
        QCOMPARE(d.size(), W);
        QCOMPARE(int(d.m_plan.in.size()), N);
        QCOMPARE(int(d.m_plan.out.size()), N);
        QCOMPARE(d.m_zp_factor, double(N) / W);
    }

    void replans_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("W");
        // From 44100 Hz, range -48, W = 8192 (see plans): 22050 Hz gives
        // L = trunc(22050 * 4 / 27.5) = 3207, W = 4096.
        QTest::newRow("rate") << "rate" << 4096;
        // A = 220 Hz puts semitone -48 at 13.75 Hz: L = 12829, W = 16384.
        QTest::newRow("reference") << "A" << 16384;
        // Range from -24 (110 Hz): L = trunc(44100 * 4 / 110) = 1603, W = 2048.
        QTest::newRow("range") << "range" << 2048;
    }

    void replans()
    {
        // Every change of the pitch model re-plans and forgets the last result;
        // the next analysis works at the new settings.
        QFETCH(QString, change);
        QFETCH(int, W);
        PartialFitDetector d;
        QCOMPARE(d.size(), 8192);
        Tone t;
        t.f0 = 440;
        d.apply(Render(t, 44100, d.size()));
        QVERIFY(d.hasNoteRecognized());
        CoutCapture out;
        if (change == "rate") SetSamplingRate(22050);
        if (change == "A") SetAFreq(220);
        if (change == "range") SetSemitoneBounds(-24, 48);
        QVERIFY(out.str().find("PartialFitDetector: INFO: window size=" + std::to_string(W)) == 0);
        QCOMPARE(d.size(), W);
        QVERIFY(!d.hasNoteRecognized());
        d.apply(Render(t, GetSamplingRate(), d.size()));
        QVERIFY(std::fabs(Cents(d.getFundamentalFreq(), 440)) < 0.1);
    }

    void unknownRate()
    {
        // No sampling rate yet: no plan, and an analysis changes nothing.
        CoutCapture out;
        SetSamplingRate(-1);
        PartialFitDetector d;
        QCOMPARE(d.size(), 0);
        QCOMPARE(out.str(), std::string());
        d.apply(std::deque<double>(100, 0.5));
        QVERIFY(!d.hasNoteRecognized());
        QCOMPARE(d.m_components_max, 0.0);
    }

    void shortBuffer()
    {
        // One sample short of the window: every result keeps its value.
        PartialFitDetector d;
        Tone t;
        d.apply(Render(t, 44100, d.size()));
        const double f = d.getFundamentalFreq(), level = d.m_components_max;
        t.f0 = 300;
        d.apply(Render(t, 44100, d.size() - 1));
        QCOMPARE(d.getFundamentalFreq(), f);
        QCOMPARE(d.m_components_max, level);
    }

    void sameFactorDoesNotReplan()
    {
        PartialFitDetector d;
        CoutCapture out;
        d.setWindowFactor(4.0);
        QCOMPARE(out.str(), std::string());
    }

    void noAllocationInApply()
    {
        PartialFitDetector d;
        Tone t;
        t.kind = Inharmonic;
        t.f0 = 98;
        const std::deque<double> b = Render(t, 44100, d.size());
        const std::deque<double> silence(size_t(d.size()), 0.0);
        d.apply(b);
        startCountingAllocations();
        d.apply(b);
        d.apply(silence);
        d.apply(b);
        QCOMPARE(stopCountingAllocations(), 0L);
        QVERIFY(d.hasNoteRecognized());
    }
};

QTEST_APPLESS_MAIN(TestPartialFitDetector)
#include "tst_partialfitdetector.moc"
