#pragma once

#include "convert/cutmode.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// What splicora-cli was asked to do, read from its arguments alone. Nothing
// here opens a file: whether an argument names an existing file is asked of
// `exists`, so every rule can be checked without media.

enum class CliVerb
{
    None, // no arguments at all
    Help,
    Version,
    Probe,
    Cut,
    Join,
    Run
};

enum class CliProgress
{
    Auto, // a bar when stderr is a terminal, otherwise nothing
    Bar,
    Json,
    None
};

// One input of a cut or a join, or one file to probe.
struct CliInput
{
    QString path;      // as given
    qint64 start = -1; // microseconds; -1: from the start of the file
    qint64 end = -1;   // microseconds; -1: to the end of the file
    int track = -1;    // 0-based sound track; -1: the first one

    bool operator==(const CliInput& other) const
    {
        return path == other.path && start == other.start && end == other.end &&
               track == other.track;
    }
};

struct CliRequest
{
    CliVerb verb = CliVerb::None;
    QList<CliInput> inputs; // probe, cut (exactly one), join
    QString jobList;        // run
    bool json = false;      // probe: one JSON document
    CliProgress progress = CliProgress::Auto;
    bool quiet = false;
    bool hasMode = false; // --mode was given
    CutMode mode = CutMode::Exact;
    QString output; // -o, as given
    bool overwrite = false;
    int formatIndex = 0; // 0-based; --format counts from 1
    // Why the arguments make no sense, in one line; `verb` stays set when the
    // command itself was understood, so its usage line can follow.
    QString error;
};

using FileExists = std::function<bool(const QString&)>;

// Microseconds of "SS", "SS.mmm", "MM:SS(.mmm)" or "HH:MM:SS(.mmm)" (up to
// six digits after the point). False for anything else, a negative time
// included.
bool ParseCliTime(const QString& text, qint64* microseconds);

// FILE[@START-END][#TRACK] as join takes it: START and END may each be left
// empty, TRACK counts from 1. An argument that names an existing file is
// that file, whatever '@' or '#' it holds. False with `error` set for a
// malformed range or track.
bool ParseInputArgument(const QString& argument, const FileExists& exists, CliInput* input,
                        QString* error);

// The arguments after the program's name.
CliRequest ParseCliArguments(const QStringList& arguments, const FileExists& exists);

// The whole help text, and the one usage line of a command (of every command
// when `verb` is none of them).
QString CliUsageText();
QString CliUsageLine(CliVerb verb);
