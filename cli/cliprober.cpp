#include "cli/cliprober.h"

#include "media/probequeue.h"
#include "media/proberefusal.h"

#include <QFileInfo>
#include <QTimer>

CliProber::CliProber(QObject* parent) : QObject(parent), m_queue(new ProbeQueue(this))
{
    m_queue->setThumbnails(false);
    connect(m_queue, &ProbeQueue::probed, this, [this](const ProbeResult& result) {
        ProbedFile file;
        file.path = result.filePath;
        file.ok = true;
        file.formatName = result.formatName;
        FillMediaInfo(file.info, result.filePath, result.durationLine, result.videoStreamLines,
                      result.audioStreamLines, result.audioStreamTitles);
        ComputeEncodingParameters(file.info);
        answer(file);
    });
    connect(m_queue, &ProbeQueue::failed, this, [this](const QString& path, ProbeRefusal reason) {
        ProbedFile file;
        file.path = path;
        file.reason = RefusalReasonText(reason);
        answer(file);
    });
}

void CliProber::start(const QStringList& paths)
{
    QStringList queued;
    for (const QString& path : paths) {
        ProbedFile file;
        file.path = path;
        // A missing file needs no tool to say so, and says it plainly.
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) {
            file.reason = QStringLiteral("not found");
            ++m_answered;
        } else {
            m_queued << static_cast<int>(m_files.size());
            queued << path;
        }
        m_files << file;
    }
    m_queue->enqueue(queued);
    // Every answer, even one known at once, comes from the event loop.
    QTimer::singleShot(0, this, &CliProber::finishIfDone);
}

void CliProber::answer(const ProbedFile& file)
{
    m_files[m_queued.at(m_nextQueued++)] = file;
    ++m_answered;
    finishIfDone();
}

void CliProber::finishIfDone()
{
    if (m_reported || !isDone())
        return;
    m_reported = true;
    emit finished();
}
