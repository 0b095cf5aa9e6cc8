#pragma once

#include "media/mediainfo.h"

#include <QRect>
#include <QString>
#include <QtGlobal>

// The arithmetic behind the media list and its rows, kept apart from the
// widgets so it can be checked without a display.

// "<duration> <codec> <W>x<H> <frame rate>" and "<codec> <rate> <channels>",
// the two facts lines of a row. A file without a video stream shows only its
// duration; an unknown frame rate is left out.
QString VideoFactsText(const MediaInfo& info);
QString AudioFactsText(const MediaInfo& info);

// Where the thumbnail sits inside a frame of frameWidth x frameHeight: the
// picture's aspect ratio is kept (sides of 10 or less count as 10, so a
// file without a picture size cannot divide by zero) and it is centred.
QRect FitThumbnail(int pictureWidth, int pictureHeight, int frameWidth, int frameHeight);

// The horizontal extent [left, right] of the strip that marks the kept part
// on a row `rowWidth` pixels wide. Returns false when the file's duration is
// unknown (0 or less): there is nothing to scale the strip by.
bool CutBarSpan(int rowWidth, qint64 cutStart, qint64 cutEnd, qint64 duration, int* left,
                int* right);

// The length a row contributes to the total: its kept part, never negative.
inline qint64 KeptLength(qint64 cutStart, qint64 cutEnd)
{
    return cutEnd > cutStart ? cutEnd - cutStart : 0;
}

// How a dragged row changes places with its neighbours.
enum class DragSwap
{
    None,
    WithPrevious,
    WithNext
};

// The dragged row's top and height, and those of its nearest neighbours in
// use (hasPrevious/hasNext false when there is none); gap is the scaled
// spacing between rows.
struct DragGeometry
{
    int top = 0;
    int height = 0;
    bool hasPrevious = false;
    int previousTop = 0;
    int previousHeight = 0;
    bool hasNext = false;
    int nextTop = 0;
    int nextHeight = 0;
    int gap = 0;
};

// A row dragged up past the upper half of the row before it takes that row's
// place; dragged down past the lower half of the row after it, that row's.
DragSwap DecideDragSwap(const DragGeometry& g);
