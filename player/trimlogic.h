#pragma once

#include <QtGlobal>

#include <optional>

// Widget-free arithmetic behind the trim slider and the player panel's cut
// range. Values are signed 64-bit (the panel uses microseconds); pixels are
// slider-local x positions.
namespace TrimLogic {

// The shortest cut range the panel stores: half a second.
constexpr qint64 kMinimumCutLength = 500000;

// Pixel sizes the slider derives from its width and the interface scale.
struct TrimGeometry
{
    int width = 0;         // slider width
    int handleWidth = 0;   // trunc(10 s)
    int playheadWidth = 0; // trunc(5 s)

    static TrimGeometry ForWidth(int width, double scale = 1.0);

    int half() const { return handleWidth / 2; }
    int playheadHalf() const { return playheadWidth / 2; }
    // The pixel length standing for the whole range; never negative.
    int trackLength() const { return qMax(0, width - handleWidth); }
};

// Value to pixel, truncated toward zero. An empty range or track maps
// everything to 0; results are saturated to the int range.
int ValueToPixel(qint64 value, qint64 minimum, qint64 maximum, int trackLength);
// Pixel to value, truncated toward zero. An empty range or track gives the
// minimum; results are saturated to the int64 range.
qint64 PixelToValue(int x, qint64 minimum, qint64 maximum, int trackLength);

// A setter's value clamped to [minimum, maximum]; an inverted range yields
// the minimum.
qint64 ClampValue(qint64 value, qint64 minimum, qint64 maximum);

// Playhead: x kept between half and width - half.
int ClampPlayheadX(int x, const TrimGeometry& g);
int PlayedBarWidth(int clampedX, const TrimGeometry& g);

// Left handle: x kept between 0 and (right handle edge - half).
int ClampLeftHandleX(int x, int rightHandleEdge, const TrimGeometry& g);
int LeftHandleEdge(int clampedX, const TrimGeometry& g);

// Right handle: x kept between (left handle edge + half) and width - half.
int ClampRightHandleX(int x, int leftHandleEdge, const TrimGeometry& g);
int RightHandleEdge(int clampedX, const TrimGeometry& g);

// The x at which setEndValue places the right handle: centred adds half.
int EndHandleX(qint64 end, bool centred, qint64 minimum, qint64 maximum, const TrimGeometry& g);

// The x at which a mark for `value` is drawn along the bar: the centre of the
// left handle when it holds that value, so a start snapped to a keyframe sits
// exactly on that keyframe's mark.
int MarkX(qint64 value, qint64 minimum, qint64 maximum, const TrimGeometry& g);

// The coloured stretch between the handles (x and width).
struct TrimStretch
{
    int x = 0;
    int width = 0;
};
TrimStretch StretchBetween(int leftHandleEdge, int rightHandleEdge, const TrimGeometry& g);

struct CutRange
{
    qint64 start = 0;
    qint64 end = 0;
};

// The panel's write-back correction: start not negative, at least half a
// second long, and, with a known duration, the end not past it. With no
// duration (no item) only the first two rules apply.
CutRange NormalizeCutRange(qint64 start, qint64 end, std::optional<qint64> duration);

// The set-start button: the playhead, kept half a second before the end and
// not negative.
qint64 StartFromPlayhead(qint64 current, qint64 end);
// The set-end button: the playhead, kept half a second after the start and,
// with a known duration, not past it.
qint64 EndFromPlayhead(qint64 current, qint64 start, std::optional<qint64> duration);

} // namespace TrimLogic
