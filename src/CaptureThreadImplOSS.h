#pragma once

#include "CaptureThreadImpl.h"

#include <QByteArray>
#include <QThread>
#include <atomic>
#include <cstddef>
#include <memory>
#include <vector>

/// The four calls the OSS transport makes on a device file, behind an interface so that
/// a scripted device can stand in for one. POSIX conventions: -1 on failure with the
/// reason in errno. Called by whichever thread drives the transport at that moment
/// (interface thread for the availability check and the rate probe, capture thread
/// during capture), never by two at once.
class OSSDevice
{
public:
    virtual ~OSSDevice() = default;
    virtual int open(const QByteArray& path, int flags) = 0;
    virtual int ioctl(int fd, unsigned long request, int* arg) = 0;
    virtual long read(int fd, void* buffer, size_t bytes) = 0;
    virtual int close(int fd) = 0;
};

/// The real device: open, ioctl, read and close of the system.
class SystemOSSDevice : public OSSDevice
{
public:
    int open(const QByteArray& path, int flags) override;
    int ioctl(int fd, unsigned long request, int* arg) override;
    long read(int fd, void* buffer, size_t bytes) override;
    int close(int fd) override;
};

/// Captures signed 16-bit mono samples from an Open Sound System device file (by
/// default "/dev/dsp") on a capture thread of its own.
///
/// Threads: interface thread for the constructor, destructor, setDevice, setSamplingRate,
/// startCapture, stopCapture and is_available; the capture thread (this QThread) runs
/// run() and everything it calls, and is the only one that reads the device during
/// capture and takes the front's queue lock for this transport. The handshake flags
/// are atomic.
class CaptureThreadImplOSS : public ThreadedCaptureThreadImpl
{
public:
    explicit CaptureThreadImplOSS(CaptureThread* front);
    ~CaptureThreadImplOSS() override;

    /// Replaces the device interface (tests give a scripted one). Interface thread,
    /// only while not capturing.
    void setDevice(std::unique_ptr<OSSDevice> device);

    void setSamplingRate(int value) override;
    bool is_available() override;

    int sampleFormat() const { return m_sample_format; }

private:
    void setUp(bool rate_only);
    void openCapture() override;
    void closeDevice();
    void closeCapture() override { closeDevice(); }
    void captureLoop() override;

    /// Descriptor of the open device, -1 when none (0 is a valid descriptor).
    int m_fd = -1;
    std::vector<char> m_buffer;
    int m_sample_format = -1;
    std::unique_ptr<OSSDevice> m_dev;
};
