#include "mediainfo.h"

#include "app/timetext.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtNumeric>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

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

namespace {

// A file may hold any number of streams; more than this are not listed.
constexpr int kMostStreams = 1024;
// Longer than any recording (about 31,700 years), and far enough from the
// end of the 64-bit microsecond range that nothing below can overflow.
constexpr double kMostSeconds = 1e12;

// A number the prober wrote as JSON number or, as it does for most values,
// as text. Infinite and not-a-number values count as missing.
bool NumberOf(const QJsonValue& value, double* number)
{
    bool ok = false;
    double read = 0;
    if (value.isDouble()) {
        read = value.toDouble();
        ok = true;
    } else if (value.isString()) {
        read = value.toString().trimmed().toDouble(&ok);
    }
    if (!ok || !std::isfinite(read))
        return false;
    *number = read;
    return true;
}

// A whole number within [low, high]; the limits keep every sum and product
// below within 64 bits.
bool WholeOf(const QJsonValue& value, double low, double high, qint64* whole)
{
    double number = 0;
    if (!NumberOf(value, &number) || number < low || number > high || std::floor(number) != number)
        return false;
    *whole = static_cast<qint64>(number);
    return true;
}

// Seconds as microseconds.
bool MicrosecondsOf(const QJsonValue& value, qint64* microseconds)
{
    double seconds = 0;
    if (!NumberOf(value, &seconds) || std::fabs(seconds) > kMostSeconds)
        return false;
    *microseconds = std::llround(seconds * 1e6);
    return true;
}

// "30000/1001" as a positive rate; false for "0/0" and anything else.
bool RationalOf(const QJsonValue& value, double* rate)
{
    static const QRegularExpression form(QStringLiteral("\\A([0-9]{1,10})/([0-9]{1,10})\\z"));
    const QRegularExpressionMatch match = form.match(value.toString());
    if (!match.hasMatch())
        return false;
    const double num = match.captured(1).toDouble();
    const double den = match.captured(2).toDouble();
    if (num <= 0 || den <= 0)
        return false;
    *rate = num / den;
    return true;
}

// The text of `value` when it is text matching `form`, else empty. Forms
// are anchored with \A and \z: "$" would also match before a final line
// break.
QString Checked(const QJsonValue& value, const QRegularExpression& form)
{
    const QString text = value.toString();
    return form.match(text).hasMatch() ? text : QString();
}

// A tag by its name in any letter case: containers store "TITLE" as well as
// "title".
QString TagOf(const QJsonObject& tags, QLatin1String name)
{
    for (auto it = tags.begin(); it != tags.end(); ++it) {
        if (it.key().compare(name, Qt::CaseInsensitive) == 0 && it.value().isString())
            return it.value().toString();
    }
    return QString();
}

// A title as one line of plain text: line breaks, other control characters
// and direction overrides would rearrange the row that shows it.
QString CleanTitle(const QString& title)
{
    QString clean;
    clean.reserve(title.size());
    for (const QChar c : title) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Other_Format ||
            category == QChar::Separator_Line || category == QChar::Separator_Paragraph)
            continue;
        clean += c;
    }
    return clean.simplified().left(200);
}

// "00:00:10.00" as the media tool writes a duration: rounded to the nearest
// hundredth of a second.
QString ClockText(qint64 microseconds)
{
    const qint64 rounded = microseconds + 5000;
    const qint64 seconds = rounded / 1000000;
    return QStringLiteral("%1:%2:%3.%4")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'))
        .arg(rounded % 1000000 / 10000, 2, 10, QLatin1Char('0'));
}

// "0.000000", "-1.500000".
QString StartText(qint64 microseconds)
{
    const qint64 magnitude = microseconds < 0 ? -microseconds : microseconds;
    return QStringLiteral("%1%2.%3")
        .arg(microseconds < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 1000000)
        .arg(magnitude % 1000000, 6, 10, QLatin1Char('0'));
}

// ", 128 kb/s" for a positive bit rate, else nothing.
QString BitRateText(qint64 bitsPerSecond)
{
    return bitsPerSecond > 0 ? QStringLiteral(", %1 kb/s").arg(bitsPerSecond / 1000) : QString();
}

QString DurationLineOf(const QJsonObject& format)
{
    qint64 duration = 0;
    const bool hasDuration =
        MicrosecondsOf(format.value(QLatin1String("duration")), &duration) && duration >= 0;
    QString line =
        QStringLiteral("Duration: ") + (hasDuration ? ClockText(duration) : QStringLiteral("N/A"));
    qint64 start = 0;
    if (MicrosecondsOf(format.value(QLatin1String("start_time")), &start))
        line += QStringLiteral(", start: ") + StartText(start);
    qint64 bitRate = 0;
    line += QStringLiteral(", bitrate: ");
    if (WholeOf(format.value(QLatin1String("bit_rate")), 1, 1e15, &bitRate))
        line += QStringLiteral("%1 kb/s").arg(bitRate / 1000);
    else
        line += QStringLiteral("N/A");
    return line;
}

// "Stream #0:1(ger): " with the language only when it is a language code.
QString StreamHead(const QJsonObject& stream, int position)
{
    static const QRegularExpression languageCode(QStringLiteral("\\A[a-z]{2,3}\\z"));
    qint64 index = position;
    WholeOf(stream.value(QLatin1String("index")), 0, 1e6, &index);
    QString head = QStringLiteral("Stream #0:") + QString::number(index);
    const QString language =
        TagOf(stream.value(QLatin1String("tags")).toObject(), QLatin1String("language"));
    if (languageCode.match(language).hasMatch())
        head += QLatin1Char('(') + language + QLatin1Char(')');
    return head + QStringLiteral(": ");
}

// "h264 (High)": the codec's name and, when it has a known name, its profile.
QString CodecText(const QJsonObject& stream)
{
    static const QRegularExpression codecName(QStringLiteral("\\A[a-z0-9_]{1,32}\\z"));
    // Letters first: the prober writes a profile without a name as its number.
    static const QRegularExpression profileName(
        QStringLiteral("\\A[A-Za-z][A-Za-z0-9 .:+/_-]{0,39}\\z"));
    QString text = Checked(stream.value(QLatin1String("codec_name")), codecName);
    if (text.isEmpty())
        text = QStringLiteral("none");
    const QString profile = Checked(stream.value(QLatin1String("profile")), profileName);
    if (!profile.isEmpty() && profile != QLatin1String("unknown"))
        text += QStringLiteral(" (") + profile + QLatin1Char(')');
    return text;
}

QString VideoLineOf(const QJsonObject& stream, int position, bool* incomplete)
{
    static const QRegularExpression formatName(QStringLiteral("\\A[a-z0-9_]{1,32}\\z"));
    static const QRegularExpression ratio(QStringLiteral("\\A[1-9][0-9]{0,5}:[1-9][0-9]{0,5}\\z"));
    QString line = StreamHead(stream, position) + QStringLiteral("Video: ") + CodecText(stream);
    const QString pixelFormat = Checked(stream.value(QLatin1String("pix_fmt")), formatName);
    if (!pixelFormat.isEmpty())
        line += QStringLiteral(", ") + pixelFormat;
    qint64 width = 0;
    qint64 height = 0;
    if (WholeOf(stream.value(QLatin1String("width")), 1, 1e6, &width) &&
        WholeOf(stream.value(QLatin1String("height")), 1, 1e6, &height)) {
        line += QStringLiteral(", %1x%2").arg(width).arg(height);
        const QString sar = Checked(stream.value(QLatin1String("sample_aspect_ratio")), ratio);
        const QString dar = Checked(stream.value(QLatin1String("display_aspect_ratio")), ratio);
        if (!sar.isEmpty() && !dar.isEmpty())
            line += QStringLiteral(" [SAR %1 DAR %2]").arg(sar, dar);
    } else {
        *incomplete = true;
    }
    qint64 bitRate = 0;
    if (WholeOf(stream.value(QLatin1String("bit_rate")), 1, 1e15, &bitRate))
        line += BitRateText(bitRate);
    QStringList rates;
    double rate = 0;
    if (RationalOf(stream.value(QLatin1String("avg_frame_rate")), &rate))
        rates << RateText(rate) + QStringLiteral(" fps");
    if (RationalOf(stream.value(QLatin1String("r_frame_rate")), &rate))
        rates << RateText(rate) + QStringLiteral(" tbr");
    if (RationalOf(stream.value(QLatin1String("time_base")), &rate))
        rates << RateText(1.0 / rate) + QStringLiteral(" tbn");
    if (!rates.isEmpty())
        line += QStringLiteral(", ") + rates.join(QStringLiteral(", "));
    const QJsonObject disposition = stream.value(QLatin1String("disposition")).toObject();
    if (disposition.value(QLatin1String("attached_pic")).toInt() == 1)
        line += QStringLiteral(" (attached pic)");
    return line;
}

QString AudioLineOf(const QJsonObject& stream, int position, bool* incomplete)
{
    static const QRegularExpression layoutName(QStringLiteral("\\A[A-Za-z0-9.()+_ -]{1,64}\\z"));
    static const QRegularExpression formatName(QStringLiteral("\\A[a-z0-9]{1,16}\\z"));
    QString line = StreamHead(stream, position) + QStringLiteral("Audio: ") + CodecText(stream) +
                   QStringLiteral(", ");
    qint64 sampleRate = 0;
    qint64 channels = 0;
    WholeOf(stream.value(QLatin1String("sample_rate")), 0, 1e8, &sampleRate);
    WholeOf(stream.value(QLatin1String("channels")), 0, 1024, &channels);
    if (sampleRate <= 0 || channels <= 0)
        *incomplete = true;
    if (sampleRate > 0)
        line += QStringLiteral("%1 Hz, ").arg(sampleRate);
    const QString layout = Checked(stream.value(QLatin1String("channel_layout")), layoutName);
    line += layout.isEmpty() ? QStringLiteral("%1 channels").arg(channels) : layout;
    const QString sampleFormat = Checked(stream.value(QLatin1String("sample_fmt")), formatName);
    if (!sampleFormat.isEmpty())
        line += QStringLiteral(", ") + sampleFormat;
    // Like the media tool: a format with a fixed sample size has its rate
    // from the samples, any other the stored one.
    qint64 sampleBits = 0;
    qint64 bitRate = 0;
    if (WholeOf(stream.value(QLatin1String("bits_per_sample")), 1, 1024, &sampleBits))
        bitRate = sampleRate * channels * sampleBits;
    else
        WholeOf(stream.value(QLatin1String("bit_rate")), 1, 1e15, &bitRate);
    return line + BitRateText(bitRate);
}

} // namespace

QString ProbeJsonEntries()
{
    return QStringLiteral(
        "format=format_name,duration,start_time,bit_rate,probe_score"
        ":stream=index,codec_type,codec_name,profile,pix_fmt,width,height,sample_aspect_ratio,"
        "display_aspect_ratio,bit_rate,avg_frame_rate,r_frame_rate,time_base,sample_rate,"
        "channels,channel_layout,sample_fmt,bits_per_sample"
        ":stream_tags=language,title:stream_disposition=attached_pic");
}

QString RateText(double rate)
{
    if (!std::isfinite(rate) || rate < 0 || rate > kMostSeconds)
        return QStringLiteral("0.0000");
    const qint64 hundredths = std::llround(rate * 100);
    if (hundredths == 0)
        return QString::number(rate, 'f', 4);
    if (hundredths % 100 != 0)
        return QString::number(rate, 'f', 2);
    if (hundredths % 100000 != 0)
        return QString::number(rate, 'f', 0);
    return QString::number(rate / 1000, 'f', 0) + QLatin1Char('k');
}

ProbeReport ProbeReportFromJson(const QByteArray& json)
{
    ProbeReport report;
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    const QJsonObject format = root.value(QLatin1String("format")).toObject();
    if (!format.isEmpty()) {
        static const QRegularExpression formatNames(QStringLiteral("\\A[a-z0-9_,]{1,200}\\z"));
        report.formatName = Checked(format.value(QLatin1String("format_name")), formatNames);
        qint64 score = -1;
        if (WholeOf(format.value(QLatin1String("probe_score")), 0, 100, &score))
            report.probeScore = static_cast<int>(score);
        report.durationLine = DurationLineOf(format);
    }
    const QJsonArray streams = root.value(QLatin1String("streams")).toArray();
    const int count = static_cast<int>(std::min<qsizetype>(streams.size(), kMostStreams));
    for (int i = 0; i < count; ++i) {
        const QJsonObject stream = streams.at(i).toObject();
        const QString type = stream.value(QLatin1String("codec_type")).toString();
        if (type == QLatin1String("video")) {
            report.videoStreamLines << VideoLineOf(stream, i, &report.incompleteStreams);
        } else if (type == QLatin1String("audio")) {
            report.audioStreamLines << AudioLineOf(stream, i, &report.incompleteStreams);
            report.audioStreamTitles << CleanTitle(
                TagOf(stream.value(QLatin1String("tags")).toObject(), QLatin1String("title")));
        } else {
            ++report.otherStreams;
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
