#include "engine/joingraph.h"

#include "convert/convertparams.h"

#include <QFileInfo>
#include <QHash>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace Engine {

namespace {

// A picture size for a join without any picture to take it from.
constexpr int FallbackWidth = 640;
constexpr int FallbackHeight = 360;
// Below this the host's block carries its "bit rate unknown" default.
constexpr int MinimumVideoBitRate = 100000;

int32_t ReadInt(const void* block, int offset)
{
    return qFromLittleEndian<qint32>(static_cast<const char*>(block) + offset);
}

bool ReadText(const void* block, int offset, int field, QString* text)
{
    const char* begin = static_cast<const char*>(block) + offset;
    const void* end = std::memchr(begin, '\0', size_t(field));
    if (!end)
        return false;
    *text = QString::fromUtf8(begin, int(static_cast<const char*>(end) - begin));
    return true;
}

int EvenDown(int value)
{
    return std::max(2, value & ~1);
}

QString LayoutOf(int channels)
{
    static const char* const names[] = {"mono", "stereo", "2.1", "quad",
                                        "5.0",  "5.1",    "6.1", "7.1"};
    return QString::fromLatin1(names[std::clamp(channels, 1, 8) - 1]);
}

// Speed and quality settings per encoder: a rate when the output-format file
// told one, else a constant quality the encoder picks the rate for.
QStringList VideoEncoderOptions(const QString& encoder, int bitRate, const QString& container)
{
    const bool rateKnown = bitRate >= MinimumVideoBitRate;
    const QString rate = QString::number(bitRate);
    QStringList args;
    if (encoder == QLatin1String("libx264") || encoder == QLatin1String("libx265")) {
        args << QStringLiteral("-preset") << QStringLiteral("veryfast");
        if (rateKnown)
            args << QStringLiteral("-b:v") << rate;
        else
            args << QStringLiteral("-crf")
                 << (encoder == QLatin1String("libx264") ? QStringLiteral("23")
                                                         : QStringLiteral("28"));
        if (encoder == QLatin1String("libx265")) {
            args << QStringLiteral("-x265-params") << QStringLiteral("log-level=error");
            // The tag players on other systems expect for HEVC in MP4 and MOV.
            if (container == QLatin1String("mp4") || container == QLatin1String("mov") ||
                container == QLatin1String("m4v"))
                args << QStringLiteral("-tag:v") << QStringLiteral("hvc1");
        }
    } else if (encoder.startsWith(QLatin1String("libvpx"))) {
        if (rateKnown)
            args << QStringLiteral("-b:v") << rate;
        else
            args << QStringLiteral("-crf") << QStringLiteral("10") << QStringLiteral("-b:v")
                 << QStringLiteral("1M");
        args << QStringLiteral("-deadline") << QStringLiteral("realtime")
             << QStringLiteral("-cpu-used") << QStringLiteral("8");
        if (encoder == QLatin1String("libvpx-vp9"))
            args << QStringLiteral("-row-mt") << QStringLiteral("1");
    } else if (encoder == QLatin1String("libaom-av1")) {
        if (rateKnown)
            args << QStringLiteral("-b:v") << rate;
        else
            args << QStringLiteral("-crf") << QStringLiteral("35") << QStringLiteral("-b:v")
                 << QStringLiteral("0");
        args << QStringLiteral("-usage") << QStringLiteral("realtime")
             << QStringLiteral("-cpu-used") << QStringLiteral("8") << QStringLiteral("-row-mt")
             << QStringLiteral("1");
    } else if (!encoder.isEmpty()) {
        // The older codecs (MPEG-4 Part 2, MPEG-2, WMV, FLV, Theora).
        if (rateKnown)
            args << QStringLiteral("-b:v") << rate;
        else
            args << QStringLiteral("-q:v") << QStringLiteral("4");
    }
    return args;
}

// Suffixes the media tool does not know a writer for by themselves.
QString MuxerForSuffix(const QString& path)
{
    static const QHash<QString, QString> muxers{
        {QStringLiteral("trp"), QStringLiteral("mpegts")},
        {QStringLiteral("tod"), QStringLiteral("mpegts")},
        {QStringLiteral("td"), QStringLiteral("mpegts")},
        {QStringLiteral("mod"), QStringLiteral("vob")},
        {QStringLiteral("oga"), QStringLiteral("ogg")},
        {QStringLiteral("ogv"), QStringLiteral("ogg")},
        {QStringLiteral("m4b"), QStringLiteral("ipod")},
    };
    return muxers.value(QFileInfo(path).suffix().toLower());
}

} // namespace

int LastAudioTrack(const MediaFacts& facts)
{
    return facts.audioCount > 0 ? facts.audioCount - 1 : 0;
}

bool FactsAreSane(const MediaFacts& facts)
{
    const auto within = [](int64_t value, int64_t limit) { return value >= 0 && value <= limit; };
    return within(facts.durationUs, MaxDurationUs) && within(facts.width, MaxDimension) &&
           within(facts.height, MaxDimension) && facts.rateNum >= 0 && facts.rateDen >= 0 &&
           within(facts.sampleRate, MaxSampleRate) && within(facts.channels, 64) &&
           within(facts.audioCount, MaxAudioStreams);
}

int64_t JoinItem::keptUs() const
{
    int64_t end = endUs;
    if (end < 0)
        end = facts.durationUs;
    // The values come from the host; a difference of two of them may not fit.
    if (end <= startUs || end < 0 || end > MaxDurationUs)
        return 0;
    return end - std::max<int64_t>(0, startUs);
}

bool ReadOutputSettings(const void* block, OutputSettings* settings)
{
    using namespace ConvertParams;
    if (!block || ReadInt(block, OffsetSize) != BlockSize)
        return false;
    OutputSettings s;
    if (!ReadText(block, OffsetOutputPath, OutputPathField, &s.path) ||
        !ReadText(block, OffsetVideoEncoder, EncoderField, &s.videoEncoder) ||
        !ReadText(block, OffsetAudioEncoder, EncoderField, &s.audioEncoder))
        return false;
    s.videoBitRate = ReadInt(block, OffsetVideoBitRate);
    s.rateDen = ReadInt(block, OffsetFrameRateDen);
    s.rateNum = ReadInt(block, OffsetFrameRateNum);
    s.width = ReadInt(block, OffsetWidth);
    s.height = ReadInt(block, OffsetHeight);
    s.noVideo = ReadInt(block, OffsetNoVideo) == 1;
    if (s.wantsVideo()) {
        // 0 asks for the first picture's size; a rate must be given. Rates
        // are compared as 64-bit products, which cannot overflow.
        if (s.width < 0 || s.width > MaxDimension || s.height < 0 || s.height > MaxDimension ||
            s.rateNum <= 0 || s.rateDen <= 0 ||
            int64_t(s.rateNum) > int64_t(s.rateDen) * MaxFramesPerSecond ||
            int64_t(s.rateDen) > int64_t(s.rateNum) * MaxFramesPerSecond)
            return false;
    } else {
        s.rateNum = 25;
        s.rateDen = 1;
    }
    s.audioBitRate = ReadInt(block, OffsetAudioBitRate);
    s.sampleRate = ReadInt(block, OffsetSampleRate);
    if (s.wantsAudio() && (s.sampleRate < 0 || s.sampleRate > MaxSampleRate))
        return false;
    if (s.sampleRate <= 0 || s.sampleRate > MaxSampleRate)
        s.sampleRate = 44100;
    s.channels = ReadInt(block, OffsetChannels);
    if (s.channels < 1 || s.channels > 8)
        s.channels = 2;
    *settings = s;
    return true;
}

QString SecondsText(int64_t us)
{
    us = std::max<int64_t>(0, us);
    return QStringLiteral("%1.%2")
        .arg(us / 1000000)
        .arg(static_cast<qlonglong>(us % 1000000), 6, 10, QLatin1Char('0'));
}

QStringList JoinArguments(const std::vector<JoinItem>& items, const OutputSettings& settings)
{
    const bool video = settings.wantsVideo();
    const bool audio = settings.wantsAudio();
    if (items.empty() || (!video && !audio))
        return {};

    int width = settings.width;
    int height = settings.height;
    if (video && (width <= 0 || height <= 0)) {
        const auto first = std::find_if(items.begin(), items.end(), [](const JoinItem& item) {
            return item.facts.hasVideo && item.facts.width > 0 && item.facts.height > 0;
        });
        width = first != items.end() ? first->facts.width : FallbackWidth;
        height = first != items.end() ? first->facts.height : FallbackHeight;
    }
    // An item's size reached here only through FactsAreSane.
    if (width > MaxDimension || height > MaxDimension)
        return {};
    width = EvenDown(width);
    height = EvenDown(height);
    const QString size = QStringLiteral("%1x%2").arg(width).arg(height);
    const QString rate = QStringLiteral("%1/%2").arg(settings.rateNum).arg(settings.rateDen);
    const QString layout = LayoutOf(settings.channels);
    const QString audioFormat =
        QStringLiteral("aformat=sample_fmts=fltp:channel_layouts=%1").arg(layout);

    QStringList args{QStringLiteral("-hide_banner"), QStringLiteral("-nostdin"),
                     QStringLiteral("-n"),           QStringLiteral("-progress"),
                     QStringLiteral("pipe:1"),       QStringLiteral("-nostats")};

    QStringList chains;
    QString concatInputs;
    for (size_t i = 0; i < items.size(); ++i) {
        const JoinItem& item = items[i];
        args << QStringLiteral("-ss") << SecondsText(item.startUs);
        if (item.endUs >= 0)
            args << QStringLiteral("-to") << SecondsText(item.endUs);
        args << QStringLiteral("-i") << item.path;

        const QString length = SecondsText(item.keptUs());
        if (video) {
            const QString label = QStringLiteral("[v%1]").arg(i);
            if (item.facts.hasVideo) {
                chains << QStringLiteral("[%1:v:0]scale=%2:%3:force_original_aspect_ratio=decrease,"
                                         "pad=%2:%3:(ow-iw)/2:(oh-ih)/2,setsar=1,fps=%4,"
                                         "format=yuv420p%5")
                              .arg(i)
                              .arg(width)
                              .arg(height)
                              .arg(rate, label);
            } else {
                chains << QStringLiteral("color=c=black:s=%1:r=%2:d=%3,setsar=1,format=yuv420p%4")
                              .arg(size, rate, length, label);
            }
            concatInputs += label;
        }
        if (audio) {
            const QString label = QStringLiteral("[a%1]").arg(i);
            if (item.facts.hasAudio) {
                const int track = std::clamp(item.facts.audioTrack, 0, LastAudioTrack(item.facts));
                chains << QStringLiteral("[%1:a:%2]aresample=%3,%4%5")
                              .arg(i)
                              .arg(track)
                              .arg(settings.sampleRate)
                              .arg(audioFormat, label);
            } else {
                chains << QStringLiteral("anullsrc=r=%1:cl=%2,atrim=duration=%3,%4%5")
                              .arg(settings.sampleRate)
                              .arg(layout, length, audioFormat, label);
            }
            concatInputs += label;
        }
    }
    QString outputs;
    if (video)
        outputs += QStringLiteral("[vout]");
    if (audio)
        outputs += QStringLiteral("[aout]");
    chains << QStringLiteral("%1concat=n=%2:v=%3:a=%4%5")
                  .arg(concatInputs)
                  .arg(items.size())
                  .arg(video ? 1 : 0)
                  .arg(audio ? 1 : 0)
                  .arg(outputs);
    args << QStringLiteral("-filter_complex") << chains.join(QLatin1Char(';'));

    if (video) {
        args << QStringLiteral("-map") << QStringLiteral("[vout]");
        const QString& encoder = settings.videoEncoder;
        if (!encoder.isEmpty())
            args << QStringLiteral("-c:v") << encoder;
        args << VideoEncoderOptions(encoder, settings.videoBitRate,
                                    QFileInfo(settings.path).suffix().toLower());
        args << QStringLiteral("-r") << rate;
    }
    if (audio) {
        args << QStringLiteral("-map") << QStringLiteral("[aout]");
        const QString& encoder = settings.audioEncoder;
        args << QStringLiteral("-c:a") << encoder;
        // Lossless encoders take no bit rate.
        const bool lossless =
            encoder.startsWith(QLatin1String("pcm_")) || encoder == QLatin1String("flac");
        if (!lossless && settings.audioBitRate > 0)
            args << QStringLiteral("-b:a") << QString::number(settings.audioBitRate);
        if (encoder == QLatin1String("libopus") && settings.channels > 2)
            args << QStringLiteral("-mapping_family") << QStringLiteral("1");
        args << QStringLiteral("-ar") << QString::number(settings.sampleRate)
             << QStringLiteral("-ac") << QString::number(settings.channels);
    }
    if (const QString muxer = MuxerForSuffix(settings.path); !muxer.isEmpty())
        args << QStringLiteral("-f") << muxer;
    args << settings.path;
    return args;
}

} // namespace Engine
