#include "cli/signalchannel.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t g_received = 0;
int g_fds[2] = {-1, -1};

extern "C" void NoteSignal(int number)
{
    // Only async-signal-safe calls here.
    const int savedErrno = errno;
    if (g_received == 0)
        g_received = number;
    const char byte = char(number);
    // A full socket already holds a byte that wakes the loop.
    [[maybe_unused]] const ssize_t written = ::write(g_fds[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

SignalChannel::SignalChannel(QObject* parent) : QObject(parent)
{
    // Close-on-exec: the media tools started later must not hold the pair.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_fds) != 0) {
        g_fds[0] = g_fds[1] = -1;
        return;
    }
    m_notifier = new QSocketNotifier(qintptr(g_fds[0]), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(g_fds[0], bytes, sizeof bytes) > 0) {
        }
        if (g_received != 0)
            emit signalled(int(g_received));
    });
    struct sigaction action = {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kSignals)
        ::sigaction(number, &action, nullptr);
}

SignalChannel::~SignalChannel()
{
    for (const int number : kSignals)
        ::signal(number, SIG_DFL);
    delete m_notifier;
    m_notifier = nullptr;
    for (int& fd : g_fds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

int SignalChannel::received()
{
    return int(g_received);
}
