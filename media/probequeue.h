#pragma once

#include "media/probe.h"

#include <QMetaType>
#include <QObject>
#include <QStringList>

#include <deque>
#include <memory>

class QProcess;

Q_DECLARE_METATYPE(ProbeResult)

// Probes files without blocking the event loop: several files are probed at
// once, and the answers are handed out strictly in the order the paths were
// given, so rows appear as if the files had been probed one after another.
// A file's probe and its thumbnail run one after the other in one slot, so
// at most maxParallel tools run at any time.
class ProbeQueue : public QObject
{
    Q_OBJECT

public:
    explicit ProbeQueue(QObject* parent = nullptr);
    // Ends every running tool process; none outlives the queue.
    ~ProbeQueue() override;

    // Default: QThread::idealThreadCount(), at least 1.
    void setMaxParallel(int n);
    int maxParallel() const { return m_maxParallel; }
    // Whether each file with pictures gets its thumbnail drawn (the
    // default); without, a result has no thumbnail path.
    void setThumbnails(bool draw) { m_thumbnails = draw; }

    // Every path queues behind the paths given earlier, whatever its name:
    // the tool, not the extension, tells whether a file is media.
    void enqueue(const QStringList& paths);

    // Work queued or running.
    bool isBusy() const;
    // Paths not yet handed out through probed() or failed().
    int pendingCount() const;

    // Ends the running tools and drops every path not yet handed out.
    void cancelAll();

signals:
    // In exactly the order the paths were enqueued.
    void probed(const ProbeResult& result);
    // A refused file, at its place in the order; it adds no row.
    void failed(const QString& path, ProbeRefusal reason);
    void busyChanged(bool busy);

private:
    struct Job;

    void schedule();
    void pump();
    void startJob(Job* job);
    void startTool(Job* job, const QString& program, const QStringList& arguments);
    void toolEnded(Job* job);
    void finishProbe(Job* job);
    bool isPathRunning(const QString& path) const;
    void endAllProcesses();
    void setBusy(bool busy);

    // Enqueue order; the front is the next path to hand out.
    std::deque<std::unique_ptr<Job>> m_jobs;
    int m_maxParallel = 1;
    int m_running = 0;
    bool m_busy = false;
    bool m_scheduled = false;
    bool m_thumbnails = true;
};
