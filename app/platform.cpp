#include "app/platform.h"

#include "app/appfolder.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#else
#include <QDBusConnection>
#include <QDBusMessage>
#endif

namespace Platform {

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
