#include "CaptureThread.h"

#include "CaptureThreadImpl.h"
#include "CaptureThreadImplJACK.h"
#include "CaptureThreadImplOSS.h"
#include "CaptureThreadImplQt.h"

#include <cassert>

std::vector<CaptureThread::TransportFactory> CaptureThread::builtInTransports()
{
    return {[](CaptureThread* f) -> CaptureThreadImpl* { return new CaptureThreadImplQt(f); },
            [](CaptureThread* f) -> CaptureThreadImpl* { return new CaptureThreadImplJACK(f); },
            [](CaptureThread* f) -> CaptureThreadImpl* { return new CaptureThreadImplOSS(f); }};
}

std::vector<CaptureThread::TransportFactory> CaptureThread::transportsWithoutJack()
{
    std::vector<TransportFactory> all = builtInTransports();
    all.erase(all.begin() + 1);
    return all;
}

CaptureThread::CaptureThread(const QString& name, const std::vector<TransportFactory>& transports)
    : m_client_name(name)
{
    for (const TransportFactory& make : transports)
        m_impls.push_back(make(this));
    printRegistry();
}

CaptureThread::~CaptureThread()
{
    stopCapture();
    for (CaptureThreadImpl* impl : m_impls)
        delete impl;
    m_impls.clear();
    m_active_transport = nullptr;
}

void CaptureThread::printRegistry()
{
    CaptureLog(QStringLiteral("CaptureThread: INFO: Built-in transports"));
    for (CaptureThreadImpl* impl : m_impls)
        CaptureLog(QStringLiteral("CaptureThread: INFO:\t") + impl->statusText() + "\t" + impl->getName() +
                   "\t" + impl->getDescription());
}

int CaptureThread::getCurrentTransportIndex() const
{
    const CaptureThreadImpl* active = m_active_transport.load();
    for (size_t i = 0; i < m_impls.size(); ++i)
        if (m_impls[i] == active) return int(i);
    return -1;
}

CaptureThreadImpl* CaptureThread::getTransport(const QString& name) const
{
    for (CaptureThreadImpl* impl : m_impls)
        if (impl->getName() == name) return impl;
    return nullptr;
}

int CaptureThread::getSamplingRate() const
{
    const CaptureThreadImpl* active = m_active_transport.load();
    return active ? active->getSamplingRate() : -1;
}

void CaptureThread::emitError(const QString& error)
{
    emit errorRaised(error);
}

void CaptureThread::emitSamplingRateChanged()
{
    const int rate = getSamplingRate();
    if (rate > 0) emit samplingRateChanged(rate);
}

void CaptureThread::emitCaptureStarted()
{
    emit captureStarted();
}

void CaptureThread::emitCaptureStoped()
{
    emit captureStoped();
}

void CaptureThread::emitCaptureToggled(bool run)
{
    emit captureToggled(run);
}

void CaptureThread::autoDetectTransport()
{
    const bool was_capturing = m_is_capturing.load();
    if (was_capturing) stopCapture();
    CaptureThreadImpl* previous = m_active_transport.load();
    const QString previous_name = previous ? previous->getName() : QString();
    CaptureLog(QStringLiteral("CaptureThread: INFO: Auto detecting a working transport ... "), false);
    for (CaptureThreadImpl* impl : m_impls) {
        if (impl->is_available()) {
            m_active_transport = impl;
            CaptureLog(QStringLiteral("using ") + impl->getName());
            if (impl->getName() != previous_name) emit transportChanged(impl->getName());
            if (was_capturing) startCapture();
            return;
        }
    }
    CaptureLog(QStringLiteral("no working transport !"));
    if (!previous_name.isEmpty()) emit transportChanged(QString());
}

void CaptureThread::selectTransport(const QString& name)
{
    CaptureLog(QStringLiteral("CaptureThread: INFO: using ") + name + " transport");
    CaptureThreadImpl* active = m_active_transport.load();
    if (active && active->getName() == name) return;
    const bool was_capturing = m_is_capturing.load();
    if (was_capturing) stopCapture();
    const QString previous_name = active ? active->getName() : QString();
    CaptureThreadImpl* found = getTransport(name);
    if (!found) {
        const QString message = QStringLiteral("CaptureThread: ERROR: unknown transport '") + name + "'";
        CaptureLog(message);
        throw message;
    }
    m_active_transport = found;
    if (name != previous_name) emit transportChanged(name);
    if (was_capturing) startCapture();
}

void CaptureThread::selectTransport(int index)
{
    assert(index >= 0 && index < int(m_impls.size()));
    CaptureThreadImpl* impl = m_impls[size_t(index)];
    if (impl == m_active_transport.load()) return;
    CaptureLog(QStringLiteral("CaptureThread: INFO: change transport to ") + impl->getName() + " transport");
    if (m_is_capturing.load()) {
        stopCapture();
        m_active_transport = impl;
        emit transportChanged(impl->getName());
        startCapture();
    } else {
        m_active_transport = impl;
        emit transportChanged(impl->getName());
    }
}

void CaptureThread::reset()
{
    stopCapture();
    startCapture();
}

void CaptureThread::startCapture()
{
    if (CaptureThreadImpl* active = m_active_transport.load()) active->startCapture();
}

void CaptureThread::stopCapture()
{
    if (CaptureThreadImpl* active = m_active_transport.load()) active->stopCapture();
}

void CaptureThread::toggleCapture(bool run)
{
    if (run && !m_is_capturing.load())
        startCapture();
    else if (!run && m_is_capturing.load())
        stopCapture();
}

void CaptureThread::togglePause(bool pause)
{
    m_paused = pause;
}

void CaptureThread::setSamplingRate(int value)
{
    if (CaptureThreadImpl* active = m_active_transport.load()) active->setSamplingRate(value);
}

void CaptureThread::setSource(const QString& src)
{
    CaptureThreadImpl* active = m_active_transport.load();
    if (!active) {
        CaptureLog(QStringLiteral("CaptureThread: setSource: ERROR: select a transport first"));
        return;
    }
    if (src == active->getSource()) return;
    active->setSource(src);
    if (m_is_capturing.load()) {
        stopCapture();
        startCapture();
    }
    emit sourceChanged(active->getSource());
}

void CaptureThread::setMixMultipleChannels(bool mix)
{
    m_mix_channels = mix;
}
