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
    if (!IsUsableProbeReport(report) || IsNonMediaReport(toolOutput))
        return -1;
    result->filePath = mediaPath;
    result->thumbnailPath = thumbnailPath;
    result->durationLine = report.durationLine;
    result->videoStreamLines = report.videoStreamLines;
    result->audioStreamLines = report.audioStreamLines;
    result->audioStreamTitles = report.audioStreamTitles;
    return 0;
}

int RunProbe(const QString& mediaPath, ProbeResult* result, int timeoutMs, ProbeRefusal* refusal)
{
    const QString thumbnail = PrepareThumbnailPath(mediaPath);
    const ProbeRefusal early = RefusalBeforeProbe(mediaPath);
    if (early != ProbeRefusal::None) {
        qDebug("probe of %s: not a plain file, not probed", qUtf8Printable(mediaPath));
        if (refusal)
            *refusal = early;
        return -1;
    }
    QString output;
    bool timedOut = false;
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(FfmpegPath(), ProbeArguments(mediaPath, thumbnail), QIODevice::ReadWrite);
        // The tool would otherwise wait for keyboard commands on a pipe
        // that never sends any.
        process.closeWriteChannel();
        timedOut = !process.waitForFinished(timeoutMs) && process.state() != QProcess::NotRunning;
        output = QString::fromUtf8(process.readAll());
        // Leaving the scope ends a tool that is still running.
    }
    const int status = FinishProbe(mediaPath, thumbnail, output, result);
    if (status != 0 && refusal)
        *refusal = RefusalAfterProbe(mediaPath, output, timedOut);
    return status;
}

int FinishProbe(const QString& mediaPath, const QString& thumbnailPath, const QString& toolOutput,
                ProbeResult* result)
{
    if (toolOutput.isEmpty()) {
        qDebug("probe of %s: the media tool printed nothing", qUtf8Printable(mediaPath));
        return -1;
    }
    qDebug("%s", qUtf8Printable(toolOutput));
    if (ProbeResultFromOutput(mediaPath, thumbnailPath, toolOutput, result) == 0)
        return 0;
    // The tool pictures a text file as happily as a film; no row shows it.
    QFile::remove(thumbnailPath);
    return -1;
}
