// Ends a child that leads a process group of its own (php and whatever it
// started), and lets the QProcess go once its events are done.
#pragma once

#include <QProcess>

#include <csignal>
#include <sys/types.h>

inline void EndProcessGroup(QProcess* process)
{
    // While the child is not yet reaped its id names its group and no other.
    if (const qint64 pid = process->processId(); pid > 0)
        ::kill(-static_cast<pid_t>(pid), SIGKILL);
    process->kill();
    process->waitForFinished(1000);
    process->deleteLater();
}
