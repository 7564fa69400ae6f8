#pragma once
// Helpers shared by the capture tests: standard output capture, a signal recorder that
// lives in the test's thread, and sample checks.

#include "CaptureThread.h"

#include <QObject>
#include <QStringList>
#include <QTemporaryFile>
#include <cmath>
#include <cstdio>
#include <deque>
#include <mutex>
#include <unistd.h>
#include <vector>

/// Redirects standard output (or the descriptor `fd`, 2 for standard error) into a
/// temporary file from construction to end().
class StdoutCapture
{
public:
    explicit StdoutCapture(int fd = 1) : m_fd(fd)
    {
        m_file.open();
        std::fflush(stdout);
        std::fflush(stderr);
        m_saved = dup(fd);
        dup2(m_file.handle(), fd);
    }
    ~StdoutCapture() { restore(); }
    /// Restores standard output and returns every line written meanwhile.
    QStringList end()
    {
        restore();
        m_file.seek(0);
        const QString text = QString::fromLocal8Bit(m_file.readAll());
        QStringList lines = text.split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
        return lines;
    }

private:
    void restore()
    {
        if (m_saved < 0) return;
        std::fflush(stdout);
        std::fflush(stderr);
        dup2(m_saved, m_fd);
        close(m_saved);
        m_saved = -1;
    }
    QTemporaryFile m_file;
    int m_fd;
    int m_saved = -1;
};

/// Records the front's signals. It lives in the test's (interface) thread, so signals
/// emitted by a capture thread reach it queued, as they reach the main window.
class SignalRecorder : public QObject
{
    Q_OBJECT
public:
    explicit SignalRecorder(CaptureThread* front)
    {
        connect(front, &CaptureThread::samplingRateChanged, this, [this](int r) { rates.append(r); });
        connect(front, &CaptureThread::sourceChanged, this, [this](const QString& s) { sources.append(s); });
        connect(front, &CaptureThread::transportChanged, this,
                [this](const QString& s) { transports.append(s); });
        connect(front, &CaptureThread::captureStarted, this, [this] { ++started; });
        connect(front, &CaptureThread::captureStoped, this, [this] { ++stopped; });
        connect(front, &CaptureThread::captureToggled, this, [this](bool b) { toggles.append(b); });
        connect(front, &CaptureThread::errorRaised, this, [this](const QString& e) { errors.append(e); });
    }
    void clear()
    {
        rates.clear();
        sources.clear();
        transports.clear();
        toggles.clear();
        errors.clear();
        started = stopped = 0;
    }
    QList<int> rates;
    QStringList sources;
    QStringList transports;
    QList<bool> toggles;
    QStringList errors;
    int started = 0;
    int stopped = 0;
};

/// A copy of the capture queue, oldest sample first, and the counter.
struct QueueSnapshot
{
    std::vector<double> oldest_first;
    int pushed_since_drain = 0;
    bool drain_started = false;
};

inline QueueSnapshot TakeSnapshot(CaptureThread& front)
{
    QueueSnapshot snap;
    std::lock_guard<std::mutex> lock(front.m_capture_queue.m_queue_lock);
    snap.oldest_first.assign(front.m_capture_queue.m_sample_queue.rbegin(),
                             front.m_capture_queue.m_sample_queue.rend());
    snap.pushed_since_drain = front.m_capture_queue.m_pushed_since_drain;
    snap.drain_started = front.m_capture_queue.m_drain_started;
    return snap;
}

inline size_t QueueSize(CaptureThread& front)
{
    return front.m_capture_queue.size();
}

inline void ClearQueue(CaptureThread& front)
{
    front.m_capture_queue.clear();
}

/// Rising zero crossings (a sample < 0 followed by one >= 0) in [begin, end).
inline int RisingZeroCrossings(const std::vector<double>& x, size_t begin, size_t end)
{
    int count = 0;
    for (size_t i = begin + 1; i < end; ++i)
        if (x[i - 1] < 0.0 && x[i] >= 0.0) ++count;
    return count;
}

/// Largest deviation from the sine recurrence x[n+1] = 2 cos(w) x[n] - x[n-1]; small
/// only where the samples form one unbroken sine of angular step w.
inline double SineRecurrenceError(const std::vector<double>& x, size_t begin, size_t end, double w)
{
    const double c = 2.0 * std::cos(w);
    double worst = 0.0;
    for (size_t i = begin + 2; i < end; ++i)
        worst = std::max(worst, std::fabs(x[i] - (c * x[i - 1] - x[i - 2])));
    return worst;
}

inline bool ContainsLine(const QStringList& lines, const QString& line)
{
    return lines.contains(line);
}
