#pragma once

#include "convert/outputprofile.h"

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

// The parameter block for a re-encoding into `outputFile` with the streams,
// encoders and numbers of `profile`. A profile without sound leaves the audio
// encoder name empty, which asks for an output without sound; one without
// picture sets the no-video flag.
// Empty when the path does not fit the block's 260-byte second path field;
// the job must then be refused rather than run with a cut-off name.
QByteArray EngineParameterBlock(const QString& outputFile, const OutputProfile& profile);
