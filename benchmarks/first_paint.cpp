// Start-up of a program to the first paint of its window, seen from outside
// through the X server, the same way for any program: it watches the root
// window for new top-level windows, spawns the program itself (the clock
// starts just before the spawn), and stops the clock at the first damage
// (drawing) reported for the first top-level window the program maps. Then
// it checks that window's title and size and ends the program (SIGTERM,
// then reaps it). Without the DAMAGE extension in the server the clock
// stops when the window is mapped instead, and the line says so.
//
// Usage: first_paint [--title TEXT] [--min-size WxH] [--timeout SECONDS] -- PROGRAM [ARGS...]
// Prints one line:
//   first_paint_ms <ms> map_ms <ms> event damage|map window 0x<id> size <w>x<h>
//   pid <n> wm_pid <n> class <instance>/<class> title <title...>
// Exits 1 when no window shows within the time limit, the program ends
// before that, or the window's title or size is not the expected one.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

extern char** environ;

namespace {

double NowMs()
{
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Windows come and go while they are looked at; a request on one that has
// gone is no error here.
int IgnoreXErrors(Display*, XErrorEvent*)
{
    return 0;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string WindowTitle(Display* display, Window window)
{
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data && type == utf8 && format == 8)
        title.assign(reinterpret_cast<const char*>(data), count);
    if (data)
        XFree(data);
    if (title.empty()) {
        char* name = nullptr;
        if (XFetchName(display, window, &name) && name)
            title = name;
        if (name)
            XFree(name);
    }
    return title;
}

long WindowPid(Display* display, Window window)
{
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data && type == XA_CARDINAL && format == 32 && count == 1)
        pid = long(*reinterpret_cast<unsigned long*>(data));
    if (data)
        XFree(data);
    return pid;
}

std::string WindowClass(Display* display, Window window)
{
    XClassHint hint = {};
    std::string text = "-";
    if (XGetClassHint(display, window, &hint)) {
        text = std::string(hint.res_name ? hint.res_name : "") + "/" +
               (hint.res_class ? hint.res_class : "");
        if (hint.res_name)
            XFree(hint.res_name);
        if (hint.res_class)
            XFree(hint.res_class);
    }
    return text;
}

// Ends the program and whatever it started in its process group: SIGTERM
// first, as a session ending would, SIGKILL only if it does not go.
void EndProgram(pid_t child)
{
    kill(child, SIGTERM);
    const double limit = NowMs() + 5000;
    int status = 0;
    pid_t done = 0;
    while ((done = waitpid(child, &status, WNOHANG)) == 0 && NowMs() < limit)
        usleep(5000);
    if (done == 0) {
        std::fprintf(stderr, "first_paint: pid %d did not end on SIGTERM within 5 s; killed\n",
                     int(child));
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    // Its helpers go with it; none may run into the next start.
    kill(-child, SIGKILL);
}

struct Watched
{
    Damage damage = 0;
    bool shownBeforeWatched = false; // mapped before the damage object existed
};

} // namespace

int main(int argc, char* argv[])
{
    std::string wantedTitle;
    int minWidth = 0;
    int minHeight = 0;
    double timeoutMs = 20000;
    int first = 1;
    for (; first < argc; ++first) {
        const std::string arg = argv[first];
        if (arg == "--") {
            ++first;
            break;
        }
        if (arg == "--title" && first + 1 < argc) {
            wantedTitle = argv[++first];
        } else if (arg == "--min-size" && first + 1 < argc) {
            if (std::sscanf(argv[++first], "%dx%d", &minWidth, &minHeight) != 2) {
                std::fprintf(stderr, "first_paint: --min-size takes WxH\n");
                return 2;
            }
        } else if (arg == "--timeout" && first + 1 < argc) {
            timeoutMs = std::atof(argv[++first]) * 1000;
        } else {
            break;
        }
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: first_paint [--title TEXT] [--min-size WxH] "
                             "[--timeout SECONDS] -- PROGRAM [ARGS...]\n");
        return 2;
    }

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "first_paint: cannot open the X display\n");
        return 1;
    }
    XSetErrorHandler(IgnoreXErrors);
    int damageEventBase = 0;
    int damageErrorBase = 0;
    const bool haveDamage = XDamageQueryExtension(display, &damageEventBase, &damageErrorBase);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    // Its own process group, so that whatever it starts can be ended with it.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t child = 0;
    const double start = NowMs();
    const int spawned =
        posix_spawnp(&child, argv[first], nullptr, &attributes, argv + first, environ);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) {
        std::fprintf(stderr, "first_paint: cannot start %s: %s\n", argv[first],
                     std::strerror(spawned));
        return 1;
    }

    // The display is the benchmark's own: the first top-level window mapped
    // after the spawn is the program's (its _NET_WM_PID is checked at the end).
    std::map<Window, Watched> watched;
    Window shown = 0;
    double mapMs = -1;
    double paintMs = -1;
    const int fd = ConnectionNumber(display);
    const char* failure = nullptr;
    int childStatus = 0;
    bool childEnded = false;
    while (paintMs < 0 && !failure) {
        while (XPending(display) && paintMs < 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == CreateNotify) {
                const XCreateWindowEvent& created = event.xcreatewindow;
                if (created.parent != root || created.override_redirect)
                    continue;
                Watched entry;
                if (haveDamage) {
                    entry.damage = XDamageCreate(display, created.window, XDamageReportNonEmpty);
                    // Drawing is only lost if the window was already shown
                    // once the damage object exists.
                    XWindowAttributes state = {};
                    if (XGetWindowAttributes(display, created.window, &state))
                        entry.shownBeforeWatched = state.map_state != IsUnmapped;
                }
                watched[created.window] = entry;
            } else if (event.type == MapNotify) {
                const XMapEvent& mapped = event.xmap;
                if (shown || mapped.event != root || mapped.override_redirect ||
                    !watched.count(mapped.window))
                    continue;
                shown = mapped.window;
                mapMs = NowMs() - start;
                if (!haveDamage)
                    paintMs = mapMs;
                else if (watched[shown].shownBeforeWatched)
                    failure = "the window was shown before it could be watched; its first paint "
                              "may have been missed";
            } else if (haveDamage && event.type == damageEventBase + XDamageNotify) {
                const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
                if (shown && damage.drawable == shown)
                    paintMs = NowMs() - start;
            }
        }
        if (paintMs >= 0 || failure)
            break;
        if (waitpid(child, &childStatus, WNOHANG) == child) {
            childEnded = true;
            failure = "the program ended before its window was painted";
            break;
        }
        const double left = start + timeoutMs - NowMs();
        if (left <= 0) {
            failure = shown ? "the window was shown but not painted in time"
                            : "no window was shown in time";
            break;
        }
        pollfd waiting = {fd, POLLIN, 0};
        poll(&waiting, 1, int(std::min(left, 50.0)) + 1);
    }

    if (failure) {
        if (childEnded)
            std::fprintf(stderr, "first_paint: %s: %s (exit status %d)\n", argv[first], failure,
                         WIFEXITED(childStatus) ? WEXITSTATUS(childStatus) : -1);
        else
            std::fprintf(stderr, "first_paint: %s: %s (limit %.0f s)\n", argv[first], failure,
                         timeoutMs / 1000);
        if (!childEnded)
            EndProgram(child);
        else
            kill(-child, SIGKILL);
        XCloseDisplay(display);
        return 1;
    }

    XWindowAttributes state = {};
    XGetWindowAttributes(display, shown, &state);
    const std::string title = WindowTitle(display, shown);
    const long owner = WindowPid(display, shown);
    const std::string windowClass = WindowClass(display, shown);
    EndProgram(child);
    for (const auto& entry : watched) {
        if (entry.second.damage)
            XDamageDestroy(display, entry.second.damage);
    }
    XCloseDisplay(display);

    std::printf("first_paint_ms %.1f map_ms %.1f event %s window 0x%lx size %dx%d pid %d wm_pid "
                "%ld class %s title %s\n",
                paintMs, mapMs, haveDamage ? "damage" : "map", shown, state.width, state.height,
                int(child), owner, windowClass.c_str(), title.c_str());
    std::fflush(stdout);
    bool ok = true;
    if (!wantedTitle.empty() && Lower(title).find(Lower(wantedTitle)) == std::string::npos) {
        std::fprintf(stderr, "first_paint: the window's title is \"%s\", not one with \"%s\"\n",
                     title.c_str(), wantedTitle.c_str());
        ok = false;
    }
    if (state.width < minWidth || state.height < minHeight) {
        std::fprintf(stderr, "first_paint: the window is %dx%d, smaller than %dx%d\n", state.width,
                     state.height, minWidth, minHeight);
        ok = false;
    }
    if (owner != 0 && owner != long(child)) {
        std::fprintf(stderr, "first_paint: the window belongs to pid %ld, not to %d\n", owner,
                     int(child));
        ok = false;
    }
    return ok ? 0 : 1;
}
