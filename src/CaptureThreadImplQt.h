#pragma once

#include "CaptureThreadImpl.h"

#include <QAudio>
#include <QAudioDeviceInfo>
#include <QAudioFormat>
#include <QAudioInput>
#include <QByteArray>
#include <QIODevice>
#include <QObject>
#include <QTimer>

/// Captures through a Qt Multimedia audio input device, in pull mode: the stream's
/// readyRead runs audioDataReady, which pushes what is ready into the capture queue.
///
/// Packets. The analysis cycle shows the capture as not working whenever it finds no new
/// sample, so sound has to arrive at least once per refresh period (20 ms from the
/// factory). The input is asked for a buffer and a notify interval of `PACKET_MS`; Qt's
/// PulseAudio back end (PulseAudio and PipeWire desktops) honours the buffer size as the
/// server's fragment size, its ALSA back end keeps buffers of its own and signals new data
/// only every half buffer (50 ms), so a timer of the same period also reads the stream.
/// The source "default" means the system's default input as Qt reports it (the sound
/// server's default source where Qt talks to one).
///
/// Threads: everything (set-up, start and stop, the data handler) runs in the interface
/// thread; the handler still takes the queue lock, which matters against the other
/// transports' threads.
class CaptureThreadImplQt : public QObject, public CaptureThreadImpl
{
    Q_OBJECT

public:
    explicit CaptureThreadImplQt(CaptureThread* front);
    ~CaptureThreadImplQt() override;

    void setSamplingRate(int value) override;
    void startCapture() override;
    void stopCapture() override;
    bool is_available() override;

    const QAudioDeviceInfo& device() const { return m_device; }
    QAudioInput* audioInput() const { return m_audio_input; }
    const QAudioFormat& format() const { return m_format; }

    /// Period of the packets asked for, ms: half the factory refresh period.
    static constexpr int PACKET_MS = 10;
    /// Period of the attempts to open the input again after it failed, ms.
    static constexpr int RESUME_MS = 1000;

public slots:
    void audioStateChanged(QAudio::State state);
    void audioDataReady();

private:
    void setUp();
    /// Sets up the input and starts it.
    void openInput();
    void startRoutine();
    /// Connects the started input's stream, starts the reads and announces the start.
    void runInput();
    /// Bytes of PACKET_MS of sound in the current format.
    int packetBytes() const;
    void stopRoutine();
    /// An input that fails while capturing (its sound server went away) is closed and
    /// opened again every RESUME_MS, with a new audio input, until it runs: Qt's
    /// PulseAudio back end reconnects to a server that comes back, but not the inputs
    /// it had.
    void inputFailed();
    void tryToResume();

    QAudioDeviceInfo m_device;
    QAudioInput* m_audio_input = nullptr;
    QIODevice* m_input_stream = nullptr;
    QAudioFormat m_format;
    /// The device `m_audio_input` was created on.
    QAudioDeviceInfo m_input_device;
    bool m_started = false;
    /// Reads the stream every PACKET_MS besides its readyRead (see the class comment).
    QTimer m_read_timer;
    /// Runs while a failed input waits to be opened again.
    QTimer m_resume_timer;
    /// Bytes of a sample the stream delivered only in part, completed by the next read.
    QByteArray m_partial;
};
