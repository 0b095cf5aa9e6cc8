#pragma once

#include "convert/cutmode.h"
#include "media/frameindex.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <limits>

// "No such point" for in and out points, which may lie before 0.
inline constexpr qint64 kNoTime = std::numeric_limits<qint64>::min();

// One stretch of a kept range's picture: either frames encoded again (from a
// start frame up to the next keyframe, or from the last keyframe to the end)
// or packets copied from the source between two keyframes.
struct CutPiece
{
    enum Kind
    {
        Encode,
        Copy
    };
    Kind kind = Copy;
    qint64 start = 0;          // absolute time of the first frame
    int frames = 0;            // Encode: how many frames
    qint64 duration = 0;       // microseconds of picture the piece covers
    qint64 outpoint = kNoTime; // Copy: packets decoded at or after this are left out
};

// How one row's kept range is made.
struct ItemCutPlan
{
    bool ok = false;
    QString error;          // why the range cannot be cut at all
    QString reencodeReason; // set when the exact range cannot be spliced losslessly
    qint64 keptStart = 0;   // relative to the file's start, on a frame
    qint64 keptEnd = 0;     // exclusive
    QList<CutPiece> video;  // empty for a file without picture

    qint64 keptDuration() const { return keptEnd - keptStart; }
    qint64 encodedDuration() const;
};

// Ends `plan` early, at the last point at or before `until` (relative
// microseconds) where its picture can stop cleanly: later pieces go, and a
// copied piece across `until` ends at a clean end inside it. False, with the
// plan unchanged, when that would leave nothing, cut into an encoded piece or
// not shorten the plan at all.
bool EndPlanEarly(const FrameIndex& index, qint64 until, ItemCutPlan* plan);

// Why the picture of `index` cannot be cut on any frame by encoding the frames
// up to the next keyframe and copying the rest into a `suffix` file; empty
// when it can.
QString SpliceRefusal(const FrameIndex& index, const QString& suffix);

// The plan for the range [cutStart, cutEnd) (relative microseconds). `index`
// may be invalid for a file without picture.
ItemCutPlan PlanItemCut(const FrameIndex& index, qint64 cutStart, qint64 cutEnd, CutMode mode,
                        const QString& suffix);

// The media tool's output options that encode frames matching the source's
// stream (codec, profile, level, pixel format, reorder depth, colour, time
// base), for a piece to be spliced between copied packets. Empty when no
// encoder fits.
QStringList SpliceEncoderOptions(const FrameIndex& index, const QString& suffix);

// The encoder settings that shape a stream's headers, read back from the
// settings text an encoder of this kind writes into the stream
// ("options: ctu=32 wpp no-sao ..."), as "key=value:key=value" for the
// encoder's parameter option; rate control, threads and logging are left out.
// Empty when the text is not there.
QString X265ParamsFromExtradata(const QByteArray& extradata);

// The parameter sets (video, sequence and picture) held in an HEVC
// configuration record, in order; empty when the record cannot be read.
QList<QByteArray> HevcParameterSets(const QByteArray& record);

// Audio frame length in microseconds for a decoder name and sample rate, for
// the tolerance of the result check; a generous default for unknown ones.
qint64 AudioFrameDuration(const QString& codec, int sampleRate);

// Seconds with six decimals, independent of the locale ("12.500000", "-0.080000").
QString ListSeconds(qint64 us);

// One entry of a concat list: a file, optionally with in and out points and
// the length it takes in the joined timeline.
struct ConcatEntry
{
    QString path;
    qint64 inpoint = kNoTime;
    qint64 outpoint = kNoTime;
    qint64 duration = kNoTime;
};

// The list text ("ffconcat version 1.0", one "file" line per entry with its
// directives); empty when a path cannot be written into a line-based list.
QByteArray ConcatListBytes(const QList<ConcatEntry>& entries);
