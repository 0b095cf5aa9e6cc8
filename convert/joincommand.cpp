#include "convert/joincommand.h"

#include <QFileInfo>

bool IsSameFormat(const MediaInfo& a, const MediaInfo& b)
{
    return a.suffix == b.suffix && a.videoCodec == b.videoCodec &&
           a.frameRateText == b.frameRateText && a.width == b.width && a.height == b.height &&
           a.audioCodec == b.audioCodec && a.sampleRateText == b.sampleRateText &&
           a.channelsText == b.channelsText;
}

bool IsSameFormat(const ConvertItem& a, const ConvertItem& b)
{
    if (&a == &b || (a.itemId != 0 && a.itemId == b.itemId))
        return true;
    return IsSameFormat(a.mediaInfo, b.mediaInfo);
}

QString ClockText(const QDateTime& now)
{
    return now.toString(QStringLiteral("hhmmsszzz"));
}

QString OutputFileCandidate(const QString& folder, const QString& suffix, const QDateTime& now,
                            int attempt)
{
    QString name = folder + QStringLiteral("/Join_file_") + ClockText(now);
    if (attempt >= 0)
        name += QLatin1Char('(') + QString::number(attempt) + QLatin1Char(')');
    return name + QLatin1Char('.') + suffix;
}

QString FreeOutputFilePath(const QString& folder, const QString& suffix,
                           const std::function<QDateTime()>& clock)
{
    QString path = OutputFileCandidate(folder, suffix, clock());
    // exists() is false for a dangling symbolic link, which a write would
    // still follow; such a name is taken as well.
    for (int attempt = 0; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++attempt)
        path = OutputFileCandidate(folder, suffix, clock(), attempt);
    return path;
}
