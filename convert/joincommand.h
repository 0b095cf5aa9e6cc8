#pragma once

#include "convert/convertitem.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

// The name of the list file in the work folder.
inline constexpr char JoinListFileName[] = "join.txt";

// The bytes of the concat list: one line "file '<name>' " + CR LF per name, in
// UTF-8. A single quote inside a name is written as '\'' (close the quoted
// text, an escaped quote, reopen), which is how the tool's list reader reads
// it back. A name holding a line break or a NUL cannot be written into a
// line-based list; then the result is empty and the join must not run.
QByteArray JoinListFileBytes(const QStringList& fileNames);

// The arguments of the join step: the segments named in the list file,
// copied without re-encoding into `outputFile`. "-n" makes the tool refuse an
// existing output instead of asking on its input and waiting forever; "-safe 0"
// lets it read names from our own list that hold more than plain letters.
QStringList JoinArguments(const QString& listFilePath, const QString& outputFile);

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
