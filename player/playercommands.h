#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

// What the preview player needs at start-up. The start position is in
// microseconds, like every time in the program; the player is told clock text.
struct PlayerStartOptions
{
    QString filePath;
    QString windowId;                    // native window id, decimal text
    std::optional<qint64> startPosition; // no "-ss" when absent
    int volume = 80;                     // clamped to 0..100 when used
    bool muted = false;
    int audioTrack = 0; // stream number in the file; 0 or less: the player's choice
    QString subtitle;   // subtitle file (a folder part is dropped); empty: none
};

// The player program's argument list (without the program itself). The
// subtitle is named without its folder: the caller runs the player in the
// subtitle's folder.
QStringList PlayerArguments(const PlayerStartOptions& options);

int ClampVolume(int volume);

// The stored "volume" text: a base-10 integer clamped to 0..100; anything
// that is not a number counts as 0.
int VolumeFromSetting(const QString& text);
QString VolumeSettingText(int volume);

// The stored "mute" text: only "TRUE" exactly means muted.
bool MutedFromSetting(const QString& text);
QString MuteSettingText(bool muted);

// "seek:<whole seconds>", truncated toward zero; positions before the start
// seek to 0, since the player refuses a negative position.
QString SeekCommand(qint64 microseconds);

// One understood line of the player's standard output.
struct PlayerOutputLine
{
    enum Kind
    {
        Position,
        Volume
    };
    Kind kind = Position;
    double currentSeconds = 0.0; // Position: as the player printed them
    double durationSeconds = 0.0;
    qint64 current = 0; // Position: microseconds, truncated toward zero
    qint64 duration = 0;
    int volume = 0; // Volume
};

// Classifies one line of output: "Current:<s>,Duration:<s>" or "volume:<n>";
// anything else gives nothing.
std::optional<PlayerOutputLine> ParsePlayerOutputLine(const QString& line);

// The player has reached the end of the media once fewer than about 0.2 s
// remain of a duration above one second; it is then told to exit.
bool IsEndOfMedia(double currentSeconds, double durationSeconds);

// Collects the player's standard output as it arrives in arbitrary pieces and
// hands back the understood complete lines. Text after the last line feed is
// kept until the rest of its line arrives, so a line cut in two is read whole.
class PlayerOutputParser
{
public:
    QList<PlayerOutputLine> feed(const QByteArray& bytes);
    void reset();

private:
    QByteArray m_pending;
    bool m_discarding = false; // inside an overlong line, dropped until its end
};
