#include "media/probequeue.h"

#include "media/childprocess.h"
#include "media/frameindex.h"
#include "media/workfolder.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <algorithm>

struct ProbeQueue::Job
{
    enum class State
    {
        Waiting,
        Probing,
        Drawing, // the thumbnail
        Done
    };

    QString path;
    QString thumbnail;
    State state = State::Waiting;
    bool ok = false;
    bool timedOut = false;
    ProbeRefusal refusal = ProbeRefusal::None;
    QByteArray output; // the prober's answer
    QByteArray errors; // its messages, or the media tool's
    ProbeResult result;
    // Owned here while a tool runs; handed to deleteLater once it has
    // ended, because it ends inside one of its own signals.
    std::unique_ptr<QProcess> process;
    // A child of the process; stopped once the tool has ended, as the job
    // may be gone before the process is.
    QTimer* watchdog = nullptr;

    bool running() const { return state == State::Probing || state == State::Drawing; }
};

namespace {

// How long one pass may spend handing out answers before the event loop gets
// its turn.
constexpr qint64 kSliceMs = 4;

// Stops a tool for good before its object goes away. Its signals are cut
// first, so ending it reports nothing back into a queue being torn down.
void EndProcess(QProcess* process, QObject* receiver)
{
    QObject::disconnect(process, nullptr, receiver, nullptr);
    if (process->state() != QProcess::NotRunning) {
        process->kill();
        // After SIGKILL this only reaps the child; it does not wait on the
        // tool's work.
        process->waitForFinished(1000);
    }
}

} // namespace

ProbeQueue::ProbeQueue(QObject* parent)
    : QObject(parent), m_maxParallel(std::max(1, QThread::idealThreadCount()))
{
    qRegisterMetaType<ProbeResult>();
}

ProbeQueue::~ProbeQueue()
{
    endAllProcesses();
}

void ProbeQueue::setMaxParallel(int n)
{
    m_maxParallel = std::max(1, n);
    schedule();
}

void ProbeQueue::enqueue(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    for (const QString& path : paths) {
        auto job = std::make_unique<Job>();
        job->path = path;
        m_jobs.push_back(std::move(job));
    }
    setBusy(true);
    // Tools are started from the event loop, so no signal is ever emitted
    // from inside enqueue(), even for a tool that fails to start at once.
    schedule();
}

bool ProbeQueue::isBusy() const
{
    return !m_jobs.empty();
}

int ProbeQueue::pendingCount() const
{
    return static_cast<int>(m_jobs.size());
}

void ProbeQueue::cancelAll()
{
    endAllProcesses();
    m_jobs.clear();
    m_running = 0;
    setBusy(false);
}

void ProbeQueue::schedule()
{
    if (m_scheduled)
        return;
    m_scheduled = true;
    QMetaObject::invokeMethod(this, &ProbeQueue::pump, Qt::QueuedConnection);
}

void ProbeQueue::pump()
{
    m_scheduled = false;

    // Hand out the finished answers that no earlier path still holds back.
    // A receiver may enqueue or cancel from its slot, so the front is looked
    // at afresh each time and the job leaves the queue before its signal.
    // Each answer becomes a row, and a slow file can hold back hundreds:
    // they go out in slices, with the event loop free to paint and take
    // input between them.
    QElapsedTimer slice;
    slice.start();
    while (!m_jobs.empty() && m_jobs.front()->state == Job::State::Done) {
        if (slice.elapsed() >= kSliceMs) {
            schedule();
            break;
        }
        const std::unique_ptr<Job> job = std::move(m_jobs.front());
        m_jobs.pop_front();
        if (job->ok)
            emit probed(job->result);
        else
            emit failed(job->path, job->refusal);
    }

    for (const auto& job : m_jobs) {
        if (m_running >= m_maxParallel)
            break;
        // The same path twice shares one thumbnail file; the later probe
        // waits until the earlier one has written it.
        if (job->state != Job::State::Waiting || isPathRunning(job->path))
            continue;
        job->refusal = RefusalBeforeProbe(job->path);
        if (job->refusal != ProbeRefusal::None) {
            // Nothing for the tool to read; the refusal still waits its turn.
            qDebug("probe of %s: not a plain file, not probed", qUtf8Printable(job->path));
            job->state = Job::State::Done;
            schedule();
            continue;
        }
        startJob(job.get());
    }

    if (m_jobs.empty())
        setBusy(false);
}

void ProbeQueue::startJob(Job* job)
{
    job->state = Job::State::Probing;
    ++m_running;
    // Prepared only now: it deletes the earlier picture of this path.
    if (m_thumbnails)
        job->thumbnail = PrepareThumbnailPath(job->path);
    startTool(job, FfprobePath(), ProbeArguments(job->path));
}

void ProbeQueue::startTool(Job* job, const QString& program, const QStringList& arguments)
{
    job->process = std::make_unique<QProcess>();
    QProcess* process = job->process.get();
    ChildProcess::DieWithParent(*process);

    // The watchdog belongs to the process, so it goes away with it.
    auto* watchdog = new QTimer(process);
    watchdog->setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the tool gets its full wait.
    watchdog->setTimerType(Qt::PreciseTimer);
    connect(watchdog, &QTimer::timeout, process, [job, process] {
        job->timedOut = true;
        process->kill();
    });
    job->watchdog = watchdog;

    connect(process, &QProcess::readyReadStandardOutput, this, [job, process] {
        job->output += process->readAllStandardOutput();
        // No honest answer is this long; the file is not worth the memory.
        if (job->output.size() > kMostProbeOutput)
            process->kill();
    });
    connect(process, &QProcess::readyReadStandardError, this, [job, process] {
        job->errors += process->readAllStandardError();
        if (job->errors.size() > kMostProbeOutput)
            process->kill();
    });
    connect(process, &QProcess::finished, this, [this, job] { toolEnded(job); });
    connect(process, &QProcess::errorOccurred, this, [this, job](QProcess::ProcessError error) {
        // A tool that never started sends no finished(); any other error is
        // followed by one.
        if (error == QProcess::FailedToStart)
            toolEnded(job);
    });

    watchdog->start(kProbeTimeoutMs);
    // Read-only: the tools get no keyboard to wait on.
    process->start(program, arguments, QIODevice::ReadOnly);
    ChildProcess::YieldToProgram(*process);
}

void ProbeQueue::toolEnded(Job* job)
{
    if (!job->running() || !job->process)
        return;
    QProcess* process = job->process.release();
    QObject::disconnect(process, nullptr, this, nullptr);
    job->watchdog->stop();
    job->watchdog = nullptr;
    job->output += process->readAllStandardOutput();
    job->errors += process->readAllStandardError();
    // This runs inside one of the process's signals; it has ended, so a late
    // deletion leaves nothing running.
    process->deleteLater();

    if (job->state == Job::State::Probing) {
        finishProbe(job);
    } else {
        const QByteArray messages = job->errors.trimmed();
        if (job->timedOut)
            qDebug("thumbnail of %s: not written in time", qUtf8Printable(job->path));
        if (!messages.isEmpty())
            qDebug("thumbnail of %s: %s", qUtf8Printable(job->path), messages.constData());
        job->errors.clear();
        job->state = Job::State::Done;
        --m_running;
        schedule();
    }
}

void ProbeQueue::finishProbe(Job* job)
{
    // Like the blocking probe: an answer the prober completed before the
    // watchdog ended it is still used.
    const QString errorText = QString::fromUtf8(job->errors);
    ProbeReport report;
    job->ok =
        FinishProbe(job->path, job->thumbnail, job->output, errorText, &job->result, &report) == 0;
    job->output.clear();
    job->errors.clear();
    if (job->ok && m_thumbnails && NeedsThumbnail(job->result)) {
        // The picture is drawn in the same slot, so the parallelism holds
        // for both tools together.
        job->state = Job::State::Drawing;
        job->timedOut = false;
        startTool(job, FfmpegPath(), ThumbnailArguments(job->path, job->thumbnail));
        return;
    }
    if (!job->ok)
        job->refusal = RefusalAfterProbe(job->path, report, errorText, job->timedOut);
    job->state = Job::State::Done;
    --m_running;
    schedule();
}

bool ProbeQueue::isPathRunning(const QString& path) const
{
    return std::any_of(m_jobs.begin(), m_jobs.end(), [&path](const std::unique_ptr<Job>& job) {
        return job->running() && job->path == path;
    });
}

void ProbeQueue::endAllProcesses()
{
    for (const auto& job : m_jobs) {
        if (job->process)
            EndProcess(job->process.get(), this);
    }
}

void ProbeQueue::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    emit busyChanged(busy);
}
