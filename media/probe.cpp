#include "media/probe.h"

#include "media/childprocess.h"
#include "media/frameindex.h"
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

QString ToolInput(const QString& mediaPath)
{
    return QStringLiteral("file:") + mediaPath;
}

QStringList ProbeArguments(const QString& mediaPath)
{
    // Warnings stay on: "misdetection possible" tells a text file named .mp4
    // from a cut-off recording. Only the facts the report is built from are
    // asked for; the file's own tags never reach this program's text.
    return {QStringLiteral("-v"),
            QStringLiteral("warning"),
            QStringLiteral("-of"),
            QStringLiteral("json"),
            QStringLiteral("-show_entries"),
            ProbeJsonEntries(),
            QStringLiteral("-i"),
            ToolInput(mediaPath)};
}

QStringList ThumbnailArguments(const QString& mediaPath, const QString& thumbnailPath)
{
    return {QStringLiteral("-v"),  QStringLiteral("error"), QStringLiteral("-nostdin"),
            QStringLiteral("-i"),  ToolInput(mediaPath),    QStringLiteral("-an"),
            QStringLiteral("-sn"), QStringLiteral("-dn"),   QStringLiteral("-frames:v"),
            QStringLiteral("1"),   QStringLiteral("-f"),    QStringLiteral("image2"),
            QStringLiteral("-y"),  ToolInput(thumbnailPath)};
}

int ProbeResultFromReport(const QString& mediaPath, const QString& thumbnailPath,
                          const ProbeReport& report, ProbeResult* result)
{
    if (!IsUsableProbeReport(report) || IsNonMediaReport(report))
        return -1;
    result->filePath = mediaPath;
    result->thumbnailPath = thumbnailPath;
    result->durationLine = report.durationLine;
    result->videoStreamLines = report.videoStreamLines;
    result->audioStreamLines = report.audioStreamLines;
    result->audioStreamTitles = report.audioStreamTitles;
    result->formatName = report.formatName;
    return 0;
}

int FinishProbe(const QString& mediaPath, const QString& thumbnailPath, const QByteArray& json,
                const QString& errorText, ProbeResult* result, ProbeReport* report)
{
    if (json.trimmed().isEmpty() && errorText.trimmed().isEmpty()) {
        qDebug("probe of %s: the media tool printed nothing", qUtf8Printable(mediaPath));
        if (report)
            *report = ProbeReport();
        return -1;
    }
    // The answer is JSON, so the file's name and tags inside it are escaped
    // and cannot break the log into lines of their own.
    qDebug("probe of %s: %s%s", qUtf8Printable(mediaPath), json.trimmed().constData(),
           qUtf8Printable(errorText.isEmpty() ? QString() : QLatin1Char('\n') + errorText));
    const ProbeReport read = ProbeReportFromJson(json);
    if (report)
        *report = read;
    return ProbeResultFromReport(mediaPath, thumbnailPath, read, result);
}

namespace {

// Runs the media tool for the picture and waits for it; a picture it could
// not write leaves the row its placeholder.
void DrawThumbnail(const ProbeResult& result, int timeoutMs)
{
    QProcess process;
    ChildProcess::DieWithParent(process);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(FfmpegPath(), ThumbnailArguments(result.filePath, result.thumbnailPath),
                  QIODevice::ReadOnly);
    if (!process.waitForFinished(timeoutMs))
        qDebug("thumbnail of %s: not written in time", qUtf8Printable(result.filePath));
    const QByteArray messages = process.readAll().trimmed();
    if (!messages.isEmpty())
        qDebug("thumbnail of %s: %s", qUtf8Printable(result.filePath), messages.constData());
    // Leaving the scope ends a tool that is still running.
}

} // namespace

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
    QByteArray json;
    QString errorText;
    bool timedOut = false;
    {
        QProcess process;
        ChildProcess::DieWithParent(process);
        process.start(FfprobePath(), ProbeArguments(mediaPath), QIODevice::ReadOnly);
        timedOut = !process.waitForFinished(timeoutMs) && process.state() != QProcess::NotRunning;
        json = process.readAllStandardOutput();
        errorText = QString::fromUtf8(process.readAllStandardError());
        // Leaving the scope ends a prober that is still running.
    }
    ProbeReport report;
    const int status = FinishProbe(mediaPath, thumbnail, json, errorText, result, &report);
    if (status != 0) {
        if (refusal)
            *refusal = RefusalAfterProbe(mediaPath, report, errorText, timedOut);
        return status;
    }
    if (NeedsThumbnail(*result))
        DrawThumbnail(*result, timeoutMs);
    return 0;
}
