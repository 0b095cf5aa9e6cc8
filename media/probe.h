#pragma once

#include "media/mediainfo.h"
#include "media/proberefusal.h"

#include <QByteArray>
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
    QString formatName;            // the reader's names, "mov,mp4,m4a,3gp,3g2,mj2"
};

// The longest the prober may take to report on one file, and, separately,
// the media tool to draw its thumbnail.
inline constexpr int kProbeTimeoutMs = 3000;
// More than any honest answer; a prober printing this much is ended.
inline constexpr qint64 kMostProbeOutput = 16 * 1024 * 1024;

// Work folder + "/thumb/" + MD5 of the path + ".jpg". Creates the thumbnail
// folder and deletes an earlier picture, so a stale one never survives a
// failed run.
QString PrepareThumbnailPath(const QString& mediaPath);

// The input as the tools are given it: "file:" in front, so that no name
// is read as an option ("-clip.mp4") or another source ("concat:...").
QString ToolInput(const QString& mediaPath);

// The prober's arguments: the input's format and stream facts as JSON.
QStringList ProbeArguments(const QString& mediaPath);

// The media tool's arguments: write the input's opening picture.
QStringList ThumbnailArguments(const QString& mediaPath, const QString& thumbnailPath);

// Reads the prober's report into a result. Returns 0 when the report holds
// a duration line and at least one sound or picture stream and describes a
// recording (not text or a still picture, see IsNonMediaReport), -1
// otherwise.
int ProbeResultFromReport(const QString& mediaPath, const QString& thumbnailPath,
                          const ProbeReport& report, ProbeResult* result);

// Logs what the prober printed (its answer and its messages, or that it
// printed nothing) and reads the answer into a result; `report` receives
// what was read, for a refusal's reason. Returns 0 for a usable answer, -1
// otherwise.
int FinishProbe(const QString& mediaPath, const QString& thumbnailPath, const QByteArray& json,
                const QString& errorText, ProbeResult* result, ProbeReport* report = nullptr);

// Whether the file has a picture to draw a thumbnail from (cover art counts).
inline bool NeedsThumbnail(const ProbeResult& result)
{
    return !result.videoStreamLines.isEmpty();
}

// Probes one file and, when it has pictures, draws its thumbnail; each tool
// is waited for at most timeoutMs. Returns 0 with `result` filled, or -1
// when the prober found no recording, with the reason in `refusal` when
// given. What the prober printed is logged.
int RunProbe(const QString& mediaPath, ProbeResult* result, int timeoutMs = kProbeTimeoutMs,
             ProbeRefusal* refusal = nullptr);
