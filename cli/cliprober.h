#pragma once

#include "cli/clireport.h"

#include <QList>
#include <QObject>
#include <QStringList>

class ProbeQueue;

// Probes files as the window's list does, through the same queue (prober,
// arguments, time limit, reasons for a refusal, several files at once), but
// without drawing thumbnails, which nothing here shows. The event loop stays
// free for a signal.
class CliProber : public QObject
{
    Q_OBJECT

public:
    explicit CliProber(QObject* parent = nullptr);

    // finished() follows from the event loop once every file has answered.
    void start(const QStringList& paths);
    bool isDone() const { return m_answered == m_files.size(); }
    // In the order of the paths.
    QList<ProbedFile> results() const { return m_files; }

signals:
    void finished();

private:
    void answer(const ProbedFile& file);
    void finishIfDone();

    ProbeQueue* m_queue = nullptr;
    QList<ProbedFile> m_files;
    // The queue answers in the order it was given the paths; missing files
    // are answered here and never reach it.
    QList<int> m_queued;
    int m_answered = 0;
    int m_nextQueued = 0;
    bool m_reported = false;
};
