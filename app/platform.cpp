#include "app/platform.h"

#include "app/appfolder.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#else
#include <QDBusConnection>
#include <QDBusMessage>
#include <unistd.h>
#endif

namespace Platform {

SingleInstance::SingleInstance() = default;

SingleInstance::~SingleInstance(){
#ifdef Q_OS_WIN
// The first copy keeps its mutex until the process ends; the system
// releases it then.
#endif
}

QString SingleInstance::lockFilePath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime + QStringLiteral("/Splicora.lock");
#ifdef Q_OS_WIN
    return QDir::tempPath() + QStringLiteral("/Splicora.lock");
#else
    // The temporary folder is shared between users; keep one lock per user.
    return QDir::tempPath() + QStringLiteral("/Splicora-%1.lock").arg(getuid());
#endif
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
    m_lock = std::make_unique<QLockFile>(lockFilePath());
    // Never stale by age: a copy that runs for days keeps its lock. A lock
    // whose owner died is still detected through its process id.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return true;
    if (m_lock->error() == QLockFile::LockFailedError) {
        m_lock.reset();
        return false;
    }
    // Permission or unknown errors must not keep the user from working.
    m_lock.reset();
    return true;
#endif
}

void ResetLibraryPaths(const QString& appFolder)
{
    const QStringList previous = QCoreApplication::libraryPaths();
    QStringList paths{appFolder, appFolder + QStringLiteral("/plugins")};
    for (const QString& path : previous) {
        qDebug("%s", qUtf8Printable(path));
#ifndef Q_OS_WIN
        // A system-wide toolkit keeps its plug-ins outside the application
        // folder; without them JPEG thumbnails, GIF animations and HTTPS go.
        if (!paths.contains(path))
            paths << path;
#endif
    }
    QCoreApplication::setLibraryPaths(paths);
}

bool OpenFolder(const QString& folder)
{
#ifdef Q_OS_WIN
    return QProcess::startDetached(QStringLiteral("explorer.exe"),
                                   {QDir::toNativeSeparators(folder)});
#else
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
#endif
}

bool ShowInFileManager(const QString& filePath)
{
#ifdef Q_OS_WIN
    QProcess process;
    process.setProgram(QStringLiteral("explorer.exe"));
    process.setNativeArguments(
        QStringLiteral("/select,\"%1\"").arg(QDir::toNativeSeparators(filePath)));
    if (process.startDetached())
        return true;
#else
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(filePath).toString()} << QString();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 3000);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
#endif
    return OpenFolder(QFileInfo(filePath).absolutePath());
}

void KillProcessesNamed(const QString& baseName, int timeoutMs)
{
    QProcess process;
#ifdef Q_OS_WIN
    process.start(QStringLiteral("taskkill"), {QStringLiteral("/f"), QStringLiteral("/t"),
                                               QStringLiteral("/im"), ExecutableName(baseName)});
#else
    process.start(QStringLiteral("pkill"), {QStringLiteral("-x"), QStringLiteral("-U"),
                                            QString::number(getuid()), baseName});
#endif
    process.waitForFinished(timeoutMs);
}

int StartInstaller(const QString& filePath)
{
    if (!QFileInfo::exists(filePath))
        return 2;
#ifdef Q_OS_WIN
    const QByteArray local = QDir::toNativeSeparators(filePath).toLocal8Bit();
    const auto result = reinterpret_cast<qintptr>(
        ShellExecuteA(nullptr, "open", local.constData(), nullptr, nullptr, SW_SHOWNORMAL));
    return int(result);
#else
    QFile file(filePath);
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    if (!QFileInfo(filePath).isExecutable())
        return 11;
    return QProcess::startDetached(filePath, {}) ? 33 : 11;
#endif
}

void PreferX11Platform()
{
#ifdef Q_OS_LINUX
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
                         qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
    if (wayland && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
#endif
}

} // namespace Platform
