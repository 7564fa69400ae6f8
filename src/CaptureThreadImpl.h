#pragma once

#include "CaptureThread.h"

#include <QString>
#include <QThread>
#include <atomic>
#include <cstdio>

/// Writes one message to standard output and flushes it; with `end_line` false the line
/// stays open (a probe prints its outcome on the same line). Any thread.
void CaptureLog(const QString& text, bool end_line = true);

/// The system's text for an error number. Any thread.
QString CaptureErrorText(int err);

/// Abstract base of the transports: what every transport has (name, description, source,
/// status, sampling rate, raw sample format) and the packet protocol that moves raw
/// samples into the capture queue of the front.
///
/// Threads: the virtual operations and the accessors are called by the interface thread.
/// `declareFormat` and the push operations are called by the one thread that produces
/// for this transport (its capture thread, or the interface thread for the Qt input),
/// after the capture has been set up by that same thread.
class CaptureThreadImpl
{
public:
    using Converter = double (*)(const void* raw, int index);
    using Adder = void (*)(CaptureThreadImpl* impl, Music::CaptureQueue& queue, int k, double value);

    CaptureThreadImpl(CaptureThread* front, const QString& name, const QString& description);
    CaptureThreadImpl(const CaptureThreadImpl&) = delete;
    CaptureThreadImpl& operator=(const CaptureThreadImpl&) = delete;
    virtual ~CaptureThreadImpl();

    // Interface thread.
    virtual void setSamplingRate(int value) = 0;
    virtual void startCapture() = 0;
    virtual void stopCapture() = 0;
    virtual bool is_available() = 0;

    // Accessors. The rate is atomic: the JACK server's threads may change it.
    const QString& getName() const { return m_transport_name; }
    const QString& getDescription() const { return m_description; }
    const QString& getSource() const { return m_source_name; }
    void setSource(const QString& src) { m_source_name = src; }
    int getSamplingRate() const { return m_current_rate.load(); }
    const QString& getStatus() const { return m_status_text; }
    QString statusText();
    /// The source as handed to an audio API ("default" untranslated, Latin-1 only).
    QString deviceSourceName() const;

    // Format, producing thread.
    void declareFormat(int bytes_per_sample, bool is_signed, bool is_float, int channels);
    int bytesPerSample() const { return m_bytes_per_sample; }
    bool isSigned() const { return m_is_signed; }
    bool isFloat() const { return m_is_float; }
    int channels() const { return m_channels; }
    Converter converter() const { return m_converter; }
    Adder adder() const { return m_adder; }

    /// Packet protocol, producing thread: pushes the n raw samples of `raw` (declared
    /// format) under the queue lock, or drops them while paused.
    void pushRawBlock(const void* raw, int n);
    /// Same for 32-bit float samples, widened unchanged.
    void pushFloatBlock(const float* values, int n);

    // The three sample adders.
    static void addMono(CaptureThreadImpl* impl, Music::CaptureQueue& queue, int k, double value);
    static void addFirstChannel(CaptureThreadImpl* impl, Music::CaptureQueue& queue, int k, double value);
    static void addMixed(CaptureThreadImpl* impl, Music::CaptureQueue& queue, int k, double value);
    // The raw sample converters.
    static double fromSigned16(const void* raw, int index);
    static double fromUnsigned16(const void* raw, int index);
    static double fromSigned8(const void* raw, int index);
    static double fromUnsigned8(const void* raw, int index);

protected:
    /// Tells the front capture has really started or ended (sets or clears its flag and
    /// emits the signals); called by the thread that started or ended it.
    void announceStart();
    void announceStop();
    /// Emits samplingRateChanged with this transport's rate, only while it is the active one.
    void announceRate();
    /// Prints "CaptureThread: ERROR: " + message and emits it with errorRaised.
    void reportError(const QString& message);

    CaptureThread* m_front;
    QString m_transport_name;
    QString m_description;
    std::atomic<int> m_current_rate{-1};
    QString m_source_name;
    QString m_status_text;
    int m_bytes_per_sample = 0;
    bool m_is_signed = true;
    bool m_is_float = false;
    int m_channels = 0;
    double m_mix_first_value = 0.0;
    Converter m_converter = &fromSigned16;
    Adder m_adder = &addMono;
};

/// Base of the transports that capture on a thread of their own (JACK, OSS): the
/// start and stop handshake with that thread, polled every `poll_ms` milliseconds.
///
/// Threads: startCapture and stopCapture are for the interface thread. The capture
/// thread (the subclass's run()) raises `m_thread_in_run` while it runs, lowers
/// `m_start_pending` once it has started capturing or given up, and captures while
/// `m_keep_capturing` is set. `m_object_alive` is lowered by the destructor so that a
/// thread still waiting to start gives up.
///
/// A capture lost by the transport itself (a sound server that went away) may be
/// resumed by the same thread: while `m_keep_capturing` stays set, waitToResume decides
/// whether to open again. Failures of such an attempt are not reported again.
class ThreadedCaptureThreadImpl : public CaptureThreadImpl, public QThread
{
public:
    ThreadedCaptureThreadImpl(CaptureThread* front, const QString& name, const QString& description,
                              int poll_ms);

    /// Returns once the capture thread has started capturing or given up.
    void startCapture() override;
    /// Returns once the capture thread has left its capture (or its waiting to resume).
    void stopCapture() override;

protected:
    /// The capture thread: waits until a capture is asked for (or the object goes),
    /// then opens, announces the start, captures until asked to stop, announces the
    /// stop and closes. A failure raised by a step (a message) is reported and ends
    /// the capture. A capture that ended without being asked to may be opened again
    /// when waitToResume says so.
    void run() override;
    // Steps of run(), on the capture thread.
    virtual void openCapture() = 0;
    /// Right after the start has been announced; nothing by default.
    virtual void afterStart() {}
    virtual void captureLoop() = 0;
    virtual void closeCapture() = 0;
    /// After a capture that ended while `m_keep_capturing` is still set: waits until
    /// it can be opened again (true) or is not wanted any more (false). Default: false.
    virtual bool waitToResume() { return false; }
    /// Keeps the running thread from trying again, and waits until it has left.
    void endThreadRun();

    const int m_poll_ms;
    std::atomic<bool> m_object_alive{true};
    std::atomic<bool> m_thread_in_run{false};
    std::atomic<bool> m_keep_capturing{false};
    std::atomic<bool> m_start_pending{false};
};
