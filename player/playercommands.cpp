#include "player/playercommands.h"

#include "app/timetext.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

const QString MutedText = QStringLiteral("TRUE");
const QString UnmutedText = QStringLiteral("FALSE");

// The player answers with short lines; anything longer without a line feed is
// not one of them and must not make the buffer grow without bound.
constexpr int MaxPendingBytes = 64 * 1024;

// The player reads the filter value with backslash escapes, so a file name
// holding a filter separator (':' ',') or quote still names the file.
QString EscapeFilterValue(const QString& value)
{
    QString escaped;
    escaped.reserve(value.size());
    for (const QChar c : value) {
        if (c == u'\\' || c == u'\'' || c == u':' || c == u',' || c == u';' || c == u'[' ||
            c == u']')
            escaped += u'\\';
        escaped += c;
    }
    return escaped;
}

// Seconds to microseconds, truncated toward zero; nothing for values that do
// not fit (a conversion out of range would be undefined).
std::optional<qint64> SecondsToMicroseconds(double seconds)
{
    const double micros = seconds * 1'000'000.0;
    if (!std::isfinite(micros) || std::fabs(micros) >= 9.2e18)
        return std::nullopt;
    return static_cast<qint64>(micros);
}

std::optional<double> NumberAfter(QString part, const QString& label)
{
    part.remove(label);
    bool ok = false;
    const double value = part.trimmed().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace

QStringList PlayerArguments(const PlayerStartOptions& options)
{
    QStringList args{QStringLiteral("-i"), options.filePath};
    if (!options.subtitle.isEmpty()) {
        args << QStringLiteral("-vf")
             << QStringLiteral("subtitles=") +
                    EscapeFilterValue(QFileInfo(options.subtitle).fileName());
    }
    args << QStringLiteral("-wid") << options.windowId;
    args << QStringLiteral("-volume") << QString::number(ClampVolume(options.volume));
    if (options.muted)
        args << QStringLiteral("-muted") << QStringLiteral("1");
    // The track is chosen even when starting muted: "mute" can be toggled
    // while playing, and unmuting must then play the track the user picked.
    if (options.audioTrack > 0)
        args << QStringLiteral("-ast") << QString::number(options.audioTrack);
    if (options.startPosition)
        args << QStringLiteral("-ss") << TimeToString(*options.startPosition);
    return args;
}

int ClampVolume(int volume)
{
    return std::clamp(volume, 0, 100);
}

int VolumeFromSetting(const QString& text)
{
    bool ok = false;
    // 64 bits so that a huge stored number still clamps to 100.
    const qlonglong value = text.toLongLong(&ok, 10);
    if (!ok)
        return 0;
    return static_cast<int>(std::clamp<qlonglong>(value, 0, 100));
}

QString VolumeSettingText(int volume)
{
    return QString::number(ClampVolume(volume));
}

bool MutedFromSetting(const QString& text)
{
    return text == MutedText;
}

QString MuteSettingText(bool muted)
{
    return muted ? MutedText : UnmutedText;
}

QString SeekCommand(qint64 microseconds)
{
    return QStringLiteral("seek:") + QString::number(std::max<qint64>(microseconds, 0) / 1'000'000);
}

std::optional<PlayerOutputLine> ParsePlayerOutputLine(const QString& line)
{
    const QString text = line.trimmed();
    const QString currentLabel = QStringLiteral("Current:");
    const QString volumeLabel = QStringLiteral("volume:");
    if (text.startsWith(currentLabel)) {
        const QStringList parts = text.split(u',');
        if (parts.size() != 2)
            return std::nullopt;
        const auto current = NumberAfter(parts[0], currentLabel);
        const auto duration = NumberAfter(parts[1], QStringLiteral("Duration:"));
        if (!current || !duration)
            return std::nullopt;
        const auto currentMicros = SecondsToMicroseconds(*current);
        const auto durationMicros = SecondsToMicroseconds(*duration);
        if (!currentMicros || !durationMicros)
            return std::nullopt;
        PlayerOutputLine result;
        result.kind = PlayerOutputLine::Position;
        result.currentSeconds = *current;
        result.durationSeconds = *duration;
        result.current = *currentMicros;
        result.duration = *durationMicros;
        return result;
    }
    if (text.startsWith(volumeLabel)) {
        bool ok = false;
        const int volume = QString(text).remove(volumeLabel).trimmed().toInt(&ok, 10);
        if (!ok)
            return std::nullopt;
        PlayerOutputLine result;
        result.kind = PlayerOutputLine::Volume;
        result.volume = volume;
        return result;
    }
    return std::nullopt;
}

bool IsEndOfMedia(double currentSeconds, double durationSeconds)
{
    // The threshold is the single-precision 0.2 widened to double, slightly
    // above the double 0.2.
    return durationSeconds > 1.0 && durationSeconds - currentSeconds <= static_cast<double>(0.2f);
}

QList<PlayerOutputLine> PlayerOutputParser::feed(const QByteArray& bytes)
{
    QList<PlayerOutputLine> lines;
    m_pending.append(bytes);
    qsizetype start = 0;
    for (qsizetype end = m_pending.indexOf('\n'); end >= 0;
         start = end + 1, end = m_pending.indexOf('\n', start)) {
        if (m_discarding) {
            m_discarding = false;
            continue;
        }
        // Bytes are split before decoding, so a character cut between two
        // pieces is decoded whole.
        const QString line = QString::fromUtf8(m_pending.constData() + start, end - start);
        if (const auto parsed = ParsePlayerOutputLine(line))
            lines.append(*parsed);
    }
    m_pending.remove(0, start);
    if (m_pending.size() > MaxPendingBytes) {
        m_pending.clear();
        m_discarding = true;
    }
    return lines;
}

void PlayerOutputParser::reset()
{
    m_pending.clear();
    m_discarding = false;
}
