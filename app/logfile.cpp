#include "app/logfile.h"

#include "app/appfolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <mutex>

QString LogFolderPath()
{
    return QDir::tempPath() + QLatin1Char('/') + QLatin1String(kMakerName);
}

QString LogFilePath()
{
    return LogFolderPath() + QStringLiteral("/splicora.log");
}

void RemovePreviousLogFile()
{
    QFile::remove(LogFilePath());
}

QString FormatLogLine(const QDateTime& when, const QString& message)
{
    // The day name stays English whatever the desktop's locale, so logs
    // sent in by users read the same everywhere.
    const QString stamp = QLocale::c().toString(when, QStringLiteral("yyyy-MM-dd hh:mm:ss ddd"));
    return QStringLiteral("%1 : %2").arg(stamp, message);
}

void LogMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    Q_UNUSED(type)
    Q_UNUSED(context)
    const QString folder = LogFolderPath();
    // QDir::mkdir and friends do not log, so calling them here cannot recurse.
    if (!QDir(folder).exists())
        QDir().mkdir(folder);
    const QString path = folder + QStringLiteral("/splicora.log");

    static std::mutex lock;
    std::lock_guard<std::mutex> guard(lock);
    const QByteArray line =
        FormatLogLine(QDateTime::currentDateTime(), message).toUtf8() + QByteArrayLiteral("\r\n");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return; // the line is lost; the next message tries again
    file.write(line);
    file.flush();
    file.close();
}
