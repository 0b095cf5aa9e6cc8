#include "media/childprocess.h"

#include <QDir>
#include <QFile>

namespace ChildProcess {

namespace {

#ifdef Q_OS_LINUX
// The fields of /proc/<pid>/stat after the program name, which may itself
// hold spaces and parentheses: "pid (comm) state ppid ...".
bool ReadStat(qint64 pid, QByteArray* name, QList<QByteArray>* fields)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const qsizetype open = text.indexOf('(');
    const qsizetype close = text.lastIndexOf(')');
    if (open < 0 || close < open)
        return false;
    if (name)
        *name = text.mid(open + 1, close - open - 1);
    *fields = text.mid(close + 2).split(' ');
    return true;
}
#endif

} // namespace

QList<qint64> ProcessesNamed(const QString& name, const QString& argument, qint64 parent)
{
    QList<qint64> pids;
#ifdef Q_OS_LINUX
    const QByteArray parentId = QByteArray::number(parent);
    const QByteArray wanted = name.toLocal8Bit();
    const QByteArray needle = argument.toLocal8Bit();
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number)
            continue;
        QByteArray comm;
        QList<QByteArray> fields;
        // fields[0] is the state, fields[1] the parent's id. A zombie is gone
        // already; only its parent has not noticed.
        if (!ReadStat(pid, &comm, &fields) || fields.size() < 2 || comm != wanted ||
            fields[0] == "Z" || (parent >= 0 && fields[1] != parentId))
            continue;
        if (!needle.isEmpty()) {
            QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
            if (!cmdline.open(QIODevice::ReadOnly) || !cmdline.readAll().contains(needle))
                continue;
        }
        pids.append(pid);
    }
#else
    Q_UNUSED(name)
    Q_UNUSED(argument)
    Q_UNUSED(parent)
#endif
    return pids;
}

QList<qint64> ChildrenNamed(const QString& name, const QString& argument)
{
#ifdef Q_OS_LINUX
    return ProcessesNamed(name, argument, qint64(::getpid()));
#else
    return ProcessesNamed(name, argument, 0);
#endif
}

qint64 CpuTicks(qint64 pid)
{
#ifdef Q_OS_LINUX
    QList<QByteArray> fields;
    // utime and stime are the 14th and 15th fields of the line, 12th and
    // 13th after the name.
    if (!ReadStat(pid, nullptr, &fields) || fields.size() < 13)
        return -1;
    bool okUser = false;
    bool okSystem = false;
    const qint64 user = fields[11].toLongLong(&okUser);
    const qint64 system = fields[12].toLongLong(&okSystem);
    return okUser && okSystem ? user + system : -1;
#else
    Q_UNUSED(pid)
    return -1;
#endif
}

} // namespace ChildProcess
