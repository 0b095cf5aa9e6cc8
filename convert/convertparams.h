#pragma once

#include "media/mediainfo.h"

#include <QByteArray>
#include <QString>

// The conversion parameter block handed to the engine library: 2,788 bytes,
// zero except for the fields below. Integers are 32-bit, little-endian.
namespace ConvertParams {
inline constexpr int BlockSize = 2788;
inline constexpr int OffsetSize = 0;
inline constexpr int OffsetOutputPath = 4; // 1,024 bytes, zero-terminated
inline constexpr int OutputPathField = 1024;
inline constexpr int OffsetOutputPath2 = 1028; // 260 bytes, zero-terminated
inline constexpr int OutputPath2Field = 260;
inline constexpr int OffsetVideoEncoder = 1288; // 128 bytes
inline constexpr int EncoderField = 128;
inline constexpr int OffsetVideoBitRate = 1420;
inline constexpr int OffsetFrameRateDen = 1428;
inline constexpr int OffsetFrameRateNum = 1432;
inline constexpr int OffsetWidth = 1436;
inline constexpr int OffsetHeight = 1440;
inline constexpr int OffsetNoVideo = 1452;
inline constexpr int OffsetAudioEncoder = 1456; // 128 bytes
inline constexpr int OffsetAudioBitRate = 1716;
inline constexpr int OffsetSampleRate = 1724;
inline constexpr int OffsetChannels = 1728;
inline constexpr int OffsetFixed16 = 1732;
inline constexpr int OffsetFixedZero1 = 1736;
inline constexpr int OffsetFixedZero2 = 1760;
} // namespace ConvertParams

struct FrameRateFraction
{
    int denominator;
    int numerator;
};

// The engine's output rate for a probed frame rate: 25, 24 and 30 exactly,
// the NTSC rates 24000/1001 and 30000/1001 for anything within 0.01 of them
// (the probe reports them rounded, as 23.98 or 29.97), otherwise 24.
FrameRateFraction EngineFrameRate(double frameRate);

// An audio encoder of the media tool for a stream that the probe named
// `decoderCodec`, to be written into a file with `containerSuffix`. Most
// decoders have an encoder of another name (mp3 is written by libmp3lame,
// vorbis by libvorbis); an unknown codec falls back to the container's usual
// audio encoder.
QString AudioEncoderFor(const QString& decoderCodec, const QString& containerSuffix);

// The audio encoder the engine uses for an output like `formatItem`: AAC,
// Vorbis for webm, and for containers that cannot hold AAC (mp3, ogg, flac,
// wav, ...) the encoder of the output-format item's own codec.
QString EngineAudioEncoder(const MediaInfo& formatItem);

// The parameter block for a re-encoding into `outputFile` in the format of
// `formatItem` (its encoding numbers are recomputed from its texts first).
// An output-format item without audio leaves the audio encoder name empty,
// which asks for an output without audio.
// Empty when the path does not fit the block's 260-byte second path field;
// the job must then be refused rather than run with a cut-off name.
QByteArray EngineParameterBlock(const QString& outputFile, const MediaInfo& formatItem);
