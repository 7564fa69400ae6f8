#include "CaptureThreadImplOSS.h"

#include <cassert>
#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/soundcard.h>
#include <unistd.h>

namespace {
constexpr int POLL_MS = 10;
constexpr int OSS_INTERFACE_VERSION = 0x40000;
constexpr size_t BUFFER_BYTES_PER_CHANNEL = 2048;
constexpr int CANDIDATE_RATES[] = {44100, 32000, 24000, 22050, 16000, 11025, 8000};
} // namespace

int SystemOSSDevice::open(const QByteArray& path, int flags)
{
    return ::open(path.constData(), flags);
}

int SystemOSSDevice::ioctl(int fd, unsigned long request, int* arg)
{
    return ::ioctl(fd, request, arg);
}

long SystemOSSDevice::read(int fd, void* buffer, size_t bytes)
{
    return long(::read(fd, buffer, bytes));
}

int SystemOSSDevice::close(int fd)
{
    return ::close(fd);
}

CaptureThreadImplOSS::CaptureThreadImplOSS(CaptureThread* front)
    : ThreadedCaptureThreadImpl(front, QStringLiteral("OSS"),
                                QStringLiteral("Open Sound System (lib:") +
                                    QString::number(OSS_INTERFACE_VERSION, 16) + ")",
                                POLL_MS),
      m_dev(new SystemOSSDevice)
{
    m_source_name = QStringLiteral("/dev/dsp");
}

CaptureThreadImplOSS::~CaptureThreadImplOSS()
{
    m_object_alive = false;
    stopCapture();
    wait();
    closeDevice();
}

void CaptureThreadImplOSS::setDevice(std::unique_ptr<OSSDevice> device)
{
    assert(device);
    m_dev = std::move(device);
}

void CaptureThreadImplOSS::setUp(bool rate_only)
{
    const QString source = deviceSourceName();
    if (source.isEmpty()) throw QStringLiteral("OSS: set the source first");
    m_fd = m_dev->open(source.toLatin1(), O_RDONLY);
    if (m_fd < 0) {
        const int err = errno;
        m_fd = -1;
        throw QStringLiteral("OSS: ") + CaptureErrorText(err);
    }

    if (!rate_only) {
        m_sample_format = AFMT_S16_LE;
        if (m_dev->ioctl(m_fd, SNDCTL_DSP_SETFMT, &m_sample_format) == -1)
            throw QStringLiteral("OSS: cannot set format (%1)").arg(CaptureErrorText(errno));
        if (m_sample_format != AFMT_S16_LE) throw QStringLiteral("OSS: cannot set format to signed 16bits");

        int channels = 1;
        if (m_dev->ioctl(m_fd, SNDCTL_DSP_CHANNELS, &channels) == -1)
            throw QStringLiteral("OSS: cannot set channel count to 1 (%1)").arg(CaptureErrorText(errno));
        if (channels != 1) throw QStringLiteral("OSS: the device doesn't support mono mode");

        declareFormat(2, true, false, 1);
    }

    const int r0 = m_current_rate.load();
    if (r0 > 0) {
        int rate = r0;
        if (m_dev->ioctl(m_fd, SNDCTL_DSP_SPEED, &rate) == -1)
            throw QStringLiteral("OSS: cannot set sampling rate (") + CaptureErrorText(errno) + ")";
        m_current_rate = rate;
        return;
    }

    CaptureLog(QStringLiteral(
        "CaptureThread: INFO: OSS: sampling rate set to max or undefined, try to determinate it."));
    int last_error = 0;
    for (int candidate : CANDIDATE_RATES) {
        m_current_rate = candidate;
        CaptureLog(QStringLiteral("CaptureThread: INFO: OSS: try sampling rate ") +
                       QString::number(candidate) + " ...",
                   false);
        int rate = candidate;
        if (m_dev->ioctl(m_fd, SNDCTL_DSP_SPEED, &rate) == -1) {
            last_error = errno;
            CaptureLog(QStringLiteral(" failed"));
            continue;
        }
        CaptureLog(QStringLiteral(" success"));
        m_current_rate = rate;
        if (rate != r0) announceRate();
        return;
    }
    // Nothing works: keep the rate that was asked for rather than the last candidate.
    m_current_rate = r0;
    throw QStringLiteral("OSS: cannot set any sample rate (%1)").arg(CaptureErrorText(last_error));
}

void CaptureThreadImplOSS::openCapture()
{
    setUp(false);
    m_buffer.assign(BUFFER_BYTES_PER_CHANNEL * 1, 0);
}

void CaptureThreadImplOSS::closeDevice()
{
    m_buffer.clear();
    m_buffer.shrink_to_fit();
    if (m_fd >= 0) {
        m_dev->close(m_fd);
        m_fd = -1;
    }
}

void CaptureThreadImplOSS::setSamplingRate(int value)
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
            setUp(true);
        } catch (const QString& message) {
            reportError(message);
        }
        closeDevice();
    }
    if (was_capturing) m_front->startCapture();
}

bool CaptureThreadImplOSS::is_available()
{
    if (m_fd >= 0) {
        m_status_text = QStringLiteral("OK");
        return true;
    }
    const int fd = m_dev->open(deviceSourceName().toLatin1(), O_RDONLY);
    if (fd < 0) {
        m_status_text = QStringLiteral("N/A (") + CaptureErrorText(errno) + ")";
        return false;
    }
    m_dev->close(fd);
    m_status_text = QStringLiteral("OK");
    return true;
}

void CaptureThreadImplOSS::captureLoop()
{
    m_start_pending = false;
    while (m_keep_capturing.load()) {
        const long got = m_dev->read(m_fd, m_buffer.data(), m_buffer.size());
        if (got < 0) {
            CaptureLog(QStringLiteral("CaptureThread: WARNING: OSS: ") + CaptureErrorText(errno));
            // One second, cut short by a stop request.
            for (int slept = 0; slept < 1000 && m_keep_capturing.load(); slept += POLL_MS)
                QThread::msleep(POLL_MS);
            continue;
        }
        if (got == 0) {
            // End of file (a FIFO whose writer went away): nothing to push, do not spin.
            QThread::msleep(POLL_MS);
            continue;
        }
        // A trailing odd byte is ignored; dropped while paused (checked before the lock).
        pushRawBlock(m_buffer.data(), int(got / 2));
    }
}
