// Adding files to the media list, through the main window and row by row.
//
//   list_bench window <application folder> <files at a time> <manifest>
//     Adds every file of the manifest through VCMainWidget::AddMediaPaths,
//     as "Add Files" does, and prints one line:
//       <ms from the call until every row shows its thumbnail>
//       <longest gap between ticks of a 5 ms timer meanwhile, ms>
//       <rows> <most processor time this program's own check took in one
//       tick, ms>
//   list_bench rows <application folder> <manifest>
//     Probes one file of each clip once, then adds one row per file of the
//     manifest straight to the list as one batch, letting every event settle
//     after each row, waits for the thumbnails and prints "key=value"
//     figures: the cost of rows 41-60 and of the last 20 rows, and resident
//     memory per row.
//
// Manifest: one file a line, "<path>\t<duration in microseconds>\t<clip>",
// where the files of one clip are byte-for-byte copies of each other.
//
// Every row is checked: one per file, in the order given, with the clip's
// duration and a thumbnail of its own. A wrong list exits with status 1 and
// the reason on standard error.
#include "app/appfolder.h"
#include "app/logfile.h"
#include "app/platform.h"
#include "list/videoitemwidget.h"
#include "list/videolistwidget.h"
#include "mainwindow/vcmainwidget.h"
#include "media/probe.h"
#include "media/probequeue.h"
#include "widgets/sprites.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QMap>
#include <QPixmap>
#include <QSet>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <utility>
#include <vector>

namespace {

struct ManifestLine
{
    QString path;
    qint64 durationUs = 0;
    int clip = 0;
};

// A duration read to the hundredth of a second passes; a wrong file does not.
constexpr qint64 kDurationSlackUs = 50000;
// The thumbnails must be in this long after the last row was added.
constexpr int kThumbnailWaitMs = 60000;
constexpr int kTickMs = 5;

[[noreturn]] void Fail(const QString& message)
{
    std::fprintf(stderr, "list_bench: %s\n", qUtf8Printable(message));
    std::fflush(stderr);
    // The window and its tools go with the process; nothing is worth saving.
    std::_Exit(1);
}

std::vector<ManifestLine> ReadManifest(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        Fail(QStringLiteral("cannot read the file list %1").arg(path));
    std::vector<ManifestLine> lines;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString text = in.readLine();
        if (text.isEmpty())
            continue;
        const QStringList fields = text.split(QLatin1Char('\t'));
        bool durationOk = false;
        bool clipOk = false;
        ManifestLine line;
        if (fields.size() == 3) {
            line.path = fields.at(0);
            line.durationUs = fields.at(1).toLongLong(&durationOk);
            line.clip = fields.at(2).toInt(&clipOk);
        }
        if (!durationOk || !clipOk || line.path.isEmpty())
            Fail(QStringLiteral("bad line in %1: %2").arg(path, text));
        lines.push_back(line);
    }
    if (lines.empty())
        Fail(QStringLiteral("no files in %1").arg(path));
    return lines;
}

// Set up as the program does at start: its folder, its fonts (text layout is
// part of a row's cost) and its log, which takes a few lines per row.
void StartLikeTheProgram(const QString& appFolder)
{
    SetAppFolder(appFolder);
    RemovePreviousLogFile();
    qInstallMessageHandler(LogMessageHandler);
    Platform::ResetLibraryPaths(AppFolder());
    ApplyLatinFonts(AppFolder());
}

void RunEventsFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Handles events until none is left: posted ones (layout, repaint, deferred
// work) and those they post in turn.
void DrainEvents()
{
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    for (int i = 0; i < 100000; ++i) {
        QCoreApplication::sendPostedEvents();
        if (!dispatcher->processEvents(QEventLoop::AllEvents))
            return;
    }
}

long ResidentKib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("cannot read /proc/self/status"));
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    Fail(QStringLiteral("no VmRSS in /proc/self/status"));
}

// Tells a row's own thumbnail from the stand-in picture that rows without
// one show: a row with the stand-in has no thumbnail yet, however non-null
// its pixmap. The stand-in is compared at a grid of points, so a change of
// scaling filter does not make it pass for a thumbnail. A verdict is kept
// per row until its pixmap changes, so watching a long list stays cheap.
class ThumbnailWatch
{
public:
    ThumbnailWatch()
        : m_placeholder(PublicSprite()
                            .copy(Sprites::toRect<QRect>(
                                Sprites::region(Sprites::RegionId::ThumbnailPlaceholder)))
                            .toImage())
    {
        if (m_placeholder.isNull())
            Fail(QStringLiteral("the thumbnail stand-in picture cannot be read"));
    }

    // Whether every row shows a thumbnail of its own.
    bool allShown(const QList<VideoItemWidget*>& rows)
    {
        bool all = true;
        for (VideoItemWidget* row : rows) {
            // Every row is looked at, so the checks spread over the ticks as
            // thumbnails arrive instead of piling up on the last one.
            if (!showsOwnThumbnail(row))
                all = false;
        }
        return all;
    }

    bool showsOwnThumbnail(VideoItemWidget* row)
    {
        const QPixmap picture = row->thumbnailPicture()->pixmap();
        if (picture.isNull())
            return false;
        auto known = m_verdicts.constFind(row);
        if (known != m_verdicts.constEnd() && known->first == picture.cacheKey())
            return known->second;
        const bool own = !looksLikePlaceholder(picture.toImage());
        m_verdicts.insert(row, {picture.cacheKey(), own});
        return own;
    }

private:
    bool looksLikePlaceholder(const QImage& image)
    {
        const QSize size = image.size();
        const auto key = std::make_pair(size.width(), size.height());
        auto scaled = m_scaledPlaceholders.find(key);
        if (scaled == m_scaledPlaceholders.end())
            scaled = m_scaledPlaceholders.insert(
                key, m_placeholder.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        constexpr int kColumns = 12;
        constexpr int kRows = 8;
        qint64 difference = 0;
        for (int gy = 0; gy < kRows; ++gy) {
            for (int gx = 0; gx < kColumns; ++gx) {
                const int x = (2 * gx + 1) * size.width() / (2 * kColumns);
                const int y = (2 * gy + 1) * size.height() / (2 * kRows);
                const QRgb a = image.pixel(x, y);
                const QRgb b = scaled->pixel(x, y);
                difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                              std::abs(qBlue(a) - qBlue(b));
            }
        }
        // Mean difference per colour channel, out of 255.
        return difference < 20 * 3 * kColumns * kRows;
    }

    QImage m_placeholder;
    QMap<std::pair<int, int>, QImage> m_scaledPlaceholders;
    QHash<VideoItemWidget*, std::pair<qint64, bool>> m_verdicts;
};

// The rows must be the files, in the order given, each with its clip's
// duration and a thumbnail of its own.
void CheckRows(const QList<VideoItemWidget*>& rows, const std::vector<ManifestLine>& files,
               ThumbnailWatch& watch)
{
    if (rows.size() != static_cast<qsizetype>(files.size()))
        Fail(QStringLiteral("%1 rows for %2 files").arg(rows.size()).arg(files.size()));
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const VideoItemWidget* row = rows.at(i);
        const ManifestLine& file = files.at(static_cast<size_t>(i));
        if (row->filePath != file.path)
            Fail(QStringLiteral("row %1 is %2, expected %3")
                     .arg(i + 1)
                     .arg(row->filePath, file.path));
        if (std::llabs(row->mediaInfo.duration - file.durationUs) > kDurationSlackUs)
            Fail(QStringLiteral("row %1 (%2) lasts %3 us; ffprobe reads %4 us for the file")
                     .arg(i + 1)
                     .arg(file.path)
                     .arg(row->mediaInfo.duration)
                     .arg(file.durationUs));
        if (!watch.showsOwnThumbnail(rows.at(i)))
            Fail(QStringLiteral("row %1 (%2) shows no thumbnail of its own")
                     .arg(i + 1)
                     .arg(file.path));
    }
}

qint64 ThreadCpuNs()
{
    timespec now = {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<qint64>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

QString Ms(qint64 ns)
{
    return QString::number(static_cast<double>(ns) / 1e6, 'f', 3);
}

int RunWindow(const QString& appFolder, int parallel, const std::vector<ManifestLine>& files)
{
    StartLikeTheProgram(appFolder);
    QStringList paths;
    for (const ManifestLine& file : files)
        paths << file.path;
    const int expected = static_cast<int>(paths.size());

    VCMainWidget window;
    // The same parallelism as the shell's runs it is compared with.
    window.probeQueue()->setMaxParallel(parallel);
    window.show();
    // Past the window's first paint and its start-up work.
    RunEventsFor(300);

    ThumbnailWatch watch;
    VideoListWidget* list = window.mediaList();
    QEventLoop loop;
    QElapsedTimer clock;
    QElapsedTimer tick;
    qint64 longestGapNs = 0;
    qint64 longestCheckNs = 0;
    qint64 wallNs = -1;
    QString failure;

    const auto checkDone = [&] {
        if (wallNs >= 0)
            return;
        // Rows are looked at as they come, so the last one does not bring
        // the checks of all the others with it.
        const QList<VideoItemWidget*> rows = list->itemsInUse();
        if (!watch.allShown(rows) || rows.size() != expected)
            return;
        wallNs = clock.nsecsElapsed();
        // The stretch since the last tick counts too.
        longestGapNs = std::max(longestGapNs, tick.nsecsElapsed());
        loop.quit();
    };
    const auto fail = [&](const QString& why) {
        if (failure.isEmpty())
            failure = why;
        loop.quit();
    };

    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    // SPLICORA_BENCH_STALLS=1 names each long gap: when, how many rows, and
    // how much of it this thread was working rather than waiting for the
    // processor.
    static const bool traceStalls = qEnvironmentVariableIsSet("SPLICORA_BENCH_STALLS");
    qint64 cpuAtTick = ThreadCpuNs();
    QElapsedTimer sinceStart;
    sinceStart.start();
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&] {
        const qint64 gapNs = tick.nsecsElapsed();
        longestGapNs = std::max(longestGapNs, gapNs);
        if (traceStalls && gapNs > 30'000'000)
            std::fprintf(stderr, "stall %.1f ms at %.0f ms, %d rows, busy %.1f ms\n", gapNs / 1e6,
                         sinceStart.nsecsElapsed() / 1e6,
                         static_cast<int>(window.mediaList()->rowObjectCount()),
                         (ThreadCpuNs() - cpuAtTick) / 1e6);
        cpuAtTick = ThreadCpuNs();
        tick.start();
        // Processor time, not wall time: on a busy machine the thread may be
        // put aside mid-check, which says nothing about the check's cost.
        const qint64 before = ThreadCpuNs();
        checkDone();
        longestCheckNs = std::max(longestCheckNs, ThreadCpuNs() - before);
    });
    // Connected after the window's own handler, so the row is in by now.
    QObject::connect(window.probeQueue(), &ProbeQueue::probed, &loop, checkDone);
    QObject::connect(window.probeQueue(), &ProbeQueue::failed, &loop,
                     [&](const QString& path, ProbeRefusal) {
                         fail(QStringLiteral("the program refused %1").arg(path));
                     });
    QTimer thumbnailDeadline;
    thumbnailDeadline.setSingleShot(true);
    QObject::connect(&thumbnailDeadline, &QTimer::timeout, &loop, [&] {
        fail(QStringLiteral("not every row showed its thumbnail within %1 s of the last probe")
                 .arg(kThumbnailWaitMs / 1000));
    });
    QObject::connect(window.probeQueue(), &ProbeQueue::busyChanged, &loop, [&](bool busy) {
        if (busy || wallNs >= 0)
            return;
        if (list->itemCount() != expected)
            fail(QStringLiteral("the queue is done with %1 rows for %2 files")
                     .arg(list->itemCount())
                     .arg(expected));
        else
            thumbnailDeadline.start(kThumbnailWaitMs);
    });
    // A list that never fills: far beyond any honest run of the given size.
    QTimer::singleShot(std::max(600000, expected * 2000), &loop,
                       [&] { fail(QStringLiteral("the files were not all added in time")); });

    ticker.start(kTickMs);
    clock.start();
    tick.start();
    window.AddMediaPaths(paths);
    loop.exec();
    ticker.stop();
    if (!failure.isEmpty())
        Fail(failure);

    CheckRows(list->itemsInUse(), files, watch);
    std::printf("%s %s %d %s\n", qPrintable(Ms(wallNs)), qPrintable(Ms(longestGapNs)), expected,
                qPrintable(Ms(longestCheckNs)));
    return 0;
}

struct Window
{
    int first = 0; // 1-based row numbers
    int last = 0;
    double medianMs = 0;
    double minMs = 0;
    double maxMs = 0;
};

Window CostOfRows(const std::vector<qint64>& costsNs, int first, int last)
{
    std::vector<qint64> part(costsNs.begin() + (first - 1), costsNs.begin() + last);
    std::sort(part.begin(), part.end());
    const size_t n = part.size();
    const double median = n % 2 ? static_cast<double>(part[n / 2])
                                : (static_cast<double>(part[n / 2 - 1]) + part[n / 2]) / 2;
    return {first, last, median / 1e6, part.front() / 1e6, part.back() / 1e6};
}

QString WindowText(const char* name, const Window& window)
{
    return QStringLiteral("%1_rows=%2-%3 %1_ms=%4 %1_min=%5 %1_max=%6")
        .arg(QLatin1String(name))
        .arg(window.first)
        .arg(window.last)
        .arg(window.medianMs, 0, 'f', 3)
        .arg(window.minMs, 0, 'f', 3)
        .arg(window.maxMs, 0, 'f', 3);
}

int RunRows(const QString& appFolder, const std::vector<ManifestLine>& files)
{
    StartLikeTheProgram(appFolder);
    const int count = static_cast<int>(files.size());

    // One blocking probe per clip; every copy of it gets the same answer
    // under its own name.
    QMap<int, ProbeResult> probed;
    QMap<int, QByteArray> thumbnails;
    for (const ManifestLine& file : files) {
        if (probed.contains(file.clip))
            continue;
        ProbeResult result;
        if (RunProbe(file.path, &result) != 0)
            Fail(QStringLiteral("the probe refused %1").arg(file.path));
        QFile picture(result.thumbnailPath);
        if (!picture.open(QIODevice::ReadOnly) || picture.size() == 0)
            Fail(QStringLiteral("the probe drew no thumbnail for %1").arg(file.path));
        thumbnails.insert(file.clip, picture.readAll());
        probed.insert(file.clip, result);
    }
    // Each row has its file's own thumbnail file, where the probe would have
    // put it, so nothing is shared between rows that the program would not
    // share after real probes.
    std::vector<ProbeResult> results;
    results.reserve(files.size());
    for (const ManifestLine& file : files) {
        ProbeResult result = probed.value(file.clip);
        result.filePath = file.path;
        result.thumbnailPath = PrepareThumbnailPath(file.path);
        QFile picture(result.thumbnailPath);
        if (!picture.open(QIODevice::WriteOnly) ||
            picture.write(thumbnails.value(file.clip)) != thumbnails.value(file.clip).size())
            Fail(QStringLiteral("cannot write %1").arg(result.thumbnailPath));
        results.push_back(result);
    }

    VCMainWidget window;
    window.show();
    RunEventsFor(300);
    DrainEvents();
    ThumbnailWatch watch;
    VideoListWidget* list = window.mediaList();
    const long kibBefore = ResidentKib();

    // As while the window's queue hands files over: the rows join one batch,
    // so only the first takes the selection (and with it the preview).
    list->setBusyNote(VCMainWidget::tr("Adding files..."));
    std::vector<qint64> costsNs;
    costsNs.reserve(files.size());
    QElapsedTimer clock;
    for (const ProbeResult& result : results) {
        clock.start();
        list->addItem(result);
        DrainEvents();
        costsNs.push_back(clock.nsecsElapsed());
    }

    // Rows may get their thumbnails after they appear; memory counts once
    // the pictures are in.
    QElapsedTimer wait;
    wait.start();
    if (!watch.allShown(list->itemsInUse())) {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (watch.allShown(list->itemsInUse()))
                loop.quit();
        });
        QTimer::singleShot(kThumbnailWaitMs, &loop, [&] {
            Fail(QStringLiteral("not every row showed its thumbnail within %1 s of the last row")
                     .arg(kThumbnailWaitMs / 1000));
        });
        poll.start(kTickMs);
        loop.exec();
    }
    const qint64 waitNs = wait.nsecsElapsed();
    list->setBusyNote(QString());
    DrainEvents();
    const long kibAfter = ResidentKib();

    const QList<VideoItemWidget*> rows = list->itemsInUse();
    CheckRows(rows, files, watch);
    // Pixels of each distinct picture once: rows that share one picture
    // hold it once.
    QSet<qint64> counted;
    qint64 pixelBytes = 0;
    for (const VideoItemWidget* row : rows) {
        const QPixmap picture = row->thumbnailPicture()->pixmap();
        if (!counted.contains(picture.cacheKey())) {
            counted.insert(picture.cacheKey());
            pixelBytes += static_cast<qint64>(picture.width()) * picture.height() * 4;
        }
    }
    const double mibPerRow =
        (static_cast<double>(kibAfter - kibBefore) * 1024 - pixelBytes) / count / (1024.0 * 1024);

    // Row 50 and its neighbours: past the first rows' one-time costs, and
    // early enough to show how the cost of a row grows with the list.
    QString early = QStringLiteral("early_rows=- early_ms=- early_min=- early_max=-");
    if (count >= 80)
        early = WindowText("early", CostOfRows(costsNs, 41, 60));
    const QString late = WindowText("late", CostOfRows(costsNs, std::max(1, count - 19), count));
    std::printf("rows=%d %s %s thumbnails_ms=%s kib_before=%ld kib_after=%ld thumbnail_bytes=%lld "
                "mib_per_row=%.4f\n",
                count, qPrintable(early), qPrintable(late), qPrintable(Ms(waitNs)), kibBefore,
                kibAfter, static_cast<long long>(pixelBytes), mibPerRow);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(1);
    if (mode == QLatin1String("window") && args.size() == 5) {
        const int parallel = args.at(3).toInt();
        if (parallel < 1)
            Fail(QStringLiteral("files at a time must be 1 or more"));
        return RunWindow(args.at(2), parallel, ReadManifest(args.at(4)));
    }
    if (mode == QLatin1String("rows") && args.size() == 4)
        return RunRows(args.at(2), ReadManifest(args.at(3)));
    std::fprintf(stderr, "usage: list_bench window APP PARALLEL MANIFEST\n"
                         "       list_bench rows APP MANIFEST\n");
    return 2;
}
