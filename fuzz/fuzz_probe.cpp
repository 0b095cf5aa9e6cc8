// What the probe reads about a file the user added: the file's own names and
// tags end up in it, so any bytes must parse to some facts or none.
#include "media/mediainfo.h"

#include <QString>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), int(size));
    const ProbeReport report = ParseProbeReport(text);
    MediaInfo info;
    FillMediaInfo(info, QStringLiteral("/m/clip.mkv"), report.durationLine,
                  report.videoStreamLines, report.audioStreamLines, report.audioStreamTitles);
    ComputeEncodingParameters(info);
    for (int i = -1; i <= int(info.audioStreamLines.size()); ++i) {
        AudioTrackDetail(info, i);
        SelectAudioTrack(info, i);
    }
    ChannelCountOf(text);
    return 0;
}
