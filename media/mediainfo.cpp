#include "mediainfo.h"

#include "app/timetext.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtNumeric>

#include <limits>

namespace {

constexpr QLatin1String kStreamMark("Stream #");
constexpr QLatin1String kVideoMark("Video:");
constexpr QLatin1String kAudioMark("Audio:");
constexpr QLatin1String kDurationMark("Duration:");

// The first space-separated word of an already trimmed text, trimmed.
QString FirstWord(const QString& text)
{
    return text.section(QLatin1Char(' '), 0, 0).trimmed();
}

// The part of a stream line from its type mark on, without the bracketed
// details (profile, codec tag, colour details, flags) whose commas would
// otherwise shift the comma-separated fields.
QStringList StreamFields(const QString& line, QLatin1String mark)
{
    const int at = line.indexOf(mark);
    const QString tail = at >= 0 ? line.mid(at) : line;
    return RemoveBracketed(tail, QStringLiteral("("), QStringLiteral(")")).split(QLatin1Char(','));
}

// The codec name in field 0 ("Video: h264 " gives "h264").
QString CodecOf(const QString& field, QLatin1String mark)
{
    QString head = field.trimmed();
    head.remove(mark);
    return FirstWord(head.trimmed());
}

// "5000 kb/s" as bits per second; false when the text holds no number or the
// rate does not fit the field.
bool KilobitsToBits(const QString& text, int* bits)
{
    QString number = text.toLower();
    number.remove(QStringLiteral("kb/s"));
    bool ok = false;
    const qint64 kilobits = number.trimmed().toLongLong(&ok, 10);
    qint64 value = 0;
    if (!ok || qMulOverflow(kilobits, qint64(1000), &value) ||
        value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return false;
    *bits = static_cast<int>(value);
    return true;
}

} // namespace

ProbeReport ParseProbeReport(const QString& toolOutput)
{
    ProbeReport report;
    const QStringList pieces = toolOutput.split(QLatin1Char('\n'));
    for (const QString& piece : pieces) {
        // The report on the input ends where the tool starts describing what
        // it writes: the thumbnail's own "Video: mjpeg" stream is not a
        // stream of the user's file and must not be counted as one.
        const QString trimmed = piece.trimmed();
        if (trimmed.startsWith(QLatin1String("Stream mapping:")) ||
            trimmed.startsWith(QLatin1String("Output #")))
            break;
        const bool isStream = piece.contains(kStreamMark);
        // Audio is tested first, so a line naming both types counts as audio.
        if (isStream && piece.contains(kAudioMark)) {
            report.audioStreamLines.append(piece.trimmed());
        } else if (isStream && piece.contains(kVideoMark)) {
            report.videoStreamLines.append(piece.trimmed());
        } else if (report.durationLine.isEmpty() && piece.contains(kDurationMark)) {
            report.durationLine = piece.trimmed();
        }
    }
    return report;
}

bool IsUsableProbeReport(const ProbeReport& report)
{
    return !report.durationLine.isEmpty() &&
           (!report.videoStreamLines.isEmpty() || !report.audioStreamLines.isEmpty());
}

QStringList StreamIdsOf(const QStringList& lines)
{
    static const QRegularExpression streamExpression(QStringLiteral("(Stream #\\d*:\\d*)"));
    QStringList ids;
    for (int i = 0; i < lines.size(); ++i) {
        const QRegularExpressionMatch match = streamExpression.match(lines.at(i));
        if (match.hasMatch()) {
            const QString found = match.captured(0);
            ids.append(found.mid(found.indexOf(QLatin1Char(':')) + 1));
        } else {
            ids.append(QString::number(i));
        }
    }
    return ids;
}

QString RemoveBracketed(const QString& text, const QString& open, const QString& close)
{
    if (open.isEmpty() || close.isEmpty())
        return text;

    QStringList pieces;
    int start = text.indexOf(open);
    while (start >= 0) {
        const int end = text.indexOf(close, start);
        if (end < 0) {
            pieces.append(text.mid(start));
            break;
        }
        pieces.append(text.mid(start, end - start + close.size()));
        // One past the close, so that an open mark equal to the close mark
        // cannot find the same position again and loop for ever.
        start = text.indexOf(open, end + 1);
    }

    QString result = text;
    for (const QString& piece : std::as_const(pieces)) {
        const QString trimmed = piece.trimmed();
        if (!trimmed.isEmpty())
            result.remove(trimmed);
    }
    return result;
}

QString DurationTextOf(const QString& durationLine)
{
    QString first = durationLine.section(QLatin1Char(','), 0, 0);
    first.remove(kDurationMark);
    return first.trimmed();
}

void ParseVideoLine(MediaInfo& info, const QString& line)
{
    const QStringList fields = StreamFields(line, kVideoMark);

    // Fields are taken by position: codec, pixel format, size, bit rate,
    // frame rate. A missing bit rate shifts the frame rate into the bit-rate
    // place, where it is then not recognised; the record stays empty there.
    info.videoCodec = CodecOf(fields.at(0), kVideoMark);
    info.width = 0;
    info.height = 0;
    if (fields.size() > 2) {
        // The first word drops a trailing "[SAR 1:1 DAR 16:9]".
        const QStringList size = FirstWord(fields.at(2).trimmed()).split(QLatin1Char('x'));
        if (size.size() == 2) {
            bool ok = false;
            const int width = size.at(0).trimmed().toInt(&ok, 10);
            if (ok)
                info.width = width;
            const int height = size.at(1).trimmed().toInt(&ok, 10);
            if (ok)
                info.height = height;
        }
    }

    info.videoBitRateText.clear();
    if (fields.size() > 3) {
        const QString bitRate = fields.at(3).trimmed().toLower();
        if (bitRate.contains(QStringLiteral("kb/s")))
            info.videoBitRateText = bitRate;
    }

    info.frameRateText.clear();
    if (fields.size() > 4) {
        QString frameRate = fields.at(4).trimmed().toLower();
        if (frameRate.contains(QStringLiteral("fps")))
            info.frameRateText = frameRate.remove(QLatin1Char(' '));
    }
}

void ParseAudioLine(MediaInfo& info, const QString& line)
{
    const QStringList fields = StreamFields(line, kAudioMark);

    info.audioCodec.clear();
    info.sampleRateText.clear();
    info.channelsText.clear();
    info.audioBitRateText.clear();

    // Codec, sample rate, channel layout, sample format, bit rate.
    info.audioCodec = CodecOf(fields.at(0), kAudioMark);
    if (fields.size() > 1)
        info.sampleRateText = fields.at(1).trimmed();
    if (fields.size() > 2)
        info.channelsText = fields.at(2).trimmed();
    if (fields.size() > 4)
        info.audioBitRateText = fields.at(4);
}

void FillMediaInfo(MediaInfo& info, const QString& path, const QString& durationLine,
                   const QStringList& videoLines, const QStringList& audioLines)
{
    // A reused row must never show facts of the file it held before.
    info = MediaInfo();

    info.videoStreamLines = videoLines;
    info.audioStreamLines = audioLines;
    info.videoStreamIds = StreamIdsOf(videoLines);
    info.audioStreamIds = StreamIdsOf(audioLines);

    const QString fileName = QFileInfo(path).fileName();
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        info.suffix = fileName.mid(dot + 1);

    if (!videoLines.isEmpty())
        ParseVideoLine(info, videoLines.first());
    if (!audioLines.isEmpty())
        ParseAudioLine(info, audioLines.first());

    info.duration = ClockToMicroseconds(DurationTextOf(durationLine));
}

void ComputeEncodingParameters(MediaInfo& info)
{
    info.frameRate = 25.0;
    info.videoBitRate = 25000;
    info.audioChannels = 2;
    info.sampleRate = 44100;
    info.audioBitRate = 128000;

    if (!info.frameRateText.isEmpty()) {
        QString number = info.frameRateText.toLower();
        number.remove(QStringLiteral("fps"));
        bool ok = false;
        const double frameRate = number.trimmed().toDouble(&ok);
        // toDouble also reads "inf" and "nan", which no encoder accepts.
        if (ok && qIsFinite(frameRate))
            info.frameRate = frameRate;
    }

    if (!info.videoBitRateText.isEmpty())
        KilobitsToBits(info.videoBitRateText, &info.videoBitRate);

    if (!info.sampleRateText.isEmpty()) {
        QString number = info.sampleRateText.toLower();
        number.remove(QStringLiteral("hz"));
        bool ok = false;
        const int sampleRate = number.trimmed().toInt(&ok, 10);
        if (ok)
            info.sampleRate = sampleRate;
    }

    if (!info.audioBitRateText.isEmpty())
        KilobitsToBits(info.audioBitRateText, &info.audioBitRate);
}

QString ThumbnailName(const QString& path)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Md5).toHex());
}
