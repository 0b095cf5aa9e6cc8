#pragma once

#include "media/proberefusal.h"

#include <QString>
#include <QStringList>

// What a successful probe hands to the media list for one file.
struct ProbeResult
{
    QString filePath;
    QString thumbnailPath;
    QString durationLine;
    QStringList videoStreamLines;
    QStringList audioStreamLines;
    QStringList audioStreamTitles; // parallel to audioStreamLines
};

// The longest the media tool may take to report on one file.
inline constexpr int kProbeTimeoutMs = 3000;

// Work folder + "/thumb/" + MD5 of the path + ".jpg". Creates the thumbnail
// folder and deletes an earlier picture, so a stale one never survives a
// failed run.
QString PrepareThumbnailPath(const QString& mediaPath);

// The media tool's arguments: report on the input and write its opening
// picture to the thumbnail path in the same run.
QStringList ProbeArguments(const QString& mediaPath, const QString& thumbnailPath);

// Reads the tool's report into a result. Returns 0 when the report holds a
// duration line and at least one stream line and describes a recording (not
// text or a still picture, see IsNonMediaReport), -1 otherwise.
int ProbeResultFromOutput(const QString& mediaPath, const QString& thumbnailPath,
                          const QString& toolOutput, ProbeResult* result);

// Logs what the tool printed (the whole report, or that it printed nothing)
// and reads it into a result. Returns 0 for a usable report, -1 otherwise;
// then a picture the tool wrote for the refused file is removed.
int FinishProbe(const QString& mediaPath, const QString& thumbnailPath, const QString& toolOutput,
                ProbeResult* result);

// Runs the media tool on one file and waits for it (at most timeoutMs).
// Returns 0 with `result` filled, or -1 when the tool printed nothing usable,
// with the reason in `refusal` when given. The tool's whole output is logged.
int RunProbe(const QString& mediaPath, ProbeResult* result, int timeoutMs = kProbeTimeoutMs,
             ProbeRefusal* refusal = nullptr);
