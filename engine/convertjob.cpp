#include "engine/convertjob.h"

#include "media/childprocess.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <algorithm>

namespace Engine {

namespace {

constexpr int StartTimeoutMs = 10000;
constexpr int PollMs = 100;
constexpr int KillWaitMs = 10000;
// Enough of the tool's messages to explain a failure.
constexpr int ErrorTailBytes = 64 * 1024;
constexpr int ErrorTailLines = 20;

void LogErrorTail(const QByteArray& errors)
{
    QList<QByteArray> lines = errors.split('\n');
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    const qsizetype first = std::max<qsizetype>(0, lines.size() - ErrorTailLines);
    for (qsizetype i = first; i < lines.size(); ++i)
        qDebug("engine: ffmpeg: %s", lines[i].trimmed().constData());
}

} // namespace

ConvertJob::ConvertJob(int handle, QString program, QStringList arguments, QString outputPath,
                       int64_t totalUs)
    : m_handle(handle), m_program(std::move(program)), m_arguments(std::move(arguments)),
      m_outputPath(std::move(outputPath)), m_totalUs(totalUs)
{
}

ConvertJob::~ConvertJob()
{
    shutdown();
}

void ConvertJob::start()
{
    // A QThread (not a bare std::thread) so that QProcess finds an event
    // dispatcher for its notifiers in the worker.
    m_thread.reset(QThread::create([this] { run(); }));
    m_thread->setObjectName(QStringLiteral("engine-job-%1").arg(m_handle));
    m_thread->start();
}

void ConvertJob::setCallback(ConvertEndCallback callback)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_callback = callback;
    }
    m_wake.notify_all();
}

void ConvertJob::abort()
{
    m_abort.store(true);
}

void ConvertJob::shutdown()
{
    m_abort.store(true);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_dropped = true;
    }
    m_wake.notify_all();
    if (m_thread && !runsOnWorker())
        m_thread->wait();
}

bool ConvertJob::runsOnWorker() const
{
    return m_thread && QThread::currentThread() == m_thread.get();
}

bool ConvertJob::finished() const
{
    return !m_thread || m_thread->isFinished();
}

void ConvertJob::run()
{
    deliver(runProcess());
}

int ConvertJob::runProcess()
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    // The tool ends with this thread, and this thread waits for the tool
    // (and then for the host's callback): a program that is killed takes its
    // conversion along instead of leaving it writing in the background.
    ChildProcess::DieWithParent(process);
    process.start(m_program, m_arguments);
    if (!process.waitForStarted(StartTimeoutMs)) {
        qDebug("engine: cannot start %s: %s", qUtf8Printable(m_program),
               qUtf8Printable(process.errorString()));
        return -1;
    }

    QByteArray errors;
    const auto collect = [&] {
        readProgress(process.readAllStandardOutput());
        errors += process.readAllStandardError();
        if (errors.size() > ErrorTailBytes)
            errors.remove(0, errors.size() - ErrorTailBytes);
    };
    bool aborted = false;
    while (process.state() != QProcess::NotRunning) {
        if (m_abort.load()) {
            process.kill();
            process.waitForFinished(KillWaitMs);
            aborted = true;
            break;
        }
        process.waitForFinished(PollMs);
        collect();
    }
    collect();
    if (aborted)
        return 1; // the host removes what was written

    const bool ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 &&
                    QFileInfo::exists(m_outputPath);
    if (ok)
        return 0;
    qDebug("engine: conversion %d failed (exit code %d)", m_handle, process.exitCode());
    LogErrorTail(errors);
    // The file was checked to be absent before the start, so whatever is
    // there now is our partial output, unless someone created it meanwhile
    // and the tool refused to touch it.
    if (!errors.contains("already exists"))
        QFile::remove(m_outputPath);
    return -1;
}

void ConvertJob::readProgress(const QByteArray& chunk)
{
    m_partialLine += chunk;
    qsizetype end;
    while ((end = m_partialLine.indexOf('\n')) >= 0) {
        const QByteArray line = m_partialLine.left(end).trimmed();
        m_partialLine.remove(0, end + 1);
        // Both keys carry microseconds (the second's name is historical).
        const bool us = line.startsWith("out_time_us=");
        if (!us && !line.startsWith("out_time_ms="))
            continue;
        bool ok = false;
        const qint64 value = line.mid(line.indexOf('=') + 1).toLongLong(&ok);
        if (!ok)
            continue; // "N/A" before the first frame
        const int64_t clamped = std::clamp<int64_t>(value, 0, m_totalUs);
        // A progress bar never moves back.
        if (clamped > m_currentUs.load())
            m_currentUs.store(clamped);
    }
}

void ConvertJob::deliver(int flags)
{
    ConvertEndCallback callback = nullptr;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_wake.wait(lock, [this] { return m_callback || m_dropped; });
        if (m_dropped)
            return;
        callback = m_callback;
    }
    // Outside the lock: the callback may call back into the engine.
    callback(m_handle, flags);
}

} // namespace Engine
