#include "convert/outputprofile.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

struct CodecEncoder
{
    const char* codec;   // as the probe names the stream
    const char* encoder; // the media tool's encoder for it
};

// Decoder names and the encoders that write the same codec. Codecs missing
// here (VC-1, RealVideo, ...) have no encoder in the media tool.
constexpr CodecEncoder kEncoders[] = {
    // Picture.
    {"h264", "libx264"},
    {"hevc", "libx265"},
    {"vp8", "libvpx"},
    {"vp9", "libvpx-vp9"},
    {"av1", "libaom-av1"},
    {"mpeg4", "mpeg4"},
    {"mpeg2video", "mpeg2video"},
    {"mpeg1video", "mpeg1video"},
    {"msmpeg4v3", "msmpeg4"},
    {"msmpeg4v2", "msmpeg4v2"},
    {"wmv1", "wmv1"},
    {"wmv2", "wmv2"},
    {"flv1", "flv"},
    {"theora", "libtheora"},
    // Sound.
    {"aac", "aac"},
    {"aac_latm", "aac"},
    {"mp3", "libmp3lame"},
    {"mp3float", "libmp3lame"},
    {"vorbis", "libvorbis"},
    {"opus", "libopus"},
    {"ac3", "ac3"},
    {"eac3", "eac3"},
    {"mp2", "mp2"},
    {"mp2float", "mp2"},
    {"flac", "flac"},
    {"alac", "alac"},
    {"wmav1", "wmav1"},
    {"wmav2", "wmav2"},
    {"amr_nb", "libopencore_amrnb"},
    {"dts", "dca"},
    {"truehd", "truehd"},
};

QString EncoderOf(const QString& codec)
{
    const QString name = codec.trimmed().toLower();
    for (const CodecEncoder& entry : kEncoders) {
        if (name == QLatin1String(entry.codec))
            return QString::fromLatin1(entry.encoder);
    }
    // PCM decoders and encoders share their names (pcm_s16le, pcm_f32le, ...).
    if (name.startsWith(QLatin1String("pcm_")))
        return name;
    return {};
}

bool IsVideoEncoder(const QString& encoder)
{
    static const QStringList video{
        QStringLiteral("libx264"),    QStringLiteral("libx265"),    QStringLiteral("libvpx"),
        QStringLiteral("libvpx-vp9"), QStringLiteral("libaom-av1"), QStringLiteral("mpeg4"),
        QStringLiteral("mpeg2video"), QStringLiteral("mpeg1video"), QStringLiteral("msmpeg4"),
        QStringLiteral("msmpeg4v2"),  QStringLiteral("wmv1"),       QStringLiteral("wmv2"),
        QStringLiteral("flv"),        QStringLiteral("libtheora")};
    return video.contains(encoder);
}

QString ContainerVideoEncoder(const QString& container)
{
    static const QHash<QString, QString> defaults{
        {QStringLiteral("webm"), QStringLiteral("libvpx")},
        {QStringLiteral("ogg"), QStringLiteral("libtheora")},
        {QStringLiteral("ogv"), QStringLiteral("libtheora")},
        {QStringLiteral("wmv"), QStringLiteral("wmv2")},
        {QStringLiteral("asf"), QStringLiteral("wmv2")},
        {QStringLiteral("mpg"), QStringLiteral("mpeg2video")},
        {QStringLiteral("mpeg"), QStringLiteral("mpeg2video")},
        {QStringLiteral("vob"), QStringLiteral("mpeg2video")},
        {QStringLiteral("mod"), QStringLiteral("mpeg2video")},
    };
    return defaults.value(container, QStringLiteral("libx264"));
}

QString ContainerAudioEncoder(const QString& container)
{
    static const QHash<QString, QString> defaults{
        {QStringLiteral("webm"), QStringLiteral("libopus")},
        {QStringLiteral("opus"), QStringLiteral("libopus")},
        {QStringLiteral("ogg"), QStringLiteral("libvorbis")},
        {QStringLiteral("oga"), QStringLiteral("libvorbis")},
        {QStringLiteral("ogv"), QStringLiteral("libvorbis")},
        {QStringLiteral("mp3"), QStringLiteral("libmp3lame")},
        {QStringLiteral("flac"), QStringLiteral("flac")},
        {QStringLiteral("wav"), QStringLiteral("pcm_s16le")},
        {QStringLiteral("aif"), QStringLiteral("pcm_s16be")},
        {QStringLiteral("aiff"), QStringLiteral("pcm_s16be")},
        {QStringLiteral("wma"), QStringLiteral("wmav2")},
        {QStringLiteral("wmv"), QStringLiteral("wmav2")},
        {QStringLiteral("asf"), QStringLiteral("wmav2")},
        {QStringLiteral("ac3"), QStringLiteral("ac3")},
        {QStringLiteral("mpg"), QStringLiteral("mp2")},
        {QStringLiteral("mpeg"), QStringLiteral("mp2")},
        {QStringLiteral("vob"), QStringLiteral("ac3")},
        {QStringLiteral("mod"), QStringLiteral("mp2")},
    };
    return defaults.value(container, QStringLiteral("aac"));
}

// Opus is only ever coded at these rates.
int OpusRate(int sampleRate)
{
    for (int rate : {8000, 12000, 16000, 24000, 48000}) {
        if (rate >= sampleRate)
            return rate;
    }
    return 48000;
}

} // namespace

FrameRateFraction FrameRateOf(double fps)
{
    if (!(fps > 0.0) || !std::isfinite(fps) || fps > 1000.0)
        return {1, 25};
    const double whole = std::round(fps);
    if (std::fabs(fps - whole) < 0.005)
        return {1, int(whole)};
    // The probe prints 24000/1001 as 23.98 and 30000/1001 as 29.97.
    const double ntsc = std::round(fps * 1.001);
    if (std::fabs(fps - ntsc * 1000.0 / 1001.0) < 0.006)
        return {1001, int(ntsc) * 1000};
    const int hundredths = int(std::lround(fps * 100.0));
    const int divisor = std::gcd(hundredths, 100);
    return {100 / divisor, hundredths / divisor};
}

QString VideoEncoderFor(const QString& codec, const QString& container)
{
    const QString encoder = EncoderOf(codec);
    if (!encoder.isEmpty() && IsVideoEncoder(encoder))
        return encoder;
    return ContainerVideoEncoder(container.toLower());
}

QString AudioEncoderFor(const QString& codec, const QString& container)
{
    const QString encoder = EncoderOf(codec);
    if (!encoder.isEmpty() && !IsVideoEncoder(encoder))
        return encoder;
    return ContainerAudioEncoder(container.toLower());
}

QString CodecOfEncoder(const QString& encoder)
{
    if (encoder.startsWith(QLatin1String("pcm_")))
        return encoder;
    for (const CodecEncoder& entry : kEncoders) {
        if (encoder == QLatin1String(entry.encoder))
            return QString::fromLatin1(entry.codec);
    }
    return encoder;
}

QString ChannelLayoutName(int channels)
{
    switch (channels) {
    case 1:
        return QStringLiteral("mono");
    case 2:
        return QStringLiteral("stereo");
    case 3:
        return QStringLiteral("2.1");
    case 4:
        return QStringLiteral("quad");
    case 5:
        return QStringLiteral("5.0");
    case 6:
        return QStringLiteral("5.1");
    case 7:
        return QStringLiteral("6.1");
    case 8:
        return QStringLiteral("7.1");
    default:
        return QStringLiteral("%1 channels").arg(channels);
    }
}

OutputProfile OutputProfileFor(const MediaInfo& formatRow, const QList<MediaInfo>& rows)
{
    MediaInfo format = formatRow;
    ComputeEncodingParameters(format);

    OutputProfile profile;
    profile.container = format.suffix.toLower();

    profile.hasVideo = !format.videoCodec.isEmpty();
    if (profile.hasVideo) {
        profile.videoEncoder = VideoEncoderFor(format.videoCodec, profile.container);
        profile.videoCodec = EncoderOf(format.videoCodec) == profile.videoEncoder
                                 ? format.videoCodec.toLower()
                                 : CodecOfEncoder(profile.videoEncoder);
        profile.width = format.width;
        profile.height = format.height;
        profile.frameRateText = format.frameRateText;
        profile.frameRate = FrameRateOf(format.frameRate);
        profile.videoBitRate = format.videoBitRate;
    }

    if (!format.audioCodec.isEmpty()) {
        profile.hasAudio = true;
        profile.audioEncoder = AudioEncoderFor(format.audioCodec, profile.container);
        profile.audioCodec = EncoderOf(format.audioCodec) == profile.audioEncoder
                                 ? format.audioCodec.toLower()
                                 : CodecOfEncoder(profile.audioEncoder);
        profile.sampleRate = format.sampleRate;
        profile.channels = format.audioChannels;
        profile.audioBitRate = format.audioBitRate;
    } else if (profile.hasVideo) {
        // Dropping the sound of every other row because the reference row is
        // silent would lose what the user meant to keep.
        const auto voiced = std::find_if(rows.begin(), rows.end(), [](const MediaInfo& row) {
            return !row.audioCodec.isEmpty();
        });
        if (voiced != rows.end()) {
            MediaInfo source = *voiced;
            ComputeEncodingParameters(source);
            profile.hasAudio = true;
            profile.audioAdded = true;
            profile.audioEncoder = ContainerAudioEncoder(profile.container);
            profile.audioCodec = CodecOfEncoder(profile.audioEncoder);
            profile.sampleRate = source.sampleRate;
            profile.channels = std::clamp(source.audioChannels, 1, 8);
            profile.audioBitRate = 128000;
        }
    }
    if (profile.audioEncoder == QLatin1String("libopus"))
        profile.sampleRate = OpusRate(profile.sampleRate);
    return profile;
}

QString ProfileVideoText(const OutputProfile& profile)
{
    if (!profile.hasVideo)
        return {};
    QString text = profile.container.toUpper() + QLatin1Char(' ') + profile.videoCodec.toUpper() +
                   QLatin1Char(' ') + QString::number(profile.width) + QLatin1Char('x') +
                   QString::number(profile.height);
    if (!profile.frameRateText.isEmpty())
        text += QLatin1Char(' ') + profile.frameRateText;
    return text;
}

QString ProfileAudioText(const OutputProfile& profile)
{
    if (!profile.hasAudio)
        return {};
    QString text = profile.audioCodec.toUpper();
    // Without a picture half, the container is named here ("M4A AAC"), but
    // once only where it is the codec's own name ("MP3").
    if (!profile.hasVideo && profile.container.compare(profile.audioCodec, Qt::CaseInsensitive))
        text.prepend(profile.container.toUpper() + QLatin1Char(' '));
    if (profile.sampleRate > 0)
        text += QStringLiteral(" %1 Hz").arg(profile.sampleRate);
    if (profile.channels > 0)
        text += QLatin1Char(' ') + ChannelLayoutName(profile.channels);
    return text;
}
