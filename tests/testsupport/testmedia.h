#pragma once

#include <QString>
#include <QStringList>

// Helpers for tests that need real media: files are made at test time with
// ffmpeg's lavfi sources and inspected with ffprobe.
namespace TestMedia {

// The system ffmpeg and ffprobe (empty when not installed).
QString Ffmpeg();
QString Ffprobe();

// Runs ffmpeg with "-hide_banner -loglevel error -y" + args; true when it
// exits with code 0 within the timeout.
bool RunFfmpeg(const QStringList& args, int timeoutMs = 60000);

// Makes a clip of `seconds` at `path` with a test picture of the given size
// and rate and a sine tone; the encoders follow from the suffix.
bool MakeClip(const QString& path, double seconds, int width = 320, int height = 240, int fps = 25,
              bool withVideo = true, int audioStreams = 1);

// ffprobe facts of a finished file.
double DurationSeconds(const QString& path);
QStringList StreamTypes(const QString& path); // "video", "audio" in file order
// Values of `entries` (ffprobe stream entry names, comma-separated) of the
// streams `select` picks ("v:0", "a"), in order.
QStringList StreamValues(const QString& path, const QString& select, const QString& entries);

// What decoding the whole file prints at error level; empty for a sound file.
QString DecodeErrors(const QString& path);

// True when the packets of every stream come with strictly increasing
// decode times; otherwise false with the first offence in `detail`.
bool PacketTimesIncrease(const QString& path, QString* detail = nullptr);

// The span of the stream `select` picks, from its packets: from the first
// shown packet to the end of the last, in seconds; -1 when it has none.
double StreamSpanSeconds(const QString& path, const QString& select);

// The frame shown at `seconds` (the file's own time, 0 = its start), as 64x48
// grey bytes; empty when none can be decoded there.
QByteArray GreyFrame(const QString& path, double seconds);

// The mean squared difference of two grey frames of one size.
double FrameDifference(const QByteArray& a, const QByteArray& b);

// Ids of running processes named `name` (any parent) whose command line holds
// `argument`: the tools a test started, found even after their parent died.
QList<qint64> ProcessesNamed(const QString& name, const QString& argument);

// Kills (SIGKILL) every process ProcessesNamed finds: a failing test must not
// leave a tool running.
void KillProcessesNamed(const QString& name, const QString& argument);

// The MD5 of a file's bytes in hexadecimal; "-" when it is no readable file.
QByteArray FileMd5(const QString& path);

// Type and permission bits as lstat sees them (links not followed); 0 when
// there is nothing at the path.
unsigned FileMode(const QString& path);

// Points the application folder at the build's one (SPLICORA_APP_DIR).
void UseBuildAppFolder();

} // namespace TestMedia
