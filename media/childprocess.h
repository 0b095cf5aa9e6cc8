#pragma once

// Children that never outlive the program. A media tool left running after
// the program was killed keeps writing a file nobody will finish, and a
// player keeps playing with no window to stop it, so every child is started
// with the request to be ended when its parent goes.
//
// The part the engine library needs is inline: the library is loaded by the
// program but links only the toolkit's core, never this code base's core.

#include <QProcess>

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace ChildProcess {

// Makes `process` end (SIGKILL) when the thread that starts it ends; for a
// process started from the main thread that is the end of the program,
// however it ends. The starting thread must therefore live as long as the
// child should: the interface thread, or a worker that waits for the child.
// Call before start(). Elsewhere than on Linux it does nothing.
inline void DieWithParent(QProcess& process)
{
#ifdef Q_OS_LINUX
    const pid_t parent = ::getpid();
    process.setChildProcessModifier([parent] {
        // Runs in the child between fork and exec: only async-signal-safe
        // calls. If the parent went before the request took effect, no
        // signal will ever come, so the child leaves at once.
        if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent)
            ::_exit(127);
    });
#else
    Q_UNUSED(process)
#endif
}

// Lets a started child yield the processor to the program. Work the user is
// not waiting on right now (reading the facts, thumbnails and keyframes of a
// long list) runs behind the interface thread, so that a window with two
// busy tools on two processors still answers at once. Called by the parent
// after start(), never in the child before exec: the parent waits for that
// exec, and a child already made to yield would make the window wait.
inline void YieldToProgram(QProcess& process)
{
#ifdef Q_OS_LINUX
    const qint64 pid = process.processId();
    // Not being able to yield is no reason not to run.
    if (pid > 0)
        (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(pid), 10);
#else
    Q_UNUSED(process)
#endif
}

// Processes, their ids and the processor time they used: what a watchdog
// needs to tell a busy child from a stuck one. Linux reads /proc; elsewhere
// nothing is known and the functions say so.

// Live processes whose program name is `name` and whose command line holds
// `argument` (any when empty); only children of `parent` unless it is -1.
QList<qint64> ProcessesNamed(const QString& name, const QString& argument = QString(),
                             qint64 parent = -1);
// The same among the children of this process.
QList<qint64> ChildrenNamed(const QString& name, const QString& argument = QString());

// Processor time the process has used so far, in clock ticks; -1 when it
// cannot be read (gone, or not known on this system).
qint64 CpuTicks(qint64 pid);

} // namespace ChildProcess
