#pragma once
// A JACK server of a test's own (jackd on the dummy driver, 1024-frame periods at
// 44100 Hz), for the tests that kill and restart one without disturbing the others.

#include <QByteArray>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <jack/jack.h>

/// The server named `name`, run in a child process.
///
/// jack2 keeps all the servers of the machine in one table of eight places, and a
/// server killed with SIGKILL keeps its place until a server of the same name starts
/// again. A killed server that is never started again therefore takes a place for good:
/// a few test runs later no JACK server starts on the machine ("Too many servers already
/// active"). So a server that was killed last is started once more and ended cleanly
/// when this object goes, however the test ended.
class OwnJackServer
{
public:
    explicit OwnJackServer(QByteArray name) : m_name(std::move(name)) {}
    ~OwnJackServer()
    {
        if (m_killed) start();
        stop();
    }

    /// Starts the server and returns once it accepts clients (10 s at most).
    bool start()
    {
        m_process.setProgram("jackd");
        m_process.setArguments({"--no-realtime", "-n", QString::fromLatin1(m_name), "-d", "dummy", "-r",
                                "44100", "-p", "1024"});
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.start();
        if (!m_process.waitForStarted(5000)) return false;
        for (int waited = 0; waited < 10000; waited += 50) {
            jack_client_t* probe = jack_client_open(
                "orfe_probe", jack_options_t(JackNoStartServer | JackServerName), nullptr, m_name.constData());
            if (probe) {
                jack_client_close(probe);
                m_killed = false; // the new server took the killed one's place
                return true;
            }
            if (m_process.state() == QProcess::NotRunning) return false;
            QThread::msleep(50);
        }
        return false;
    }

    /// Kills the server as a crash would (SIGKILL); true once it has gone.
    bool kill()
    {
        // A pid of 0 would signal the whole process group.
        if (m_process.state() == QProcess::NotRunning) return true;
        ::kill(pid_t(m_process.processId()), SIGKILL);
        m_killed = true;
        return m_process.waitForFinished(5000);
    }

    /// Ends the server cleanly (SIGTERM); true once it has gone.
    bool stop()
    {
        if (m_process.state() == QProcess::NotRunning) return true;
        m_process.terminate();
        if (m_process.waitForFinished(5000)) return true;
        m_process.kill();
        m_process.waitForFinished(2000);
        return false;
    }

private:
    QByteArray m_name;
    QProcess m_process;
    bool m_killed = false;
};
