#pragma once

#include "media/mediainfo.h"

#include <QList>
#include <QString>

struct FrameRateFraction
{
    int denominator = 1;
    int numerator = 25;
};

// What a re-encoded result will be: the output-format row's container,
// streams and numbers, with the encoders that write them. The Profile line
// shows it and the engine's parameter block carries it, so the window never
// promises something the result does not keep.
struct OutputProfile
{
    QString container; // the result's suffix, lower case

    bool hasVideo = false;
    QString videoCodec;   // the codec the result will have ("hevc")
    QString videoEncoder; // the media tool's encoder that writes it ("libx265")
    int width = 0;
    int height = 0;
    QString frameRateText; // as the probe printed it ("29.97fps"); may be empty
    FrameRateFraction frameRate;
    int videoBitRate = 0; // bits per second; below 100 kb/s means "not known"

    bool hasAudio = false;
    // The output-format row has no sound of its own but another row has: the
    // result still carries it, in the container's usual codec.
    bool audioAdded = false;
    QString audioCodec;
    QString audioEncoder;
    int sampleRate = 0;
    int channels = 0;
    int audioBitRate = 0;
};

// The frame rate as a fraction: whole rates as N/1, the NTSC family that the
// probe prints rounded (23.98, 29.97, 59.94, ...) as N*1000/1001, anything
// else to a hundredth (12.5 gives 25/2); 25/1 for a rate that is not positive.
FrameRateFraction FrameRateOf(double framesPerSecond);

// The encoder that writes a stream the probe named `codec` (a decoder name)
// into a `container` file. A codec without an encoder here falls back to the
// container's usual one. Video and sound share this one table.
QString VideoEncoderFor(const QString& codec, const QString& container);
QString AudioEncoderFor(const QString& codec, const QString& container);

// The codec an encoder writes ("libx265" writes "hevc").
QString CodecOfEncoder(const QString& encoder);

// The layout name of a channel count ("mono", "stereo", "5.1", "3 channels").
QString ChannelLayoutName(int channels);

// The result of re-encoding `rows` (the rows in use, list order) into the
// format of `format` (one of them, with its chosen track's facts).
OutputProfile OutputProfileFor(const MediaInfo& format, const QList<MediaInfo>& rows);

// The two halves of the Profile line: "MOV HEVC 1920x1080 30fps" and
// "AAC 44100 Hz mono". Empty for a half the result does not have.
QString ProfileVideoText(const OutputProfile& profile);
QString ProfileAudioText(const OutputProfile& profile);
