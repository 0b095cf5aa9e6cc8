#pragma once

#include "media/mediainfo.h"

#include <QByteArray>
#include <QList>
#include <QString>

// What a conversion job needs of one list row. The rows fill it when a job
// starts, so the conversion logic never reaches into the widgets.
struct ConvertItem
{
    QString filePath;
    MediaInfo mediaInfo;
    qint64 cutStart = 0;     // microseconds
    qint64 cutEnd = 0;       // microseconds
    int audioTrackIndex = 0; // 0 = the first audio stream
    int itemId = 0;
    // The engine's facts of the file (its information block), when already
    // read; a re-encoding job reads what is missing.
    QByteArray engineInfo;
};
