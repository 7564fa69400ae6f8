#ifndef MUSIC_MONOQUANTIZER_H
#define MUSIC_MONOQUANTIZER_H

// Note quantizers: they turn the stream of raw fundamental-frequency estimates
// (one per analysis cycle, 0 when no pitch was found) into notes of the active
// temperament, keep a smoothed frequency for the display, and announce the start
// and the end of each note. Interface thread only: the signals are emitted from
// inside quantize() and reset(), before they return.

#include <QElapsedTimer>
#include <QObject>

#include <deque>
#include <functional>

namespace Music {

class MonoQuantizer : public QObject
{
    Q_OBJECT

public:
    explicit MonoQuantizer(QObject* parent = nullptr);

    // Confidence a decision must exceed; also scales the back-dating of starts
    // from silence and of ends. Nothing in the program changes it.
    double m_min_confidence = 0.0;
    // Share of the recent estimates that agree with the current decision.
    double m_confidence = 1.0;
    // Frequency (Hz) of the note sounding, 0 when none.
    double m_quantized_freq = 0.0;
    // Frequency (Hz) to display for the current decision.
    double m_avg_freq = 0.0;

public slots:
    // Feeds one raw estimate in Hz (0 = no pitch; a negative or non-finite value
    // counts as 0). May emit noteFinished and then noteStarted before returning.
    virtual void quantize(double freq) = 0;
    // Ends the current decision and forgets the past.
    virtual void reset() = 0;

signals:
    // freq: note frequency in Hz (0 in noteFinished when the note ended into
    // silence or doubt); dt <= 0: how many milliseconds before the emission the
    // event is deemed to have happened.
    void noteStarted(double freq, double dt);
    void noteFinished(double freq, double dt);
};

// Takes every estimate as it comes.
class DummyMonoQuantizer : public MonoQuantizer
{
    Q_OBJECT

public:
    explicit DummyMonoQuantizer(QObject* parent = nullptr);

public slots:
    void quantize(double freq) override;
    void reset() override;
};

// Votes over the estimates of the last m_latency milliseconds: short jumps are
// ignored, short gaps filled, short notes dropped.
//
// Its clock is set from outside: setClock() installs a function returning the
// current time in milliseconds (any origin; only differences matter). Without
// one, the default is the wall clock m_time, started at construction. The tuner
// keeps the default; the offline analyser and the tests set the file's own time.
class LatencyMonoQuantizer : public MonoQuantizer
{
    Q_OBJECT

public:
    using Clock = std::function<double()>;

    // One remembered estimate.
    struct Record
    {
        double time;   // time stamp, ms
        double freq;   // raw estimate, Hz
        double weight; // always 1.0, unused
    };

    explicit LatencyMonoQuantizer(QObject* parent = nullptr);

    // An empty function restores the wall clock.
    void setClock(Clock clock);
    // The time quantize() uses as "now", in ms.
    double now() const;

    QElapsedTimer m_time;
    // Length of the memory of recent estimates, ms.
    float m_latency = 125.0f;
    // Recent estimates, newest at the front.
    std::deque<Record> m_values;

public slots:
    void quantize(double freq) override;
    void reset() override;

private:
    Clock m_clock;
};

} // namespace Music

#endif
