#include "list/medialistlogic.h"

#include "app/timetext.h"

#include <cmath>

QString VideoFactsText(const MediaInfo& info)
{
    QString text = TimeToString(info.duration);
    // A file without a picture has no codec or size worth showing; its length
    // still tells the user what was added.
    if (info.videoStreamLines.isEmpty())
        return text;
    text += QLatin1Char(' ') + info.videoCodec + QLatin1Char(' ') + QString::number(info.width) +
            QLatin1Char('x') + QString::number(info.height);
    if (!info.frameRateText.isEmpty())
        text += QLatin1Char(' ') + info.frameRateText;
    return text;
}

QString AudioFactsText(const MediaInfo& info)
{
    return info.audioCodec + QLatin1Char(' ') + info.sampleRateText + QLatin1Char(' ') +
           info.channelsText;
}

QRect FitThumbnail(int pictureWidth, int pictureHeight, int frameWidth, int frameHeight)
{
    const qint64 w = pictureWidth <= 10 ? 10 : pictureWidth;
    const qint64 h = pictureHeight <= 10 ? 10 : pictureHeight;
    qint64 fitWidth = 0;
    qint64 fitHeight = 0;
    if (frameHeight * w > frameWidth * h) {
        fitWidth = frameWidth;
        fitHeight = frameWidth * h / w;
    } else {
        fitWidth = frameHeight * w / h;
        fitHeight = frameHeight;
    }
    return QRect(static_cast<int>((frameWidth - fitWidth) / 2),
                 static_cast<int>((frameHeight - fitHeight) / 2), static_cast<int>(fitWidth),
                 static_cast<int>(fitHeight));
}

bool CutBarSpan(int rowWidth, qint64 cutStart, qint64 cutEnd, qint64 duration, int* left,
                int* right)
{
    if (duration <= 0)
        return false;
    const double w = rowWidth;
    const double d = static_cast<double>(duration);
    *left = static_cast<int>(std::trunc(w * static_cast<double>(cutStart) / d));
    *right = static_cast<int>(std::trunc(w * static_cast<double>(cutEnd) / d - 1.0));
    return true;
}

DragSwap DecideDragSwap(const DragGeometry& g)
{
    if (g.hasPrevious && g.top > g.previousTop &&
        g.top < g.previousTop + g.previousHeight / 2 - g.gap)
        return DragSwap::WithPrevious;
    const int bottom = g.top + g.height;
    if (g.hasNext && bottom > g.nextTop + g.nextHeight / 2 + g.gap &&
        bottom < g.nextTop + g.nextHeight)
        return DragSwap::WithNext;
    return DragSwap::None;
}
