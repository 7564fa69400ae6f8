#include <QtTest>

#include "Music/Music.h"

#include <cmath>

using namespace Music;

namespace {

struct CountingListener : SettingsListener
{
    int rate = 0, afreq = 0, bounds = 0;
    std::vector<int>* order = nullptr;
    int id = 0;
    void samplingRateChanged() override
    {
        ++rate;
        if (order) order->push_back(id);
    }
    void AFreqChanged() override { ++afreq; }
    void semitoneBoundsChanged() override { ++bounds; }
};

} // namespace

class TestPitchModel : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        SetAFreq(440.0);
        SetTuning(CHROMATIC);
        SetSemitoneBounds(-48, 48);
    }

    void defaults()
    {
        QCOMPARE(GetSamplingRate(), -1);
        QCOMPARE(s_transposition, 0);
        QCOMPARE(int(s_notes_name), int(LOCAL_ANGLO));
    }

    void conversions()
    {
        QCOMPARE(FreqToSemitone(880.0), 12.0);
        QVERIFY(std::fabs(SemitoneToFreq(-48) - 27.5) < 1e-12);
        QVERIFY(std::fabs(SemitoneToFreq(48) - 7040.0) < 1e-9);
        // 12 * log2(442/440) = 0.078514 semitones
        QVERIFY(std::fabs(FreqToSemitone(442.0) - 0.0785148) < 1e-6);
    }

    void nearestSemitone_data()
    {
        QTest::addColumn<int>("tuning");
        QTest::addColumn<double>("freq");
        QTest::addColumn<int>("expected");
        // Chromatic boundary above A4: 440 * 2^(1/24) = 452.893 Hz.
        QTest::newRow("chromatic 452.8") << int(CHROMATIC) << 452.8 << 0;
        QTest::newRow("chromatic 452.9") << int(CHROMATIC) << 452.9 << 1;
        // Below: 440 * 2^(-1/24) = 427.474 Hz.
        QTest::newRow("chromatic 427.5") << int(CHROMATIC) << 427.5 << 0;
        QTest::newRow("chromatic 427.4") << int(CHROMATIC) << 427.4 << -1;
        QTest::newRow("chromatic 880") << int(CHROMATIC) << 880.0 << 12;
        QTest::newRow("chromatic 27.5") << int(CHROMATIC) << 27.5 << -48;
        QTest::newRow("chromatic 0 is no note") << int(CHROMATIC) << 0.0 << NO_SEMITONE;
        QTest::newRow("diatonic 0") << int(DIATONIC) << 0.0 << -1000;
        QTest::newRow("diatonic 1") << int(DIATONIC) << 1.0 << -1000;
        // r = 660 / 440 = 1.5, exactly entry 7 of the just table.
        QTest::newRow("diatonic 660") << int(DIATONIC) << 660.0 << 7;
        // 1320 Hz folds to 660 Hz one octave up: 7 + 12.
        QTest::newRow("diatonic 1320") << int(DIATONIC) << 1320.0 << 19;
        // 330 Hz folds to 660 Hz one octave down: 7 - 12.
        QTest::newRow("diatonic 330") << int(DIATONIC) << 330.0 << -5;
        // Just C# (5/4 = 550 Hz) and D (27/20 = 594 Hz): the boundary in ratio
        // space is sqrt(1.25 * 1.35) * 440 = 571.577 Hz; ties go upward.
        QTest::newRow("diatonic 571.5") << int(DIATONIC) << 571.5 << 4;
        QTest::newRow("diatonic 571.6") << int(DIATONIC) << 571.6 << 5;
        // Above G#: 15/8 * 440 = 825; the boundary to the next A is
        // sqrt(1.875 * 2) * 440 = 852.06 Hz, and 860 Hz names the A above.
        QTest::newRow("diatonic 860") << int(DIATONIC) << 860.0 << 12;
        // Below the first ratio: r = 1.03 < 16/15, boundary sqrt(16/15) = 1.0328.
        QTest::newRow("diatonic 453") << int(DIATONIC) << 453.0 << 0;
        QTest::newRow("diatonic 455") << int(DIATONIC) << 455.0 << 1;
        // Meantone E (1.49534878122 * 440 = 657.95 Hz).
        QTest::newRow("meantone 658") << int(MEANTONE) << 658.0 << 7;
        QTest::newRow("werckmeister 495") << int(WERCKMEISTER3) << 495.0 << 2;
        QTest::newRow("kirnberger 220") << int(KIRNBERGER3) << 220.0 << -12;
    }

    void nearestSemitone()
    {
        QFETCH(int, tuning);
        QFETCH(double, freq);
        QFETCH(int, expected);
        SetTuning(Tuning(tuning));
        QCOMPARE(NearestSemitone(freq), expected);
    }

    void tunedFreq_data()
    {
        QTest::addColumn<int>("tuning");
        QTest::addColumn<int>("ht");
        QTest::addColumn<double>("expected");
        QTest::newRow("chromatic 0") << int(CHROMATIC) << 0 << 440.0;
        QTest::newRow("chromatic 3") << int(CHROMATIC) << 3 << 440.0 * std::pow(2.0, 0.25);
        QTest::newRow("diatonic 7") << int(DIATONIC) << 7 << 660.0;
        // -5 = octave -1, index 7: 440 / 2 * 1.5
        QTest::newRow("diatonic -5") << int(DIATONIC) << -5 << 330.0;
        QTest::newRow("diatonic 12") << int(DIATONIC) << 12 << 880.0;
        QTest::newRow("meantone 4") << int(MEANTONE) << 4 << 550.0;
    }

    void tunedFreq()
    {
        QFETCH(int, tuning);
        QFETCH(int, ht);
        QFETCH(double, expected);
        SetTuning(Tuning(tuning));
        QVERIFY2(std::fabs(TunedFreq(ht) - expected) < 1e-9, qPrintable(QString::number(TunedFreq(ht))));
    }

    void chromaticLeavesTableAlone()
    {
        SetTuning(DIATONIC);
        QCOMPARE(s_tuning_ratios[7], 1.5);
        SetTuning(CHROMATIC);
        QCOMPARE(s_tuning_ratios[7], 1.5);
        // ...but every conversion is equal-tempered again.
        QCOMPARE(NearestSemitone(660.0), 7); // 12*log2(1.5) = 7.02
        QVERIFY(std::fabs(TunedFreq(7) - 440.0 * std::pow(2.0, 7.0 / 12.0)) < 1e-9);
        SetTuning(Tuning(9)); // out of range: only the variable changes
        QCOMPARE(int(GetTuning()), 9);
        QCOMPARE(s_tuning_ratios[7], 1.5);
    }

    void noteNames_data()
    {
        QTest::addColumn<int>("ht");
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("transposition");
        QTest::addColumn<bool>("octave");
        QTest::addColumn<QString>("expected");
        QTest::newRow("A4") << 0 << int(LOCAL_ANGLO) << 0 << true << "A4";
        QTest::newRow("C5") << 3 << int(LOCAL_ANGLO) << 0 << true << "C5";
        QTest::newRow("G#4") << -1 << int(LOCAL_ANGLO) << 0 << true << QString::fromUtf8("G\u266F4");
        QTest::newRow("B3") << -10 << int(LOCAL_ANGLO) << 0 << true << "B3";
        QTest::newRow("C4") << -9 << int(LOCAL_ANGLO) << 0 << true << "C4";
        QTest::newRow("A0") << -48 << int(LOCAL_ANGLO) << 0 << true << "A0";
        QTest::newRow("negative octave") << -60 << int(LOCAL_ANGLO) << 0 << true << "A-1";
        QTest::newRow("german A") << 0 << int(LOCAL_GERMAN) << 0 << false << "A";
        QTest::newRow("german B") << 1 << int(LOCAL_GERMAN) << 0 << false << "B";
        QTest::newRow("german H") << 2 << int(LOCAL_GERMAN) << 0 << false << "H";
        QTest::newRow("latin Si4") << 0 << int(LOCAL_LATIN) << 2 << true << "Si4";
        // Transposition 3 moves A4 to C, which starts octave 5.
        QTest::newRow("latin Do5") << 0 << int(LOCAL_LATIN) << 3 << true << "Do5";
        QTest::newRow("latin Sol#") << 11 << int(LOCAL_LATIN) << 0 << false << QString::fromUtf8("Sol\u266F");
        QTest::newRow("hindustani S") << 3 << int(LOCAL_HINDUSTANI) << 0 << false << "S";
        QTest::newRow("hindustani d") << 11 << int(LOCAL_HINDUSTANI) << 0 << true << "d5";
        QTest::newRow("byzantine Vou flat")
            << 6 << int(LOCAL_BYZANTINE) << 0 << true << QString::fromUtf8("Vou\u266D5");
        QTest::newRow("byzantine Ke") << 12 << int(LOCAL_BYZANTINE) << 0 << true << "Ke5";
        QTest::newRow("bad style") << 0 << 7 << 0 << true << "Th#1138";
        QTest::newRow("no-note index") << NO_SEMITONE << int(LOCAL_ANGLO) << 0 << true << "F-79";
    }

    void noteNames()
    {
        QFETCH(int, ht);
        QFETCH(int, style);
        QFETCH(int, transposition);
        QFETCH(bool, octave);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(GetNoteName(ht, NotesName(style), transposition, octave)), expected);
    }

    void hannWindow()
    {
        const auto w = HannWindow(2048);
        QCOMPARE(int(w.size()), 2048);
        QCOMPARE(w.front(), 0.0);
        QVERIFY(std::fabs(w.back()) < 1e-18);
        double sum = 0;
        for (double x : w)
            sum += x;
        // sum_j (1 - cos(2 pi j/(n-1))) = n - 1 over j = 0..n-1, hence the sum is 1.
        QVERIFY(std::fabs(sum - 1.0) < 1e-12);
        // Symmetric, peak 2/(n-1) in the middle.
        QVERIFY(std::fabs(w[100] - w[2047 - 100]) < 1e-15);
        QVERIFY(std::fabs(HannWindow(3)[1] - 1.0) < 1e-15);
        QVERIFY(HannWindow(0).empty());
        for (double x : HannWindow(1))
            QVERIFY(std::isfinite(x));
    }

    void listeners()
    {
        std::vector<int> order;
        CountingListener a, b;
        a.id = 1;
        b.id = 2;
        a.order = b.order = &order;
        SetSamplingRate(44100);
        QCOMPARE(GetSamplingRate(), 44100);
        QCOMPARE(order, (std::vector<int>{1, 2}));
        AddSettingsListener(&a); // already registered: no second call
        SetAFreq(442.0);
        QCOMPARE(a.afreq, 1);
        SetSemitoneBounds(-36, 48);
        QCOMPARE(b.bounds, 1);
        QCOMPARE(GetSemitoneMin(), -36);
        {
            CountingListener c;
            SetSamplingRate(48000);
            QCOMPARE(c.rate, 1);
        }
        // The destroyed listener is gone; the others still hear.
        SetSamplingRate(96000);
        QCOMPARE(a.rate, 3);
        RemoveSettingsListener(&b);
        SetSamplingRate(44100);
        QCOMPARE(b.rate, 3);
        QCOMPARE(a.rate, 4);
    }
};

QTEST_APPLESS_MAIN(TestPitchModel)
#include "tst_pitchmodel.moc"
