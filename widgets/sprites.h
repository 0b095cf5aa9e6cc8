#pragma once

#include "resources/spriteregions.h"

#include <QPixmap>

class MyPushButton;

// The two shared sprite sheets that buttons, icons and placeholders copy their
// pictures out of by pixel rectangle. Each is read from the resources once per
// process; a sheet that cannot be read stays a null picture (and is logged).
// Call only with a QGuiApplication in place.

// Reads ":/images/public.png" and ":/images/4kpublic.png" unless already done.
void LoadSpriteSheets();

// The sheets; each call loads them first if that has not happened yet.
const QPixmap& PublicSprite();
const QPixmap& Public4kSprite();

// A region of the public sheet scaled to `size`, made once and shared by
// every caller that asks for the same size: a list of a thousand rows shows
// the same few icons a thousand times. Released with the sheets.
QPixmap ScaledSprite(Sprites::RegionId id, const QSize& size);

// Makes `button` an image button (type 3) whose four states show the regions
// of `sprite`, cut from `sheet`.
void ApplySpriteButton(MyPushButton* button, const Sprites::ButtonSprite& sprite,
                       const QPixmap& sheet);
// The same with the public sheet.
void ApplySpriteButton(MyPushButton* button, const Sprites::ButtonSprite& sprite);
