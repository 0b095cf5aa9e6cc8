#pragma once

#include <QString>
#include <QStringList>

// What a finished result holds, read with the media tool's own libraries
// inside this process: starting the prober for every job costs about a tenth
// of a second here, most of it loading two hundred shared libraries. The
// libraries are loaded once, early and in the background when asked; where
// they cannot be loaded, the prober program answers instead.
struct ResultFacts
{
    bool readable = false;
    qint64 duration = 0;     // microseconds
    QStringList streamTypes; // "video", "audio", ... in file order
};

ResultFacts ProbeResultFile(const QString& path);
// Whether ProbeResultFile reads in this process (the default) or always asks
// the prober program. A short-lived program that checks one result pays
// for loading the libraries once anyway, and keeps its own memory small by
// leaving them to the prober.
void SetResultProbeInProcess(bool inProcess);
// The same facts from the prober program: the fallback, and the reference
// the in-process reading must agree with.
ResultFacts ProbeResultFileWithProgram(const QString& path);

// Runs the prober program with `arguments` to its end (at most 30 s); its
// standard output, with `ok` telling whether it ended well.
QByteArray RunProber(const QStringList& arguments, bool* ok);

// Loads the libraries on a pool thread, once, so that the first job finds
// them; later calls do nothing.
void PreloadResultProbe();
