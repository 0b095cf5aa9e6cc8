#include "media/toolfiles.h"

#include "app/appfolder.h"
#include "app/platform.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN

const QStringList& ToolFiles()
{
    static const QStringList files{
        QStringLiteral("avutil-56.dll"),     QStringLiteral("avformat-58.dll"),
        QStringLiteral("avfilter-7.dll"),    QStringLiteral("avdevice-58.dll"),
        QStringLiteral("avcodec-58.dll"),    QStringLiteral("libintl-8.dll"),
        QStringLiteral("libiconv-2.dll"),    QStringLiteral("libgcc_s_dw2-1.dll"),
        QStringLiteral("libfreetype-6.dll"), QStringLiteral("libfontconfig-1.dll"),
        QStringLiteral("pthreadGC-3.dll"),   QStringLiteral("postproc-55.dll"),
        QStringLiteral("libz-1.dll"),        QStringLiteral("libxml2-2.dll"),
        QStringLiteral("libx265.dll"),       QStringLiteral("libstdc++-6.dll"),
        QStringLiteral("libx264-157.dll"),   QStringLiteral("xvidcore.dll"),
        QStringLiteral("swscale-5.dll"),     QStringLiteral("swresample-3.dll"),
        QStringLiteral("SDL2.dll"),          QStringLiteral("ffmpeg.exe")};
    return files;
}

void CopyToolFiles(const QString& folder, bool remove)
{
    const QString tool = Platform::ExecutableName(QStringLiteral("ffmpeg"));
    for (const QString& name : ToolFiles()) {
        const QString target = folder + QLatin1Char('/') + name;
        if (remove) {
            QFile::remove(target);
            continue;
        }
        if (QFileInfo::exists(target))
            continue;
        QString source = AppFolder() + QLatin1Char('/') + name;
        if (name == tool && !QFileInfo::exists(source))
            source = Platform::FindTool(QStringLiteral("ffmpeg"));
        if (source.isEmpty())
            continue;
        // QFile::copy reads through a symbolic link, so the staged tool is a
        // real file even when the application folder only links to it.
        if (QFile::copy(source, target))
            QFile(target).setPermissions(QFile(source).permissions());
    }
}
#endif
