#include "media/probe.h"

#include "media/mediainfo.h"
#include "media/workfolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>

QString PrepareThumbnailPath(const QString& mediaPath)
{
    const QString folder = WorkFolder() + QStringLiteral("/thumb");
    QDir().mkpath(folder);
    const QString thumbnail =
        folder + QLatin1Char('/') + ThumbnailName(mediaPath) + QStringLiteral(".jpg");
    QFile::remove(thumbnail);
    return thumbnail;
}

QStringList ProbeArguments(const QString& mediaPath, const QString& thumbnailPath)
{
    return {QStringLiteral("-i"),     mediaPath,
            QStringLiteral("-y"),     QStringLiteral("-f"),
            QStringLiteral("image2"), QStringLiteral("-t"),
            QStringLiteral("1.520"),  thumbnailPath};
}

int ProbeResultFromOutput(const QString& mediaPath, const QString& thumbnailPath,
                          const QString& toolOutput, ProbeResult* result)
{
    const ProbeReport report = ParseProbeReport(toolOutput);
    if (!IsUsableProbeReport(report))
        return -1;
    result->filePath = mediaPath;
    result->thumbnailPath = thumbnailPath;
    result->durationLine = report.durationLine;
    result->videoStreamLines = report.videoStreamLines;
    result->audioStreamLines = report.audioStreamLines;
    return 0;
}

int RunProbe(const QString& mediaPath, ProbeResult* result, int timeoutMs)
{
    const QString thumbnail = PrepareThumbnailPath(mediaPath);
    QString output;
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(FfmpegPath(), ProbeArguments(mediaPath, thumbnail), QIODevice::ReadWrite);
        // The tool would otherwise wait for keyboard commands on a pipe
        // that never sends any.
        process.closeWriteChannel();
        process.waitForFinished(timeoutMs);
        output = QString::fromUtf8(process.readAll());
        // Leaving the scope ends a tool that is still running.
    }
    return FinishProbe(mediaPath, thumbnail, output, result);
}

int FinishProbe(const QString& mediaPath, const QString& thumbnailPath, const QString& toolOutput,
                ProbeResult* result)
{
    if (toolOutput.isEmpty()) {
        qDebug("probe of %s: the media tool printed nothing", qUtf8Printable(mediaPath));
        return -1;
    }
    qDebug("%s", qUtf8Printable(toolOutput));
    return ProbeResultFromOutput(mediaPath, thumbnailPath, toolOutput, result);
}
