#include "app/logfile.h"

#include "app/appfolder.h"
#include "app/platform.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <mutex>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

QString LogFolderPath()
{
#ifdef Q_OS_WIN
    return QDir::tempPath() + QLatin1Char('/') + QLatin1String(kMakerName);
#else
    return Platform::PrivateFolder();
#endif
}

QString LogFilePath()
{
    return LogFolderPath() + QStringLiteral("/splicora.log");
}

void RemovePreviousLogFile()
{
    // A link in its place goes, never what it points at.
    QFile::remove(LogFilePath());
}

QString FormatLogLine(const QDateTime& when, const QString& message)
{
    // The day name stays English whatever the desktop's locale, so logs
    // sent in by users read the same everywhere.
    const QString stamp = QLocale::c().toString(when, QStringLiteral("yyyy-MM-dd hh:mm:ss ddd"));
    return QStringLiteral("%1 : %2").arg(stamp, message);
}

namespace {

// Opens the log for appending. Nothing here may log: the handler runs it.
bool OpenLog(const QString& path, QFile* file)
{
#ifdef Q_OS_WIN
    file->setFileName(path);
    return file->open(QIODevice::WriteOnly | QIODevice::Append);
#else
    // A link planted in the file's place is not followed, and a pipe there
    // cannot block the program.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK,
                          S_IRUSR | S_IWUSR);
    if (fd < 0)
        return false;
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid() ||
        !file->open(fd, QIODevice::WriteOnly | QIODevice::Append, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
#endif
}

} // namespace

void LogMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    Q_UNUSED(type)
    Q_UNUSED(context)
    const QString folder = LogFolderPath();
#ifdef Q_OS_WIN
    // QDir::mkdir and friends do not log, so calling them here cannot recurse.
    if (!QDir(folder).exists())
        QDir().mkdir(folder);
#else
    // The private folder is made again when it was removed; one that has
    // become reachable by others takes no more lines.
    if (!Platform::CheckPrivateFolder(folder).isEmpty())
        return;
#endif
    const QString path = folder + QStringLiteral("/splicora.log");

    static std::mutex lock;
    std::lock_guard<std::mutex> guard(lock);
    const QByteArray line =
        FormatLogLine(QDateTime::currentDateTime(), message).toUtf8() + QByteArrayLiteral("\r\n");
    QFile file;
    if (!OpenLog(path, &file))
        return; // the line is lost; the next message tries again
    file.write(line);
    file.flush();
    file.close();
}
