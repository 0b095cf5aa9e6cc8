#pragma once

#include <QPixmap>

// The two shared sprite sheets that buttons, icons and placeholders copy their
// pictures out of by pixel rectangle. Each is read from the resources once per
// process; a sheet that cannot be read stays a null picture (and is logged).
// Call only with a QGuiApplication in place.

// Reads ":/images/public.png" and ":/images/4kpublic.png" unless already done.
void LoadSpriteSheets();

// The sheets; each call loads them first if that has not happened yet.
const QPixmap& PublicSprite();
const QPixmap& Public4kSprite();
