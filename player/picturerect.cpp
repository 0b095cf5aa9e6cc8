#include "player/picturerect.h"

QRect PictureRect(int videoWidth, int videoHeight, int areaWidth, int areaHeight)
{
    const qint64 w = videoWidth <= 10 ? 10 : videoWidth;
    const qint64 h = videoHeight <= 10 ? 10 : videoHeight;
    const qint64 aw = qMax(0, areaWidth);
    const qint64 ah = qMax(0, areaHeight);
    qint64 width;
    qint64 height;
    if (ah * w > aw * h) {
        width = aw;
        height = aw * h / w;
    } else {
        width = ah * w / h;
        height = ah;
    }
    return QRect(int((aw - width) / 2), int((ah - height) / 2), int(width), int(height));
}
