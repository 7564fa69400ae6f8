#include <QtTest>

#include "Music/MonoQuantizer.h"
#include "Music/Music.h"
#include "PitchModelReset.h"

#include <cmath>
#include <vector>

using namespace Music;

namespace {

// One note event: 'S' started, 'F' finished.
struct Event
{
    char kind;
    double freq;
    double dt;
};

// Records the events of a quantizer in the order they are emitted.
class Recorder
{
public:
    explicit Recorder(MonoQuantizer& q)
    {
        QObject::connect(&q, &MonoQuantizer::noteStarted, [this](double f, double dt) {
            events.push_back({'S', f, dt});
        });
        QObject::connect(&q, &MonoQuantizer::noteFinished, [this](double f, double dt) {
            events.push_back({'F', f, dt});
        });
    }
    std::vector<Event> take()
    {
        std::vector<Event> e;
        e.swap(events);
        return e;
    }
    std::vector<Event> events;
};

bool Near(double a, double b, double tol = 1e-9)
{
    return std::fabs(a - b) <= tol;
}

// "S440,F0" style summary of events, frequencies rounded to 0.01 Hz.
QString Summary(const std::vector<Event>& events)
{
    QStringList parts;
    for (const Event& e : events)
        parts << QString("%1%2@%3").arg(e.kind).arg(std::round(e.freq * 100) / 100).arg(e.dt);
    return parts.join(',');
}

} // namespace

class TestQuantizer : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetPitchModel(-1, -48, 48); }

    void defaults()
    {
        DummyMonoQuantizer d;
        LatencyMonoQuantizer l;
        QCOMPARE(d.m_min_confidence, 0.0);
        QCOMPARE(d.m_confidence, 1.0);
        QCOMPARE(d.m_quantized_freq, 0.0);
        QCOMPARE(d.m_avg_freq, 0.0);
        QCOMPARE(l.m_latency, 125.0f);
        QVERIFY(l.m_values.empty());
        QVERIFY(l.m_time.isValid());
    }

    // Each row: inputs fed one by one; the events of the whole run and the
    // final state. 466.16 Hz is B-flat 4 = 440 * 2^(1/12) = 466.1638.
    void dummy_data()
    {
        QTest::addColumn<QVector<double>>("inputs");
        QTest::addColumn<QString>("events");
        QTest::addColumn<double>("final_note");
        QTest::addColumn<double>("final_avg");

        QTest::newRow("440 441 0") << QVector<double>{440, 441, 0} << "S440@0,F0@0" << 0.0 << 0.0;
        QTest::newRow("440 466.16") << QVector<double>{440, 466.16} << "S440@0,F440@0,S466.16@0"
                                    << 466.1637615180899 << 466.16;
        QTest::newRow("0 only") << QVector<double>{0, 0} << "" << 0.0 << 0.0;
        // Negative and non-finite estimates count as no pitch.
        QTest::newRow("440 NaN") << QVector<double>{440, std::nan("")} << "S440@0,F0@0" << 0.0 << 0.0;
        QTest::newRow("-440") << QVector<double>{-440} << "" << 0.0 << 0.0;
        QTest::newRow("inf") << QVector<double>{HUGE_VAL} << "" << 0.0 << 0.0;
    }

    void dummy()
    {
        QFETCH(QVector<double>, inputs);
        QFETCH(QString, events);
        QFETCH(double, final_note);
        QFETCH(double, final_avg);
        DummyMonoQuantizer q;
        Recorder rec(q);
        for (double f : inputs) {
            q.quantize(f);
            // m_avg_freq follows the input (sanitised) each time.
            QCOMPARE(q.m_avg_freq, (std::isfinite(f) && f > 0) ? f : 0.0);
            QVERIFY(std::isfinite(q.m_quantized_freq));
        }
        QCOMPARE(Summary(rec.events), events);
        QVERIFY(Near(q.m_quantized_freq, final_note));
        QCOMPARE(q.m_avg_freq, final_avg);
        QCOMPARE(q.m_confidence, 1.0);
    }

    void dummyReset()
    {
        DummyMonoQuantizer q;
        Recorder rec(q);
        q.quantize(440.0);
        q.reset();
        QCOMPARE(Summary(rec.events), QString("S440@0,F0@0"));
        QCOMPARE(q.m_quantized_freq, 0.0);
        QCOMPARE(q.m_avg_freq, 0.0);
    }

    void latencyFirstVotesAlone()
    {
        double now = 1000.0;
        LatencyMonoQuantizer q;
        q.setClock([&now] { return now; });
        Recorder rec(q);
        q.quantize(440.0);
        QCOMPARE(q.m_confidence, 1.0);
        QCOMPARE(q.m_quantized_freq, 440.0);
        QCOMPARE(q.m_avg_freq, 440.0);
        QCOMPARE(Summary(rec.take()), QString("S440@0"));
        QCOMPARE(int(q.m_values.size()), 1);
        QCOMPARE(q.m_values.front().time, 1000.0);
        QCOMPARE(q.m_values.front().freq, 440.0);
        QCOMPARE(q.m_values.front().weight, 1.0);
    }

    void latencyMajority()
    {
        // Records (newest first) 466, 440, 440 within 125 ms: 440 has 2 votes,
        // so it wins with confidence 2/3; m_avg_freq is the mean of the 440 Hz
        // records, (439 + 441) / 2 = 440.
        double now = 0.0;
        LatencyMonoQuantizer q;
        q.setClock([&now] { return now; });
        Recorder rec(q);
        q.quantize(439.0);
        now = 20;
        q.quantize(441.0);
        QCOMPARE(Summary(rec.take()), QString("S440@0"));
        now = 40;
        q.quantize(466.0);
        QVERIFY(rec.events.empty());
        QCOMPARE(q.m_quantized_freq, 440.0);
        QVERIFY(Near(q.m_confidence, 2.0 / 3.0));
        QCOMPARE(q.m_avg_freq, 440.0);
        QCOMPARE(int(q.m_values.size()), 3);
    }

    void latencyChange()
    {
        // 440 at t = 0, 20; then 466.16 at 40, 60. At 40 the walk (newest
        // first) counts 466.16: 1, 440: 1, 440: 2 > 1 -> 440 stays. At 60:
        // 466.16: 1, 466.16: 2 > 1 -> winner 466.16; 440 reaches 2, not more:
        // the change is back-dated by half the memory's span, age 60 - 0 = 60
        // -> dt = -30; confidence 2/4.
        double now = 0.0;
        LatencyMonoQuantizer q;
        q.setClock([&now] { return now; });
        Recorder rec(q);
        q.quantize(440.0);
        now = 20;
        q.quantize(440.0);
        now = 40;
        q.quantize(466.16);
        QCOMPARE(Summary(rec.take()), QString("S440@0"));
        now = 60;
        q.quantize(466.16);
        QCOMPARE(Summary(rec.take()), QString("F440@-30,S466.16@-30"));
        QCOMPARE(q.m_avg_freq, 466.16);
        QCOMPARE(q.m_confidence, 0.5);
    }

    void latencySilenceOutvotes()
    {
        // Silence records outvote a new note until the note's records outnumber
        // them: 0 at 0, 20, 40, then 440 at 60, 80, 100. At 60: 440: 1, then 0
        // reaches 2 > 1 and 3 -> no note, confidence 3/4. At 80: 440: 2, 0: 3
        // -> no note. At 100: 440 reaches 3 first, 0 only ties it -> 440
        // starts, confidence 3/6, dt = -age * m_min_confidence = 0.
        double now = 0.0;
        LatencyMonoQuantizer q;
        q.setClock([&now] { return now; });
        Recorder rec(q);
        for (double t : {0.0, 20.0, 40.0}) {
            now = t;
            q.quantize(0.0);
        }
        QVERIFY(rec.events.empty());
        now = 60;
        q.quantize(440.0);
        QCOMPARE(q.m_quantized_freq, 0.0);
        QCOMPARE(q.m_confidence, 0.75);
        now = 80;
        q.quantize(440.0);
        QCOMPARE(q.m_quantized_freq, 0.0);
        QVERIFY(rec.events.empty());
        now = 100;
        q.quantize(440.0);
        QCOMPARE(Summary(rec.take()), QString("S440@0"));
        QCOMPARE(q.m_confidence, 0.5);
    }

    void latencyDropAfterDecision_data()
    {
        QTest::addColumn<float>("latency");
        QTest::addColumn<double>("second_time");
        QTest::addColumn<int>("kept");
        // Record at 0, then at t: after the decision the record at 0 goes when
        // t - 0 > latency (strictly).
        QTest::newRow("125, at 125: kept") << 125.0f << 125.0 << 2;
        QTest::newRow("125, at 126: dropped") << 125.0f << 126.0 << 1;
        // Latency 0: the record just pushed has age 0, never dropped.
        QTest::newRow("0, same time") << 0.0f << 0.0 << 2;
        QTest::newRow("0, later") << 0.0f << 1.0 << 1;
    }

    void latencyDropAfterDecision()
    {
        QFETCH(float, latency);
        QFETCH(double, second_time);
        QFETCH(int, kept);
        double now = 0.0;
        LatencyMonoQuantizer q;
        q.m_latency = latency;
        q.setClock([&now] { return now; });
        Recorder rec(q);
        q.quantize(440.0);
        now = second_time;
        // Records 0 (now) and 440 (at 0): 1 to 1, the newest wins and the note
        // ends. Confidence 1/2 shows the old record voted even where it is
        // dropped afterwards (dropped before the vote it would be 1/1).
        q.quantize(0.0);
        QCOMPARE(q.m_confidence, 0.5);
        QCOMPARE(int(q.m_values.size()), kept);
        QCOMPARE(q.m_values.front().freq, 0.0);
    }

    void latencyReset()
    {
        double now = 0.0;
        LatencyMonoQuantizer q;
        q.setClock([&now] { return now; });
        Recorder rec(q);
        q.quantize(440.0);
        now = 20;
        q.quantize(440.0);
        rec.take();
        // The 0 estimate loses the vote 1 to 2: the note is kept, the memory
        // emptied.
        now = 40;
        q.reset();
        QVERIFY(rec.events.empty());
        QCOMPARE(q.m_quantized_freq, 440.0);
        QCOMPARE(q.m_avg_freq, 0.0);
        QCOMPARE(q.m_confidence, 1.0);
        QVERIFY(q.m_values.empty());
        // The next estimate votes alone.
        now = 60;
        q.quantize(0.0);
        QCOMPARE(Summary(rec.take()), QString("F0@0"));
    }

    void minConfidence()
    {
        // m_min_confidence 0.5: a start from silence is back-dated by age *
        // 0.5, and a decision at confidence 0.5 is not confident (not > 0.5).
        double now = 0.0;
        LatencyMonoQuantizer q;
        q.m_min_confidence = 0.5;
        q.setClock([&now] { return now; });
        Recorder rec(q);
        q.quantize(0.0);
        now = 40;
        q.quantize(440.0); // 1 vs 1, confidence 0.5: not confident, no note
        QVERIFY(rec.events.empty());
        now = 80;
        q.quantize(440.0); // 440 x2 of 3, confidence 2/3; age 80 -> dt -40
        QCOMPARE(Summary(rec.take()), QString("S440@-40"));
        now = 100;
        q.quantize(0.0); // 440 x2, 0 x2 of 4 (0.5): not confident, ends: age 100 - 0 = 100
        QCOMPARE(Summary(rec.take()), QString("F0@-50"));
    }

    void wallClockDefault()
    {
        // Without a clock the wall clock stamps the records; an empty function
        // restores it after a custom one.
        LatencyMonoQuantizer q;
        q.setClock([] { return 1.0e6; });
        QCOMPARE(q.now(), 1.0e6);
        q.setClock({});
        QVERIFY(q.now() >= 0.0 && q.now() < 1.0e6);
    }

    void nonChromatic_data()
    {
        QTest::addColumn<int>("tuning");
        QTest::addColumn<bool>("latency");
        QTest::addColumn<double>("input");
        QTest::addColumn<double>("note");
        for (int t = int(WERCKMEISTER3); t <= int(MEANTONE); ++t) {
            const QByteArray name = QByteArray::number(t);
            QTest::newRow("dummy 0, tuning " + name) << t << false << 0.0 << 0.0;
            QTest::newRow("latency 0, tuning " + name) << t << true << 0.0 << 0.0;
            QTest::newRow("dummy 1 Hz, tuning " + name) << t << false << 1.0 << 0.0;
            QTest::newRow("latency 1 Hz, tuning " + name) << t << true << 1.0 << 0.0;
        }
        // Diatonic, 660 Hz: r = 1.5 -> semitone 7. The latency quantizer gives
        // the tuned 440 * 1.5 = 660; the pass-through one the equal-tempered
        // 440 * 2^(7/12) = 659.2551.
        QTest::newRow("latency diatonic 660") << int(DIATONIC) << true << 660.0 << 660.0;
        QTest::newRow("dummy diatonic 660") << int(DIATONIC) << false << 660.0 << 659.2551138257398;
        // Below the note range (-48: 27.5 Hz): 20 Hz is semitone -55.5 -> no
        // note for the latency quantizer, an equal-tempered note for the other.
        QTest::newRow("latency below range") << int(DIATONIC) << true << 20.0 << 0.0;
    }

    void nonChromatic()
    {
        QFETCH(int, tuning);
        QFETCH(bool, latency);
        QFETCH(double, input);
        QFETCH(double, note);
        SetTuning(Tuning(tuning));
        double now = 0.0;
        DummyMonoQuantizer d;
        LatencyMonoQuantizer l;
        l.setClock([&now] { return now; });
        MonoQuantizer& q = latency ? static_cast<MonoQuantizer&>(l) : d;
        Recorder rec(q);
        q.quantize(input);
        QVERIFY(Near(q.m_quantized_freq, note, 1e-9));
        QCOMPARE(int(rec.events.size()), note > 0 ? 1 : 0);
        SetTuning(CHROMATIC);
    }
};

QTEST_GUILESS_MAIN(TestQuantizer)
#include "tst_quantizer.moc"
