#include "CaptureThreadImpl.h"

#include <QCoreApplication>
#include <QObject>
#include <cstdint>
#include <cstring>

void CaptureLog(const QString& text, bool end_line)
{
    QByteArray bytes = text.toLocal8Bit();
    if (end_line) bytes.append('\n');
    // One write per call, so that lines of different threads do not interleave.
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

QString CaptureErrorText(int err)
{
    char buffer[256] = {0};
    // GNU strerror_r: returns a pointer to the text, which may or may not be `buffer`.
    const char* text = strerror_r(err, buffer, sizeof(buffer));
    return QString::fromLocal8Bit(text);
}

CaptureThreadImpl::CaptureThreadImpl(CaptureThread* front, const QString& name, const QString& description)
    : m_front(front), m_transport_name(name), m_description(description)
{
}

CaptureThreadImpl::~CaptureThreadImpl() = default;

QString CaptureThreadImpl::statusText()
{
    if (m_status_text.isEmpty()) is_available();
    return m_status_text;
}

QString CaptureThreadImpl::deviceSourceName() const
{
    QString name = m_source_name;
    if (name == QObject::tr("default")) name = QStringLiteral("default");
    // Audio APIs take Latin-1 names; anything past an embedded NUL would be lost anyway.
    const QByteArray latin = name.toLatin1();
    return QString::fromLatin1(latin.constData());
}

void CaptureThreadImpl::declareFormat(int bytes_per_sample, bool is_signed, bool is_float, int channels)
{
    m_bytes_per_sample = bytes_per_sample;
    m_is_signed = is_signed;
    m_is_float = is_float;
    m_channels = channels;
    if (bytes_per_sample == 2)
        m_converter = is_signed ? &fromSigned16 : &fromUnsigned16;
    else
        m_converter = is_signed ? &fromSigned8 : &fromUnsigned8;
    if (channels == 2)
        m_adder = m_front->mixMultipleChannels() ? &addMixed : &addFirstChannel;
    else
        m_adder = &addMono;
    CaptureLog(QStringLiteral("CaptureThread: INFO: format is ") + (is_signed ? "signed" : "unsigned") + " " +
               (is_float ? "float" : "integer") + " " + QString::number(bytes_per_sample * 8) + "bits with " +
               QString::number(channels) + " channel(s)");
}

void CaptureThreadImpl::pushRawBlock(const void* raw, int n)
{
    if (m_front->m_paused.load()) return;
    m_front->m_capture_queue.push(n, [&](Music::CaptureQueue& queue) {
        for (int k = 0; k < n; ++k)
            m_adder(this, queue, k, m_converter(raw, k));
    });
}

void CaptureThreadImpl::pushFloatBlock(const float* values, int n)
{
    if (m_front->m_paused.load()) return;
    m_front->m_capture_queue.push(n, [&](Music::CaptureQueue& queue) {
        for (int k = 0; k < n; ++k)
            m_adder(this, queue, k, double(values[k]));
    });
}

void CaptureThreadImpl::addMono(CaptureThreadImpl*, Music::CaptureQueue& queue, int, double value)
{
    queue.pushFront(value);
}

void CaptureThreadImpl::addFirstChannel(CaptureThreadImpl*, Music::CaptureQueue& queue, int k, double value)
{
    if (k % 2 == 0) queue.pushFront(value);
}

void CaptureThreadImpl::addMixed(CaptureThreadImpl* impl, Music::CaptureQueue& queue, int k, double value)
{
    if (k % 2 == 0)
        impl->m_mix_first_value = value;
    else
        queue.pushFront((impl->m_mix_first_value + value) * 0.5);
}

double CaptureThreadImpl::fromSigned16(const void* raw, int index)
{
    int16_t s;
    std::memcpy(&s, static_cast<const char*>(raw) + 2 * index, 2);
    return s / 32768.0;
}

double CaptureThreadImpl::fromUnsigned16(const void* raw, int index)
{
    uint16_t u;
    std::memcpy(&u, static_cast<const char*>(raw) + 2 * index, 2);
    return 2.0 * u / 65536.0 - 1.0;
}

double CaptureThreadImpl::fromSigned8(const void* raw, int index)
{
    return static_cast<const int8_t*>(raw)[index] / 128.0;
}

double CaptureThreadImpl::fromUnsigned8(const void* raw, int index)
{
    return 2.0 * static_cast<const uint8_t*>(raw)[index] / 256.0 - 1.0;
}

void CaptureThreadImpl::announceStart()
{
    m_front->m_is_capturing = true;
    m_front->emitCaptureStarted();
    m_front->emitCaptureToggled(true);
}

void CaptureThreadImpl::announceStop()
{
    m_front->m_is_capturing = false;
    m_front->emitCaptureStoped();
    m_front->emitCaptureToggled(false);
}

void CaptureThreadImpl::announceRate()
{
    if (m_front->getCurrentTransport() == this) m_front->emitSamplingRateChanged();
}

void CaptureThreadImpl::reportError(const QString& message)
{
    CaptureLog(QStringLiteral("CaptureThread: ERROR: ") + message);
    m_front->emitError(message);
}

ThreadedCaptureThreadImpl::ThreadedCaptureThreadImpl(CaptureThread* front, const QString& name,
                                                     const QString& description, int poll_ms)
    : CaptureThreadImpl(front, name, description), m_poll_ms(poll_ms)
{
}

void ThreadedCaptureThreadImpl::startCapture()
{
    if (m_front->isCapturing()) return;
    // A previous capture's thread may still be closing (after a failed open), or be
    // waiting for its server to come back: it is asked to give up, and this start
    // opens afresh. Waiting on the atomic flag first also orders that thread's close
    // before this start.
    endThreadRun();
    if (isRunning()) wait();
    m_keep_capturing = true;
    m_start_pending = true;
    start();
    while (m_start_pending.load())
        QThread::msleep(m_poll_ms);
}

void ThreadedCaptureThreadImpl::stopCapture()
{
    endThreadRun();
}

void ThreadedCaptureThreadImpl::endThreadRun()
{
    m_keep_capturing = false;
    while (m_thread_in_run.load())
        QThread::msleep(m_poll_ms);
}

void ThreadedCaptureThreadImpl::run()
{
    while (m_object_alive.load() && !m_keep_capturing.load())
        QThread::msleep(m_poll_ms);
    m_thread_in_run = true;
    bool resuming = false;
    while (m_keep_capturing.load()) {
        try {
            openCapture();
            announceStart();
            afterStart();
            captureLoop();
            announceStop();
        } catch (const QString& message) {
            // A first start reports its failure and gives up; an attempt to resume
            // goes back to waiting.
            if (!resuming) {
                m_keep_capturing = false;
                reportError(message);
            }
        }
        m_start_pending = false;
        closeCapture();
        if (!m_keep_capturing.load() || !waitToResume()) break;
        resuming = true;
    }
    m_start_pending = false;
    m_thread_in_run = false;
}
