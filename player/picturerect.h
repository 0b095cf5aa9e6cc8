#pragma once

#include <QRect>

// Where a picture of videoWidth x videoHeight stands in an area of
// areaWidth x areaHeight: as large as fits with its aspect ratio kept, centred.
// Sizes of 10 or less (not learnt from the file) count as 10, so an unknown
// size shows square.
QRect PictureRect(int videoWidth, int videoHeight, int areaWidth, int areaHeight);
