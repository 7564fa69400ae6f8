#pragma once
// A JACK client of the test suite: plays a sine of known frequency on its port "out".

#include <QByteArray>
#include <QString>
#include <atomic>
#include <cmath>
#include <jack/jack.h>

class JackSinePlayer
{
public:
    /// Opens the client `name` on the default server (JACK_DEFAULT_SERVER) and activates it.
    JackSinePlayer(const char* name, double frequency) : m_frequency(frequency)
    {
        m_client = jack_client_open(name, JackNoStartServer, nullptr);
        if (!m_client) return;
        m_rate = jack_get_sample_rate(m_client);
        m_port = jack_port_register(m_client, "out", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
        jack_set_process_callback(m_client, &process, this);
        jack_set_xrun_callback(m_client, &xrun, this);
        if (jack_activate(m_client) != 0) {
            jack_client_close(m_client);
            m_client = nullptr;
        }
    }
    ~JackSinePlayer()
    {
        if (m_client) jack_client_close(m_client);
    }
    bool ok() const { return m_client && m_port; }
    QString portName() const { return QString::fromLatin1(jack_port_name(m_port)); }
    int rate() const { return int(m_rate); }
    /// Frames played so far. Any thread.
    long frames() const { return m_frames.load(); }
    /// Cycles the server reported as late (a client missed its deadline). Any thread.
    int xruns() const { return m_xruns.load(); }
    /// jack_connect through this client: 0 on success.
    int connect(const QByteArray& from, const QByteArray& to) { return jack_connect(m_client, from, to); }
    /// Whether the port `from` is connected to the port `to`.
    bool connected(const QByteArray& from, const QByteArray& to) const
    {
        jack_port_t* port = jack_port_by_name(m_client, from);
        if (!port) return false;
        const char** ports = jack_port_get_all_connections(m_client, port);
        bool found = false;
        for (const char** p = ports; p && *p; ++p)
            found |= to == *p;
        jack_free(ports);
        return found;
    }
    /// An audio output port of the server that is not this player's nor orfe's (the
    /// server's own capture ports, or a sink's monitor on PipeWire); empty if none.
    QByteArray anotherOutput() const
    {
        const char** ports = jack_get_ports(m_client, nullptr, JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput);
        QByteArray found;
        for (const char** p = ports; p && *p && found.isEmpty(); ++p)
            if (QByteArray(*p) != portName().toLatin1() && !QByteArray(*p).startsWith("orfe:")) found = *p;
        jack_free(ports);
        return found;
    }
    static constexpr double AMPLITUDE = 0.5;

private:
    // Real-time thread: computes the period from the frame counter, no lock, no allocation.
    // Relaxed atomics only: the library cancels this thread at any point when the client
    // closes, and anything stronger takes a lock under ThreadSanitizer that a cancelled
    // thread would leave held (the next race check of the process would then hang).
    static int process(jack_nframes_t n, void* arg)
    {
        auto* self = static_cast<JackSinePlayer*>(arg);
        float* out = static_cast<float*>(jack_port_get_buffer(self->m_port, n));
        const long first = self->m_frames.load(std::memory_order_relaxed);
        const double w = 2.0 * M_PI * self->m_frequency / self->m_rate;
        for (jack_nframes_t i = 0; i < n; ++i)
            out[i] = float(AMPLITUDE * std::sin(w * double(first + long(i))));
        self->m_frames.store(first + long(n), std::memory_order_relaxed);
        return 0;
    }

    static int xrun(void* arg)
    {
        static_cast<JackSinePlayer*>(arg)->m_xruns.fetch_add(1, std::memory_order_relaxed);
        return 0;
    }

    double m_frequency;
    jack_client_t* m_client = nullptr;
    jack_port_t* m_port = nullptr;
    jack_nframes_t m_rate = 0;
    std::atomic<long> m_frames{0};
    std::atomic<int> m_xruns{0};
};
