#ifndef ORFE_TESTS_RUNPROGRAM_H
#define ORFE_TESTS_RUNPROGRAM_H

// Runs a command-line program of the project as a user would and keeps what it
// said: its exit status (-1 when it crashed or did not end within the time),
// its standard output by line (empty lines dropped) and its standard error.

#include <QProcess>
#include <QStringList>

struct RunResult
{
    int status = -1;
    QStringList out;
    QString err;
};

inline RunResult RunProgram(const QString& program, const QStringList& args, int timeout_ms = 120000)
{
    QProcess p;
    p.start(program, args);
    RunResult r;
    if (!p.waitForFinished(timeout_ms)) return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

#endif
