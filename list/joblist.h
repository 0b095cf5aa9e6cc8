#pragma once

#include "convert/cutmode.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A saved list of files to cut or join: what the window's list holds (paths,
// ranges, chosen sound tracks, the output-format mark), as a small JSON file
// that the window and splicora-cli both open.
//
//   {"version": 1, "mode": "exact",
//    "items": [{"path": "/media/a.mp4", "start": 1.5, "end": 4.0,
//               "track": 0, "format": true}, ...]}
//
// Times are seconds; "end" may be left out (to the end of the file).
// Relative paths are read against the list file's folder. Unknown fields are
// ignored, so a later version may add some; a higher "version" is refused.
struct JobListEntry
{
    QString filePath;        // absolute
    qint64 cutStart = 0;     // microseconds
    qint64 cutEnd = -1;      // microseconds; -1: to the end of the file
    int audioTrackIndex = 0; // 0 = the first audio stream
    bool outputFormat = false;
};

struct JobList
{
    QList<JobListEntry> entries;
    bool hasMode = false; // the file named a cut mode
    CutMode mode = CutMode::Exact;
    // The index of the entry marked as the output format; 0 when none is.
    int formatIndex() const;
};

namespace JobListFile {

inline constexpr int kVersion = 1;

// The file's text for `list`.
QByteArray ToJson(const JobList& list);

// Reads a list from `json`; relative paths are taken from `baseFolder`.
// Returns false with `error` set (in the user's words) when the text is no
// job list: not JSON, no "items" array, a higher version, an item without a
// path, a negative time or an end before its start.
bool FromJson(const QByteArray& json, const QString& baseFolder, JobList* list, QString* error);

// Writes the file whole or not at all (an existing list is replaced only by
// a complete one). Returns false with `error` set.
bool Write(const QString& path, const JobList& list, QString* error);

// Reads the file. Entries whose file does not exist are left out of `list`
// and named in `missing` (their paths, in order); the mark of a left-out
// entry is lost. Returns false with `error` set when the file cannot be
// read or is no job list.
bool Read(const QString& path, JobList* list, QStringList* missing, QString* error);

} // namespace JobListFile
