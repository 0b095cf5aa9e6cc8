#include "mediainfo.h"

#include "app/timetext.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QtNumeric>

#include <algorithm>
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
    static const QRegularExpression titleLine(QStringLiteral("^\\s*title\\s*:\\s?(.*)$"),
                                              QRegularExpression::CaseInsensitiveOption);
    ProbeReport report;
    // Which stream the metadata lines that follow belong to: only an audio
    // stream's own title names a track.
    bool inAudioStream = false;
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
            report.audioStreamLines.append(trimmed);
            report.audioStreamTitles.append(QString());
            inAudioStream = true;
        } else if (isStream && piece.contains(kVideoMark)) {
            report.videoStreamLines.append(trimmed);
            inAudioStream = false;
        } else if (report.durationLine.isEmpty() && piece.contains(kDurationMark)) {
            report.durationLine = trimmed;
        } else if (isStream || trimmed.startsWith(QLatin1String("Chapter #"))) {
            inAudioStream = false;
        } else if (inAudioStream && report.audioStreamTitles.last().isEmpty()) {
            const QRegularExpressionMatch match = titleLine.match(piece);
            if (match.hasMatch())
                report.audioStreamTitles.last() = match.captured(1).trimmed();
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
    static const QRegularExpression sizeWord(QStringLiteral("^(\\d+)x(\\d+)$"));
    const QStringList fields = StreamFields(line, kVideoMark);

    info.videoCodec = CodecOf(fields.at(0), kVideoMark);
    info.width = 0;
    info.height = 0;
    info.videoBitRateText.clear();
    info.frameRateText.clear();
    // After the codec come the pixel format (absent for some codecs), the
    // size, the bit rate (absent in Matroska) and the frame rate, then the
    // time bases; each is known by its form.
    int sizeField = -1;
    for (int i = 1; i < fields.size(); ++i) {
        const QString field = fields.at(i).trimmed().toLower();
        if (sizeField < 0) {
            // The first word drops a trailing "[SAR 1:1 DAR 16:9]".
            const QRegularExpressionMatch size = sizeWord.match(FirstWord(field));
            if (size.hasMatch()) {
                sizeField = i;
                bool ok = false;
                const int width = size.captured(1).toInt(&ok, 10);
                if (ok)
                    info.width = width;
                const int height = size.captured(2).toInt(&ok, 10);
                if (ok)
                    info.height = height;
            }
            continue;
        }
        if (info.videoBitRateText.isEmpty() && info.frameRateText.isEmpty() &&
            field.endsWith(QLatin1String("kb/s")))
            info.videoBitRateText = field;
        else if (info.frameRateText.isEmpty() && field.endsWith(QLatin1String("fps")))
            info.frameRateText = QString(field).remove(QLatin1Char(' '));
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
                   const QStringList& videoLines, const QStringList& audioLines,
                   const QStringList& audioTitles)
{
    // A reused row must never show facts of the file it held before.
    info = MediaInfo();

    info.videoStreamLines = videoLines;
    info.audioStreamLines = audioLines;
    info.videoStreamIds = StreamIdsOf(videoLines);
    info.audioStreamIds = StreamIdsOf(audioLines);
    info.audioStreamTitles = audioTitles.mid(0, audioLines.size());
    while (info.audioStreamTitles.size() < audioLines.size())
        info.audioStreamTitles.append(QString());

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

void SelectAudioTrack(MediaInfo& info, int index)
{
    if (info.audioStreamLines.isEmpty())
        return;
    ParseAudioLine(info, info.audioStreamLines.at(
                             std::clamp(index, 0, int(info.audioStreamLines.size()) - 1)));
}

QString AudioTrackDetail(const MediaInfo& info, int index)
{
    static const QRegularExpression language(
        QStringLiteral("Stream #\\d+:\\d+(?:\\[\\w+\\])?\\((\\w+)\\)"));
    if (index < 0 || index >= info.audioStreamLines.size())
        return {};
    QStringList parts;
    const QRegularExpressionMatch match = language.match(info.audioStreamLines.at(index));
    if (match.hasMatch() && match.captured(1) != QLatin1String("und"))
        parts << match.captured(1);
    const QString title = info.audioStreamTitles.value(index).trimmed();
    if (!title.isEmpty())
        parts << title;
    return parts.join(QLatin1String(", "));
}

int ChannelCountOf(const QString& channelsText)
{
    static const QHash<QString, int> layouts{
        {QStringLiteral("mono"), 1},       {QStringLiteral("stereo"), 2},
        {QStringLiteral("downmix"), 2},    {QStringLiteral("2.1"), 3},
        {QStringLiteral("3.0"), 3},        {QStringLiteral("3.0(back)"), 3},
        {QStringLiteral("4.0"), 4},        {QStringLiteral("quad"), 4},
        {QStringLiteral("quad(side)"), 4}, {QStringLiteral("3.1"), 4},
        {QStringLiteral("5.0"), 5},        {QStringLiteral("5.0(side)"), 5},
        {QStringLiteral("4.1"), 5},        {QStringLiteral("5.1"), 6},
        {QStringLiteral("5.1(side)"), 6},  {QStringLiteral("6.0"), 6},
        {QStringLiteral("6.0(front)"), 6}, {QStringLiteral("hexagonal"), 6},
        {QStringLiteral("6.1"), 7},        {QStringLiteral("6.1(back)"), 7},
        {QStringLiteral("6.1(front)"), 7}, {QStringLiteral("7.0"), 7},
        {QStringLiteral("7.0(front)"), 7}, {QStringLiteral("7.1"), 8},
        {QStringLiteral("7.1(wide)"), 8},  {QStringLiteral("7.1(wide-side)"), 8},
        {QStringLiteral("octagonal"), 8},
    };
    const QString text = channelsText.trimmed().toLower().remove(QLatin1Char(' '));
    if (const auto it = layouts.constFind(text); it != layouts.constEnd())
        return it.value();
    // Layouts without a name print as "N channels".
    static const QRegularExpression counted(QStringLiteral("^(\\d+)channels?$"));
    const QRegularExpressionMatch match = counted.match(text);
    if (match.hasMatch()) {
        const int count = match.captured(1).toInt();
        return count > 0 && count <= 64 ? count : 0;
    }
    return 0;
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

    // A mono file joined into a stereo result, or stereo into mono, would no
    // longer be what the Profile shows.
    if (const int channels = ChannelCountOf(info.channelsText); channels > 0)
        info.audioChannels = channels;
}

QString ThumbnailName(const QString& path)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Md5).toHex());
}
