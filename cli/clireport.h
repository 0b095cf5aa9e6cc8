#pragma once

#include "media/mediainfo.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

// What splicora-cli prints: the facts of a probed file, and the progress of
// a job as a terminal line or as JSON. Pure text, so it is tested as such.

// One probed file: what a list row would hold of it.
struct ProbedFile
{
    QString path;
    bool ok = false;
    QString reason;     // why it is no usable media file, in the user's words
    QString formatName; // the reader's names ("mov,mp4,m4a,3gp,3g2,mj2")
    MediaInfo info;     // as FillMediaInfo and ComputeEncodingParameters leave it
};

// The file as text, one fact a line:
//   /media/a.mp4
//     duration   00:00:10.000
//     container  mp4 (mov,mp4,m4a,3gp,3g2,mj2)
//     video      h264 320x240 25fps
//     audio 1    aac 44100 Hz stereo (eng, Commentary)
QString ProbeText(const ProbedFile& file);
// The same as a JSON object, numbers as numbers: duration in seconds, sizes
// in pixels, rates in frames per second and hertz, channel counts. A file
// that was refused is {"file": ..., "error": reason}.
QJsonObject ProbeJson(const ProbedFile& file);

// A progress value (hundredths of a percent) as a percent with one decimal.
double PercentOf(int value);
// The seconds a job still needs at `value` after `elapsed` seconds, going
// on at the same pace; -1 while too little is done to tell.
double RemainingSeconds(int value, double elapsed);
// "0:07", "12:30", "1:02:03" for whole seconds.
QString ClockOf(double seconds);

// One update as a JSON line (with its '\n'):
// {"phase":"joining","percent":42.5,"elapsed":1.23}; `extra` adds fields
// ("result", "error", "note").
QByteArray ProgressJsonLine(const QString& phase, int value, double elapsed,
                            const QJsonObject& extra = {});
// The terminal line, at most `columns` characters:
// "joining  [#######-------]  42.5%  0:03 elapsed  0:04 left".
QString ProgressBarText(const QString& phase, int value, double elapsed, double remaining,
                        int columns);
