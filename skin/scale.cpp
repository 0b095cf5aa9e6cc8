#include "skin/scale.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace {

// Written once on the user-interface thread before any other window exists,
// but read from everywhere afterwards; an atomic keeps that well defined.
std::atomic<float> g_scaleFactor{1.0f};

double Clamp(double s)
{
    if (s <= kMinScaleFactor) {
        return kMinScaleFactor;
    }
    if (s > kMaxScaleFactor) {
        return kMaxScaleFactor;
    }
    return s;
}

} // namespace

float ScaleFactor()
{
    return g_scaleFactor.load(std::memory_order_relaxed);
}

void SetScaleFactor(float s)
{
    // Truncating a non-finite product to int is undefined, so a factor that is
    // not a number never gets stored; the neutral factor stands in for it.
    if (!std::isfinite(s) || s <= 0.0f) {
        s = 1.0f;
    }
    g_scaleFactor.store(s, std::memory_order_relaxed);
}

int Scaled(double k)
{
    return ScaledBy(k, ScaleFactor());
}

int ScaledBy(double k, float scale)
{
    const double product = k * static_cast<double>(scale);
    // The factor is a 32-bit float, so a factor meant to make 752 pixels into
    // exactly 864 lands a few millionths short of it; without this nudge the
    // truncation would lose a whole pixel to the representation error. The
    // nudge is far larger than that error (about 6e-8 of the product) and far
    // smaller than any fraction a layout constant produces on purpose.
    const double nudge = std::abs(product) * 1e-6;
    return static_cast<int>(std::trunc(product >= 0 ? product + nudge : product - nudge));
}

float ComputeScaleFactor(double logicalDpiX, double logicalDpiY, bool hasDesktop, int desktopWidth,
                         int desktopHeight)
{
    // A screen that reports no usable density is treated as a plain 96-dpi one.
    const double fx = std::isfinite(logicalDpiX) ? logicalDpiX / 96.0 : 1.0;
    const double fy = std::isfinite(logicalDpiY) ? logicalDpiY / 96.0 : 1.0;
    double s = Clamp(std::min(fx, fy));

    if (hasDesktop) {
        const double aw = 0.8 * desktopWidth;
        const double ah = 0.8 * desktopHeight;
        if (aw < kMainWindowBaseWidth * s || ah < kMainWindowBaseHeight * s) {
            s = std::min(aw / kMainWindowBaseWidth, ah / kMainWindowBaseHeight);
        }
    }
    return static_cast<float>(Clamp(s));
}

QString ScaledPx(double k)
{
    return QString::number(Scaled(k)) + QStringLiteral("px");
}
