// Tuner figures from inside the running tuner (its main window in this process,
// on the display of $DISPLAY or on Qt's offscreen platform, capturing from the
// JACK server named by $JACK_DEFAULT_SERVER), at factory settings but the
// transport, from a settings folder of our own.
//
// Latency: the time from a note starting in the JACK server to the main
// window's note label showing it. A source client of our own plays a sequence
// of notes into the tuner's input, each after a silence, changing note every
// time so that the label changes with each one. Its process callback stamps the
// JACK time of the first frame of each note; the window's quantizer announces
// the note start (the window's own slot has set the label by then) and we stamp
// the JACK time of that. Prints one line per note and the median and maximum.
// Target: median and maximum at most 250 ms.
//
// Status: over SECONDS (after 4 s of start-up) of sound played by another
// client (orfe-jack-tones connects itself to orfe:input), the number of
// analysis cycles, of cycles that left the status label red, and of cycles that
// came more than 8 refresh periods after the previous one (which turns it red
// too), with the longest gap. The optional views named (by their display names,
// e.g. "Fourier Transform") are shown, every other optional view hidden.
//
// Usage: bench_tuner [NOTES]                       latency (default 20 notes)
//        bench_tuner --status SECONDS [VIEW...]     status
#include "CustomInstrumentTunerForm.h"
#include "ToneSynth.h"
#include "View.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <jack/jack.h>
#include <vector>

namespace {

struct Note
{
    double freq;
    const char* name;
};

// A4, C5, E4, G4 in turn: each differs from the one before.
const Note NOTES[] = {{440.0, "A4"}, {523.2511, "C5"}, {329.6276, "E4"}, {391.9954, "G4"}};
const double TONE_S = 1.0;
const double GAP_S = 0.6;

struct Source
{
    jack_client_t* client = nullptr;
    jack_port_t* port = nullptr;
    std::vector<float> sound;         // rendered before activation
    std::vector<size_t> starts;       // first frame of each note in `sound`
    std::vector<jack_time_t> started; // JACK time of each note's first frame
    std::atomic<size_t> pos{0};
    std::atomic<int> notes_started{0};

    // Real-time thread: copies the rendered sound and stamps note starts. No
    // lock, no allocation, no output.
    static int process(jack_nframes_t n, void* arg)
    {
        auto* s = static_cast<Source*>(arg);
        auto* out = static_cast<float*>(jack_port_get_buffer(s->port, n));
        size_t pos = s->pos.load(std::memory_order_relaxed);
        const jack_nframes_t cycle = jack_last_frame_time(s->client);
        int k = s->notes_started.load(std::memory_order_relaxed);
        for (jack_nframes_t i = 0; i < n; ++i) {
            if (size_t(k) < s->starts.size() && pos == s->starts[size_t(k)]) {
                s->started[size_t(k)] = jack_frames_to_time(s->client, cycle + i);
                ++k;
                s->notes_started.store(k, std::memory_order_release);
            }
            out[i] = pos < s->sound.size() ? s->sound[pos] : 0.0f;
            ++pos;
        }
        s->pos.store(pos, std::memory_order_relaxed);
        return 0;
    }
};

// Factory settings but the transport (JACK, no auto-detection), in the
// settings folder `dir`; `shown` lists the optional views to show, or, when
// `all_views` is false, leaves every view at its factory state.
void WriteSettings(const QTemporaryDir& dir, bool all_views, const QStringList& shown)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    QSettings s(dir.path() + "/orfe/orfe.conf", QSettings::IniFormat);
    s.setValue("orfe009801/ui_cbTransports", "JACK");
    s.setValue("orfe009801/Auto/ui_chkAutoDetect", false);
    if (!all_views) return;
    for (const char* view : {"Captured Sound", "Error history", "Volume history", "Waveform", "Harmonics",
                             "Fourier Transform", "Statistics"})
        s.setValue(QStringLiteral("orfe009801/%1/show").arg(QLatin1String(view)),
                   shown.contains(QLatin1String(view)));
}

int Status(QApplication& app, double seconds, const QStringList& shown)
{
    QTemporaryDir dir;
    WriteSettings(dir, true, shown);
    auto* window = new CustomInstrumentTunerForm();
    window->show();
    for (const QString& name : shown) {
        const bool known = std::any_of(View::s_views.begin(), View::s_views.end(),
                                       [&](View* v) { return v->m_name == name; });
        if (!known) {
            std::fprintf(stderr, "bench_tuner: no view named '%s'\n", qPrintable(name));
            return 2;
        }
    }

    // Runs right after each cycle (connected after the window's own slot). The
    // cycle restarted m_time_refresh when it began, so now minus its elapsed
    // time is when the cycle began; the cycle compared the same gap with
    // 8 refresh periods.
    QElapsedTimer clock;
    clock.start();
    const qint64 warmup_ns = 4000000000LL;
    const qint64 end_ns = warmup_ns + qint64(seconds * 1e9);
    qint64 previous_start = -1, longest = 0;
    long cycles = 0, red = 0, late = 0;
    QObject::connect(&window->m_timer_refresh, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        const qint64 start = now - window->m_time_refresh.nsecsElapsed();
        const qint64 gap = previous_start < 0 ? 0 : start - previous_start;
        previous_start = start;
        if (now < warmup_ns) return;
        if (now > end_ns) {
            app.quit();
            return;
        }
        ++cycles;
        const QColor shown_colour =
            window->ui_lblSoundStability->palette().color(window->ui_lblSoundStability->backgroundRole());
        if (shown_colour == CustomInstrumentTunerForm::STATUS_RED) ++red;
        const double period_ns = 1e6 * window->m_config_form.ui_spinRefreshTime->value();
        if (double(gap) > 8 * period_ns) ++late;
        longest = std::max(longest, gap);
    });
    app.exec();
    std::printf("status over %.0f s, views shown: %s: %ld cycles, %ld red (%.2f %%), %ld late by more than "
                "8 refresh periods, longest gap %.1f ms\n",
                seconds, shown.isEmpty() ? "dial only" : qPrintable(shown.join(", ")), cycles, red,
                cycles ? 100.0 * double(red) / double(cycles) : 0.0, late, double(longest) / 1e6);
    delete window;
    return cycles > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(orfe);

    if (argc > 2 && std::strcmp(argv[1], "--status") == 0) {
        QStringList shown;
        for (int i = 3; i < argc; ++i)
            shown << QString::fromLocal8Bit(argv[i]);
        return Status(app, std::max(1.0, std::atof(argv[2])), shown);
    }
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    QTemporaryDir dir;
    WriteSettings(dir, false, {});

    Source src;
    src.client = jack_client_open("orfe-bench-src", JackNoStartServer, nullptr);
    if (!src.client) {
        std::fprintf(stderr, "bench_tuner: no JACK server (set JACK_DEFAULT_SERVER)\n");
        return 1;
    }
    const int rate = int(jack_get_sample_rate(src.client));
    // Silence first, so that the tuner has started when the first note comes.
    src.sound.resize(size_t(3.0 * rate), 0.0f);
    for (int i = 0; i < count; ++i) {
        ToneSynth::Tone tone;
        tone.kind = ToneSynth::Kind::Harmonic;
        tone.f0 = NOTES[i % 4].freq;
        src.starts.push_back(src.sound.size());
        ToneSynth::append(src.sound, tone, rate, TONE_S);
        src.sound.resize(src.sound.size() + size_t(GAP_S * rate), 0.0f);
    }
    src.started.assign(size_t(count), 0);
    src.port = jack_port_register(src.client, "out", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
    jack_set_process_callback(src.client, &Source::process, &src);

    auto* window = new CustomInstrumentTunerForm();
    window->show();

    std::vector<jack_time_t> shown(size_t(count), 0);
    std::vector<bool> seen(size_t(count), false);
    // Connected after the window's own slot, so the label is set when this runs.
    QObject::connect(&window->m_latency_quantizer, &Music::MonoQuantizer::noteStarted, [&](double, double) {
        const jack_time_t now = jack_get_time();
        const int k = src.notes_started.load(std::memory_order_acquire) - 1;
        if (k < 0 || seen[size_t(k)]) return;
        if (window->ui_txtNote->text() == QLatin1String(NOTES[k % 4].name)) {
            shown[size_t(k)] = now;
            seen[size_t(k)] = true;
        }
    });

    if (jack_activate(src.client) != 0) {
        std::fprintf(stderr, "bench_tuner: cannot activate the source client\n");
        return 1;
    }
    const QByteArray own = QByteArray(jack_get_client_name(src.client)) + ":out";
    if (jack_connect(src.client, own.constData(), "orfe:input") != 0) {
        std::fprintf(stderr, "bench_tuner: cannot connect to orfe:input (is the tuner capturing?)\n");
        return 1;
    }

    QTimer done;
    QObject::connect(&done, &QTimer::timeout, [&] {
        if (src.pos.load() >= src.sound.size()) app.quit();
    });
    done.start(100);
    app.exec();
    jack_deactivate(src.client);

    std::vector<double> ms;
    for (int k = 0; k < count; ++k) {
        if (!seen[size_t(k)]) {
            std::printf("note %2d %s: not shown\n", k + 1, NOTES[k % 4].name);
            continue;
        }
        const double d = double(shown[size_t(k)] - src.started[size_t(k)]) / 1000.0;
        ms.push_back(d);
        std::printf("note %2d %s: %.1f ms\n", k + 1, NOTES[k % 4].name, d);
    }
    delete window;
    jack_client_close(src.client);
    if (ms.empty()) {
        std::printf("no note was shown\n");
        return 1;
    }
    std::sort(ms.begin(), ms.end());
    const double median =
        ms.size() % 2 ? ms[ms.size() / 2] : 0.5 * (ms[ms.size() / 2 - 1] + ms[ms.size() / 2]);
    std::printf("latency note start -> label over %zu of %d notes: median %.1f ms, max %.1f ms "
                "(target <= 250 ms)\n",
                ms.size(), count, median, ms.back());
    return ms.size() == size_t(count) ? 0 : 1;
}
