#pragma once

#include "resources/spriteregions.h"

#include <QByteArray>
#include <QImage>
#include <QList>

// The drawings of every picture the program ships. Everything is drawn with
// paths (no text), so the result does not depend on the fonts installed.
namespace Artwork {

// A whole sprite sheet with every region of the table drawn into its
// rectangle; the rest of the sheet stays transparent.
QImage drawSheet(Sprites::Sheet sheet);

// One region alone, at its own size, with the origin at its top-left corner.
QImage drawRegion(Sprites::RegionId id);

// The program icon at its size in the program, at any other size (simpler
// below 48 pixels, so it stays sharp in menus) and as a scalable drawing.
QImage drawProgramIcon();
QImage drawProgramIcon(int size);
QByteArray programIconSvg();
QImage drawComboArrow();
QImage drawSpeaker(bool muted);
// state 1 normal, 2 hover, 3 pressed, 4 disabled
QImage drawSpinArrow(bool up, int state);

// Frames of the two busy animations, and the background each is shown on.
QList<QImage> drawDotSpinnerFrames();
QList<QImage> drawArcSpinnerFrames();
QRgb dotSpinnerMatte();
QRgb arcSpinnerMatte();

} // namespace Artwork
