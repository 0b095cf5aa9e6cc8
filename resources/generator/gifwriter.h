#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QVector>

// A small GIF89a writer for the busy animations, since the toolkit reads GIF
// but cannot write it. Every frame covers the whole picture, all frames share
// one global colour table, and the animation loops.
namespace Gif {

struct Animation
{
    int width = 0;
    int height = 0;
    QVector<QRgb> palette;     // 1 to 256 opaque colours
    int transparentIndex = -1; // palette index drawn as transparent, -1 for none
    int delayCs = 10;          // time each frame is shown, in hundredths of a second
    int loopCount = 0;         // repetitions after the first run; 0 loops forever
    QList<QByteArray> frames;  // width * height palette indices per frame, row by row
};

// Reduces ARGB frames of one size to a shared palette of at most 256 colours.
// Pixels with less than half coverage become transparent (palette index 0);
// the others are composed over `matte`, the colour the animation will be shown
// on, so anti-aliased edges blend into that background.
Animation fromImages(const QList<QImage>& frames, QRgb matte, int delayCs);

// The whole file. Returns an empty array and sets `error` when the animation
// is inconsistent (sizes, indices, palette).
QByteArray encode(const Animation& animation, QString* error = nullptr);

// The LZW code stream of one frame, before it is cut into sub-blocks: a clear
// code, the codes, the end code, packed least significant bit first.
QByteArray lzwCompress(const QByteArray& indices, int minCodeSize);

} // namespace Gif
