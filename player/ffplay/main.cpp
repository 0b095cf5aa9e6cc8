// The preview player: plays one file with libmpv, into a window of the
// application (-wid) or a window of its own, steered by one-line commands on
// standard input and answering on standard output.

#include "playerprotocol.h"

#include <mpv/client.h>

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using PlayerProtocol::Command;

int g_wakeupPipe[2] = {-1, -1};

// Runs on a libmpv thread: only nudge the main loop, never touch the handle here.
void Wakeup(void*)
{
    const char byte = 1;
    // A full pipe already holds a pending wake-up, so a failed write loses nothing.
    [[maybe_unused]] const ssize_t written = write(g_wakeupPipe[1], &byte, 1);
}

void Reply(const std::string& line)
{
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

class Player
{
public:
    explicit Player(const PlayerProtocol::Options& options) : m_options(options) {}
    ~Player()
    {
        if (m_mpv)
            mpv_terminate_destroy(m_mpv);
    }

    bool Start();
    int Run();

private:
    void HandleEvents();
    void HandleCommand(const Command& command);
    void BeforeTrackSelection();
    void SetFlag(const char* name, bool value)
    {
        int flag = value ? 1 : 0;
        mpv_set_property(m_mpv, name, MPV_FORMAT_FLAG, &flag);
    }
    double DoubleProperty(const char* name, double fallback)
    {
        double value = 0;
        return mpv_get_property(m_mpv, name, MPV_FORMAT_DOUBLE, &value) >= 0 ? value : fallback;
    }

    PlayerProtocol::Options m_options;
    mpv_handle* m_mpv = nullptr;
    bool m_loaded = false;
    bool m_quit = false;
    int m_exitCode = 0;
    double m_lastPosition = 0;
    double m_pendingSeek = -1;
};

bool Player::Start()
{
    m_mpv = mpv_create();
    if (!m_mpv) {
        std::fputs("ffplay: cannot create the player\n", stderr);
        return false;
    }
    const auto option = [this](const char* name, const std::string& value) {
        if (mpv_set_option_string(m_mpv, name, value.c_str()) < 0)
            std::fprintf(stderr, "ffplay: option %s=%s not taken\n", name, value.c_str());
    };
    // The OpenGL output where there is a GPU, plain X11 elsewhere (virtual
    // displays); both draw into a foreign window, which SDL would not.
    option("vo", "gpu,x11");
    // The window to draw into is an X11 one, so only X11 contexts can serve;
    // probing the others (Wayland, DRM) first can leave the X11 fallback stuck
    // on a virtual display. Builds without GLX know only the EGL context.
    if (mpv_set_option_string(m_mpv, "gpu-context", "x11egl,x11") < 0)
        option("gpu-context", "x11egl");
    // A machine without a sound device still previews the picture in time.
    option("ao", "pulse,alsa,null");
    option("audio-fallback-to-null", "yes");
    option("terminal", "no");
    option("idle", "yes");
    option("keep-open", "no");
    option("osc", "no");
    option("load-scripts", "no");
    option("volume", std::to_string(m_options.volume));
    option("mute", m_options.muted ? "yes" : "no");
    if (m_options.noAudio)
        option("aid", "no");
    if (m_options.start > 0)
        option("start", PlayerProtocol::SecondsText(m_options.start));
    if (m_options.window) {
        std::int64_t wid = *m_options.window;
        mpv_set_option(m_mpv, "wid", MPV_FORMAT_INT64, &wid);
        // The application owns keyboard and mouse of its window.
        option("input-default-bindings", "no");
        option("input-vo-keyboard", "no");
        option("input-cursor", "no");
    } else {
        option("input-default-bindings", "yes");
        option("input-vo-keyboard", "yes");
        option("force-window", "yes");
        option("title", "ffplay - ${filename}");
    }
    m_lastPosition = m_options.start;

    mpv_request_log_messages(m_mpv, "warn");
    if (mpv_initialize(m_mpv) < 0) {
        std::fputs("ffplay: cannot start the player\n", stderr);
        return false;
    }
    mpv_observe_property(m_mpv, 0, "audio-params/samplerate", MPV_FORMAT_INT64);
    // The stream choice by file index needs the track list, which exists only
    // once the file is open but before tracks are chosen.
    mpv_hook_add(m_mpv, 0, "on_preloaded", 0);
    mpv_set_wakeup_callback(m_mpv, Wakeup, nullptr);

    const char* load[] = {"loadfile", m_options.input.c_str(), nullptr};
    if (mpv_command(m_mpv, load) < 0) {
        std::fprintf(stderr, "ffplay: cannot open %s\n", m_options.input.c_str());
        return false;
    }
    return true;
}

void Player::BeforeTrackSelection()
{
    if (m_options.audioStream >= 0 && !m_options.noAudio) {
        std::int64_t count = 0;
        mpv_get_property(m_mpv, "track-list/count", MPV_FORMAT_INT64, &count);
        bool found = false;
        for (std::int64_t i = 0; i < count && !found; ++i) {
            const std::string prefix = "track-list/" + std::to_string(i) + "/";
            char* type = mpv_get_property_string(m_mpv, (prefix + "type").c_str());
            std::int64_t ffIndex = -1;
            std::int64_t id = 0;
            mpv_get_property(m_mpv, (prefix + "ff-index").c_str(), MPV_FORMAT_INT64, &ffIndex);
            mpv_get_property(m_mpv, (prefix + "id").c_str(), MPV_FORMAT_INT64, &id);
            if (type && std::strcmp(type, "audio") == 0 && ffIndex == m_options.audioStream) {
                mpv_set_property(m_mpv, "aid", MPV_FORMAT_INT64, &id);
                found = true;
            }
            mpv_free(type);
        }
        if (found)
            std::fprintf(stderr, "ffplay: audio stream %d selected\n", m_options.audioStream);
        else
            std::fprintf(stderr, "ffplay: no audio stream %d, default kept\n",
                         m_options.audioStream);
    }
    if (!m_options.subtitle.empty()) {
        // Relative names resolve against the working folder, where the caller put us.
        const char* add[] = {"sub-add", m_options.subtitle.c_str(), "select", nullptr};
        if (mpv_command(m_mpv, add) < 0)
            std::fprintf(stderr, "ffplay: cannot load subtitle %s\n", m_options.subtitle.c_str());
        else
            std::fprintf(stderr, "ffplay: subtitle %s loaded\n", m_options.subtitle.c_str());
    }
}

void Player::HandleEvents()
{
    while (!m_quit) {
        mpv_event* event = mpv_wait_event(m_mpv, 0);
        switch (event->event_id) {
        case MPV_EVENT_NONE:
            return;
        case MPV_EVENT_SHUTDOWN:
            m_quit = true; // the own window was closed
            break;
        case MPV_EVENT_LOG_MESSAGE: {
            const auto* msg = static_cast<mpv_event_log_message*>(event->data);
            std::fprintf(stderr, "[%s] %s: %s", msg->prefix, msg->level, msg->text);
            break;
        }
        case MPV_EVENT_HOOK: {
            const auto* hook = static_cast<mpv_event_hook*>(event->data);
            if (std::strcmp(hook->name, "on_preloaded") == 0)
                BeforeTrackSelection();
            mpv_hook_continue(m_mpv, hook->id);
            break;
        }
        case MPV_EVENT_FILE_LOADED:
            m_loaded = true;
            if (m_pendingSeek >= 0) {
                HandleCommand(Command{Command::Seek, m_pendingSeek});
                m_pendingSeek = -1;
            }
            break;
        case MPV_EVENT_PROPERTY_CHANGE: {
            const auto* prop = static_cast<mpv_event_property*>(event->data);
            if (prop->format == MPV_FORMAT_INT64 &&
                std::strcmp(prop->name, "audio-params/samplerate") == 0)
                std::fprintf(stderr, "ffplay: audio %lld Hz\n",
                             static_cast<long long>(*static_cast<std::int64_t*>(prop->data)));
            break;
        }
        case MPV_EVENT_END_FILE: {
            const auto* end = static_cast<mpv_event_end_file*>(event->data);
            if (end->reason == MPV_END_FILE_REASON_REDIRECT)
                break;
            if (end->reason == MPV_END_FILE_REASON_ERROR) {
                std::fprintf(stderr, "ffplay: %s: %s\n", m_options.input.c_str(),
                             mpv_error_string(end->error));
                m_exitCode = 1;
            }
            m_quit = true;
            break;
        }
        default:
            break;
        }
    }
}

void Player::HandleCommand(const Command& command)
{
    switch (command.kind) {
    case Command::Time: {
        const double position = DoubleProperty("time-pos", m_lastPosition);
        m_lastPosition = position;
        Reply(PlayerProtocol::PositionLine(position, DoubleProperty("duration", 0)));
        break;
    }
    case Command::Pause:
        SetFlag("pause", true);
        break;
    case Command::Resume:
        SetFlag("pause", false);
        break;
    case Command::Seek: {
        if (!m_loaded) {
            m_pendingSeek = command.value;
            m_lastPosition = command.value;
            break;
        }
        const std::string target = PlayerProtocol::SecondsText(command.value);
        const char* seek[] = {"seek", target.c_str(), "absolute", nullptr};
        mpv_command(m_mpv, seek);
        m_lastPosition = command.value;
        break;
    }
    case Command::Volume: {
        double volume = command.value;
        mpv_set_property(m_mpv, "volume", MPV_FORMAT_DOUBLE, &volume);
        Reply(PlayerProtocol::VolumeLine(
            static_cast<int>(std::lround(DoubleProperty("volume", volume)))));
        break;
    }
    case Command::Mute: {
        int muted = 0;
        mpv_get_property(m_mpv, "mute", MPV_FORMAT_FLAG, &muted);
        SetFlag("mute", muted == 0);
        break;
    }
    case Command::ForceRefresh: {
        // A zero exact seek decodes the shown frame again and draws it.
        if (m_loaded) {
            const char* redraw[] = {"seek", "0", "relative+exact", nullptr};
            mpv_command(m_mpv, redraw);
        }
        break;
    }
    case Command::Exit:
        m_quit = true;
        break;
    case Command::Unknown:
        break;
    }
}

int Player::Run()
{
    PlayerProtocol::LineBuffer input;
    bool inputOpen = true;
    HandleEvents();
    while (!m_quit) {
        pollfd fds[2] = {{g_wakeupPipe[0], POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        const nfds_t count = inputOpen ? 2 : 1;
        if (poll(fds, count, -1) < 0) {
            if (errno == EINTR)
                continue;
            std::perror("ffplay: poll");
            return 1;
        }
        if (fds[0].revents & POLLIN) {
            char drain[64];
            while (read(g_wakeupPipe[0], drain, sizeof drain) > 0) {
            }
            HandleEvents();
        }
        if (inputOpen && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
            char buffer[4096];
            const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
            if (got > 0) {
                input.Append(std::string_view(buffer, static_cast<std::size_t>(got)));
                std::string line;
                while (!m_quit && input.Next(line))
                    HandleCommand(PlayerProtocol::ParseCommand(line));
            } else if (got == 0 || errno != EINTR) {
                // The steering program went away: an orphaned preview must not
                // play on where nobody can stop it.
                inputOpen = false;
                m_quit = true;
            }
        }
    }
    return m_exitCode;
}

} // namespace

int main(int argc, char** argv)
{
    // libmpv reads and writes numbers with the C library and requires this.
    std::setlocale(LC_NUMERIC, "C");

    PlayerProtocol::Options options;
    if (!PlayerProtocol::ParseArguments(std::vector<std::string>(argv + 1, argv + argc), options)) {
        std::fputs("usage: ffplay -i FILE [-wid WINDOW] [-ss START] [-volume 0-100] [-muted 1]\n"
                   "              [-ast STREAM] [-an] [-vf subtitles=FILE]\n",
                   stderr);
        return 2;
    }
    if (pipe2(g_wakeupPipe, O_CLOEXEC | O_NONBLOCK) < 0) {
        std::perror("ffplay: pipe");
        return 1;
    }
    int code = 1;
    {
        Player player(options);
        if (player.Start())
            code = player.Run();
    }
    close(g_wakeupPipe[0]);
    close(g_wakeupPipe[1]);
    return code;
}
