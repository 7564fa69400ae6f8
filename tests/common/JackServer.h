#pragma once
// A JACK server of a test's own (jackd on the dummy driver, 1024-frame periods at
// 44100 Hz), for the tests that kill and restart one without disturbing the others.

#include <QByteArray>
#include <QProcess>
#include <QThread>
#include <jack/jack.h>

/// Starts jackd named `name` in `server` and returns once it accepts clients (10 s at
/// most).
inline bool StartJackServer(QProcess& server, const QByteArray& name)
{
    server.setProgram("jackd");
    server.setArguments(
        {"--no-realtime", "-n", QString::fromLatin1(name), "-d", "dummy", "-r", "44100", "-p", "1024"});
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.setStandardOutputFile(QProcess::nullDevice());
    server.start();
    if (!server.waitForStarted(5000)) return false;
    for (int waited = 0; waited < 10000; waited += 50) {
        jack_client_t* probe = jack_client_open(
            "orfe_probe", jack_options_t(JackNoStartServer | JackServerName), nullptr, name.constData());
        if (probe) {
            jack_client_close(probe);
            return true;
        }
        QThread::msleep(50);
    }
    return false;
}
