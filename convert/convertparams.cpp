#include "convert/convertparams.h"

#include <QtEndian>

#include <cstring>

using namespace ConvertParams;

namespace {

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

QByteArray EngineParameterBlock(const QString& outputFile, const OutputProfile& profile)
{
    QByteArray block(BlockSize, '\0');
    PutInt(block, OffsetSize, BlockSize);

    const QByteArray path = outputFile.toUtf8();
    if (path.isEmpty() || !PutText(block, OffsetOutputPath, OutputPathField, path) ||
        !PutText(block, OffsetOutputPath2, OutputPath2Field, path))
        return {};

    if (profile.hasVideo) {
        PutText(block, OffsetVideoEncoder, EncoderField, profile.videoEncoder.toUtf8());
        PutInt(block, OffsetVideoBitRate, profile.videoBitRate);
        PutInt(block, OffsetFrameRateDen, profile.frameRate.denominator);
        PutInt(block, OffsetFrameRateNum, profile.frameRate.numerator);
        PutInt(block, OffsetWidth, profile.width);
        PutInt(block, OffsetHeight, profile.height);
    }
    PutInt(block, OffsetNoVideo, profile.hasVideo ? 0 : 1);
    if (profile.hasAudio) {
        PutText(block, OffsetAudioEncoder, EncoderField, profile.audioEncoder.toUtf8());
        PutInt(block, OffsetAudioBitRate, profile.audioBitRate);
        PutInt(block, OffsetSampleRate, profile.sampleRate);
        PutInt(block, OffsetChannels, profile.channels);
    }
    // Values the engine expects unchanged.
    PutInt(block, OffsetFixed16, 16);
    PutInt(block, OffsetFixedZero1, 0);
    PutInt(block, OffsetFixedZero2, 0);
    return block;
}
