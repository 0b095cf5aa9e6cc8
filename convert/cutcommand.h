#pragma once

#include "convert/convertitem.h"

#include <QString>
#include <QStringList>

// "segment_<k>.<suffix>": the name of segment k, relative to the work folder.
QString SegmentFileName(int index, const QString& suffix);

// workFolder + "/" + SegmentFileName(index, suffix).
QString SegmentFilePath(const QString& workFolder, int index, const QString& suffix);

// The media tool's arguments that copy the kept range of `item` into
// `segmentPath`. The streams are chosen by the output-format item, whose
// format every segment of a job shares.
QStringList SegmentArguments(const ConvertItem& item, const MediaInfo& formatItem,
                             const QString& segmentPath);
