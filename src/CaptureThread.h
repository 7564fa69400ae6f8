#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <deque>
#include <mutex>
#include <vector>

class CaptureThreadImpl;

/// The single entry point to sound input.
///
/// A plain QObject of the interface thread: it owns the built-in transports (Qt audio
/// input, JACK, OSS, in that order), forwards the capture commands to the selected one,
/// relays their status as signals and holds the capture queue.
///
/// Threads: every slot and accessor is for the interface thread only. The notification
/// operations (`emit*`) may be called from any thread; signals emitted from a transport's
/// thread reach receivers of the interface thread queued.
///
/// The capture queue: producers (the transports) push at the front, the analysis cycle
/// removes at the back, oldest first. `m_queue_lock` guards `m_sample_queue`,
/// `m_pushed_since_drain` and `m_drain_started`; it is held by a producer for one block
/// and by the consumer for one drain, no other lock is taken and no signal is emitted
/// while it is held.
class CaptureThread : public QObject
{
    Q_OBJECT

public:
    /// The requested sampling rate that means: the highest rate the device accepts.
    static constexpr int SAMPLING_RATE_MAX = 0;

    explicit CaptureThread(const QString& name);
    ~CaptureThread() override;

    // Accessors, interface thread.
    const std::vector<CaptureThreadImpl*>& getTransports() const { return m_impls; }
    CaptureThreadImpl* getCurrentTransport() const { return m_active_transport.load(); }
    int getCurrentTransportIndex() const;
    CaptureThreadImpl* getTransport(const QString& name) const;
    int getSamplingRate() const;
    bool isCapturing() const { return m_is_capturing.load(); }
    bool isPaused() const { return m_paused.load(); }
    bool mixMultipleChannels() const { return m_mix_channels.load(); }
    const QString& clientName() const { return m_client_name; }

    // Notification operations, any thread.
    void emitError(const QString& error);
    void emitSamplingRateChanged();
    void emitCaptureStarted();
    void emitCaptureStoped();
    void emitCaptureToggled(bool run);

signals:
    void samplingRateChanged(int sampling_rate);
    void portNameChanged(const QString& name);
    void sourceChanged(const QString& src);
    void transportChanged(const QString& name);
    void captureStarted();
    void captureStoped();
    void captureToggled(bool run);
    void errorRaised(const QString& error);

public slots:
    void autoDetectTransport();
    /// Throws QString (the message) when no transport has this name.
    void selectTransport(const QString& name);
    void selectTransport(int index);
    void reset();
    void startCapture();
    void stopCapture();
    void toggleCapture(bool run);
    void togglePause(bool pause);
    void setSamplingRate(int value);
    void setSource(const QString& src);
    void setMixMultipleChannels(bool mix);

private:
    void printRegistry();

    std::vector<CaptureThreadImpl*> m_impls;                     // owned, filled once: Qt, JACK, OSS
    std::atomic<CaptureThreadImpl*> m_active_transport{nullptr}; // not owned

public:
    /// Set and cleared only by the transports, when capture has really started or ended;
    /// polled by the front, the transports' data paths and the JACK process callback.
    std::atomic<bool> m_is_capturing{false};
    /// Raw samples pushed since the analysis cycle last raised `m_drain_started`.
    /// Guarded by `m_queue_lock`.
    int m_pushed_since_drain = 0;

private:
    QString m_client_name;

public:
    /// While set, every transport keeps reading its device and discards the data.
    /// Written by the interface thread, polled by the producers.
    std::atomic<bool> m_paused{false};
    /// Two-channel input: average both channels (true) or keep the first one (false).
    /// Read by a transport when it declares its format, on its own thread.
    std::atomic<bool> m_mix_channels{false};
    /// Guards the three members below.
    std::mutex m_queue_lock;
    /// Raised by the analysis cycle at each drain; lowered by the next packet.
    bool m_drain_started = false;
    /// The capture queue: double mono samples in -1..1, newest at the front.
    std::deque<double> m_sample_queue;
};
