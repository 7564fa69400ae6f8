#include "CaptureThreadImplQt.h"

#include <QCoreApplication>
#include <QList>
#include <algorithm>
#include <cassert>
#include <cstring>
#include <functional>

CaptureThreadImplQt::CaptureThreadImplQt(CaptureThread* front)
    : QObject(nullptr),
      CaptureThreadImpl(front, QStringLiteral("Qt"), QStringLiteral("Qt (lib:") + qVersion() + ")"),
      m_device(QAudioDeviceInfo::defaultInputDevice())
{
    m_source_name = QStringLiteral("default");
    qRegisterMetaType<QAudio::State>("QAudio::State");
}

CaptureThreadImplQt::~CaptureThreadImplQt()
{
    try {
        stopRoutine();
    } catch (const QString& message) {
        reportError(message);
    }
    delete m_audio_input;
    m_audio_input = nullptr;
    m_format = QAudioFormat();
    m_device = QAudioDeviceInfo();
}

bool CaptureThreadImplQt::is_available()
{
    if (QAudioDeviceInfo::availableDevices(QAudio::AudioInput).isEmpty()) {
        // Internally: "Qt: is_available: no device available".
        m_status_text = QStringLiteral("N/A");
        return false;
    }
    m_status_text = QStringLiteral("OK");
    return true;
}

void CaptureThreadImplQt::setUp()
{
    const QString source = deviceSourceName();
    if (source.isEmpty()) {
        m_device = QAudioDeviceInfo::defaultInputDevice();
    } else {
        m_device = QAudioDeviceInfo();
        const QList<QAudioDeviceInfo> devices = QAudioDeviceInfo::availableDevices(QAudio::AudioInput);
        for (const QAudioDeviceInfo& info : devices) {
            if (info.deviceName() == source || info.deviceName() == m_source_name) {
                m_device = info;
                break;
            }
        }
    }
    if (m_device.isNull()) throw QStringLiteral("Qt: Cannot open device '") + source + "'";

    QAudioFormat format = m_format;
    format.setByteOrder(QAudioFormat::LittleEndian);
    format.setCodec(QStringLiteral("audio/pcm"));
    format.setSampleSize(16);
    format.setSampleType(QAudioFormat::SignedInt);
    format.setSampleRate(44100);
    format.setChannelCount(1);
    if (!m_device.isFormatSupported(format)) {
        CaptureLog(QStringLiteral("CaptureThread: WARNING: ") + "ALSA: cannot set channel count to 1");
        format.setChannelCount(2);
        if (!m_device.isFormatSupported(format))
            throw QStringLiteral("Qt: Cannot set number of channels to 1 or 2");
    }

    declareFormat(format.sampleSize() / 8, format.sampleType() == QAudioFormat::SignedInt, false,
                  format.channelCount());

    const int r0 = m_current_rate.load();
    if (r0 == -1 || r0 == CaptureThread::SAMPLING_RATE_MAX) {
        CaptureLog(QStringLiteral("CaptureThread: INFO: Qt: sampling rate set to max or undefined, try to "
                                  "determinate it."));
        QList<int> rates = m_device.supportedSampleRates();
        std::sort(rates.begin(), rates.end(), std::greater<int>());
        rates.erase(std::unique(rates.begin(), rates.end()), rates.end());
        bool found = false;
        for (int rate : rates) {
            m_current_rate = rate;
            CaptureLog(QStringLiteral("CaptureThread: INFO: Qt: Try sampling rate ") + QString::number(rate) +
                           " ...",
                       false);
            format.setSampleRate(rate);
            found = m_device.isFormatSupported(format);
            CaptureLog(found ? QStringLiteral(" success") : QStringLiteral(" failed"));
            if (found) break;
        }
        if (!found) {
            // Keep the rate that was asked for rather than the last one tried.
            m_current_rate = r0;
            throw QStringLiteral("Qt: Cannot set any sample rate");
        }
        if (m_current_rate.load() != r0) announceRate();
    } else {
        format.setSampleRate(r0);
        if (!m_device.isFormatSupported(format)) throw QStringLiteral("Qt: Cannot set sampling rate");
    }

    if (format == QAudioFormat()) throw QStringLiteral("Qt: cannot set parameters");

    if (format != m_format) {
        m_format = format;
        delete m_audio_input;
        m_audio_input = new QAudioInput(m_device, m_format, this);
        m_audio_input->setNotifyInterval(100);
        if (m_audio_input->error() != QAudio::NoError)
            throw QStringLiteral("Qt: Cannot create audio input with the given device and format");
        connect(m_audio_input, &QAudioInput::stateChanged, this, &CaptureThreadImplQt::audioStateChanged);
        m_input_stream = nullptr;
    }
}

void CaptureThreadImplQt::startRoutine()
{
    setUp();
    m_input_stream = m_audio_input->start();
    if (m_input_stream)
        connect(m_input_stream, &QIODevice::readyRead, this, &CaptureThreadImplQt::audioDataReady);
    m_started = true;
    announceStart();
}

void CaptureThreadImplQt::stopRoutine()
{
    if (m_audio_input) {
        m_audio_input->stop();
        QCoreApplication::processEvents();
        disconnect(m_audio_input, nullptr, nullptr, nullptr);
    }
    m_input_stream = nullptr;
    // Only a capture that was announced is announced as ended.
    if (m_started) {
        m_started = false;
        announceStop();
    }
}

void CaptureThreadImplQt::startCapture()
{
    try {
        startRoutine();
    } catch (const QString& message) {
        try {
            stopRoutine();
        } catch (const QString&) {
        }
        reportError(message);
    }
}

void CaptureThreadImplQt::stopCapture()
{
    try {
        stopRoutine();
    } catch (const QString& message) {
        reportError(message);
    }
}

void CaptureThreadImplQt::setSamplingRate(int value)
{
    assert(value > 0 || value == CaptureThread::SAMPLING_RATE_MAX);
    if (value == m_current_rate.load() && value != 0) return;
    const bool was_capturing = m_front->isCapturing();
    if (was_capturing) m_front->stopCapture();
    m_current_rate = value;
    if (value > 0) {
        announceRate();
    } else {
        try {
            setUp();
            stopRoutine();
        } catch (const QString& message) {
            reportError(message);
        }
    }
    if (was_capturing) m_front->startCapture();
}

void CaptureThreadImplQt::audioStateChanged(QAudio::State) {}

void CaptureThreadImplQt::audioDataReady()
{
    if (!m_input_stream || !m_audio_input) return;
    const int s = m_format.sampleSize() / 8;
    const int n = m_audio_input->bytesReady() / s;
    char scratch[8];
    if (m_front->m_paused.load()) {
        for (int k = 0; k < n; ++k)
            m_input_stream->read(scratch, s);
        return;
    }
    m_front->m_capture_queue.push(n, [&](Music::CaptureQueue& queue) {
        for (int k = 0; k < n; ++k) {
            std::memset(scratch, 0, sizeof(scratch));
            if (m_input_stream->read(scratch, s) > 0) m_adder(this, queue, k, m_converter(scratch, 0));
        }
    });
}
