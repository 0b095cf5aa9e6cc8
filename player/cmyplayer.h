#pragma once

#include "player/playercommands.h"

#include <QObject>
#include <QProcess>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <vector>

// Runs the preview player program as a child process that draws into a window
// of ours, and steers it over its standard input: one command per line. It
// learns the play position from the player's answers to "time", polled every
// 500 ms while playing. Volume and mute are kept in the settings. At most one
// player runs; the panel stops the old one before it starts the next.
class CMyPlayer : public QObject
{
    Q_OBJECT

public:
    explicit CMyPlayer(QObject* parent = nullptr);
    ~CMyPlayer() override;

    // Starts the player on `filePath`, drawing into the native window
    // `windowId`. An empty `startTime` plays from the beginning; an empty
    // `subtitlePath` looks for a subtitle file beside the media; `audioTrack`
    // is the stream's number in the file (0: the player's choice).
    int play(const QString& filePath, const QString& windowId, const QString& startTime,
             const QString& subtitlePath, int audioTrack);
    void stop();
    void pause();
    void resume();
    void seek(int64_t position);
    void setVolume(int volume);
    void toggleMute();
    void forceRefresh();

    bool isPaused() const { return m_paused; }
    bool isMuted() const { return m_muted; }
    int volume() const { return m_volume; }
    bool isRunning() const { return m_process && m_process->state() != QProcess::NotRunning; }
    qint64 processId() const { return m_process ? m_process->processId() : 0; }
    // The argument list of the last start, for the log and for tests.
    QStringList lastArguments() const { return m_lastArguments; }
    QString program() const;

    // The subtitle beside `mediaPath` (same name, .srt, .vtt or .ass in either
    // letter case), or empty.
    static QString findSubtitle(const QString& mediaPath);

signals:
    void update_duration(int64_t curtime, int64_t duration);
    void update_volume(int vol);
    // The run is over: played out, stopped, or the player could not start.
    void playerend();
    // Follows playerend() when the run ended because the media played out.
    // The last position the player answered lies up to one poll before the
    // end, so only this tells that the whole file was shown.
    void playedToEnd();

private slots:
    void playerProcess_StandardOutput();
    void playerProcess_Finished(int exitCode, QProcess::ExitStatus exitStatus);
    void update_timer_slots();

private:
    bool sendCommand(const QString& text);
    void requestTime();
    void parseOutput(const QByteArray& bytes);
    void onProcessError(QProcess::ProcessError error);
    void retire(std::unique_ptr<QProcess> process);
    void forget(QProcess* process);

    // The player of the current run; a new process object per run, so that a
    // stopped player can finish on its own while the next one starts.
    std::unique_ptr<QProcess> m_process;
    // Stopped players that have not ended yet; each is killed if it does not
    // obey "exit" soon, and none outlives this object.
    std::vector<std::unique_ptr<QProcess>> m_retiring;
    QProcessEnvironment m_environment;
    // Kept for later starts once a subtitle needed it.
    QString m_workingDirectory;
    QTimer m_timer;
    PlayerOutputParser m_parser;
    QStringList m_lastArguments;
    // Until the player first reports a loaded file, it is asked more often,
    // so the time and the playhead show up soon after a row is selected.
    bool m_awaitingFirstPosition = false;
    // The player answered a position at the end of the media and was told to
    // go; its end is the end of the file, whatever its exit looks like.
    bool m_sentEndExit = false;
    int m_fastPolls = 0;
    bool m_paused = false;
    bool m_muted = false;
    int m_volume = 80;
};
