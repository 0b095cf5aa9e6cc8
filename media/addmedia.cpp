#include "media/addmedia.h"

#include "media/filetypes.h"

namespace {
MediaSink& Sink()
{
    static MediaSink sink;
    return sink;
}
} // namespace

void SetMediaSink(MediaSink sink)
{
    Sink() = std::move(sink);
}

int AddMediaFile(const QString& path)
{
    if (IsVideoFile(path) != 1 && IsAudioFile(path) != 1)
        return 0;
    ProbeResult result;
    if (RunProbe(path, &result) != 0)
        return -1;
    if (Sink())
        Sink()(result);
    return 0;
}
