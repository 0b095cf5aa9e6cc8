#pragma once

// The preview player's command line and its standard-input protocol, kept free
// of libmpv so the parsing can be tested on its own.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace PlayerProtocol {

struct Options
{
    std::string input;                  // -i, or the first bare argument
    std::string subtitle;               // from -vf subtitles=NAME, as given
    std::optional<std::int64_t> window; // -wid: native window to draw into
    int volume = 100;                   // -volume, clamped to 0..100
    bool muted = false;                 // -muted 1
    bool noAudio = false;               // -an
    int audioStream = -1;               // -ast: stream index in the file, -1 = default
    double start = 0.0;                 // -ss, seconds
};

// Reads the command line (without the program name). Options the player does
// not know are skipped, with their value when they take one; malformed values
// of known options keep the default. False only when no input file is given.
bool ParseArguments(const std::vector<std::string>& args, Options& options);

// "[-][[HH:]MM:]SS[.frac]" or plain seconds; nullopt when malformed.
std::optional<double> ParseTime(std::string_view text);

// The subtitle file named by a -vf filter chain, empty when there is none.
std::string SubtitleFromFilter(std::string_view filter);

struct Command
{
    enum Kind
    {
        Unknown,
        Time,
        Pause,
        Resume,
        Seek,
        Volume,
        Mute,
        ForceRefresh,
        Exit
    };
    Kind kind = Unknown;
    double value = 0.0; // seconds for Seek, 0..100 for Volume
};

// One line of standard input, without its line feed.
Command ParseCommand(std::string_view line);

// Seconds with three decimals and a decimal point whatever the locale.
std::string SecondsText(double seconds);

// "Current:<s>,Duration:<s>" with three decimals, independent of the locale.
std::string PositionLine(double current, double duration);

// "volume:<n>".
std::string VolumeLine(int volume);

// Collects bytes from a pipe and hands them back as whole lines.
class LineBuffer
{
public:
    void Append(std::string_view bytes) { m_pending.append(bytes); }
    // Takes the next complete line (line feed and a trailing carriage return removed).
    bool Next(std::string& line);

private:
    std::string m_pending;
};

} // namespace PlayerProtocol
