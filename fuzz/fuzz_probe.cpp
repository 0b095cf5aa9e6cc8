// What the prober prints about a file the user added: the file's own names
// and tags end up in it, so any bytes must parse to some facts or none, and
// the lines made from them must parse again.
#include "media/mediainfo.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray json(reinterpret_cast<const char*>(data), int(size));
    const ProbeReport report = ProbeReportFromJson(json);
    const QString text = QString::fromUtf8(json);
    MediaInfo info;
    FillMediaInfo(info, QStringLiteral("/m/clip.mkv"), report.durationLine, report.videoStreamLines,
                  report.audioStreamLines, report.audioStreamTitles);
    ComputeEncodingParameters(info);
    for (int i = -1; i <= int(info.audioStreamLines.size()); ++i) {
        AudioTrackDetail(info, i);
        SelectAudioTrack(info, i);
    }
    ChannelCountOf(text);
    return 0;
}
