#include "cli/clireport.h"

#include "app/timetext.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace {

// The facts of one stream line, read as the row reads its first one.
MediaInfo VideoFacts(const QString& line)
{
    MediaInfo facts;
    ParseVideoLine(facts, line);
    ComputeEncodingParameters(facts);
    return facts;
}

MediaInfo AudioFacts(const QString& line)
{
    MediaInfo facts;
    ParseAudioLine(facts, line);
    ComputeEncodingParameters(facts);
    return facts;
}

bool IsCover(const QString& line)
{
    return line.contains(QLatin1String("(attached pic)"));
}

QString Joined(const QStringList& parts)
{
    QStringList kept;
    for (const QString& part : parts) {
        if (!part.trimmed().isEmpty())
            kept << part.trimmed();
    }
    return kept.join(QLatin1Char(' '));
}

QString Fact(const QString& label, const QString& value)
{
    return QStringLiteral("  ") + label.leftJustified(11) + value + QLatin1Char('\n');
}

// Seconds with the millisecond the program shows, as a JSON number.
double Seconds(qint64 microseconds)
{
    return std::round(double(microseconds) / 1000.0) / 1000.0;
}

} // namespace

QString ProbeText(const ProbedFile& file)
{
    const MediaInfo& info = file.info;
    QString text = file.path + QLatin1Char('\n');
    text += Fact(QStringLiteral("duration"), TimeToString(info.duration));
    QString container = info.suffix.toLower();
    if (!file.formatName.isEmpty())
        container += QStringLiteral(" (") + file.formatName + QLatin1Char(')');
    text += Fact(QStringLiteral("container"), container.trimmed());
    for (const QString& line : info.videoStreamLines) {
        const MediaInfo facts = VideoFacts(line);
        text += Fact(
            QStringLiteral("video"),
            Joined({facts.videoCodec, QStringLiteral("%1x%2").arg(facts.width).arg(facts.height),
                    facts.frameRateText,
                    IsCover(line) ? QStringLiteral("(cover picture)") : QString()}));
    }
    for (int i = 0; i < info.audioStreamLines.size(); ++i) {
        const MediaInfo facts = AudioFacts(info.audioStreamLines.at(i));
        const QString detail = AudioTrackDetail(info, i);
        text += Fact(
            QStringLiteral("audio %1").arg(i + 1),
            Joined({facts.audioCodec, facts.sampleRateText, facts.channelsText,
                    detail.isEmpty() ? QString() : QLatin1Char('(') + detail + QLatin1Char(')')}));
    }
    return text;
}

QJsonObject ProbeJson(const ProbedFile& file)
{
    QJsonObject object{{QStringLiteral("file"), file.path}};
    if (!file.ok) {
        object.insert(QStringLiteral("error"), file.reason);
        return object;
    }
    const MediaInfo& info = file.info;
    object.insert(QStringLiteral("duration"), Seconds(info.duration));
    object.insert(QStringLiteral("container"), info.suffix.toLower());
    object.insert(QStringLiteral("format"), file.formatName);
    QJsonArray video;
    for (const QString& line : info.videoStreamLines) {
        const MediaInfo facts = VideoFacts(line);
        QJsonObject stream{{QStringLiteral("codec"), facts.videoCodec},
                           {QStringLiteral("width"), facts.width},
                           {QStringLiteral("height"), facts.height}};
        // Unknown is null, not the 25 the encoder would be given.
        stream.insert(QStringLiteral("frameRate"),
                      facts.frameRateText.isEmpty() ? QJsonValue() : QJsonValue(facts.frameRate));
        if (IsCover(line))
            stream.insert(QStringLiteral("cover"), true);
        video.append(stream);
    }
    object.insert(QStringLiteral("video"), video);
    QJsonArray audio;
    for (int i = 0; i < info.audioStreamLines.size(); ++i) {
        const MediaInfo facts = AudioFacts(info.audioStreamLines.at(i));
        const int channels = ChannelCountOf(facts.channelsText);
        audio.append(QJsonObject{
            {QStringLiteral("track"), i + 1},
            {QStringLiteral("codec"), facts.audioCodec},
            {QStringLiteral("sampleRate"),
             facts.sampleRateText.isEmpty() ? QJsonValue() : QJsonValue(facts.sampleRate)},
            {QStringLiteral("channels"), channels > 0 ? QJsonValue(channels) : QJsonValue()},
            {QStringLiteral("layout"), facts.channelsText},
            {QStringLiteral("detail"), AudioTrackDetail(info, i)}});
    }
    object.insert(QStringLiteral("audio"), audio);
    return object;
}

double PercentOf(int value)
{
    return std::round(value / 10.0) / 10.0;
}

double RemainingSeconds(int value, double elapsed)
{
    // Below one percent, or in the first second, the pace says nothing yet.
    if (value < 100 || value >= 10000 || elapsed < 1.0)
        return -1;
    return elapsed * (10000 - value) / value;
}

QString ClockOf(double seconds)
{
    const qint64 whole = qMax<qint64>(0, qint64(std::llround(seconds)));
    const qint64 hours = whole / 3600;
    const QString minutesSeconds =
        QStringLiteral("%1:%2")
            .arg(hours ? (whole / 60) % 60 : whole / 60, hours ? 2 : 1, 10, QLatin1Char('0'))
            .arg(whole % 60, 2, 10, QLatin1Char('0'));
    return hours ? QString::number(hours) + QLatin1Char(':') + minutesSeconds : minutesSeconds;
}

QByteArray ProgressJsonLine(const QString& phase, int value, double elapsed,
                            const QJsonObject& extra)
{
    // Written by hand to keep the order a reader expects (phase, percent,
    // elapsed, then the rest); the toolkit's objects sort their keys.
    const auto number = [](double x) { return QByteArray::number(x, 'g', 15); };
    const auto encoded = [](const QJsonValue& v) {
        const QByteArray array = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
        return array.mid(1, array.size() - 2);
    };
    QByteArray line = "{\"phase\":" + encoded(phase) + ",\"percent\":" + number(PercentOf(value)) +
                      ",\"elapsed\":" + number(std::round(elapsed * 100.0) / 100.0);
    for (auto it = extra.begin(); it != extra.end(); ++it)
        line += ',' + encoded(it.key()) + ':' + encoded(it.value());
    return line + "}\n";
}

QString ProgressBarText(const QString& phase, int value, double elapsed, double remaining,
                        int columns)
{
    const QString percent = QString::number(PercentOf(value), 'f', 1) + QLatin1Char('%');
    QString times = QStringLiteral("  ") + ClockOf(elapsed) + QStringLiteral(" elapsed");
    if (remaining >= 0)
        times += QStringLiteral("  ") + ClockOf(remaining) + QStringLiteral(" left");
    const QString head = phase.leftJustified(9) + QLatin1Char(' ');
    const QString tail = QStringLiteral(" ") + percent.rightJustified(6) + times;
    // The bar takes what the line leaves, within reason; on a narrow
    // terminal it goes first, then the times.
    // The bar's length does not follow the times, which grow and appear
    // as the job goes on: they get the room of the longest they show.
    const int reserved = int(QStringLiteral("  0:00:00 elapsed  0:00:00 left").size());
    const int room = columns - 1 - int(head.size()) - 7 - reserved - 2;
    if (room >= 10) {
        const int width = qMin(room, 40);
        const int filled = qBound(0, int(qint64(value) * width / 10000), width);
        return head + QLatin1Char('[') + QString(filled, QLatin1Char('#')) +
               QString(width - filled, QLatin1Char('-')) + QLatin1Char(']') + tail;
    }
    return (head + percent + times).left(qMax(0, columns - 1));
}
