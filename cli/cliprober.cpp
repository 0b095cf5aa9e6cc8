#include "cli/cliprober.h"

#include "media/childprocess.h"
#include "media/frameindex.h"
#include "media/probe.h"
#include "media/proberefusal.h"

#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <algorithm>

struct CliProber::Job
{
    ProbedFile file;
    bool started = false;
    bool done = false;
    bool timedOut = false;
    QByteArray output;
    QByteArray errors;
    std::unique_ptr<QProcess> process;
    QTimer* watchdog = nullptr; // a child of the process
};

CliProber::CliProber(QObject* parent)
    : QObject(parent), m_maxParallel(qMax(1, QThread::idealThreadCount()))
{
}

CliProber::~CliProber()
{
    for (const auto& job : m_jobs) {
        if (!job->process)
            continue;
        job->process->disconnect(this);
        job->process->kill();
        job->process->waitForFinished(1000);
    }
}

void CliProber::start(const QStringList& paths)
{
    for (const QString& path : paths) {
        auto job = std::make_unique<Job>();
        job->file.path = path;
        // A missing file needs no tool to say so.
        const QFileInfo info(path);
        const ProbeRefusal early =
            info.exists() ? RefusalBeforeProbe(path) : ProbeRefusal::Unreadable;
        if (!info.exists() || early != ProbeRefusal::None) {
            job->file.reason =
                info.exists() ? RefusalReasonText(early) : QStringLiteral("not found");
            job->done = true;
        }
        m_jobs.push_back(std::move(job));
    }
    // Every answer, even one known at once, comes from the event loop.
    QTimer::singleShot(0, this, &CliProber::pump);
}

bool CliProber::isDone() const
{
    return std::all_of(m_jobs.begin(), m_jobs.end(),
                       [](const std::unique_ptr<Job>& job) { return job->done; });
}

QList<ProbedFile> CliProber::results() const
{
    QList<ProbedFile> files;
    for (const auto& job : m_jobs)
        files << job->file;
    return files;
}

void CliProber::pump()
{
    for (const auto& job : m_jobs) {
        if (m_running >= m_maxParallel)
            break;
        if (!job->started && !job->done)
            startJob(job.get());
    }
    if (!m_reported && isDone()) {
        m_reported = true;
        emit finished();
    }
}

void CliProber::startJob(Job* job)
{
    job->started = true;
    ++m_running;
    job->process = std::make_unique<QProcess>();
    QProcess* process = job->process.get();
    ChildProcess::DieWithParent(*process);
    auto* watchdog = new QTimer(process);
    job->watchdog = watchdog;
    watchdog->setSingleShot(true);
    watchdog->setTimerType(Qt::PreciseTimer);
    connect(watchdog, &QTimer::timeout, process, [job, process] {
        job->timedOut = true;
        process->kill();
    });
    connect(process, &QProcess::readyReadStandardOutput, this, [job, process] {
        job->output += process->readAllStandardOutput();
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
        if (error == QProcess::FailedToStart)
            toolEnded(job);
    });
    watchdog->start(kProbeTimeoutMs);
    process->start(FfprobePath(), ProbeArguments(job->file.path), QIODevice::ReadOnly);
}

void CliProber::toolEnded(Job* job)
{
    if (job->done || !job->process)
        return;
    QProcess* process = job->process.release();
    process->disconnect(this);
    job->watchdog->stop();
    job->watchdog = nullptr;
    job->output += process->readAllStandardOutput();
    job->errors += process->readAllStandardError();
    // Inside one of the process's own signals; it has ended.
    process->deleteLater();

    const QString errorText = QString::fromUtf8(job->errors);
    ProbeResult result;
    ProbeReport report;
    // No thumbnail path: none is drawn.
    if (FinishProbe(job->file.path, QString(), job->output, errorText, &result, &report) == 0) {
        job->file.ok = true;
        job->file.formatName = report.formatName;
        FillMediaInfo(job->file.info, job->file.path, result.durationLine, result.videoStreamLines,
                      result.audioStreamLines, result.audioStreamTitles);
        ComputeEncodingParameters(job->file.info);
    } else {
        job->file.reason =
            RefusalReasonText(RefusalAfterProbe(job->file.path, report, errorText, job->timedOut));
    }
    job->output.clear();
    job->errors.clear();
    job->done = true;
    --m_running;
    pump();
}
