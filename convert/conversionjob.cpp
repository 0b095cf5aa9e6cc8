#include "convert/conversionjob.h"

#include "app/appfolder.h"
#include "convert/convertparams.h"
#include "convert/engineinfo.h"
#include "convert/enginelibrary.h"
#include "convert/joincommand.h"
#include "convert/losslessjob.h"
#include "convert/progress.h"
#include "media/childprocess.h"
#include "media/workfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QTimer>
#include <QtConcurrent>
#include <QtEndian>

#include <cstdio>

#ifdef Q_OS_LINUX
#include <csignal>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// A file of 1,024 bytes or less is no real result.
constexpr qint64 kSmallestResult = 1024;

// The jobs that wait for an end from the engine, by conversion handle. The
// engine's callback carries no context and may run on an engine thread.
QMutex g_engineJobsLock;
QHash<int, ConversionJob*> g_engineJobs;

void EngineEnded(int handle, int flags)
{
    QMutexLocker lock(&g_engineJobsLock);
    ConversionJob* job = g_engineJobs.value(handle);
    if (!job)
        return;
    // Queued to the job's thread; dropped if the job is gone by then.
    QMetaObject::invokeMethod(
        job,
        [job, handle, flags] {
            emit job->engineEndReceived(handle, flags);
            job->engineEnded(handle, flags);
        },
        Qt::QueuedConnection);
}

void ForgetEngineJob(int handle)
{
    QMutexLocker lock(&g_engineJobsLock);
    g_engineJobs.remove(handle);
}

// A free name beside `target` with its suffix, for a result that is to
// replace it once finished.
QString SiblingWorkName(const QString& target)
{
    const QFileInfo info(target);
    const QString stem = QStringLiteral(".") + info.completeBaseName() + QStringLiteral(".partial");
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    for (int attempt = 0;; ++attempt) {
        const QString name =
            info.dir().filePath(stem + (attempt ? QString::number(attempt) : QString()) + suffix);
        if (!QFileInfo::exists(name))
            return name;
    }
}

} // namespace

ConversionJob::ConversionJob(QObject* parent)
    : QObject(parent), m_clock(&QDateTime::currentDateTime), m_engineTimer(new QTimer(this))
{
    connect(m_engineTimer, &QTimer::timeout, this, &ConversionJob::pollEngine);
}

ConversionJob::~ConversionJob()
{
    // A read of engine facts calls into the engine; it ends first.
    m_infoRead.waitForFinished();
    if (!m_running)
        return;
    // Whoever listened may be half gone: the job ends without a word.
    const QSignalBlocker quiet(this);
    cancel();
}

void ConversionJob::setItems(const QList<ConvertItem>& items, int formatIndex)
{
    m_items = items;
    m_formatIndex = formatIndex;
}

void ConversionJob::setOutputFolder(const QString& folder)
{
    m_outputFolder = folder;
    m_requestedFile.clear();
}

void ConversionJob::setOutputFile(const QString& path, bool overwrite)
{
    m_requestedFile = path;
    m_overwrite = overwrite;
}

QProcess* ConversionJob::toolProcess() const
{
    return m_lossless ? m_lossless->process() : nullptr;
}

OutputProfile ConversionJob::profile() const
{
    if (m_formatIndex < 0 || m_formatIndex >= m_items.size())
        return {};
    // The first item with sound lends it to a silent format item.
    QList<MediaInfo> voiced;
    for (const ConvertItem& item : m_items) {
        if (!item.mediaInfo.audioCodec.isEmpty()) {
            voiced.append(item.mediaInfo);
            break;
        }
    }
    return OutputProfileFor(m_items[m_formatIndex].mediaInfo, voiced);
}

bool ConversionJob::NeedsEngine(const QList<ConvertItem>& items, int formatIndex)
{
    if (formatIndex < 0 || formatIndex >= items.size())
        return false;
    const ConvertItem& format = items[formatIndex];
    return std::any_of(items.cbegin(), items.cend(),
                       [&format](const ConvertItem& item) { return !IsSameFormat(item, format); });
}

QString ConversionJob::PhaseName(Phase phase)
{
    switch (phase) {
    case Phase::Idle:
        return QStringLiteral("idle");
    case Phase::Preparing:
        return QStringLiteral("preparing");
    case Phase::Cutting:
        return QStringLiteral("cutting");
    case Phase::Joining:
        return QStringLiteral("joining");
    case Phase::Encoding:
        return QStringLiteral("encoding");
    case Phase::Done:
        return QStringLiteral("done");
    }
    return QString();
}

QString ConversionJob::CancelledMessage()
{
    return tr("The job was cancelled.");
}

QString ConversionJob::OutputFolderProblem(const QString& folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isWritable())
        return tr("The output folder does not exist or cannot be written to. "
                  "Choose another folder.");
    return QString();
}

QString ConversionJob::OutputFileProblem(const QString& path, bool overwrite)
{
    const QFileInfo target(path);
    // A link, even one to nowhere, is never written through or replaced.
    if ((target.exists() || target.isSymLink()) &&
        (!overwrite || !target.isFile() || target.isSymLink()))
        return tr("\"%1\" already exists and is left as it is.")
            .arg(QDir::toNativeSeparators(path));
    return OutputFolderProblem(target.absolutePath());
}

void ConversionJob::start()
{
    if (m_phase != Phase::Idle)
        return;
    m_running = true;
    setPhase(Phase::Preparing);
    // Every end, a refusal included, comes from the event loop: the caller
    // has connected and returned before it hears anything.
    QTimer::singleShot(0, this, &ConversionJob::begin);
}

void ConversionJob::begin()
{
    if (!m_running)
        return;
    if (m_items.isEmpty() || m_formatIndex < 0 || m_formatIndex >= m_items.size()) {
        fail(tr("Conversion failed."));
        return;
    }
    const QString problem = m_requestedFile.isEmpty()
                                ? OutputFolderProblem(m_outputFolder)
                                : OutputFileProblem(m_requestedFile, m_overwrite);
    if (!problem.isEmpty()) {
        fail(problem);
        return;
    }
    if (NeedsEngine(m_items, m_formatIndex))
        runEngine();
    else
        runLossless();
}

QString ConversionJob::chooseWritePath()
{
    const QString suffix = m_items[m_formatIndex].mediaInfo.suffix;
    if (m_requestedFile.isEmpty())
        return FreeOutputFilePath(m_outputFolder, suffix, m_clock);
    // An existing file is replaced only by a finished result: the steps
    // write beside it.
    if (QFileInfo::exists(m_requestedFile))
        return SiblingWorkName(m_requestedFile);
    return m_requestedFile;
}

void ConversionJob::runLossless()
{
    m_outputFile = chooseWritePath();
    if (m_workFolder.isEmpty())
        m_workFolder = WorkFolder();
    auto* job = new LosslessJob(m_items, m_items[m_formatIndex].mediaInfo, m_outputFile, m_mode,
                                m_workFolder, this);
    m_lossless = job;
    connect(job, &LosslessJob::stepStarted, this, [this](int step) {
        setPhase(step == 1 ? Phase::Cutting : Phase::Joining);
        emit toolStepStarted(step);
    });
    connect(job, &LosslessJob::progressChanged, this, &ConversionJob::setProgress);
    connect(job, &LosslessJob::finished, this, &ConversionJob::onLosslessFinished);
    connect(job, &LosslessJob::reencodeNeeded, this, [this, job](const QString& reason) {
        qDebug("exact cut re-encoded: %s", qUtf8Printable(reason));
        m_reencodeNote = tr("Re-encoded: %1.").arg(reason);
        job->deleteLater();
        m_lossless = nullptr;
        runEngine();
    });
    job->start();
}

void ConversionJob::onLosslessFinished(bool ok, const QString& message, const QString& note)
{
    if (!m_running)
        return;
    if (m_lossless)
        m_lossless->deleteLater();
    if (!ok) {
        // The lossless job removed what it wrote.
        m_outputFile.clear();
        end(false, message, QString());
        return;
    }
    succeed(note);
}

void ConversionJob::runEngine()
{
    m_usesEngine = true;
    setPhase(Phase::Encoding);
    m_outputFile.clear();
    if (!EngineInfo::LoadEngine()) {
        qDebug("engine library not loaded, the job cannot be converted");
        fail(tr("Conversion failed."));
        return;
    }
    QList<int> missing;
    QStringList paths;
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items[i].engineInfo.size() != EngineInfo::BlockSize()) {
            missing << i;
            paths << m_items[i].filePath;
        }
    }
    if (missing.isEmpty()) {
        startEngine();
        return;
    }
    // The engine reads a file's facts with a prober of its own: off the
    // interface thread, all of them in one go.
    m_infoRead = QtConcurrent::run([paths] {
        QList<QByteArray> blocks;
        for (const QString& path : paths)
            blocks << EngineInfo::ReadNow(path);
        return blocks;
    });
    auto* watcher = new QFutureWatcher<QList<QByteArray>>(this);
    connect(watcher, &QFutureWatcher<QList<QByteArray>>::finished, this, [this, watcher, missing] {
        watcher->deleteLater();
        const QList<QByteArray> blocks = m_infoRead.result();
        if (!m_running)
            return;
        for (int k = 0; k < missing.size(); ++k)
            m_items[missing[k]].engineInfo = blocks.value(k);
        startEngine();
    });
    watcher->setFuture(m_infoRead);
}

void ConversionJob::startEngine()
{
    const EngineFunctions& engine = EngineLibrary::Functions();
    for (ConvertItem& item : m_items) {
        if (item.engineInfo.size() != EngineInfo::BlockSize()) {
            fail(tr("Conversion failed, error code") + QStringLiteral("(-1)."));
            return;
        }
        // The chosen sound track travels in this copy of the block.
        QByteArray info = item.engineInfo;
        qToLittleEndian<qint32>(qMax(0, item.audioTrackIndex),
                                info.data() + OrvelaneInfoOffsetAudioTrack);
        const int id = engine.addFile(item.filePath.toUtf8().constData(), info.constData(), 0);
        if (id < 1) {
            fail(tr("Conversion failed, error code") + QStringLiteral("(-2)."));
            return;
        }
        m_engineItems.append(id);
        engine.setItemTime(id, item.cutStart, item.cutEnd);
    }

    const QString path = chooseWritePath();
    const QByteArray block = EngineParameterBlock(path, profile());
    if (block.isEmpty()) {
        fail(tr("The output file path is too long. Choose an output folder with a shorter path."));
        return;
    }
    m_outputFile = path;
    m_engineHandle = engine.convertAll(block.constData(), 0, 0);
    if (m_engineHandle == 0) {
        qDebug("engine refused the conversion into %s", qUtf8Printable(m_outputFile));
        m_outputFile.clear();
        fail(tr("Conversion failed."));
        return;
    }
    {
        QMutexLocker lock(&g_engineJobsLock);
        g_engineJobs.insert(m_engineHandle, this);
    }
    engine.setConvertEndCallback(m_engineHandle, &EngineEnded);
    m_engineLastTime = -1;
    m_engineLastCpu = -1;
    m_engineQuiet.start();
    m_engineTimer->start(1000);
}

void ConversionJob::pollEngine()
{
    const EngineFunctions& engine = EngineLibrary::Functions();
    if (m_engineHandle == 0 || !m_running || !engine.getDuration || !engine.getCurrentTime)
        return;
    const qint64 duration = engine.getDuration(m_engineHandle);
    const qint64 current = engine.getCurrentTime(m_engineHandle);
    setProgress(EngineProgressValue(current, duration));

    // The engine's tool is our child and names the result on its command
    // line. A tool that reads a slow source may go long without a new time,
    // but it uses the processor meanwhile; one that uses none and moves not
    // at all is stuck, and so is an engine whose tool is gone without an end.
    const QList<qint64> tools = ChildProcess::ChildrenNamed(QStringLiteral("ffmpeg"), m_outputFile);
    qint64 cpu = -1;
    for (const qint64 pid : tools)
        cpu = qMax<qint64>(cpu, 0) + qMax<qint64>(0, ChildProcess::CpuTicks(pid));
    const bool alive =
        current != m_engineLastTime || (cpu >= 0 && m_engineLastCpu >= 0 && cpu != m_engineLastCpu);
    m_engineLastTime = current;
    m_engineLastCpu = cpu;
    if (alive || !m_engineQuiet.isValid()) {
        m_engineQuiet.start();
        return;
    }
    if (m_engineQuiet.elapsed() < m_engineStallMs)
        return;
    qDebug("engine job %d made no progress for %lld ms; ended", m_engineHandle,
           qlonglong(m_engineQuiet.elapsed()));
#ifdef Q_OS_LINUX
    // A stopped or hung tool may not obey the engine; it goes first, so
    // that ending the engine's job cannot wait on it.
    for (const qint64 pid : tools)
        ::kill(pid_t(pid), SIGKILL);
#endif
    if (engine.abort)
        engine.abort(m_engineHandle);
    releaseEngine();
    fail(tr("Conversion failed.") + QLatin1Char('\n') +
         tr("The conversion stopped making progress and was ended."));
}

void ConversionJob::engineEnded(int handle, int flags)
{
    // The end of an earlier conversion, queued before it was replaced or
    // cancelled, says nothing about this one.
    if (!m_running || m_engineHandle == 0 || handle != m_engineHandle) {
        qDebug("engine end %d (%d) ignored", handle, flags);
        return;
    }
    m_engineTimer->stop();
    releaseEngine();
    if (flags == -1) {
        // The engine's tool failed or was ended from outside: whatever it
        // left is no result, and the user learns that it broke off.
        fail(tr("Conversion failed.") + QLatin1Char('\n') +
             tr("The media tool stopped before the result was complete."));
        return;
    }
    const QFileInfo result(m_outputFile);
    // The engine says when it failed; a file it left then is no result,
    // whatever its size.
    if (flags != 0 || !result.exists() || result.size() <= kSmallestResult) {
        fail(tr("Conversion failed."));
        return;
    }
    succeed(QString());
}

void ConversionJob::releaseEngine()
{
    m_engineTimer->stop();
    const EngineFunctions& engine = EngineLibrary::Functions();
    if (m_engineHandle != 0) {
        ForgetEngineJob(m_engineHandle);
        // Destroy waits for the engine's thread and no callback follows.
        if (engine.destroy)
            engine.destroy(m_engineHandle);
    }
    m_engineHandle = 0;
    // The engine's items are process-wide: left there they would join the
    // next job.
    if (engine.delItem) {
        for (const int id : std::as_const(m_engineItems))
            engine.delItem(id);
    }
    m_engineItems.clear();
}

bool ConversionJob::placeResult()
{
    if (m_requestedFile.isEmpty() || m_outputFile == m_requestedFile)
        return true;
        // Replacing the user's file was asked for; it goes only now, for a
        // finished and checked result, and in one step: at no moment is there
        // neither the old file nor the new one.
#ifdef Q_OS_WIN
    const bool moved = MoveFileExW(reinterpret_cast<const wchar_t*>(m_outputFile.utf16()),
                                   reinterpret_cast<const wchar_t*>(m_requestedFile.utf16()),
                                   MOVEFILE_REPLACE_EXISTING) != 0;
#else
    const bool moved = std::rename(QFile::encodeName(m_outputFile).constData(),
                                   QFile::encodeName(m_requestedFile).constData()) == 0;
#endif
    if (!moved)
        return false;
    m_outputFile = m_requestedFile;
    return true;
}

void ConversionJob::succeed(const QString& note)
{
    if (!placeResult()) {
        // The finished result stays where it was written, and is named: the
        // user's file is untouched and nothing of the work is lost.
        const QString kept = m_outputFile;
        m_outputFile.clear();
        end(false,
            tr("\"%1\" cannot be replaced; the result was kept as \"%2\".")
                .arg(QDir::toNativeSeparators(m_requestedFile), QDir::toNativeSeparators(kept)),
            QString());
        return;
    }
    setProgress(ProgressMax);
    QStringList lines;
    for (const QString& line : {m_reencodeNote, note}) {
        if (!line.isEmpty())
            lines << line;
    }
    end(true, QString(), lines.join(QLatin1Char('\n')));
}

void ConversionJob::fail(const QString& message)
{
    if (m_lossless && m_lossless->isRunning())
        m_lossless->cancel();
    if (m_engineHandle != 0) {
        if (const auto abort = EngineLibrary::Functions().abort)
            abort(m_engineHandle);
    }
    // Items already handed to the engine go too, with or without a handle.
    releaseEngine();
    removePartialResult();
    end(false, message, QString());
}

void ConversionJob::removePartialResult()
{
    // The name was free when the job chose it (a file to be replaced is
    // written beside), so whatever stands there now was written by this job.
    if (!m_outputFile.isEmpty() && QFileInfo::exists(m_outputFile))
        QFile::remove(m_outputFile);
    m_outputFile.clear();
}

void ConversionJob::cancel()
{
    if (!m_running)
        return;
    m_cancelled = true;
    if (m_lossless && m_lossless->isRunning())
        m_lossless->cancel(); // removes what it wrote
    if (m_engineHandle != 0) {
        if (const auto abort = EngineLibrary::Functions().abort)
            abort(m_engineHandle);
    }
    releaseEngine();
    removePartialResult();
    end(false, CancelledMessage(), QString());
}

void ConversionJob::end(bool ok, const QString& message, const QString& note)
{
    if (!m_running)
        return;
    m_running = false;
    m_engineTimer->stop();
    if (!ok)
        m_outputFile.clear();
    setPhase(Phase::Done);
    emit finished(ok, message, note);
}

void ConversionJob::setPhase(Phase phase)
{
    if (m_phase == phase)
        return;
    m_phase = phase;
    emit phaseChanged(phase);
}

void ConversionJob::setProgress(int value)
{
    // Never backwards: a lossless job handed to the engine starts its
    // count again, but the job as a whole does not.
    const int bounded = qBound(0, value, ProgressMax);
    if (bounded <= m_progress && !(bounded == 0 && m_progress == 0))
        return;
    m_progress = bounded;
    emit progressChanged(bounded);
}
