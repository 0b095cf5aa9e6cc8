#pragma once

#include "cli/clireport.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

// Probes files as the window's list does, with the same prober, arguments,
// time limit and reasons for a refusal, but without drawing thumbnails,
// which nothing here shows. Several files are probed at once; the event
// loop stays free for a signal.
class CliProber : public QObject
{
    Q_OBJECT

public:
    explicit CliProber(QObject* parent = nullptr);
    // Ends every prober still running.
    ~CliProber() override;

    // finished() follows from the event loop once every file has answered.
    void start(const QStringList& paths);
    bool isDone() const;
    // In the order of the paths.
    QList<ProbedFile> results() const;

signals:
    void finished();

private:
    struct Job;

    void pump();
    void startJob(Job* job);
    void toolEnded(Job* job);

    std::vector<std::unique_ptr<Job>> m_jobs;
    int m_running = 0;
    int m_maxParallel = 1;
    bool m_reported = false;
};
