#pragma once

#include <QString>
#include <QStringList>

// The probed facts of one media file, held by value in its list row. The
// texts come from the probe's report lines (ProbeReport); the five numbers below them are
// derived from those texts by ComputeEncodingParameters.
struct MediaInfo
{
    QStringList videoStreamLines; // trimmed report lines, in report order
    QStringList audioStreamLines;
    QStringList videoStreamIds; // the stream's number in the file, one per line
    QStringList audioStreamIds;
    // The "title" tag of each audio stream, empty where the file has none;
    // parallel to audioStreamLines.
    QStringList audioStreamTitles;
    QString suffix;      // after the last "." of the file name, case kept
    qint64 duration = 0; // microseconds; 0 when not read
    QString videoCodec;
    int width = 0;
    int height = 0;
    QString frameRateText;    // e.g. "29.97fps"
    QString videoBitRateText; // e.g. "5000 kb/s"
    QString audioCodec;
    QString sampleRateText;   // e.g. "44100 Hz"
    QString channelsText;     // e.g. "stereo"
    QString audioBitRateText; // untrimmed, e.g. " 128 kb/s "
    double frameRate = 25.0;
    int videoBitRate = 25000; // bits per second
    int audioChannels = 2;    // from channelsText ("mono" 1, "5.1" 6); 2 when unknown
    int sampleRate = 44100;
    int audioBitRate = 128000; // bits per second
};

// What the prober found out about one input, in the shape the rest of the
// program reads: a duration line and one line per sound or picture stream,
// as the media tool would print them. Every piece of these lines is built
// from a checked structured value, never copied from the file: names and
// tags are printed raw by the tool, so a file could otherwise write lines
// of its own into them.
struct ProbeReport
{
    // "Duration: 00:00:10.00, start: 0.000000, bitrate: 123 kb/s"; empty when
    // the prober could not open the input.
    QString durationLine;
    QStringList videoStreamLines; // cover pictures included, "(attached pic)"
    QStringList audioStreamLines;
    QStringList audioStreamTitles; // parallel to audioStreamLines
    // The reader's names, "matroska,webm"; empty when none opened the input.
    QString formatName;
    // How sure the prober was of the type, 0 to 100; -1 when not told.
    // Low scores mean the type was guessed from the file name.
    int probeScore = -1;
    int otherStreams = 0; // subtitles, data, attachments
    // A sound or picture stream whose rate, channels or size are unknown.
    bool incompleteStreams = false;
};

// The prober's JSON answer (-of json, format and stream entries) as a
// report. Anything malformed, of the wrong type or out of range is left out;
// text that is no JSON object gives an empty report.
ProbeReport ProbeReportFromJson(const QByteArray& json);

// The entries ProbeReportFromJson reads, for the prober's -show_entries.
QString ProbeJsonEntries();

// A report can make a list row only with a duration line and at least one
// sound or picture stream.
bool IsUsableProbeReport(const ProbeReport& report);

// The text the media tool prints for a frame rate or time base: two decimals
// unless whole, whole thousands as "30k", tiny rates with four decimals.
QString RateText(double rate);

// The stream number of each "Stream #0:N" line; a line without one gets its
// position in the list.
QStringList StreamIdsOf(const QStringList& lines);

// Removes every bracketed piece (open through close) from the text. Nesting is
// not recognised.
QString RemoveBracketed(const QString& text, const QString& open, const QString& close);

// The clock text of a report's duration line ("00:01:02.03").
QString DurationTextOf(const QString& durationLine);

// Fill the video or audio facts from one stream line. The size, bit rate
// and frame rate of a video line are found by their form, not their place:
// Matroska and WebM report no per-stream bit rate, which would otherwise shift
// the frame rate out of reach.
void ParseVideoLine(MediaInfo& info, const QString& line);
void ParseAudioLine(MediaInfo& info, const QString& line);

// Replaces the whole record with the facts of one probed file.
void FillMediaInfo(MediaInfo& info, const QString& path, const QString& durationLine,
                   const QStringList& videoLines, const QStringList& audioLines,
                   const QStringList& audioTitles = {});

// Makes the audio facts those of audio stream `index` (clamped to the
// streams there are), so the row and the output profile describe the track
// the user chose rather than the first one.
void SelectAudioTrack(MediaInfo& info, int index);

// What names an audio track beside its number: its language and title when
// the file has them ("ger, HighTone"); empty when it has neither. An
// undetermined language ("und") is left out.
QString AudioTrackDetail(const MediaInfo& info, int index);

// The channel count a probe's layout text stands for: "mono" 1, "stereo" 2,
// "5.1" 6, "7.1(wide)" 8, "3 channels" 3; 0 when the text names none.
int ChannelCountOf(const QString& channelsText);

// Recomputes the five encoding numbers from their texts, falling back to the
// defaults where a text is empty or not a number.
void ComputeEncodingParameters(MediaInfo& info);

// The thumbnail's base name for a media path: 32 lower-case hexadecimal digits
// of the MD5 digest of the path's UTF-8 bytes.
QString ThumbnailName(const QString& path);
