// The platform pieces that need no GUI, so the widget-free core can name
// and find its tools, keep its files where only the user can reach them and
// hold the single-copy lock.
#include "app/appfolder.h"
#include "app/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Platform {

QString ExecutableName(const QString& baseName)
{
#ifdef Q_OS_WIN
    return baseName + QStringLiteral(".exe");
#else
    return baseName;
#endif
}

QString FindTool(const QString& baseName)
{
    const QString name = ExecutableName(baseName);
    if (!AppFolder().isEmpty()) {
        const QString beside = AppFolder() + QLatin1Char('/') + name;
        const QFileInfo info(beside);
        if (info.exists() && info.isExecutable())
            return beside;
    }
    return QStandardPaths::findExecutable(name);
}

namespace {

#ifndef Q_OS_WIN
// Makes the folder when it is missing. Returns true when this call made it;
// only then are its permissions set, through a handle that cannot be
// redirected by a link put in its place.
bool MakeFolder(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), S_IRWXU) != 0)
        return false;
    // A strict umask may have taken bits the owner needs; nothing is added
    // for anyone else.
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        struct stat info = {};
        if (::fstat(fd, &info) == 0 && info.st_uid == ::geteuid())
            ::fchmod(fd, S_IRWXU);
        ::close(fd);
    }
    return true;
}
#endif

struct PrivatePlace
{
    QString path;
    QString problem;
    bool fallback = false;
};

// Nothing here may log: the log handler asks for the folder, and a message
// from inside the first call would come back into it.
PrivatePlace ResolvePrivateFolder()
{
    PrivatePlace place;
    const QString wanted = PreferredPrivateFolder();
#ifdef Q_OS_WIN
    QDir().mkpath(wanted);
    place.path = wanted;
#else
    // ~/.cache may not exist yet on a fresh account.
    QDir().mkpath(QFileInfo(wanted).absolutePath());
    MakeFolder(wanted);
    place.problem = CheckPrivateFolder(wanted);
    if (place.problem.isEmpty()) {
        place.path = wanted;
        return place;
    }
    // mkdtemp makes it 0700 under a name nobody can guess; it lives as long
    // as the process.
    static QTemporaryDir fallback(QDir::tempPath() + QStringLiteral("/splicora-XXXXXX"));
    place.fallback = true;
    if (fallback.isValid() && CheckPrivateFolder(fallback.path()).isEmpty())
        place.path = fallback.path();
#endif
    return place;
}

const PrivatePlace& Place()
{
    static const PrivatePlace place = ResolvePrivateFolder();
    return place;
}

} // namespace

QString PreferredPrivateFolder()
{
#ifdef Q_OS_WIN
    // The Windows temporary folder belongs to the user alone.
    return QDir::tempPath() + QLatin1Char('/') + QLatin1String(kMakerName);
#else
    const QString folderName = QStringLiteral("/splicora");
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir())
        return QDir::cleanPath(runtime) + folderName;
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!QDir::isAbsolutePath(cache))
        cache = QDir::homePath() + QStringLiteral("/.cache");
    return QDir::cleanPath(cache) + folderName;
#endif
}

QString CheckPrivateFolder(const QString& path)
{
#ifdef Q_OS_WIN
    return QFileInfo(path).isDir() ? QString()
                                   : QCoreApplication::translate("Platform", "it is not a folder");
#else
    struct stat info = {};
    if (path.isEmpty() || ::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return QCoreApplication::translate("Platform", "it cannot be made");
    if (S_ISLNK(info.st_mode))
        return QCoreApplication::translate("Platform", "it is a link to somewhere else");
    if (!S_ISDIR(info.st_mode))
        return QCoreApplication::translate("Platform", "it is not a folder");
    if (info.st_uid != ::geteuid())
        return QCoreApplication::translate("Platform", "it belongs to another user");
    if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return QCoreApplication::translate("Platform", "other users can reach it (mode %1)")
            .arg(info.st_mode & 07777, 4, 8, QLatin1Char('0'));
    if ((info.st_mode & S_IRWXU) != S_IRWXU)
        return QCoreApplication::translate("Platform", "it cannot be written");
    return QString();
#endif
}

QString PrivateFolder()
{
    const PrivatePlace& place = Place();
#ifndef Q_OS_WIN
    // Removed while the program runs (by a cleaner or by hand): made again,
    // private as before. The fallback goes with the process and stays gone.
    if (!place.fallback && !place.path.isEmpty())
        MakeFolder(place.path);
#endif
    return place.path;
}

QString PrivateFolderProblem()
{
    return Place().problem;
}

SingleInstance::SingleInstance() = default;

SingleInstance::~SingleInstance(){
#ifdef Q_OS_WIN
// The first copy keeps its mutex until the process ends; the system
// releases it then.
#endif
}

QString SingleInstance::lockFilePath()
{
    return PrivateFolder() + QStringLiteral("/Splicora.lock");
}

bool SingleInstance::acquire()
{
#ifdef Q_OS_WIN
    HANDLE handle = CreateMutexA(nullptr, FALSE, "Splicora");
    if (handle && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(handle);
        return false;
    }
    m_mutex = handle; // any other outcome lets this copy run
    return true;
#else
    const QString path = lockFilePath();
    m_lock = std::make_unique<QLockFile>(path);
    // Never stale by age: a copy that runs for days keeps its lock. A lock
    // whose owner died is still detected through its process id.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return true;
    const QLockFile::LockError error = m_lock->error();
    m_lock.reset();
    if (error == QLockFile::LockFailedError)
        return false;
    // Only a running copy may stop this one; anything else must not keep
    // the user from working.
    m_problem = QStringLiteral("The lock %1 cannot be taken (%2); this copy runs without it")
                    .arg(path, error == QLockFile::PermissionError ? QStringLiteral("no permission")
                                                                   : QStringLiteral("error"));
    return true;
#endif
}

} // namespace Platform
