// Selecting a row in the main window until the player reports the loaded
// file's duration, against the same player program started here, on the same
// file with the same arguments, into a plain window of the same size, and
// asked for the time the way the program asks. The two sides take turns
// round by round, and which one goes first alternates. Also the peak memory
// of the program and of its player after a few seconds of preview.
// Needs an X display.
//
// Usage: preview_bench <application folder> <rounds> <file A> <file B>
// Prints one line per measurement, "program|baseline <round> <ms> <duration
// in s> <file>", one "player_pid <pid>" per player started by either side,
// then "program_kib <n>" and "player_kib <n>". Exits 1 when a side gives no
// duration within 20 s or the two sides did not start the player alike.
#include "app/appfolder.h"
#include "app/logfile.h"
#include "list/videoitemwidget.h"
#include "list/videolistwidget.h"
#include "mainwindow/vcmainwidget.h"
#include "media/childprocess.h"
#include "media/frameindex.h"
#include "media/probequeue.h"
#include "player/cmyplayer.h"
#include "player/playercommands.h"
#include "player/videoplayerwidget.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int kLimitMs = 20000;
constexpr int kPollMs = 15; // the program's poll until the first duration
constexpr int kSettleMs = 300;

// Peak resident memory in KiB of a process ("self" or a pid).
long PeakKib(const QString& process)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(process));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression peak(QStringLiteral("VmHWM:\\s*(\\d+)"));
    const QRegularExpressionMatch match = peak.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLong() : -1;
}

void Complain(const QString& text)
{
    std::fprintf(stderr, "preview_bench: %s\n", qUtf8Printable(text));
}

int Fail(const QString& text)
{
    Complain(text);
    return 1;
}

// A process that still runs (a zombie has ended and only waits to be reaped).
bool StillRuns(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close < 0 || text.mid(close + 2, 1) != "Z";
}

// Runs the event loop until `done` holds or `limitMs` has passed.
bool WaitFor(const std::function<bool()>& done, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qSleep(2);
    }
    return true;
}

// The arguments with the window id masked: the one that differs by design.
QStringList MaskWindow(QStringList arguments)
{
    const qsizetype at = arguments.indexOf(QStringLiteral("-wid"));
    if (at >= 0 && at + 1 < arguments.size())
        arguments[at + 1] = QStringLiteral("<window>");
    return arguments;
}

// The audio track the panel hands the player for a row.
int AudioTrackOf(const VideoItemWidget* row)
{
    const QStringList& ids = row->mediaInfo.audioStreamIds;
    if (row->audioTrackIndex < 0 || row->audioTrackIndex >= ids.size())
        return 0;
    bool ok = false;
    const int track = ids.at(row->audioTrackIndex).toInt(&ok, 10);
    return ok ? track : 0;
}

struct Measurement
{
    double ms = -1;
    qint64 duration = 0; // microseconds
    QString problem;     // why there is no value
};

// The player alone: started as the program starts it, asked for the time
// every 15 ms from the first tick, until a line carries a duration. The
// player is then told to go and reaped, so none is left for the next round.
Measurement RunBaseline(const QString& program, const QStringList& arguments,
                        const QProcessEnvironment& environment, QList<qint64>* pids)
{
    Measurement result;
    QProcess process;
    PlayerOutputParser parser;
    QTimer poll;
    poll.setTimerType(Qt::PreciseTimer);
    poll.setInterval(kPollMs);
    QEventLoop loop;
    QElapsedTimer clock;
    QObject::connect(&process, &QProcess::readyReadStandardOutput, &loop, [&] {
        const QByteArray output = process.readAllStandardOutput();
        process.readAllStandardError();
        for (const PlayerOutputLine& line : parser.feed(output)) {
            if (line.kind == PlayerOutputLine::Position && line.duration > 0 && result.ms < 0) {
                result.ms = double(clock.nsecsElapsed()) / 1e6;
                result.duration = line.duration;
                loop.quit();
            }
        }
    });
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (process.state() == QProcess::Running)
            process.write("time\n");
    });
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    QTimer::singleShot(kLimitMs, &loop, &QEventLoop::quit);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    ChildProcess::DieWithParent(process);

    clock.start();
    process.start(program, arguments, QIODevice::ReadWrite);
    poll.start();
    if (process.processId() > 0)
        pids->append(process.processId());
    loop.exec();
    poll.stop();
    if (result.ms < 0) {
        if (process.error() == QProcess::FailedToStart)
            result.problem =
                QStringLiteral("the player alone could not start: %1").arg(process.errorString());
        else if (process.state() == QProcess::NotRunning)
            result.problem = QStringLiteral("the player alone ended (%1 %2) before it gave a "
                                            "duration")
                                 .arg(process.exitStatus() == QProcess::CrashExit
                                          ? QStringLiteral("crashed, signal")
                                          : QStringLiteral("exit code"))
                                 .arg(process.exitCode());
        else
            result.problem = QStringLiteral("the player alone gave no duration within 20 s");
    }
    if (process.state() != QProcess::NotRunning) {
        process.write("exit\n");
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
    return result;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: preview_bench APP ROUNDS FILE_A FILE_B\n");
        return 2;
    }
    SetAppFolder(QDir(args.at(1)).absolutePath());
    const int rounds = args.at(2).toInt();
    // As the program runs: its fonts, and its log, which it writes a line to
    // for every answer of the player.
    ApplyLatinFonts(AppFolder());
    RemovePreviousLogFile();
    qInstallMessageHandler(LogMessageHandler);

    auto owner = std::make_unique<VCMainWidget>();
    VCMainWidget& window = *owner;
    window.move(0, 0);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return Fail(QStringLiteral("the main window was never shown"));
    window.AddMediaPaths(args.mid(3, 2));
    VideoPlayerWidget* panel = window.playerPanel();
    CMyPlayer* player = panel->player();
    QList<qint64> pids;
    QSet<qint64> seen;
    const auto notePlayer = [&] {
        const qint64 pid = player->processId();
        if (pid > 0 && !seen.contains(pid)) {
            seen.insert(pid);
            pids.append(pid);
        }
    };
    const auto idle = [&] {
        return !window.probeQueue()->isBusy() && !FrameIndexCache::instance()->isBusy();
    };

    // The list settles with one row on preview; the player's first duration
    // says it plays.
    bool firstLoaded = false;
    auto connection =
        QObject::connect(player, &CMyPlayer::update_duration, &app, [&](int64_t, int64_t duration) {
            if (duration > 0)
                firstLoaded = true;
        });
    if (!WaitFor([&] { return window.mediaList()->itemCount() == 2 && firstLoaded && idle(); },
                 kLimitMs))
        return Fail(QStringLiteral("the two files were not listed and previewed within 20 s"));
    QObject::disconnect(connection);
    notePlayer();
    const QList<VideoItemWidget*> rows = window.mediaList()->itemsInUse();
    QHash<QString, QStringList> programArguments; // by file, as last started
    programArguments.insert(window.playingItem()->filePath, player->lastArguments());

    // The baseline's window: plain, of the video window's size, beside the
    // main window so neither covers the other.
    QWidget baselineWindow;
    const QSize videoSize = panel->videoWindow()->size();
    baselineWindow.setFixedSize(videoSize);
    baselineWindow.setWindowTitle(QStringLiteral("baseline"));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    baselineWindow.move(screen.right() + 1 - videoSize.width(),
                        screen.bottom() + 1 - videoSize.height());
    baselineWindow.show();
    if (!QTest::qWaitForWindowExposed(&baselineWindow))
        return Fail(QStringLiteral("the baseline window was never shown"));
    std::printf("video_window %dx%d\n", videoSize.width(), videoSize.height());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FONTCONFIG_FILE"),
                       AppFolder() + QStringLiteral("/fonts/fonts.conf"));

    bool ok = true;
    for (int round = 1; ok && round <= rounds; ++round) {
        VideoItemWidget* target = rows.at(0) == window.playingItem() ? rows.at(1) : rows.at(0);
        const QString file = target->filePath;
        QStringList baselineArguments;

        // The user's case: the other file plays while the row is clicked.
        const auto programSide = [&]() -> bool {
            if (!panel->isPlaying())
                panel->togglePlay();
            QTest::qWait(kSettleMs);
            if (!panel->isPlaying()) {
                Complain(QStringLiteral("round %1: the preview does not play").arg(round));
                return false;
            }
            WaitFor(idle, kLimitMs);
            const qint64 before = player->processId();
            Measurement m;
            QEventLoop loop;
            QElapsedTimer clock;
            const auto c = QObject::connect(
                player, &CMyPlayer::update_duration, &loop, [&](int64_t, int64_t duration) {
                    const qint64 pid = player->processId();
                    if (duration > 0 && pid > 0 && pid != before && m.ms < 0) {
                        m.ms = double(clock.nsecsElapsed()) / 1e6;
                        m.duration = duration;
                        loop.quit();
                    }
                });
            QTimer::singleShot(kLimitMs, &loop, &QEventLoop::quit);
            clock.start();
            QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(5, 5));
            if (m.ms < 0)
                loop.exec();
            QObject::disconnect(c);
            notePlayer();
            if (window.playingItem() != target) {
                Complain(QStringLiteral("round %1: the click did not select the row").arg(round));
                return false;
            }
            programArguments.insert(file, player->lastArguments());
            if (m.ms < 0) {
                Complain(QStringLiteral("round %1: the program's player gave no duration within "
                                        "20 s")
                             .arg(round));
                return false;
            }
            std::printf("program %d %.1f %.3f %s\n", round, m.ms, double(m.duration) / 1e6,
                        qUtf8Printable(file));
            std::fflush(stdout);
            QTest::qWait(kSettleMs);
            return true;
        };

        // The player alone, while the program's preview is paused.
        const auto baselineSide = [&]() -> bool {
            if (panel->isPlaying())
                panel->togglePlay();
            QTest::qWait(kSettleMs);
            WaitFor(idle, kLimitMs);
            PlayerStartOptions options;
            options.filePath = file;
            options.windowId = QString::number(baselineWindow.winId());
            options.volume = player->volume();
            options.muted = player->isMuted();
            options.audioTrack = AudioTrackOf(target);
            baselineArguments = PlayerArguments(options);
            const Measurement m =
                RunBaseline(player->program(), baselineArguments, environment, &pids);
            if (m.ms < 0) {
                Complain(QStringLiteral("round %1: %2").arg(round).arg(m.problem));
                return false;
            }
            std::printf("baseline %d %.1f %.3f %s\n", round, m.ms, double(m.duration) / 1e6,
                        qUtf8Printable(file));
            std::fflush(stdout);
            return true;
        };

        const bool programFirst = round % 2 == 1;
        ok = programFirst ? programSide() && baselineSide() : baselineSide() && programSide();
        if (ok && MaskWindow(baselineArguments) != MaskWindow(programArguments.value(file))) {
            Complain(QStringLiteral("round %1: the program started the player with \"%2\", "
                                    "the baseline with \"%3\"")
                         .arg(round)
                         .arg(MaskWindow(programArguments.value(file)).join(u' '),
                              MaskWindow(baselineArguments).join(u' ')));
            ok = false;
        }
    }

    long programKib = -1;
    long playerKib = -1;
    if (ok) {
        if (!panel->isPlaying())
            panel->togglePlay();
        QTest::qWait(3000);
        programKib = PeakKib(QStringLiteral("self"));
        playerKib = PeakKib(QString::number(player->processId()));
    }
    for (qint64 pid : pids)
        std::printf("player_pid %lld\n", static_cast<long long>(pid));
    if (ok)
        std::printf("program_kib %ld\nplayer_kib %ld\n", programKib, playerKib);
    std::fflush(stdout);

    // Closing the window ends its players; none may outlive it.
    owner.reset();
    QTest::qWait(100);
    for (qint64 pid : pids) {
        if (StillRuns(pid)) {
            Complain(QStringLiteral("player %1 still runs after the window was closed").arg(pid));
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
