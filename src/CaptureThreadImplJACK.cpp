#include "CaptureThreadImplJACK.h"

#include <cstdio>

namespace {
constexpr int POLL_MS = 50;
constexpr size_t READ_BYTES = 1024 * sizeof(float);

// The JACK library reports every failed attempt to reach a server on standard error;
// while a transport waits for its server to come back these reports are dropped, so
// that the console is not flooded. Process-wide, as the library's error function is.
std::atomic<int> s_quiet_attempts{0};

// Called on the library's threads, which it may cancel at any point when a client
// closes: a relaxed load takes no lock, not even a ThreadSanitizer one, that a cancelled
// thread could leave held.
void JackErrorMessage(const char* message)
{
    if (s_quiet_attempts.load(std::memory_order_relaxed) > 0) return;
    std::fputs(message, stderr);
    std::fputc('\n', stderr);
}

struct QuietAttempt
{
    QuietAttempt() { ++s_quiet_attempts; }
    ~QuietAttempt() { --s_quiet_attempts; }
    QuietAttempt(const QuietAttempt&) = delete;
    QuietAttempt& operator=(const QuietAttempt&) = delete;
};
} // namespace

CaptureThreadImplJACK::CaptureThreadImplJACK(CaptureThread* front)
    : ThreadedCaptureThreadImpl(front, QStringLiteral("JACK"), QStringLiteral("Jack Audio Connection Kit"),
                                POLL_MS)
{
    jack_set_error_function(&JackErrorMessage);
}

CaptureThreadImplJACK::~CaptureThreadImplJACK()
{
    m_object_alive = false;
    stopCapture();
    wait();
    closeCapture();
}

void CaptureThreadImplJACK::setSamplingRate(int)
{
    CaptureLog(QStringLiteral("CaptureThread: ERROR: JACK: setSamplingRate not available with JACK ! change "
                              "the JACK server sampling rate instead"));
}

bool CaptureThreadImplJACK::is_available()
{
    if (m_jack_client.load()) {
        m_status_text = QStringLiteral("available");
        return true;
    }
    const QByteArray name = (m_front->clientName() + "_test").toLatin1();
    jack_client_t* test = jack_client_open(name.constData(), JackNoStartServer, nullptr);
    if (!test) {
        m_status_text = QStringLiteral("N/A");
        return false;
    }
    jack_client_close(test);
    m_status_text = QStringLiteral("available");
    return true;
}

size_t CaptureThreadImplJACK::ringCapacity() const
{
    const jack_ringbuffer_t* ring = m_ring.load();
    return ring ? ring->size - 1 : 0;
}

void CaptureThreadImplJACK::openCapture()
{
    const QByteArray name = m_front->clientName().toLatin1();
    jack_client_t* client = jack_client_open(name.constData(), JackNoStartServer, nullptr);
    if (!client) throw QStringLiteral("JACK: cannot create client, JACK deamon is running ?");
    m_client_handle = client;
    m_jack_client = client;

    jack_set_process_callback(client, &jackProcess, this);
    jack_on_shutdown(client, &jackShutdown, this);
    jack_set_sample_rate_callback(client, &jackSampleRate, this);

    const int rate = int(jack_get_sample_rate(client));
    CaptureLog(QStringLiteral("CaptureThread: INFO: JACK: sampling rate=") + QString::number(rate));
    replaceRing(size_t(rate) * sizeof(float));

    if (jack_activate(client) != 0) throw QStringLiteral("JACK: cannot activate client");

    declareFormat(4, true, true, 1);

    m_input_port = jack_port_register(client, "input", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);

    const QString source = deviceSourceName();
    const QString own = QString::fromLatin1(jack_get_client_name(client)) + ":input";
    m_connected_source = source;
    m_connect_error.clear();
    if (!source.isEmpty() && m_input_port.load()) {
        CaptureLog(QStringLiteral("CaptureThread: INFO: JACK: auto-connect '") + source + "' with '" + own +
                   "'");
        // Reported once the start is announced, so that the window does not take it
        // for the failure that the start ends.
        if (jack_connect(client, source.toLatin1().constData(), own.toLatin1().constData()) != 0)
            m_connect_error = QStringLiteral("JACK: Invalid source '") + source + "'";
    }
    if (m_input_port.load()) restoreConnections(client, own);

    if (rate != m_current_rate.load()) {
        m_current_rate = rate;
        announceRate();
    }
}

void CaptureThreadImplJACK::restoreConnections(jack_client_t* client, const QString& own)
{
    jack_port_t* port = m_input_port.load();
    for (const QString& other : m_saved_connections) {
        const QByteArray name = other.toLatin1();
        if (other == m_connected_source || !jack_port_by_name(client, name.constData()) ||
            jack_port_connected_to(port, name.constData()))
            continue;
        CaptureLog(QStringLiteral("CaptureThread: INFO: JACK: connect again '") + other + "' with '" + own +
                   "'");
        jack_connect(client, name.constData(), own.toLatin1().constData());
    }
}

void CaptureThreadImplJACK::afterStart()
{
    if (!m_connect_error.isEmpty()) m_front->emitError(m_connect_error);
    m_connect_error.clear();
}

bool CaptureThreadImplJACK::waitToResume()
{
    if (!m_server_lost.load()) return false;
    CaptureLog(QStringLiteral("CaptureThread: INFO: JACK: waiting for the server to come back"));
    const QByteArray name = (m_front->clientName() + "_test").toLatin1();
    for (int waited = RETRY_MS; m_object_alive.load() && m_keep_capturing.load(); waited += m_poll_ms) {
        if (waited >= RETRY_MS) {
            waited = 0;
            QuietAttempt quiet;
            if (jack_client_t* test = jack_client_open(name.constData(), JackNoStartServer, nullptr)) {
                jack_client_close(test);
                return true;
            }
        }
        QThread::msleep(m_poll_ms);
    }
    return false;
}

void CaptureThreadImplJACK::captureLoop()
{
    m_start_pending = false;
    float buffer[READ_BYTES / sizeof(float)];
    while (m_keep_capturing.load() && m_jack_client.load() && m_input_port.load() && m_ring.load()) {
        m_loop_uses_ring = true;
        jack_ringbuffer_t* ring = m_ring.load();
        const size_t got = ring ? jack_ringbuffer_read(ring, reinterpret_cast<char*>(buffer), READ_BYTES) : 0;
        m_loop_uses_ring = false;
        if (got == 0) {
            QThread::msleep(10);
            continue;
        }
        // Dropped while paused: pushFloatBlock checks the flag before taking the lock.
        pushFloatBlock(buffer, int(got / sizeof(float)));
    }
    m_server_lost = m_keep_capturing.load() && !m_jack_client.load();
}

void CaptureThreadImplJACK::closeCapture()
{
    // The input's connections, while the server still answers (after a shutdown
    // there is nothing left to ask and the previous list stays).
    if (m_jack_client.load() && m_input_port.load()) {
        m_saved_connections.clear();
        if (const char** ports = jack_port_get_connections(m_input_port.load())) {
            for (const char** p = ports; *p; ++p)
                if (QString::fromLatin1(*p) != m_connected_source)
                    m_saved_connections.append(QString::fromLatin1(*p));
            jack_free(ports);
        }
    }
    if (m_client_handle) {
        // Returns once the server's threads no longer call us back. A process thread
        // that did not stop in time (a client too slow for its server) is cancelled,
        // possibly inside the callback with its flag raised: nobody uses the ring
        // buffer any more, whatever the flag says.
        jack_client_close(m_client_handle);
        m_client_handle = nullptr;
        m_process_uses_ring = false;
    }
    m_jack_client = nullptr;
    m_input_port = nullptr;
    replaceRing(0);
}

void CaptureThreadImplJACK::replaceRing(size_t bytes)
{
    jack_ringbuffer_t* fresh = bytes ? jack_ringbuffer_create(bytes) : nullptr;
    jack_ringbuffer_t* old = m_ring.exchange(fresh);
    if (!old) return;
    // See the class comment: each user must be seen outside the buffer once after the swap.
    while (m_process_uses_ring.load())
        QThread::yieldCurrentThread();
    while (m_loop_uses_ring.load())
        QThread::yieldCurrentThread();
    jack_ringbuffer_free(old);
}

// Real-time thread of the server. On its normal path this takes no lock, allocates
// nothing and prints nothing: it reads atomic flags and pointers and copies the period
// into the ring buffer. Only a full ring buffer (the capture thread more than a second
// behind) makes it print.
int CaptureThreadImplJACK::jackProcess(jack_nframes_t nframes, void* arg)
{
    auto* self = static_cast<CaptureThreadImplJACK*>(arg);
    if (nframes == 0 || self->m_front->m_paused.load() || !self->m_front->m_is_capturing.load()) return 0;
    jack_port_t* port = self->m_input_port.load();
    if (!self->m_jack_client.load() || !port) return 0;

    self->m_process_uses_ring = true;
    jack_ringbuffer_t* ring = self->m_ring.load();
    if (ring) {
        const char* samples = static_cast<const char*>(jack_port_get_buffer(port, nframes));
        const size_t wanted = size_t(nframes) * sizeof(float);
        // Whole samples only, so that the reader never gets out of step with the floats.
        const size_t room = jack_ringbuffer_write_space(ring) / sizeof(float) * sizeof(float);
        const size_t written = jack_ringbuffer_write(ring, samples, wanted < room ? wanted : room);
        self->m_process_uses_ring = false;
        if (written < wanted) {
            // Abnormal path; a literal, so still no allocation.
            std::fputs("CaptureThreadImplJACK::jackProcess Can not write all frames: ringbuffer full?\n",
                       stdout);
            std::fflush(stdout);
        }
        return 0;
    }
    self->m_process_uses_ring = false;
    return 0;
}

// Notification thread of the server: the server went away. The process callback will
// not run again; the capture loop sees the missing client and ends, and the capture
// thread's close releases the ring buffer and the client's resources.
void CaptureThreadImplJACK::jackShutdown(void* arg)
{
    auto* self = static_cast<CaptureThreadImplJACK*>(arg);
    self->m_input_port = nullptr;
    self->m_jack_client = nullptr;
    self->m_front->emitError(QStringLiteral("JACK: server shutdown !"));
}

// Notification thread of the server (and the capture thread when the callback is
// registered): a new sampling rate. Not real-time, so the new buffer may be allocated here.
int CaptureThreadImplJACK::jackSampleRate(jack_nframes_t nframes, void* arg)
{
    auto* self = static_cast<CaptureThreadImplJACK*>(arg);
    const int rate = int(nframes);
    if (rate == self->m_current_rate.load()) return 0;
    self->replaceRing(size_t(rate) * sizeof(float));
    self->m_current_rate = rate;
    self->announceRate();
    return 0;
}
