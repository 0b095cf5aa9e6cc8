#include "playerprotocol.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>

namespace PlayerProtocol {

namespace {

std::string_view Trimmed(std::string_view text)
{
    const auto space = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
    };
    while (!text.empty() && space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && space(text.back()))
        text.remove_suffix(1);
    return text;
}

// std::from_chars ignores the C locale, unlike strtod, so a decimal comma
// locale of the parent never changes how numbers are read.
std::optional<double> ToDouble(std::string_view text)
{
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::int64_t> ToInt(std::string_view text, int base = 10)
{
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Options that stand alone; every other unknown option is taken to carry a
// value, so that value is not mistaken for the input file.
const std::set<std::string_view>& Flags()
{
    static const std::set<std::string_view> flags = {"-an",
                                                     "-vn",
                                                     "-sn",
                                                     "-nodisp",
                                                     "-fs",
                                                     "-autoexit",
                                                     "-noborder",
                                                     "-alwaysontop",
                                                     "-stats",
                                                     "-nostats",
                                                     "-hide_banner",
                                                     "-exitonkeydown",
                                                     "-exitonmousedown",
                                                     "-framedrop",
                                                     "-noframedrop",
                                                     "-infbuf",
                                                     "-fast",
                                                     "-genpts",
                                                     "-autorotate",
                                                     "-noautorotate",
                                                     "-nostdin",
                                                     "-y"};
    return flags;
}

} // namespace

std::optional<double> ParseTime(std::string_view text)
{
    text = Trimmed(text);
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    double total = 0.0;
    int fields = 0;
    while (true) {
        const std::size_t colon = text.find(':');
        const std::string_view field = text.substr(0, colon);
        if (field.empty() || field.front() == '-' || field.front() == '+')
            return std::nullopt;
        const auto value = ToDouble(field);
        if (!value || *value < 0)
            return std::nullopt;
        if (++fields > 3)
            return std::nullopt;
        total = total * 60.0 + *value;
        if (colon == std::string_view::npos)
            break;
        if (field.find('.') != std::string_view::npos)
            return std::nullopt; // only the seconds may have a fraction
        text.remove_prefix(colon + 1);
    }
    return negative ? -total : total;
}

std::string SubtitleFromFilter(std::string_view filter)
{
    // A chain is split at commas; a comma inside a quoted or escaped file name stays.
    std::vector<std::string> filters(1);
    bool quoted = false;
    for (std::size_t i = 0; i < filter.size(); ++i) {
        const char c = filter[i];
        if (c == '\\' && i + 1 < filter.size()) {
            filters.back() += c;
            filters.back() += filter[++i];
        } else if (c == '\'') {
            quoted = !quoted;
            filters.back() += c;
        } else if (c == ',' && !quoted) {
            filters.emplace_back();
        } else {
            filters.back() += c;
        }
    }
    for (const std::string& one : filters) {
        std::string_view rest = Trimmed(one);
        constexpr std::string_view name = "subtitles=";
        if (rest.substr(0, name.size()) != name)
            continue;
        rest.remove_prefix(name.size());
        constexpr std::string_view key = "filename=";
        if (rest.substr(0, key.size()) == key)
            rest.remove_prefix(key.size());
        // Undo the filter-graph quoting and escaping; an unescaped ':' starts
        // the filter's further options, which the player does not use.
        std::string file;
        bool inQuote = false;
        for (std::size_t i = 0; i < rest.size(); ++i) {
            const char c = rest[i];
            if (c == '\\' && i + 1 < rest.size())
                file += rest[++i];
            else if (c == '\'')
                inQuote = !inQuote;
            else if (c == ':' && !inQuote)
                break;
            else
                file += c;
        }
        return file;
    }
    return {};
}

bool ParseArguments(const std::vector<std::string>& args, Options& options)
{
    const auto valueOf = [&args](std::size_t& i) -> std::optional<std::string> {
        if (i + 1 >= args.size())
            return std::nullopt;
        return args[++i];
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg.front() != '-') {
            if (options.input.empty())
                options.input = arg;
            continue;
        }
        if (arg == "-i") {
            if (auto v = valueOf(i))
                options.input = *v;
        } else if (arg == "-wid") {
            if (auto v = valueOf(i)) {
                const std::string_view text = Trimmed(*v);
                const bool hex = text.substr(0, 2) == "0x" || text.substr(0, 2) == "0X";
                const auto id = hex ? ToInt(text.substr(2), 16) : ToInt(text);
                if (id && *id > 0)
                    options.window = *id;
            }
        } else if (arg == "-volume") {
            if (auto v = valueOf(i)) {
                if (const auto volume = ToInt(*v))
                    options.volume = static_cast<int>(std::clamp<std::int64_t>(*volume, 0, 100));
            }
        } else if (arg == "-muted") {
            if (auto v = valueOf(i)) {
                if (const auto muted = ToInt(*v))
                    options.muted = *muted != 0;
            }
        } else if (arg == "-an") {
            options.noAudio = true;
        } else if (arg == "-ast") {
            if (auto v = valueOf(i)) {
                if (const auto index = ToInt(*v); index && *index >= 0 && *index < 1000000)
                    options.audioStream = static_cast<int>(*index);
            }
        } else if (arg == "-ss") {
            if (auto v = valueOf(i)) {
                if (const auto start = ParseTime(*v); start && *start >= 0)
                    options.start = *start;
            }
        } else if (arg == "-vf") {
            if (auto v = valueOf(i)) {
                std::string file = SubtitleFromFilter(*v);
                if (!file.empty())
                    options.subtitle = std::move(file);
            }
        } else if (Flags().count(arg) == 0 && i + 1 < args.size()) {
            ++i; // an unknown option with its value
        }
    }
    return !options.input.empty();
}

Command ParseCommand(std::string_view line)
{
    line = Trimmed(line);
    Command command;
    const auto after = [line](std::string_view prefix) -> std::optional<std::string_view> {
        if (line.substr(0, prefix.size()) != prefix)
            return std::nullopt;
        return line.substr(prefix.size());
    };
    if (line == "time") {
        command.kind = Command::Time;
    } else if (line == "pause") {
        command.kind = Command::Pause;
    } else if (line == "resume" || line == "play") {
        command.kind = Command::Resume;
    } else if (line == "mute") {
        command.kind = Command::Mute;
    } else if (line == "forcerefresh") {
        command.kind = Command::ForceRefresh;
    } else if (line == "exit" || line == "quit") {
        command.kind = Command::Exit;
    } else if (const auto seek = after("seek:")) {
        if (const auto seconds = ToDouble(*seek); seconds && *seconds >= 0) {
            command.kind = Command::Seek;
            command.value = *seconds;
        }
    } else if (const auto volume = after("volume:")) {
        if (const auto value = ToDouble(*volume)) {
            command.kind = Command::Volume;
            command.value = std::clamp(*value, 0.0, 100.0);
        }
    }
    return command;
}

std::string SecondsText(double value)
{
    if (!std::isfinite(value) || value < 0)
        value = 0;
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    return std::string(buffer, result.ptr);
}

std::string PositionLine(double current, double duration)
{
    return "Current:" + SecondsText(current) + ",Duration:" + SecondsText(duration);
}

std::string VolumeLine(int volume)
{
    return "volume:" + std::to_string(volume);
}

bool LineBuffer::Next(std::string& line)
{
    const std::size_t end = m_pending.find('\n');
    if (end == std::string::npos)
        return false;
    line.assign(m_pending, 0, end);
    m_pending.erase(0, end + 1);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

} // namespace PlayerProtocol
