// Runs one job through the main window as a user does: the files are added,
// every row is trimmed to [start, end] as soon as the rows are in, and the
// start button is pressed at once; nothing waits for the frame indexes or
// the preview, since a user does not either. Prints, one "key value" a line:
//   mode      the cut mode the window starts in (a fresh user's default)
//   add_ms    from adding the files until every row is in (probing)
//   job_ms    from the press of the start button until the job's report
//   whole_ms  from adding the files until the report
//   ok        1 when the job reported success
//   result    the result's path
//   fallback  why a lossless job was handed to the engine, when it was
//   engine    the media tool command the engine ran, for a re-encoding job
//   leftover  a file or folder in the private folder that the job made and
//             left behind (one line each)
// Usage: convert_bench <application folder> <output folder> <start s> <end s>
//        <format row (1-based)> <files...>
#include "app/appfolder.h"
#include "app/logfile.h"
#include "app/platform.h"
#include "convert/cutmode.h"
#include "convert/vcbottomwidget.h"
#include "list/videoitemwidget.h"
#include "list/videolistwidget.h"
#include "mainwindow/vcmainwidget.h"
#include "media/probequeue.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QSet>
#include <QTimer>
#include <cstdio>

namespace {

QString g_engineCommand;
QString g_fallback;
QElapsedTimer g_since;

// Logs as the program does (the log is part of a job's cost), and keeps
// what the report needs.
void LogAndKeep(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    LogMessageHandler(type, context, message);
    // SPLICORA_BENCH_TRACE=1 shows where the time goes.
    static const bool trace = qEnvironmentVariableIsSet("SPLICORA_BENCH_TRACE");
    if (trace)
        std::fprintf(stderr, "%6lld %s\n", static_cast<long long>(g_since.elapsed()),
                     qUtf8Printable(message.left(160)));
    if (message.startsWith(QLatin1String("engine: ")) &&
        message.contains(QLatin1String(" -filter_complex ")))
        g_engineCommand = message.mid(8).trimmed();
    if (message.startsWith(QLatin1String("exact cut re-encoded: ")))
        g_fallback = message.mid(22).trimmed();
}

// Everything under the private folder, to tell what a job left there.
QSet<QString> PrivateEntries()
{
    QSet<QString> entries;
    const QString root = Platform::PrivateFolder();
    if (root.isEmpty())
        return entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries.insert(it.next());
    return entries;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 7) {
        std::fprintf(stderr, "usage: convert_bench APP OUT START END FORMATROW FILES...\n");
        return 2;
    }
    SetAppFolder(args.at(1));
    RemovePreviousLogFile();
    qInstallMessageHandler(LogAndKeep);
    const qint64 start = qint64(args.at(3).toDouble() * 1e6 + 0.5);
    const qint64 end = qint64(args.at(4).toDouble() * 1e6 + 0.5);
    const int formatRow = args.at(5).toInt() - 1;
    const QStringList files = args.mid(6);

    VCMainWidget window;
    window.show();
    window.bottomBar()->setOutputFolder(args.at(2));
    QCoreApplication::processEvents();
    std::printf("mode %s\n", qUtf8Printable(CutModeText(window.bottomBar()->cutMode())));

    // A job that never reports would hang the script; it fails instead.
    const int limitMs = qEnvironmentVariableIsSet("SPLICORA_BENCH_LIMIT_S")
                            ? qEnvironmentVariableIntValue("SPLICORA_BENCH_LIMIT_S") * 1000
                            : 30 * 60 * 1000;
    QTimer::singleShot(limitMs, &app, [limitMs] {
        std::printf("ok 0\nerror no report after %d s\n", limitMs / 1000);
        std::fflush(stdout);
        std::_Exit(1);
    });

    QElapsedTimer whole;
    whole.start();
    g_since.start();
    window.AddMediaPaths(files);
    while (window.probeQueue()->isBusy() || window.mediaList()->itemCount() < files.size())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const QList<VideoItemWidget*> rows = window.mediaList()->itemsInUse();
    for (VideoItemWidget* row : rows) {
        row->cutStart = start;
        row->cutEnd = qMin(end, row->mediaInfo.duration);
        row->UpdateCutInfo();
    }
    if (formatRow >= 0 && formatRow < rows.size())
        rows.at(formatRow)->defaultoutputformatBtn_slots();
    const qint64 addMs = whole.elapsed();

    const QSet<QString> before = PrivateEntries();
    QSet<QString> after;
    QElapsedTimer clock;
    qint64 jobMs = -1;
    qint64 wholeMs = -1;
    bool succeeded = false;
    QObject::connect(window.bottomBar(), &VCBottomWidget::jobFinished, &app, [&](bool ok) {
        jobMs = clock.elapsed();
        wholeMs = whole.elapsed();
        succeeded = ok;
        after = PrivateEntries();
        // The report dialog opens next; close it and leave.
        QTimer::singleShot(0, &app, [&app] {
            if (QWidget* dialog = QApplication::activeModalWidget())
                dialog->close();
            app.quit();
        });
    });
    clock.start();
    window.bottomBar()->convertAllButton_slots();
    if (jobMs < 0 && !window.bottomBar()->isConverting()) {
        std::printf("ok 0\nerror the start button started no job\n");
        return 1;
    }
    if (jobMs < 0)
        app.exec();

    std::printf("add_ms %lld\njob_ms %lld\nwhole_ms %lld\nok %d\nresult %s\n",
                static_cast<long long>(addMs), static_cast<long long>(jobMs),
                static_cast<long long>(wholeMs), succeeded ? 1 : 0,
                qUtf8Printable(window.bottomBar()->outputFile()));
    if (!g_fallback.isEmpty())
        std::printf("fallback %s\n", qUtf8Printable(g_fallback));
    std::printf("engine %s\n", qUtf8Printable(g_engineCommand));
    for (const QString& entry : after) {
        if (!before.contains(entry))
            std::printf("leftover %s\n", qUtf8Printable(entry));
    }
    return succeeded ? 0 : 1;
}
