#pragma once

#include "Music/CaptureQueue.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
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
/// The capture queue `m_capture_queue`: the transports push one block at a time, the
/// analysis cycle drains it (see Music::CaptureQueue for the threads and the lock).
class CaptureThread : public QObject
{
    Q_OBJECT

public:
    /// The requested sampling rate that means: the highest rate the device accepts.
    static constexpr int SAMPLING_RATE_MAX = 0;

    /// Makes one transport for the front it is given.
    using TransportFactory = std::function<CaptureThreadImpl*(CaptureThread* front)>;
    /// The program's transports, in the order auto-detection tries them: Qt audio
    /// input, JACK, OSS.
    static std::vector<TransportFactory> builtInTransports();
    /// The same without JACK, for uses that must not open a JACK client.
    static std::vector<TransportFactory> transportsWithoutJack();

    explicit CaptureThread(const QString& name,
                           const std::vector<TransportFactory>& transports = builtInTransports());
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

    std::vector<CaptureThreadImpl*> m_impls;                     // owned, filled once
    std::atomic<CaptureThreadImpl*> m_active_transport{nullptr}; // not owned

public:
    /// Set and cleared only by the transports, when capture has really started or ended;
    /// polled by the front, the transports' data paths and the JACK process callback.
    std::atomic<bool> m_is_capturing{false};

private:
    QString m_client_name;

public:
    /// While set, every transport keeps reading its device and discards the data.
    /// Written by the interface thread, polled by the producers.
    std::atomic<bool> m_paused{false};
    /// Two-channel input: average both channels (true) or keep the first one (false).
    /// Read by a transport when it declares its format, on its own thread.
    std::atomic<bool> m_mix_channels{false};
    /// Samples from the transports to the analysis cycle.
    Music::CaptureQueue m_capture_queue;
};
