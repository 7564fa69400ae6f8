#pragma once

#include "CaptureThreadImpl.h"

#include <QAudio>
#include <QAudioDeviceInfo>
#include <QAudioFormat>
#include <QAudioInput>
#include <QIODevice>
#include <QObject>

/// Captures through a Qt Multimedia audio input device, in pull mode: the stream's
/// readyRead runs audioDataReady, which pushes what is ready into the capture queue.
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

public slots:
    void audioStateChanged(QAudio::State state);
    void audioDataReady();

private:
    void setUp();
    void startRoutine();
    void stopRoutine();

    QAudioDeviceInfo m_device;
    QAudioInput* m_audio_input = nullptr;
    QIODevice* m_input_stream = nullptr;
    QAudioFormat m_format;
    bool m_started = false;
};
