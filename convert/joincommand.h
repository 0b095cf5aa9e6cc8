#pragma once

#include "convert/convertitem.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

// True when the tool can join a and b without re-encoding: container, video
// codec, frame rate, picture size, audio codec, sample rate and channel layout
// agree exactly. Bit rates may differ.
bool IsSameFormat(const MediaInfo& a, const MediaInfo& b);
bool IsSameFormat(const ConvertItem& a, const ConvertItem& b);

// "hhmmsszzz" of `now`.
QString ClockText(const QDateTime& now);

// folder + "/Join_file_" + ClockText(now) + "(" + attempt + ")" + "." + suffix;
// the bracketed part only for attempt >= 0.
QString OutputFileCandidate(const QString& folder, const QString& suffix, const QDateTime& now,
                            int attempt = -1);

// The first candidate name that does not exist yet; the clock is read anew for
// every candidate. An existing file is never chosen, so a job never writes
// over a file of the user.
QString FreeOutputFilePath(const QString& folder, const QString& suffix,
                           const std::function<QDateTime()>& clock = &QDateTime::currentDateTime);
