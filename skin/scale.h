#pragma once

#include <QString>

// One process-wide scale factor adapts every hand-laid-out window to the
// density and size of the screen. Every pixel constant k of a layout, font
// size or window size becomes Scaled(k).

// The main window's size in pixels at scale 1.0.
inline constexpr int kMainWindowBaseWidth = 1202;
inline constexpr int kMainWindowBaseHeight = 752;

// Bounds the scale factor is kept within.
inline constexpr float kMinScaleFactor = 0.5f;
inline constexpr float kMaxScaleFactor = 1.8f;

// The current factor: 1.0 until the main window sets it once at start-up. A
// factor that is not a positive finite number is stored as 1.0.
float ScaleFactor();
void SetScaleFactor(float s);

// trunc(k * ScaleFactor()), the product taken in double precision and
// truncated toward zero; negative constants (offsets from the right or
// bottom edge) are converted the same way.
int Scaled(double k);
// The same conversion for a given factor, for layouts computed ahead.
int ScaledBy(double k, float scale);
// Scaled(k) as a style-sheet length, "<n>px".
QString ScaledPx(double k);

// The factor for a screen: the smaller of the two logical densities relative
// to 96 dots per inch, kept within [0.5, 1.8], then reduced where needed so
// the main window fits in 80 % of the desktop in both directions (unless that
// would go below 0.5). A desktop is only taken into account when hasDesktop
// is true.
float ComputeScaleFactor(double logicalDpiX, double logicalDpiY, bool hasDesktop, int desktopWidth,
                         int desktopHeight);
