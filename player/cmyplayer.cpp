#include "player/cmyplayer.h"

#include "app/appfolder.h"
#include "app/platform.h"
#include "app/settings.h"
#include "app/timetext.h"
#include "media/childprocess.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>

namespace {
const QString kVolumeKey = QStringLiteral("volume");
const QString kMuteKey = QStringLiteral("mute");
constexpr int kPollMs = 500;
constexpr int kFirstPollMs = 15;
constexpr int kMaxFastPolls = 270; // 4 s: a file may never report a duration
} // namespace

CMyPlayer::CMyPlayer(QObject* parent) : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &CMyPlayer::update_timer_slots);

    m_volume = VolumeFromSetting(ReadSetting(kVolumeKey, QStringLiteral("80")));
    m_muted = MutedFromSetting(ReadSetting(kMuteKey, QStringLiteral("FALSE")));
    m_paused = false;

    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.insert(QStringLiteral("FONTCONFIG_FILE"),
                         AppFolder() + QStringLiteral("/fonts/fonts.conf"));
}

CMyPlayer::~CMyPlayer()
{
    stop();
    // No player may outlive the program: whatever has not obeyed "exit" yet
    // is ended now.
    for (const std::unique_ptr<QProcess>& process : m_retiring) {
        process->disconnect(this);
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(1000);
        }
    }
}

QString CMyPlayer::program() const
{
    return AppFolder() + QLatin1Char('/') + Platform::ExecutableName(QStringLiteral("ffplay"));
}

QString CMyPlayer::findSubtitle(const QString& mediaPath)
{
    const qsizetype dot = mediaPath.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = mediaPath.lastIndexOf(QLatin1Char('/'));
    const QString base = (dot > slash ? mediaPath.left(dot) : mediaPath) + QLatin1Char('.');
    for (const char* suffix : {"srt", "SRT", "vtt", "VTT", "ass", "ASS"}) {
        const QString candidate = base + QLatin1String(suffix);
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return QString();
}

int CMyPlayer::play(const QString& filePath, const QString& windowId, const QString& startTime,
                    const QString& subtitlePath, int audioTrack)
{
    const QString subtitle = subtitlePath.isEmpty() ? findSubtitle(filePath) : subtitlePath;
    PlayerStartOptions options;
    options.filePath = filePath;
    options.windowId = windowId;
    options.volume = m_volume;
    options.muted = m_muted;
    options.audioTrack = audioTrack;
    if (!startTime.isEmpty())
        options.startPosition = ClockToMicroseconds(startTime);
    if (!subtitle.isEmpty() && QFileInfo::exists(subtitle)) {
        const QFileInfo info(subtitle);
        options.subtitle = info.fileName();
        qDebug("srtpath:%s", qUtf8Printable(info.absolutePath()));
        qDebug("srtname:%s", qUtf8Printable(info.fileName()));
        m_workingDirectory = info.absolutePath();
    }
    m_lastArguments = PlayerArguments(options);
    m_paused = false;
    m_sentEndExit = false;
    m_parser.reset();
    // A new run without stop(): the old player just goes, unreported.
    if (m_process)
        retire(std::move(m_process));
    m_process = std::make_unique<QProcess>();
    QProcess* process = m_process.get();
    connect(process, &QProcess::readyReadStandardOutput, this,
            &CMyPlayer::playerProcess_StandardOutput);
    connect(process, &QProcess::finished, this, &CMyPlayer::playerProcess_Finished);
    connect(process, &QProcess::errorOccurred, this, &CMyPlayer::onProcessError);
    process->setProcessEnvironment(m_environment);
    if (!m_workingDirectory.isEmpty())
        process->setWorkingDirectory(m_workingDirectory);
    process->setProcessChannelMode(QProcess::SeparateChannels);
    // The player also leaves when its input closes, but only once it reads
    // it; a player that hangs must go with the program all the same.
    ChildProcess::DieWithParent(*process);
    process->start(program(), m_lastArguments, QIODevice::ReadWrite);
    m_timer.stop();
    m_awaitingFirstPosition = true;
    m_fastPolls = 0;
    m_timer.start(kFirstPollMs);
    return 0;
}

void CMyPlayer::stop()
{
    sendCommand(QStringLiteral("exit"));
    m_timer.stop();
    if (!m_process)
        return;
    const bool wasRunning = m_process->state() != QProcess::NotRunning;
    retire(std::move(m_process));
    // The run is over for the panel now, although the process may take a
    // moment to go; its own end is no longer reported.
    if (wasRunning) {
        m_paused = false;
        emit playerend();
    }
}

void CMyPlayer::retire(std::unique_ptr<QProcess> process)
{
    process->disconnect(this);
    if (process->state() == QProcess::NotRunning)
        return; // destroyed here, nothing left to end
    QProcess* raw = process.get();
    // Drain what it still prints, so that it never blocks on a full pipe.
    connect(raw, &QProcess::readyReadStandardOutput, this, [raw] { raw->readAllStandardOutput(); });
    connect(raw, &QProcess::readyReadStandardError, this, [raw] { raw->readAllStandardError(); });
    connect(raw, &QProcess::finished, this, [this, raw] { forget(raw); });
    // Ended at once rather than left to shut down: an orderly shutdown of
    // the player takes as much processor time as the next player's start,
    // with which it would compete, and leaves nothing worth keeping.
    raw->kill();
    m_retiring.push_back(std::move(process));
}

void CMyPlayer::forget(QProcess* process)
{
    for (auto it = m_retiring.begin(); it != m_retiring.end(); ++it) {
        if (it->get() == process) {
            // Not inside its own signal: the object goes once that returns.
            it->release()->deleteLater();
            m_retiring.erase(it);
            return;
        }
    }
}

void CMyPlayer::pause()
{
    sendCommand(QStringLiteral("pause"));
    m_paused = true;
}

void CMyPlayer::resume()
{
    sendCommand(QStringLiteral("resume"));
    m_paused = false;
}

void CMyPlayer::seek(int64_t position)
{
    const QString command = SeekCommand(position);
    qDebug("%s", qUtf8Printable(command));
    sendCommand(command);
}

void CMyPlayer::setVolume(int volume)
{
    m_volume = ClampVolume(volume);
    const QString command = QStringLiteral("volume:") + QString::number(m_volume);
    sendCommand(command);
    qDebug("cmd:%s", qUtf8Printable(command));
    WriteSetting(kVolumeKey, VolumeSettingText(m_volume));
}

void CMyPlayer::toggleMute()
{
    m_muted = !m_muted;
    sendCommand(QStringLiteral("mute"));
    WriteSetting(kMuteKey, MuteSettingText(m_muted));
}

void CMyPlayer::forceRefresh()
{
    if (m_paused)
        sendCommand(QStringLiteral("forcerefresh"));
}

bool CMyPlayer::sendCommand(const QString& text)
{
    if (!m_process || m_process->state() != QProcess::Running)
        return false;
    const QByteArray bytes = text.toUtf8() + '\n';
    if (m_process->write(bytes) != text.size() + 1)
        qDebug("\nPlayer sendCommand failed");
    return true;
}

void CMyPlayer::requestTime()
{
    sendCommand(QStringLiteral("time"));
}

void CMyPlayer::update_timer_slots()
{
    if (m_awaitingFirstPosition && ++m_fastPolls > kMaxFastPolls) {
        m_awaitingFirstPosition = false;
        m_timer.setInterval(kPollMs);
    }
    if (!m_paused)
        requestTime();
}

void CMyPlayer::playerProcess_StandardOutput()
{
    const QByteArray output = m_process->readAllStandardOutput();
    const QByteArray errors = m_process->readAllStandardError();
    if (!output.isEmpty())
        qDebug("%s", output.constData());
    if (!errors.isEmpty())
        qDebug("%s", errors.constData());
    if (!output.isEmpty())
        parseOutput(output);
}

void CMyPlayer::parseOutput(const QByteArray& bytes)
{
    for (const PlayerOutputLine& line : m_parser.feed(bytes)) {
        if (line.kind == PlayerOutputLine::Volume) {
            emit update_volume(line.volume);
            continue;
        }
        if (m_awaitingFirstPosition && line.duration > 0) {
            m_awaitingFirstPosition = false;
            m_timer.setInterval(kPollMs);
        }
        emit update_duration(line.current, line.duration);
        if (IsEndOfMedia(line.currentSeconds, line.durationSeconds)) {
            m_timer.stop();
            m_sentEndExit = sendCommand(QStringLiteral("exit"));
        }
    }
}

void CMyPlayer::playerProcess_Finished(int exitCode, QProcess::ExitStatus exitStatus)
{
    qDebug("playerProcess_Finished...");
    m_timer.stop();
    m_paused = false;
    // A player we did not stop goes by itself only at the end of the file,
    // unless it failed (exit code 1) or crashed. A stopped one is retired
    // before it ends and never reaches here.
    const bool playedOut = m_sentEndExit || (exitStatus == QProcess::NormalExit && exitCode == 0);
    m_sentEndExit = false;
    emit playerend();
    if (playedOut)
        emit playedToEnd();
}

void CMyPlayer::onProcessError(QProcess::ProcessError error)
{
    // A player that never started sends no finished signal. Reporting the
    // end lets the panel leave its playing look and start afresh next time.
    if (error != QProcess::FailedToStart)
        return;
    qDebug("player cannot start: %s", qUtf8Printable(m_process->errorString()));
    m_timer.stop();
    m_paused = false;
    emit playerend();
}
