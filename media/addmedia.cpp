#include "media/addmedia.h"

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
    // The probe, not the name, decides: a recording named ".dat" is taken, a
    // text file named ".mp4" is not.
    ProbeResult result;
    if (RunProbe(path, &result) != 0)
        return -1;
    if (Sink())
        Sink()(result);
    return 0;
}
