#ifndef ORFE_TUNERTESTUTIL_H
#define ORFE_TUNERTESTUTIL_H

// Helpers for the tuner tests: a private settings folder with a pre-written
// store, the status colour of the window, the dial's needle on real pixels, and
// a tone player (orfe-jack-tones, a real JACK client) run as a child process.

#include "CustomInstrumentTunerForm.h"
#include "DialView.h"
#include "Music/Music.h"
#include "PitchModelReset.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <memory>

namespace tunertest {

// A build with a sanitizer runs the tuner several times slower: the waits for what
// it shows grow with it (a wait that runs out is a failure, a long one costs nothing
// when the tuner is quick).
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int WAIT_FACTOR = 3;
#else
constexpr int WAIT_FACTOR = 1;
#endif

const QColor RED(180, 74, 74);
const QColor GREY(128, 128, 128);
const QColor ORANGE(208, 146, 0);
const QColor GREEN(83, 165, 105);
const QColor NEEDLE(64, 64, 64);

// A temporary settings folder for the window's store, which is
// <folder>/orfe/orfe.conf.
class SettingsFolder
{
public:
    SettingsFolder()
    {
        QVERIFY(m_dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    }
    // Writes the store: `lines` go under the program's group.
    void write(const QByteArray& lines)
    {
        QDir().mkpath(m_dir.path() + "/orfe");
        QFile f(m_dir.path() + "/orfe/orfe.conf");
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[orfe009801]\n" + lines);
    }

private:
    QTemporaryDir m_dir;
};

inline QColor statusColour(const CustomInstrumentTunerForm& w)
{
    const QLabel* l = w.ui_lblSoundStability;
    return l->palette().color(QPalette::Active, l->backgroundRole());
}

inline bool hasColour(const QImage& img, int x, int y, const QColor& c, int radius)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const int px = x + dx, py = y + dy;
            if (px < 0 || py < 0 || px >= img.width() || py >= img.height()) continue;
            if (QColor(img.pixel(px, py)) == c) return true;
        }
    return false;
}

// Where the dial draws the point at `fraction` of the way from the pivot to the
// needle's tip for an error of `error` semitones, by the dial's drawing rules:
// offset angle 150 k error degrees (k = 50 / scale in cents mode); tip on the
// ellipse (rx - 4, ry - 4) with rx = A/2 - fh - m, ry = R - fh - m, m = R/10;
// the pivot at the middle of the bottom edge (landscape) or of the right edge,
// the fan turned by -90 degrees (portrait).
inline QPoint needlePoint(const DialView& dial, double error, double fraction)
{
    const int W = dial.width(), H = dial.height();
    const int fh = QFontMetrics(dial.font()).height();
    const bool landscape = W >= H;
    const int A = landscape ? W : H, R = landscape ? H : W;
    const int m = R / 10;
    const int rx = A / 2 - fh - m, ry = R - fh - m;
    const double k = 50.0 / dial.spinScale->value();
    const double delta = 150.0 * k * error * M_PI / 180.0;
    const double x = fraction * (rx - 4) * std::sin(delta);  // local, y down
    const double y = -fraction * (ry - 4) * std::cos(delta); // towards the tip
    if (landscape) return QPoint(int(std::lround(W / 2 + x)), int(std::lround(H + y)));
    // rotate(-90): (x, y) -> (y, -x), then the pivot (W, H/2).
    return QPoint(int(std::lround(W + y)), int(std::lround(H / 2 - x)));
}

// Whether the dial's needle passes within 2 pixels of its point at 60 % of
// the way to the tip for `error` (the thick part of the needle).
inline bool needleDrawnAt(DialView& dial, double error)
{
    const QImage img = dial.grab().toImage();
    const QPoint p = needlePoint(dial, error, 0.6);
    return hasColour(img, p.x(), p.y(), NEEDLE, 2);
}

// Ends a child process: politely, then by force; forgets it.
inline void stopProcess(std::unique_ptr<QProcess>& process)
{
    if (!process) return;
    if (process->state() != QProcess::NotRunning) {
        process->terminate();
        if (!process->waitForFinished(5000)) {
            process->kill();
            process->waitForFinished(2000);
        }
    }
    process.reset();
}

#ifdef ORFE_JACK_TONES
// orfe-jack-tones as a child process: a real JACK client "<name>" with an
// output port "out" that plays tones, connected to `connect` (empty: to nothing)
// whenever that port exists.
class TonePlayer
{
public:
    ~TonePlayer() { stop(); }

    // Returns when the player has activated its client (it says so on its output).
    bool start(const QString& name, const QStringList& tone_args, const QString& connect = "orfe:input")
    {
        stop();
        m_process = std::make_unique<QProcess>();
        m_process->setProcessChannelMode(QProcess::MergedChannels);
        // A minute outlasts any one test; the player computes its whole tone before it
        // starts, which for ten minutes takes over 10 s on a loaded machine.
        QStringList args{"--name", name, "--connect", connect, "--seconds", "60", "--gap", "0"};
        args << tone_args;
        m_process->start(QStringLiteral(ORFE_JACK_TONES), args);
        if (!m_process->waitForStarted(5000)) return false;
        // The player synthesises all its sound before it activates its client:
        // 600 s of tone take several seconds, over 10 on a busy machine.
        QByteArray out;
        for (int i = 0; i < 600 && !out.contains("playing"); ++i) {
            m_process->waitForReadyRead(100);
            out += m_process->readAll();
            if (m_process->state() != QProcess::Running) break;
        }
        if (!out.contains("playing")) qWarning("orfe-jack-tones did not start: %s", out.constData());
        return out.contains("playing");
    }

    // Ends the player (its client leaves the server, its connections go).
    void stop() { stopProcess(m_process); }

private:
    std::unique_ptr<QProcess> m_process;
};
#endif

} // namespace tunertest

#endif
