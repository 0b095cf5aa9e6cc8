#include "trimlogic.h"

#include <cmath>
#include <limits>

namespace TrimLogic {

namespace {

// Casting an out-of-range double to an integer is undefined, so saturate
// first; NaN cannot arise because every divisor is checked to be positive.
template <typename Int> Int SaturatingTrunc(double v)
{
    constexpr double lo = static_cast<double>(std::numeric_limits<Int>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<Int>::max());
    if (v <= lo)
        return std::numeric_limits<Int>::min();
    if (v >= hi)
        return std::numeric_limits<Int>::max();
    return static_cast<Int>(std::trunc(v));
}

qint64 SaturatingAdd(qint64 a, qint64 b)
{
    qint64 r = 0;
    if (!__builtin_add_overflow(a, b, &r))
        return r;
    return b > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
}

// The range width in double: max - min can overflow int64.
double RangeWidth(qint64 minimum, qint64 maximum)
{
    return static_cast<double>(maximum) - static_cast<double>(minimum);
}

} // namespace

TrimGeometry TrimGeometry::ForWidth(int width, double scale)
{
    TrimGeometry g;
    g.width = width;
    g.handleWidth = static_cast<int>(10 * scale);
    g.playheadWidth = static_cast<int>(5 * scale);
    return g;
}

int ValueToPixel(qint64 value, qint64 minimum, qint64 maximum, int trackLength)
{
    const double range = RangeWidth(minimum, maximum);
    if (range <= 0 || trackLength <= 0)
        return 0;
    // Measured from the minimum so that a range not starting at 0 still maps
    // its minimum to pixel 0.
    const double offset = static_cast<double>(value) - static_cast<double>(minimum);
    // Multiplying before dividing keeps whole results exact: x / track * range
    // lands just below an integer often enough to lose a pixel or a unit.
    return SaturatingTrunc<int>(offset * trackLength / range);
}

qint64 PixelToValue(int x, qint64 minimum, qint64 maximum, int trackLength)
{
    const double range = RangeWidth(minimum, maximum);
    if (range <= 0 || trackLength <= 0)
        return minimum;
    const double offset = static_cast<double>(x) * range / trackLength;
    return SaturatingAdd(minimum, SaturatingTrunc<qint64>(offset));
}

qint64 ClampValue(qint64 value, qint64 minimum, qint64 maximum)
{
    if (maximum < minimum)
        return minimum;
    return qBound(minimum, value, maximum);
}

int ClampPlayheadX(int x, const TrimGeometry& g)
{
    // A slider narrower than a handle would invert the bounds; the lower one
    // wins so the playhead never leaves the left edge.
    const int upper = qMax(g.half(), g.width - g.half());
    return qBound(g.half(), x, upper);
}

int PlayedBarWidth(int clampedX, const TrimGeometry& g)
{
    return clampedX - g.half();
}

int ClampLeftHandleX(int x, int rightHandleEdge, const TrimGeometry& g)
{
    if (x < 0)
        x = 0;
    const int limit = rightHandleEdge - g.half();
    return x > limit ? limit : x;
}

int LeftHandleEdge(int clampedX, const TrimGeometry& g)
{
    return qMax(clampedX - g.half(), 0) + g.playheadHalf();
}

int ClampRightHandleX(int x, int leftHandleEdge, const TrimGeometry& g)
{
    const int lower = leftHandleEdge + g.half();
    if (x < lower)
        x = lower;
    const int upper = g.width - g.half();
    return x > upper ? upper : x;
}

int RightHandleEdge(int clampedX, const TrimGeometry& g)
{
    return qMin(clampedX, g.width - g.handleWidth) - g.playheadHalf();
}

int EndHandleX(qint64 end, bool centred, qint64 minimum, qint64 maximum, const TrimGeometry& g)
{
    const int x = ValueToPixel(end, minimum, maximum, g.trackLength());
    // x is at most the track length, so adding half cannot overflow.
    return centred ? x + g.half() : x;
}

int MarkX(qint64 value, qint64 minimum, qint64 maximum, const TrimGeometry& g)
{
    const int x = ValueToPixel(value, minimum, maximum, g.trackLength());
    return LeftHandleEdge(qMax(x, 0), g) + g.half();
}

TrimStretch StretchBetween(int leftHandleEdge, int rightHandleEdge, const TrimGeometry& g)
{
    return {leftHandleEdge + g.half(), rightHandleEdge - leftHandleEdge};
}

CutRange NormalizeCutRange(qint64 start, qint64 end, std::optional<qint64> duration)
{
    CutRange r{qMax<qint64>(start, 0), end};
    if (r.end <= r.start)
        r.end = SaturatingAdd(r.start, kMinimumCutLength);
    if (!duration)
        return r;
    // A negative duration (not learnt) is read as an empty file rather than
    // producing a range that ends before zero.
    const qint64 length = qMax<qint64>(*duration, 0);
    if (r.end >= length) {
        r.end = length;
        if (r.start >= r.end)
            r.start = qMax<qint64>(r.end - kMinimumCutLength, 0);
    }
    return r;
}

qint64 StartFromPlayhead(qint64 current, qint64 end)
{
    const qint64 latest = SaturatingAdd(end, -kMinimumCutLength);
    qint64 v = current >= latest ? latest : current;
    return v <= 0 ? 0 : v;
}

qint64 EndFromPlayhead(qint64 current, qint64 start, std::optional<qint64> duration)
{
    const qint64 earliest = SaturatingAdd(start, kMinimumCutLength);
    qint64 v = current <= earliest ? earliest : current;
    if (duration && v >= *duration)
        v = *duration;
    return v;
}

} // namespace TrimLogic
