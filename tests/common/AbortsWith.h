#ifndef ORFE_TESTS_ABORTSWITH_H
#define ORFE_TESTS_ABORTSWITH_H

// Checks a broken precondition: runs f in a child process and tells whether the
// child died of SIGABRT with `text` (the failed assertion's expression) on its
// standard error.

#include <QByteArray>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

template <typename F> bool abortsWith(F f, const char* text)
{
    int fds[2];
    if (pipe(fds) != 0) return false;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 2);
        close(fds[0]);
        f();
        _exit(0);
    }
    close(fds[1]);
    QByteArray err;
    char buf[512];
    ssize_t got;
    while ((got = read(fds[0], buf, sizeof buf)) > 0)
        err.append(buf, int(got));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT && err.contains(text);
}

#endif
