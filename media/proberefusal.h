#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct ProbeReport;

// Why a file given to the probe did not become a row. The user is told, so
// the reason has to be honest: blaming a good file on a stalled drive, or
// calling a cut-off recording "not media", sends the user the wrong way.
enum class ProbeRefusal
{
    None,
    NotMedia,   // holds no sound or pictures the program can use
    Unreadable, // missing, not permitted, or no answer from the tool in time
    Damaged,    // a media container, but cut off or broken past use
};

// What the file system alone decides, before any tool runs: a folder, a device
// or a named pipe is no media file (a pipe would hold the tool until its
// time is up). Missing and locked files still go to the tool, whose report
// is logged; RefusalAfterProbe() names them afterwards.
ProbeRefusal RefusalBeforeProbe(const QString& path);

// True for a report that names streams but still describes no recording:
// text the tool renders as pictures (a .txt or .nfo file), a still picture,
// or a type guessed from the name alone whose streams the tool could not
// make out (a text file named .flac).
bool IsNonMediaReport(const ProbeReport& report);

// True when the first bytes of a file carry the signature of a container
// the program takes (MP4, Matroska, Ogg, RIFF, ASF, ...).
bool StartsLikeMedia(const QByteArray& head);

// The reason for a failed probe, from what the prober found (`report`), what
// it said on its error channel (`errorText`, with the file's own name taken
// out: a name may read like any message) and the file's state: `readable`
// whether the file could be opened, `head` its first bytes, `timedOut`
// whether the prober was ended for taking too long.
ProbeRefusal ClassifyFailedProbe(const ProbeReport& report, const QString& errorText,
                                 const QByteArray& head, bool readable, bool timedOut);

// Looks at the file now and classifies a failed probe of it. The path is
// removed from `errorText` before it is read.
ProbeRefusal RefusalAfterProbe(const QString& path, const ProbeReport& report,
                               const QString& errorText, bool timedOut);

// The prober's error text with every mention of `path` replaced, so the
// messages it holds are the tool's own.
QString WithoutPath(const QString& errorText, const QString& path);

// "not a media file", "cannot be read", "damaged" (translated).
QString RefusalReasonText(ProbeRefusal reason);

struct RefusedFile
{
    QString name; // as the notice shows it
    ProbeRefusal reason = ProbeRefusal::None;
};

// The name a notice shows for a path: its file name (the path itself when it
// has none), on one line.
QString RefusedFileName(const QString& path);

// The notice after a batch: a heading, then "name: reason" for the first
// `listed` files and a count of the rest.
QString RefusalNoticeText(const QList<RefusedFile>& refused, int listed);
