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
    m_read_timer.setInterval(PACKET_MS);
    connect(&m_read_timer, &QTimer::timeout, this, &CaptureThreadImplQt::audioDataReady);
    m_resume_timer.setInterval(RESUME_MS);
    connect(&m_resume_timer, &QTimer::timeout, this, &CaptureThreadImplQt::tryToResume);
}

CaptureThreadImplQt::~CaptureThreadImplQt()
{
    m_resume_timer.stop();
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
    // A default device is a listed device; listing them all takes long (ALSA reads its
    // whole configuration), so the list is asked for only when there is no default.
    if (QAudioDeviceInfo::defaultInputDevice().isNull() &&
        QAudioDeviceInfo::availableDevices(QAudio::AudioInput).isEmpty()) {
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
    // "default" is the system's default input. Qt's own default device is the sound
    // server's default source where Qt's PulseAudio back end reaches one (it honours
    // the packet size asked for, the ALSA "default" routed to the same server does not);
    // elsewhere it is the ALSA "default" itself.
    const QAudioDeviceInfo default_device = QAudioDeviceInfo::defaultInputDevice();
    if (source.isEmpty() || (source == QLatin1String("default") && !default_device.isNull())) {
        m_device = default_device;
    } else if (m_device.isNull() ||
               (m_device.deviceName() != source && m_device.deviceName() != m_source_name)) {
        // The device list only when the name is not that of the device already chosen:
        // listing takes long (ALSA reads its whole configuration for it).
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

    // A new device needs a new input as much as a new format does.
    if (format != m_format || !m_audio_input || m_device != m_input_device) {
        m_format = format;
        m_input_device = m_device;
        delete m_audio_input;
        m_audio_input = new QAudioInput(m_device, m_format, this);
        m_audio_input->setBufferSize(packetBytes());
        m_audio_input->setNotifyInterval(PACKET_MS);
        if (m_audio_input->error() != QAudio::NoError)
            throw QStringLiteral("Qt: Cannot create audio input with the given device and format");
        m_input_stream = nullptr;
    }
}

int CaptureThreadImplQt::packetBytes() const
{
    const int frames = m_format.sampleRate() * PACKET_MS / 1000;
    return frames * m_format.channelCount() * (m_format.sampleSize() / 8);
}

void CaptureThreadImplQt::openInput()
{
    setUp();
    m_input_stream = m_audio_input->start();
}

void CaptureThreadImplQt::startRoutine()
{
    openInput();
    runInput();
}

void CaptureThreadImplQt::runInput()
{
    m_partial.clear();
    // Connected here, not where the input is made: a stop disconnects the input, which
    // may then be started again as it is.
    connect(m_audio_input, &QAudioInput::stateChanged, this, &CaptureThreadImplQt::audioStateChanged,
            Qt::UniqueConnection);
    if (m_input_stream)
        connect(m_input_stream, &QIODevice::readyRead, this, &CaptureThreadImplQt::audioDataReady);
    // What the back end made of the request is known once the input runs.
    CaptureLog(
        QStringLiteral("CaptureThread: INFO: Qt: buffer ") + QString::number(m_audio_input->bufferSize()) +
        " bytes (asked " + QString::number(packetBytes()) + "), notify interval " +
        QString::number(m_audio_input->notifyInterval()) + " ms (asked " + QString::number(PACKET_MS) + ")");
    m_read_timer.start();
    m_started = true;
    announceStart();
}

void CaptureThreadImplQt::stopRoutine()
{
    m_read_timer.stop();
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

void CaptureThreadImplQt::inputFailed()
{
    if (!m_started) return;
    stopRoutine();
    reportError(QStringLiteral("Qt: the audio input stopped, waiting for it to come back"));
    m_resume_timer.start();
}

void CaptureThreadImplQt::tryToResume()
{
    // The failed input stays bound to the connection it lost: a new one each time.
    delete m_audio_input;
    m_audio_input = nullptr;
    try {
        openInput();
    } catch (const QString&) {
        // The server is not back yet; said once already.
        m_input_stream = nullptr;
    }
    if (!m_input_stream || m_audio_input->error() != QAudio::NoError ||
        m_audio_input->state() == QAudio::StoppedState) {
        if (m_audio_input) m_audio_input->stop();
        m_input_stream = nullptr;
        return;
    }
    m_resume_timer.stop();
    CaptureLog(QStringLiteral("CaptureThread: INFO: Qt: the audio input runs again"));
    runInput();
}

void CaptureThreadImplQt::startCapture()
{
    m_resume_timer.stop();
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
    m_resume_timer.stop();
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

void CaptureThreadImplQt::audioStateChanged(QAudio::State state)
{
    // An input stopped by an error while capturing: its sound server went away. Handled
    // after the back end's own handling of the failure has returned.
    if (state == QAudio::StoppedState && m_started && m_audio_input &&
        m_audio_input->error() != QAudio::NoError)
        QMetaObject::invokeMethod(this, &CaptureThreadImplQt::inputFailed, Qt::QueuedConnection);
}

void CaptureThreadImplQt::audioDataReady()
{
    if (!m_input_stream || !m_audio_input) return;
    // A stopped input has no stream left to ask (Qt's PulseAudio back end would fail
    // on it).
    const QAudio::State state = m_audio_input->state();
    if (state != QAudio::ActiveState && state != QAudio::IdleState) return;
    // Whole frames, so that the channels of a two-channel block stay in step.
    const int frame = m_format.sampleSize() / 8 * m_format.channelCount();
    if (frame <= 0) return;
    // Every whole frame that is ready, in one read: Qt's ALSA input returns nothing to
    // reads smaller than its period. A frame the stream delivers only in part waits in
    // m_partial for the rest.
    const int have = m_partial.size();
    const int wanted = (m_audio_input->bytesReady() + have) / frame * frame;
    if (wanted <= have) return;
    QByteArray raw = m_partial;
    raw.resize(wanted);
    const qint64 got = m_input_stream->read(raw.data() + have, wanted - have);
    const int bytes = have + int(got > 0 ? got : 0);
    const int whole = bytes / frame * frame;
    m_partial = raw.mid(whole, bytes - whole);
    if (whole == 0) return;
    // Read and dropped while paused.
    pushRawBlock(raw.constData(), whole / (m_format.sampleSize() / 8));
}
