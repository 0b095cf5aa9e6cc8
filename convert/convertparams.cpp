#include "convert/convertparams.h"

#include <QHash>
#include <QSet>
#include <QtEndian>

#include <cmath>
#include <cstring>

using namespace ConvertParams;

namespace {

bool IsWebm(const MediaInfo& info)
{
    return info.suffix.toLower() == QLatin1String("webm");
}

void PutInt(QByteArray& block, int offset, qint32 value)
{
    qToLittleEndian(value, block.data() + offset);
}

// Copies the text and leaves at least one zero byte of the field behind it.
bool PutText(QByteArray& block, int offset, int field, const QByteArray& text)
{
    if (text.size() >= field || text.contains('\0'))
        return false;
    std::memcpy(block.data() + offset, text.constData(), size_t(text.size()));
    return true;
}

} // namespace

FrameRateFraction EngineFrameRate(double frameRate)
{
    const auto near = [frameRate](double rate) { return std::fabs(frameRate - rate) < 0.01; };
    if (frameRate == 25.0)
        return {1, 25};
    if (near(24000.0 / 1001.0))
        return {1001, 24000};
    if (frameRate == 24.0)
        return {1, 24};
    if (frameRate == 30.0)
        return {1, 30};
    if (near(30000.0 / 1001.0))
        return {1001, 30000};
    return {1, 24};
}

QString AudioEncoderFor(const QString& decoderCodec, const QString& containerSuffix)
{
    static const QHash<QString, QString> encoders{
        {QStringLiteral("mp3"), QStringLiteral("libmp3lame")},
        {QStringLiteral("mp3float"), QStringLiteral("libmp3lame")},
        {QStringLiteral("vorbis"), QStringLiteral("libvorbis")},
        {QStringLiteral("opus"), QStringLiteral("libopus")},
        {QStringLiteral("aac"), QStringLiteral("aac")},
        {QStringLiteral("aac_latm"), QStringLiteral("aac")},
        {QStringLiteral("ac3"), QStringLiteral("ac3")},
        {QStringLiteral("eac3"), QStringLiteral("eac3")},
        {QStringLiteral("mp2"), QStringLiteral("mp2")},
        {QStringLiteral("mp2float"), QStringLiteral("mp2")},
        {QStringLiteral("flac"), QStringLiteral("flac")},
        {QStringLiteral("alac"), QStringLiteral("alac")},
        {QStringLiteral("wmav1"), QStringLiteral("wmav1")},
        {QStringLiteral("wmav2"), QStringLiteral("wmav2")},
        {QStringLiteral("amr_nb"), QStringLiteral("libopencore_amrnb")},
        {QStringLiteral("dts"), QStringLiteral("dca")},
        {QStringLiteral("truehd"), QStringLiteral("truehd")},
    };
    const QString codec = decoderCodec.trimmed().toLower();
    if (const auto it = encoders.constFind(codec); it != encoders.constEnd())
        return it.value();
    // PCM decoders and encoders share their names (pcm_s16le, pcm_f32le, ...).
    if (codec.startsWith(QLatin1String("pcm_")))
        return codec;

    static const QHash<QString, QString> containerDefaults{
        {QStringLiteral("mp3"), QStringLiteral("libmp3lame")},
        {QStringLiteral("ogg"), QStringLiteral("libvorbis")},
        {QStringLiteral("oga"), QStringLiteral("libvorbis")},
        {QStringLiteral("webm"), QStringLiteral("libvorbis")},
        {QStringLiteral("opus"), QStringLiteral("libopus")},
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
    };
    return containerDefaults.value(containerSuffix.trimmed().toLower(), QStringLiteral("aac"));
}

QString EngineAudioEncoder(const MediaInfo& formatItem)
{
    if (IsWebm(formatItem))
        return QStringLiteral("libvorbis");
    // Containers whose muxers take no AAC stream; "aac" there would only make
    // the engine fail after all inputs were decoded.
    static const QSet<QString> noAac{
        QStringLiteral("mp3"),  QStringLiteral("ogg"),  QStringLiteral("oga"),
        QStringLiteral("opus"), QStringLiteral("flac"), QStringLiteral("wav"),
        QStringLiteral("aif"),  QStringLiteral("aiff"), QStringLiteral("ac3"),
        QStringLiteral("mpg"),  QStringLiteral("mpeg"), QStringLiteral("vob"),
    };
    const QString suffix = formatItem.suffix.toLower();
    if (noAac.contains(suffix))
        return AudioEncoderFor(formatItem.audioCodec, suffix);
    return QStringLiteral("aac");
}

QByteArray EngineParameterBlock(const QString& outputFile, const MediaInfo& formatItem)
{
    MediaInfo info = formatItem;
    ComputeEncodingParameters(info);
    const bool webm = IsWebm(info);

    QByteArray block(BlockSize, '\0');
    PutInt(block, OffsetSize, BlockSize);

    const QByteArray path = outputFile.toUtf8();
    if (path.isEmpty() || !PutText(block, OffsetOutputPath, OutputPathField, path) ||
        !PutText(block, OffsetOutputPath2, OutputPath2Field, path))
        return {};

    const FrameRateFraction rate =
        webm ? FrameRateFraction{1, 25} : EngineFrameRate(info.frameRate);
    PutText(block, OffsetVideoEncoder, EncoderField,
            webm ? QByteArrayLiteral("libvpx") : QByteArrayLiteral("libx264"));
    PutInt(block, OffsetVideoBitRate, webm ? 256000 : info.videoBitRate);
    PutInt(block, OffsetFrameRateDen, rate.denominator);
    PutInt(block, OffsetFrameRateNum, rate.numerator);
    PutInt(block, OffsetWidth, info.width);
    PutInt(block, OffsetHeight, info.height);
    PutInt(block, OffsetNoVideo, info.videoCodec.isEmpty() ? 1 : 0);
    // No encoder name tells the engine to write no audio, as the output-format
    // file has none; silence would add a track the user never had.
    if (!info.audioCodec.isEmpty())
        PutText(block, OffsetAudioEncoder, EncoderField, EngineAudioEncoder(info).toUtf8());
    PutInt(block, OffsetAudioBitRate, webm ? 128000 : info.audioBitRate);
    PutInt(block, OffsetSampleRate, webm ? 22050 : info.sampleRate);
    PutInt(block, OffsetChannels, 2);
    // Values the engine expects unchanged.
    PutInt(block, OffsetFixed16, 16);
    PutInt(block, OffsetFixedZero1, 0);
    PutInt(block, OffsetFixedZero2, 0);
    return block;
}
