#pragma once

#include "CaptureThreadImpl.h"

#include <QStringList>
#include <QThread>
#include <atomic>
#include <cstddef>
#include <jack/jack.h>
#include <jack/ringbuffer.h>

/// Captures from a JACK server: a client with one input port "input"; the server's
/// real-time process callback copies each period into a lock-free ring buffer, and the
/// transport's own capture thread moves it from there into the capture queue.
///
/// Threads:
/// - interface thread: constructor, destructor, startCapture, stopCapture, is_available,
///   setSamplingRate, ringCapacity;
/// - capture thread (this QThread): run() and everything it calls (open, capture loop,
///   close); the only thread that takes the front's queue lock for this transport;
/// - JACK process thread: jackProcess only;
/// - JACK notification threads: jackShutdown, jackSampleRate.
///
/// Life of the ring buffer. `m_ring` is an atomic pointer. Its two users, the process
/// callback (writer) and the capture loop (reader), each raise a flag of their own
/// (`m_process_uses_ring`, `m_loop_uses_ring`) before loading the pointer and lower it
/// when done with the buffer. Whoever replaces or releases the buffer (replaceRing:
/// the sample-rate callback, open and close) first swaps the pointer, then waits until
/// it has seen each flag lowered once, and only then frees the old buffer. All these
/// accesses are sequentially consistent, so a user whose flag was still down when the
/// pointer was swapped must load the new pointer: once both flags have been seen down
/// after the swap, nobody can still hold the old buffer. The waiting is done by the
/// replacing thread, never by the process callback. The shutdown callback does not
/// free anything: it forgets the client and the port, which ends the capture loop, and
/// the capture thread's close, which runs after the loop has returned and after
/// jack_client_close has stopped every callback, releases the buffer.
///
/// Across stops. The connections of the input port when a capture closes (other than
/// the one to the source, which the next open makes anyway) are made again by the next
/// open where both ports still exist, so that connections made by hand or by a patchbay
/// survive the configuration dialog. After a server shutdown the capture thread stays,
/// tries quietly every RETRY_MS whether a server is back, and resumes the capture.
class CaptureThreadImplJACK : public ThreadedCaptureThreadImpl
{
public:
    explicit CaptureThreadImplJACK(CaptureThread* front);
    ~CaptureThreadImplJACK() override;

    void setSamplingRate(int value) override;
    bool is_available() override;

    /// Bytes the current ring buffer can hold (0 without one). Interface thread,
    /// diagnostics and tests; the buffer must not be replaced concurrently.
    size_t ringCapacity() const;

    // JACK callbacks, `arg` is the transport.
    static int jackProcess(jack_nframes_t nframes, void* arg);
    static void jackShutdown(void* arg);
    static int jackSampleRate(jack_nframes_t nframes, void* arg);

    /// Period of the attempts to reach a server again after a shutdown, ms.
    static constexpr int RETRY_MS = 500;

private:
    void openCapture() override;
    void afterStart() override;
    void captureLoop() override;
    void closeCapture() override;
    bool waitToResume() override;
    void replaceRing(size_t bytes);
    /// Connects `m_saved_connections` again where both ports exist. Capture thread.
    void restoreConnections(jack_client_t* client, const QString& own);

    std::atomic<jack_ringbuffer_t*> m_ring{nullptr};
    std::atomic<jack_client_t*> m_jack_client{nullptr};
    std::atomic<jack_port_t*> m_input_port{nullptr};

    std::atomic<bool> m_process_uses_ring{false};
    std::atomic<bool> m_loop_uses_ring{false};
    /// The client to close, kept by the capture thread even after a server shutdown
    /// made `m_jack_client` null, so that its resources are released. Capture thread.
    jack_client_t* m_client_handle = nullptr;
    /// Capture thread: the source connected at the last open, the other ports connected
    /// to the input when the last capture closed, an error of the auto-connection to
    /// report once the start is announced, and whether the server went away.
    QString m_connected_source;
    QStringList m_saved_connections;
    QString m_connect_error;
    std::atomic<bool> m_server_lost{false};
};
