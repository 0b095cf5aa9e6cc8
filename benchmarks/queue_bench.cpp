// Probes the files named on the command line through ProbeQueue while a
// 10 ms timer ticks, then once more one after another with RunProbe.
// Usage: queue_bench <app folder> <file>...
// Prints: queue wall ms, longest gap between ticks in ms, sequential ms.
#include "app/appfolder.h"
#include "media/probe.h"
#include "media/probequeue.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

// The tool's reports would drown the figures.
void QuietHandler(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (app.arguments().size() < 3) {
        std::fprintf(stderr, "usage: queue_bench <app folder> <file>...\n");
        return 2;
    }
    SetAppFolder(app.arguments().at(1));
    const QStringList files = app.arguments().mid(2);
    qInstallMessageHandler(QuietHandler);

    ProbeQueue queue;
    int probed = 0;
    int failed = 0;
    QObject::connect(&queue, &ProbeQueue::probed, &app, [&probed] { ++probed; });
    QObject::connect(&queue, &ProbeQueue::failed, &app, [&failed] { ++failed; });

    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &app, [&] {
        longestGap = std::max(longestGap, clock.elapsed() - lastTick);
        lastTick = clock.elapsed();
    });
    QObject::connect(&queue, &ProbeQueue::busyChanged, &app, [&app](bool busy) {
        if (!busy)
            app.quit();
    });

    ticker.start(10);
    clock.start();
    queue.enqueue(files);
    if (queue.isBusy())
        app.exec();
    const qint64 queueMs = clock.elapsed();
    longestGap = std::max(longestGap, queueMs - lastTick);
    ticker.stop();

    clock.restart();
    int sequentialProbed = 0;
    for (const QString& file : files) {
        ProbeResult result;
        if (RunProbe(file, &result) == 0)
            ++sequentialProbed;
    }
    const qint64 sequentialMs = clock.elapsed();

    std::printf("files: %lld (parallel: %d)\n", static_cast<long long>(files.size()),
                queue.maxParallel());
    std::printf("queue wall: %lld ms (%d probed, %d failed)\n", static_cast<long long>(queueMs),
                probed, failed);
    std::printf("longest gap between 10 ms ticks: %lld ms\n", static_cast<long long>(longestGap));
    std::printf("sequential RunProbe: %lld ms (%d probed)\n", static_cast<long long>(sequentialMs),
                sequentialProbed);
    return 0;
}
