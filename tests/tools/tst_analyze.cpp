// The offline analyser as a user runs it: a real executable on real audio files.

#include <QtTest>

#include "RunProgram.h"
#include "ToneSynth.h"

#include <sndfile.h>

#include <cmath>

namespace {

using Run = RunResult;

Run analyze(const QStringList& args)
{
    return RunProgram(ORFE_ANALYZE, args);
}

bool writeWav(const QString& path, const std::vector<float>& mono, int rate, int channels = 1,
              float second_channel_gain = 0.0f)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* f = sf_open(path.toLocal8Bit().constData(), SFM_WRITE, &info);
    if (!f) return false;
    std::vector<float> frames(mono.size() * size_t(channels));
    for (size_t i = 0; i < mono.size(); ++i) {
        frames[i * size_t(channels)] = mono[i];
        if (channels > 1) frames[i * size_t(channels) + 1] = mono[i] * second_channel_gain;
    }
    const bool ok = sf_writef_float(f, frames.data(), sf_count_t(mono.size())) == sf_count_t(mono.size());
    sf_close(f);
    return ok;
}

std::vector<float> harmonicTone(double f0, double seconds, int rate = 44100)
{
    ToneSynth::Tone t;
    t.kind = ToneSynth::Kind::Harmonic;
    t.f0 = f0;
    t.harmonics = 6;
    return ToneSynth::render(t, rate, seconds);
}

// Rows of the CSV after the header, split into fields.
QList<QStringList> rows(const Run& r)
{
    QList<QStringList> result;
    for (int i = 1; i < r.out.size(); ++i)
        result << r.out[i].split(',');
    return result;
}

} // namespace

class TestAnalyze : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_a4;
    QString m_scale; // "Steps": 3/2 and 150.5 cents

    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_a4 = path("a4.wav");
        QVERIFY(writeWav(m_a4, harmonicTone(440.0, 1.5), 44100));
        m_scale = path("steps.scl");
        QFile scale(m_scale);
        QVERIFY(scale.open(QIODevice::WriteOnly));
        scale.write("Steps\n2\n3/2\n150.5\n");
    }

    // A tone played at a degree of the scale is named after it and measured
    // against it. C4 = 440 x 2^(-9/12) = 261.6256 Hz; its just fifth 3/2 is
    // 392.4383 Hz (the tempered G4, 391.9954 Hz, is 1.96 cents lower); 150.5
    // cents above C4 is 261.6256 x 2^(150.5/1200) = 285.3816 Hz; the fifth an
    // octave lower, 196.2192 Hz, lies in the root's octave below. With the root
    // D4 = 440 x 2^(-7/12) = 293.6648 Hz the 392.4383 Hz tone lies
    // 1200 log2(392.4383 / 293.6648) = 502.0 cents above it: 200 cents from 3/2
    // (702), 351.5 from 150.5, 502 from the root; so D4+3/2, 440.4972 Hz.
    void scaleDegrees_data()
    {
        QTest::addColumn<double>("tone");
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("note");
        QTest::addColumn<double>("target");
        QTest::newRow("just fifth") << 392.4383 << "C4"
                                    << "C4+3/2" << 392.4383;
        QTest::newRow("cents degree") << 285.3816 << "C4"
                                      << "C4+150.5" << 285.3816;
        QTest::newRow("octave below") << 196.2192 << "C4"
                                      << "C3+3/2" << 196.2192;
        QTest::newRow("the root") << 523.2511 << "C4"
                                  << "C5" << 523.2511;
        QTest::newRow("tempered fifth") << 391.9954 << "C4"
                                        << "C4+3/2" << 392.4383;
        QTest::newRow("other root") << 392.4383 << "D4"
                                    << "D4+3/2" << 440.4972;
    }

    void scaleDegrees()
    {
        QFETCH(double, tone);
        QFETCH(QString, root);
        QFETCH(QString, note);
        QFETCH(double, target);
        const QString file = path(QString("tone%1.wav").arg(tone));
        QVERIFY(writeWav(file, harmonicTone(tone, 1.0), 44100));
        const Run r = analyze({"--scale", m_scale, "--root", root, file});
        QCOMPARE(r.status, 0);
        int held = 0;
        for (const QStringList& f : rows(r)) {
            if (f.value(2).isEmpty()) continue;
            ++held;
            QCOMPARE(f.value(2), note);
            if (target > 0.0)
                QVERIFY2(std::fabs(f.value(3).toDouble() - target) < 0.01, qPrintable(f.join(',')));
            if (target == tone) QVERIFY2(std::fabs(f.value(4).toDouble()) < 0.5, qPrintable(f.join(',')));
        }
        QVERIFY(held > 10);
    }

    void namesA4WithinATenthOfACent()
    {
        const Run r = analyze({m_a4});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out.value(0), QString("time_s,frequency_hz,note,target_hz,error_cents,volume_db"));
        int held = 0;
        double last_time = 0;
        std::vector<double> errors;
        for (const QStringList& f : rows(r)) {
            QCOMPARE(f.size(), 6);
            const double t = f[0].toDouble();
            QVERIFY(t > last_time); // file time moves forward
            last_time = t;
            if (f[2].isEmpty()) continue;
            QCOMPARE(f[2], QString("A4"));
            QCOMPARE(f[3].toDouble(), 440.0);
            if (t > 0.3) {
                ++held;
                errors.push_back(std::fabs(f[4].toDouble()));
                QVERIFY2(errors.back() < 0.5, qPrintable(f.join(',')));
                QVERIFY(std::fabs(f[1].toDouble() - 440.0) < 440.0 * (std::pow(2.0, 0.5 / 1200) - 1));
            }
        }
        // 1.2 s of held note at one row every 20 ms
        QVERIFY2(held > 50, qPrintable(QString::number(held)));
        std::sort(errors.begin(), errors.end());
        QVERIFY2(errors[errors.size() / 2] < 0.1, qPrintable(QString::number(errors[errors.size() / 2])));
        // The sound lasts 1.5 s; the last row is the end of the drained sound.
        QVERIFY(std::fabs(last_time - 1.5) < 0.001);
        // The library's re-planning line goes to standard error, not into the CSV.
        QVERIFY(r.err.contains("CombedFT: INFO: window size="));
    }

    void options_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("note");
        QTest::addColumn<double>("target");
        QTest::newRow("latin") << QStringList{"--names", "latin"} << "La4" << 440.0;
        QTest::newRow("german transposed")
            << QStringList{"--names", "german", "--transposition", "2"} << "H4" << 440.0;
        // A reference of 442 Hz: 440 Hz is 7.85 cents flat of A4 = 442 Hz.
        QTest::newRow("a4 442") << QStringList{"--a4", "442"} << "A4" << 442.0;
        // 440 * 2^(-40/1200) = 429.95 Hz; 440 Hz is 40 cents sharp of that A.
        QTest::newRow("offset -40") << QStringList{"--offset-cents", "-40"} << "A4"
                                    << 440.0 * std::pow(2.0, -0.4 / 12);
        QTest::newRow("pass-through quantizer") << QStringList{"--latency-ms", "0"} << "A4" << 440.0;
        QTest::newRow("frequency refinement") << QStringList{"--refinement", "frequency"} << "A4" << 440.0;
        QTest::newRow("no refinement, no filter")
            << QStringList{"--refinement=none", "--range-filter=none"} << "A4" << 440.0;
        QTest::newRow("diatonic") << QStringList{"--tuning", "diatonic"} << "A4" << 440.0;
        QTest::newRow("partials detector") << QStringList{"--detector", "partials"} << "A4" << 440.0;
    }

    // However long the refresh, the analysis goes on to the end of the sound.
    void endsAtTheEndOfTheFile_data()
    {
        QTest::addColumn<int>("refresh");
        QTest::newRow("20 ms") << 20;
        QTest::newRow("1000 ms") << 1000;
        QTest::newRow("2000 ms") << 2000;
    }

    void endsAtTheEndOfTheFile()
    {
        QFETCH(int, refresh);
        const Run r = analyze({"--refresh-ms", QString::number(refresh), m_a4});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.size() > 1);
        // The file holds 1.5 s: 66150 frames at 44100 Hz.
        QCOMPARE(r.out.last().split(',')[0].toDouble(), 1.5);
    }

    // An unequal temperament's note is the target with either quantizer:
    // Werckmeister III's C5 is 440 * 1.19729 = 526.81 Hz, 11.7 cents above the
    // equal-tempered 440 * 2^(3/12) = 523.25 Hz; played there it is in tune.
    void unequalTemperamentTarget_data()
    {
        QTest::addColumn<QString>("latency");
        QTest::newRow("latency quantizer") << "125";
        QTest::newRow("pass-through quantizer") << "0";
    }

    void unequalTemperamentTarget()
    {
        QFETCH(QString, latency);
        const QString file = path("c5-werckmeister.wav");
        QVERIFY(writeWav(file, harmonicTone(526.81, 1.0), 44100));
        const Run r = analyze({"--tuning", "werckmeister3", "--latency-ms", latency, file});
        QCOMPARE(r.status, 0);
        int held = 0;
        for (const QStringList& f : rows(r)) {
            if (f[2].isEmpty() || f[0].toDouble() < 0.4) continue;
            ++held;
            QCOMPARE(f[2], QString("C5"));
            QVERIFY2(std::fabs(f[4].toDouble()) < 0.5, qPrintable(f.join(',')));
        }
        QVERIFY(held > 20);
    }

    void options()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, note);
        QFETCH(double, target);
        const Run r = analyze(args << m_a4);
        QCOMPARE(r.status, 0);
        int held = 0;
        for (const QStringList& f : rows(r)) {
            if (f[2].isEmpty() || f[0].toDouble() < 0.4) continue;
            ++held;
            QCOMPARE(f[2], note);
            QVERIFY(std::fabs(f[3].toDouble() - target) < 1e-4);
            const double expected_cents = 1200 * std::log2(440.0 / target);
            // The frequency-domain refinement is the least precise of the three
            // (about a cent on this tone); the others stay well inside half a cent.
            QVERIFY2(std::fabs(f[4].toDouble() - expected_cents) < 2.0, qPrintable(f.join(',')));
        }
        QVERIFY(held > 40);
    }

    void summary()
    {
        // Two notes: A4 then E5 (659.26 Hz), each 1 s.
        std::vector<float> s = harmonicTone(440.0, 1.0, 48000);
        const std::vector<float> e = harmonicTone(440.0 * std::pow(2.0, 7.0 / 12), 1.0, 48000);
        s.insert(s.end(), e.begin(), e.end());
        const QString two = path("two.wav");
        QVERIFY(writeWav(two, s, 48000));
        const Run r = analyze({"--summary", two});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out.value(0),
                 QString("file,note,start_s,duration_s,median_hz,median_error_cents,spread_cents"));
        const auto notes = rows(r);
        QCOMPARE(notes.size(), 2);
        QCOMPARE(notes[0][0], two);
        QCOMPARE(notes[0][1], QString("A4"));
        QCOMPARE(notes[1][1], QString("E5"));
        QVERIFY(notes[0][2].toDouble() < 0.3);                  // starts soon after the onset
        QVERIFY(std::fabs(notes[1][2].toDouble() - 1.0) < 0.3); // the change at 1 s
        QVERIFY(std::fabs(notes[0][4].toDouble() - 440.0) < 0.05);
        QVERIFY(std::fabs(notes[1][4].toDouble() - 659.255) < 0.05);
        QVERIFY(std::fabs(notes[0][5].toDouble()) < 0.1);
        QVERIFY(notes[0][6].toDouble() >= 0.0);
    }

    void stereoChannels()
    {
        // Second channel silent: mixing halves the level, -6.02 dB.
        const QString st = path("stereo.wav");
        QVERIFY(writeWav(st, harmonicTone(440.0, 1.0), 44100, 2, 0.0f));
        const Run first = analyze({st});
        const Run mixed = analyze({"--mix-channels", st});
        QCOMPARE(first.status, 0);
        QCOMPARE(mixed.status, 0);
        const auto a = rows(first), b = rows(mixed);
        QCOMPARE(a.size(), b.size());
        const QStringList& la = a.last();
        const QStringList& lb = b.last();
        QCOMPARE(la[2], QString("A4"));
        QCOMPARE(lb[2], QString("A4"));
        QVERIFY2(std::fabs(la[5].toDouble() - lb[5].toDouble() - 20 * std::log10(2.0)) < 0.02,
                 qPrintable(la[5] + " " + lb[5]));
    }

    void silenceHasNoNoteAndNoVolume()
    {
        const QString quiet = path("silence.wav");
        QVERIFY(writeWav(quiet, std::vector<float>(44100, 0.0f), 44100));
        const Run r = analyze({quiet});
        QCOMPARE(r.status, 0);
        QVERIFY(rows(r).size() > 40);
        for (const QStringList& f : rows(r))
            QCOMPARE(f.mid(1).join(','), QString(",,,,"));
    }

    void badInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file") << QStringList{"/nonexistent/x.wav"} << "/nonexistent/x.wav";
        QTest::newRow("not audio") << QStringList{"@text"} << "notaudio.txt";
        QTest::newRow("empty audio") << QStringList{"@empty"} << "contains no audio frames";
        QTest::newRow("unknown option")
            << QStringList{"--colour", "red", "@a4"} << "unknown option '--colour'";
        QTest::newRow("a4 too high") << QStringList{"--a4", "881", "@a4"} << "--a4";
        QTest::newRow("refresh 0") << QStringList{"--refresh-ms", "0", "@a4"} << "--refresh-ms";
        QTest::newRow("latency not a number") << QStringList{"--latency-ms", "12x", "@a4"} << "--latency-ms";
        QTest::newRow("bad tuning") << QStringList{"--tuning", "pythagorean", "@a4"} << "--tuning";
        QTest::newRow("bad detector") << QStringList{"--detector", "yin", "@a4"} << "--detector";
        QTest::newRow("min-ht -97") << QStringList{"--min-ht", "-97", "@a4"} << "--min-ht";
        QTest::newRow("value missing") << QStringList{"@a4", "--periods"} << "needs a value";
        QTest::newRow("no file") << QStringList{} << "no input file";
        QTest::newRow("a directory") << QStringList{"@dir"} << "not a regular file";
        // Rates a file may declare but no tuner captures at; the analysis would
        // crawl (1 Hz) or plan million-point transforms (2^31 - 1 Hz).
        QTest::newRow("unreadable scale") << QStringList{"--scale", "/nonexistent/s.scl", "@a4"}
                                          << "cannot read the scale '/nonexistent/s.scl'";
        QTest::newRow("unknown root") << QStringList{"--scale", "@scale", "--root", "H4", "@a4"} << "--root";
        QTest::newRow("root without scale") << QStringList{"--root", "C4", "@a4"} << "needs '--scale'";
        QTest::newRow("rate 1 Hz") << QStringList{"@rate1"} << "outside the 8000 to 192000 Hz";
        QTest::newRow("rate 4 Hz") << QStringList{"@rate4"} << "outside the 8000 to 192000 Hz";
        QTest::newRow("rate 2^31-1 Hz") << QStringList{"@rate2147483647"} << "outside the 8000 to 192000 Hz";
    }

    void badInput()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        QFile text(path("notaudio.txt"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("time,frequency\n1,2\n");
        text.close();
        QVERIFY(writeWav(path("empty.wav"), {}, 44100));
        for (QString& a : args) {
            if (a == "@text") a = path("notaudio.txt");
            if (a == "@empty") a = path("empty.wav");
            if (a == "@a4") a = m_a4;
            if (a == "@dir") a = m_dir.path();
            if (a == "@scale") a = m_scale;
            if (a.startsWith("@rate")) {
                const QString file = path(a.mid(1) + ".wav");
                QVERIFY(writeWav(file, std::vector<float>(2048, 0.25f), a.mid(5).toInt()));
                a = file;
            }
        }
        const Run r = analyze(args);
        QCOMPARE(r.status, 2);
        QVERIFY2(r.out.isEmpty(), qPrintable(r.out.join('\n')));
        const QStringList lines = r.err.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].startsWith("orfe-analyze: ") && lines[0].contains(message), qPrintable(lines[0]));
    }

    void severalFilesOneBad()
    {
        const Run r = analyze({m_a4, path("missing.wav"), m_a4});
        QCOMPARE(r.status, 2);
        QCOMPARE(r.out.value(0), QString("file,time_s,frequency_hz,note,target_hz,error_cents,volume_db"));
        int rows_a4 = 0;
        for (const QStringList& f : rows(r)) {
            QCOMPARE(f.size(), 7);
            QCOMPARE(f[0], m_a4); // nothing for the missing file
            ++rows_a4;
        }
        const Run single = analyze({m_a4});
        QCOMPARE(rows_a4, 2 * (single.out.size() - 1));
        QVERIFY(r.err.contains("missing.wav"));
    }

    void help()
    {
        const Run r = analyze({"--help"});
        QCOMPARE(r.status, 0);
        const QString text = r.out.join('\n');
        for (const char* opt : {"--refresh-ms", "--a4", "--offset-cents", "--min-ht", "--max-ht",
                                "--threshold-db", "--window-factor", "--audibility-db", "--refinement",
                                "--periods", "--harmonics", "--latency-ms", "--tuning", "--names",
                                "--transposition", "--range-filter", "--mix-channels", "--summary"})
            QVERIFY2(text.contains(opt), opt);
    }

    void toneTool()
    {
        // The generator used by the run script writes a file the analyser names.
        const QString out = path("tone.wav");
        QCOMPARE(QProcess::execute(ORFE_TONE, {"--freq", "110", "--seconds", "1", "--kind", "sine", out}), 0);
        const Run r = analyze({"--summary", out});
        QCOMPARE(r.status, 0);
        const auto notes = rows(r);
        QCOMPARE(notes.size(), 1);
        QCOMPARE(notes[0][1], QString("A2"));
    }
};

QTEST_GUILESS_MAIN(TestAnalyze)
#include "tst_analyze.moc"
