// Runs one lossless cut or join the way the window does, without the window,
// and prints what it kept and how long it took, for the benchmark scripts.
//   cut_driver exact|keyframe OUTPUT FILE@START-END [FILE@START-END ...]
// Times in seconds. Prints "index_ms", "job_ms", "kept <i> <start> <end>",
// "encoded_bytes", then "ok", "reencode <why>" or "failed <why>"; exits 1
// unless ok. The progress values go to the error stream as
// "progress <ms> <value>".
#include "convert/losslessjob.h"
#include "media/frameindex.h"
#include "media/mediainfo.h"
#include "media/probe.h"
#include "media/resultprobe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: cut_driver exact|keyframe OUTPUT FILE@START-END...\n");
        return 2;
    }
    const CutMode mode = CutModeFromText(args[1]);
    const QString output = args[2];
    QList<ConvertItem> items;
    for (int i = 3; i < args.size(); ++i) {
        const qsizetype at = args[i].lastIndexOf(QLatin1Char('@'));
        const QStringList range = args[i].mid(at + 1).split(QLatin1Char('-'));
        ConvertItem item;
        item.filePath = QFileInfo(args[i].left(at)).absoluteFilePath();
        item.cutStart = qint64(range.value(0).toDouble() * 1e6);
        item.cutEnd = qint64(range.value(1).toDouble() * 1e6);
        item.itemId = i;
        ProbeResult probe;
        if (at < 0 || range.size() != 2 || RunProbe(item.filePath, &probe, 10000) != 0) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(args[i]));
            return 2;
        }
        FillMediaInfo(item.mediaInfo, item.filePath, probe.durationLine, probe.videoStreamLines,
                      probe.audioStreamLines);
        items << item;
    }

    // The window reads the indexes while files are added; a job finds them
    // ready, so they are timed apart.
    // The window loads the result check's libraries when it opens.
    PreloadResultProbe();
    QElapsedTimer clock;
    clock.start();
    FrameIndexCache* cache = FrameIndexCache::instance();
    for (const ConvertItem& item : std::as_const(items))
        cache->request(item.filePath);
    while (cache->isBusy())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    std::printf("index_ms %lld\n", qlonglong(clock.elapsed()));

    QTemporaryDir work;
    LosslessJob job(items, items.first().mediaInfo, output, mode, work.path());
    int code = 1;
    QObject::connect(&job, &LosslessJob::finished, &app,
                     [&](bool ok, const QString& message, const QString& note) {
                         std::printf("job_ms %lld\n", qlonglong(clock.elapsed()));
                         const QList<ItemCutPlan> plans = job.plans();
                         for (int i = 0; i < plans.size(); ++i)
                             std::printf("kept %d %.6f %.6f\n", i, plans[i].keptStart / 1e6,
                                         plans[i].keptEnd / 1e6);
                         std::printf("encoded_bytes %lld\n", qlonglong(job.encodedBytes()));
                         if (ok)
                             std::printf("ok %s\n", qPrintable(note));
                         else
                             std::printf("failed %s\n", qPrintable(message));
                         code = ok ? 0 : 1;
                         app.quit();
                     });
    // The progress the bar would show, for a look at how it rises.
    QObject::connect(&job, &LosslessJob::progressChanged, &app, [&](int value) {
        std::fprintf(stderr, "progress %lld %d\n", qlonglong(clock.elapsed()), value);
    });
    QObject::connect(&job, &LosslessJob::reencodeNeeded, &app, [&](const QString& why) {
        std::printf("reencode %s\n", qPrintable(why));
        app.quit();
    });
    // Inside the event loop: a job may end before start() returns.
    QTimer::singleShot(0, &job, [&] {
        clock.restart();
        job.start();
    });
    app.exec();
    return code;
}
