#include "convert/cutcommand.h"

#include "app/timetext.h"
#include "convert/convertparams.h"

QString SegmentFileName(int index, const QString& suffix)
{
    return QStringLiteral("segment_") + QString::number(index) + QLatin1Char('.') + suffix;
}

QString SegmentFilePath(const QString& workFolder, int index, const QString& suffix)
{
    return workFolder + QLatin1Char('/') + SegmentFileName(index, suffix);
}

QStringList SegmentArguments(const ConvertItem& item, const MediaInfo& formatItem,
                             const QString& segmentPath)
{
    // -ss and -to stand before -i so that both are positions in the source.
    QStringList args{QStringLiteral("-y"),  QStringLiteral("-ss"),     TimeToString(item.cutStart),
                     QStringLiteral("-to"), TimeToString(item.cutEnd), QStringLiteral("-i"),
                     item.filePath};

    const bool noVideo = formatItem.videoCodec.isEmpty();
    if (noVideo)
        args << QStringLiteral("-vn");
    else
        args << QStringLiteral("-vcodec") << QStringLiteral("copy");

    if (formatItem.audioCodec.isEmpty()) {
        args << QStringLiteral("-an");
    } else if (item.audioTrackIndex > 0) {
        // Another track than the first is picked with explicit maps and its
        // audio is encoded again. The probe names the decoder, which is not
        // always an encoder of the same name (mp3, vorbis, opus), so the name
        // is mapped to an encoder that exists and fits the container.
        args << QStringLiteral("-acodec")
             << AudioEncoderFor(formatItem.audioCodec, formatItem.suffix);
        if (!noVideo)
            args << QStringLiteral("-map") << QStringLiteral("0:v:0");
        args << QStringLiteral("-map")
             << QStringLiteral("0:a:") + QString::number(item.audioTrackIndex);
    } else {
        args << QStringLiteral("-acodec") << QStringLiteral("copy");
    }

    if (formatItem.videoCodec == QLatin1String("h264") ||
        formatItem.videoCodec == QLatin1String("libx264")) {
        // Copied H.264 cut at a non-zero start otherwise carries timestamps
        // that the concat step cannot line up.
        args << QStringLiteral("-fflags") << QStringLiteral("+genpts")
             << QStringLiteral("-avoid_negative_ts") << QStringLiteral("make_zero")
             << QStringLiteral("-video_track_timescale") << QStringLiteral("15360");
    }

    args << segmentPath;
    return args;
}
